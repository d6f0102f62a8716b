// SPDX-License-Identifier: GPL-2.0-or-later
// A second, plain reading of the map format for the fuzz targets to compare against: indexes into a
// byte array instead of a cursor, one growing string instead of a bounded buffer, cut to 32767 units
// only at the end. Where the two disagree on any input, one of them is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace reference {

struct Outcome {
    const char* failure = nullptr;  // one of the fixed messages, or null when the listing is shown
    std::u16string listing;         // the shown listing, at most 32767 units
    int notices = 0;                // times "Unexpected script class ID." was shown
};

// The outcome of a decompressed body: chunk location and listing.
Outcome ListBody(const uint8_t* body, size_t size);

// The outcome of a whole map file; bodies above maxBodySize count as "Out of memory.".
Outcome ListMapFile(const uint8_t* file, size_t size, uint64_t maxBodySize);

}  // namespace reference
