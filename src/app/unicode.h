// SPDX-License-Identifier: GPL-2.0-or-later
// UTF-8 and UTF-16 conversions of the portable backends: names and texts come in as UTF-8, the listing
// is built in UTF-16 and goes out as UTF-8.
#pragma once

#include <cstddef>

// Converts a terminated UTF-8 text to terminated UTF-16. Every ill-formed sequence becomes one U+FFFD
// per maximal subpart, as Unicode recommends. The output never has more units than the input has bytes.
size_t ConvertUtf8ToUtf16(const char* text, char16_t* wide);

// Bytes that ConvertListingToUtf8 may write for count units, its final line feed included.
inline constexpr size_t ListingUtf8Capacity(size_t count) { return count * 3 + 1; }

// Converts the listing to UTF-8 for a terminal: each "\r\n" pair becomes "\n", an unpaired surrogate
// becomes U+FFFD, and one "\n" ends the text. Returns the bytes written.
size_t ConvertListingToUtf8(const char16_t* units, size_t count, char* out);
