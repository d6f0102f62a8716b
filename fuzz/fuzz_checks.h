// SPDX-License-Identifier: GPL-2.0-or-later
// The promise both fuzz targets check on every input: an outcome is one of the fixed messages or a
// listing that fits its buffer and converts to UTF-8 within the room the terminal output reserves.
// A broken promise aborts, which libFuzzer reports as a crash and the replay as a failed test.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "app/messages.h"
#include "app/unicode.h"
#include "metadata/listing_text.h"

namespace fuzzcheck {

inline void Require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

inline bool IsOneOf(const char* message, std::initializer_list<const char*> allowed) {
    for (const char* candidate : allowed) {
        if (std::strcmp(message, candidate) == 0) return true;
    }
    return false;
}

// What a body can end in before the listing is shown: the locator's messages and the read error.
inline bool IsBodyFailure(const char* message) {
    return IsOneOf(message,
                   {kMessageChunkNotFound, kMessageReadError, kMessageUnsupportedVersion, kMessageNoMetadata});
}

// What a whole run over an existing, openable file can end in.
inline bool IsFileFailure(const char* message) {
    return IsBodyFailure(message) ||
           IsOneOf(message, {kMessageInvalidFormat, kMessageUncompressed, kMessageOutOfMemory, kMessageDecompress});
}

// The listing starts with its count line, holds at most 32767 units, is terminated where its length
// says, and its UTF-8 form fits a buffer of exactly the capacity the POSIX output reserves.
inline void RequireSoundListing(const char16_t* units, size_t length) {
    static constexpr char16_t kFirstLine[] = u"Number of variables: ";
    constexpr size_t kFirstLineLength = sizeof kFirstLine / sizeof kFirstLine[0] - 1;
    Require(length <= kListingMaxLength, "the listing holds at most 32767 units");
    Require(length > kFirstLineLength, "the listing holds its first line");
    for (size_t i = 0; i < kFirstLineLength; ++i) {
        Require(units[i] == kFirstLine[i], "the listing starts with \"Number of variables: \"");
    }
    const size_t capacity = ListingUtf8Capacity(length);
    std::unique_ptr<char[]> utf8(new char[capacity]);  // exactly sized, so an overrun is an ASan finding
    const size_t written = ConvertListingToUtf8(units, length, utf8.get());
    Require(written >= 1 && written <= capacity, "the UTF-8 form fits its reserved room");
    Require(utf8[written - 1] == '\n', "the UTF-8 form ends with one line feed");
}

}  // namespace fuzzcheck
