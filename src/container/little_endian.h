// SPDX-License-Identifier: GPL-2.0-or-later
// Numbers in map files are little-endian; they are built from bytes, never read through a cast pointer.
#pragma once

#include <cstdint>

inline uint32_t LoadLittleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
