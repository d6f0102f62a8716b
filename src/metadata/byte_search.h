// SPDX-License-Identifier: GPL-2.0-or-later
// Finds a 4-byte pattern in a large buffer at memory speed: a vector filter on the pattern's first and
// last byte picks the few positions worth comparing. Where the processor has no such vectors, memchr on
// the first byte does the filtering.
#pragma once

#include <cstddef>
#include <cstdint>

// The first position p (0 <= p <= size - 4) where the 4 bytes equal pattern, or null.
const uint8_t* FindFourBytes(const uint8_t* data, size_t size, const uint8_t (&pattern)[4]);

// The ways the search can run; FindFourBytes picks the fastest the processor has. Each must give the
// same result, so that a machine without AVX2 (or without x86 vectors) lists a map the same way.
enum class SearchMethod { kMemchr, kSse2, kAvx2 };

bool HasSearchMethod(SearchMethod method);

// As FindFourBytes, with the given method; the caller has checked HasSearchMethod.
const uint8_t* FindFourBytesWith(SearchMethod method, const uint8_t* data, size_t size,
                                 const uint8_t (&pattern)[4]);
