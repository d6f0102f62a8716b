// SPDX-License-Identifier: GPL-2.0-or-later
// Finds a 4-byte pattern in a large buffer at memory speed: a vector filter on the pattern's first and
// last byte picks the few positions worth comparing. Where the processor has no such vectors, memchr on
// the first byte does the filtering.
#pragma once

#include <cstddef>
#include <cstdint>

// The first position p (0 <= p <= size - 4) where the 4 bytes equal pattern, or null.
const uint8_t* FindFourBytes(const uint8_t* data, size_t size, const uint8_t (&pattern)[4]);
