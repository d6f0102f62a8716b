// SPDX-License-Identifier: GPL-2.0-or-later
// The text the listing is written into: 32768 UTF-16 units, at most 32767 of them before the terminator.
// Every append is cut silently to the room that is left; once the listing is full nothing changes it,
// so formatting and conversion are skipped from then on.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr size_t kListingCapacity = 32768;
inline constexpr size_t kListingMaxLength = kListingCapacity - 1;

// Receives every UTF-8 conversion and every formatted number just before it is appended.
inline constexpr size_t kWideTextCapacity = 1024;

struct ListingText {
    char16_t units[kListingCapacity];
    size_t length;  // units before the terminator
};

// Replaces the listing with its first line, "Number of variables: N".
void StartListing(ListingText* listing, uint32_t variableCount);

void AppendListing(ListingText* listing, const char16_t* text, size_t count);

template <size_t N>
void AppendLiteral(ListingText* listing, const char16_t (&text)[N]) {
    AppendListing(listing, text, N - 1);
}

inline bool IsListingFull(const ListingText* listing) { return listing->length == kListingMaxLength; }

// Converts a terminated UTF-8 text of at most 1023 bytes and appends it.
void AppendUtf8Text(ListingText* listing, const char* text);

// Appends a number as "%d" or "%g" (the real widened to double) would write it, with ", " in front
// when separated is set.
void AppendInteger(ListingText* listing, int32_t value, bool separated);
void AppendReal(ListingText* listing, float value, bool separated);
