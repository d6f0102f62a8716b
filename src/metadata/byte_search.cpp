// SPDX-License-Identifier: GPL-2.0-or-later
// On x86 the filter compares 32 (AVX2, where the processor has it) or 16 (SSE2) positions at once: the
// bytes at p with the pattern's first byte and the bytes at p + 3 with its last; only where both agree
// are the middle two compared. Positions too near the end for a whole vector are tested one by one.
#include "metadata/byte_search.h"

#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) && defined(__SSE2__)
#define VELDRIN_X86_VECTORS 1
#include <immintrin.h>
#endif

namespace {

constexpr size_t kPatternSize = 4;

bool MatchesAt(const uint8_t* data, const uint8_t (&pattern)[4]) {
    return std::memcmp(data, pattern, kPatternSize) == 0;
}

// Positions from start on, one by one; the caller guarantees size >= kPatternSize.
const uint8_t* FindFrom(const uint8_t* data, size_t size, size_t start, const uint8_t (&pattern)[4]) {
    const uint8_t* candidate = data + start;
    const uint8_t* const last = data + size - kPatternSize;
    while (candidate <= last) {
        const void* found = std::memchr(candidate, pattern[0], static_cast<size_t>(last - candidate) + 1);
        if (found == nullptr) return nullptr;
        candidate = static_cast<const uint8_t*>(found);
        if (MatchesAt(candidate, pattern)) return candidate;
        ++candidate;
    }
    return nullptr;
}

#ifdef VELDRIN_X86_VECTORS

// The candidates of one block, one bit per position: checked in order, the first full match wins.
const uint8_t* FirstMatch(const uint8_t* block, uint32_t candidates, const uint8_t (&pattern)[4]) {
    while (candidates != 0) {
        const int bit = __builtin_ctz(candidates);
        if (MatchesAt(block + bit, pattern)) return block + bit;
        candidates &= candidates - 1;
    }
    return nullptr;
}

__attribute__((target("avx2"))) const uint8_t* FindWithAvx2(const uint8_t* data, size_t size,
                                                              const uint8_t (&pattern)[4]) {
    constexpr size_t kBlock = 32;
    const __m256i first = _mm256_set1_epi8(static_cast<char>(pattern[0]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(pattern[3]));
    size_t position = 0;
    // Two blocks per step, each loaded at p and at p + 3: every load lies inside the buffer.
    for (; position + 2 * kBlock + kPatternSize - 1 <= size; position += 2 * kBlock) {
        const uint8_t* block = data + position;
        const auto* at = reinterpret_cast<const __m256i*>(block);
        const auto* behind = reinterpret_cast<const __m256i*>(block + kPatternSize - 1);
        const __m256i low = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(at), first),
                                             _mm256_cmpeq_epi8(_mm256_loadu_si256(behind), last));
        const __m256i high = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(at + 1), first),
                                              _mm256_cmpeq_epi8(_mm256_loadu_si256(behind + 1), last));
        if (_mm256_testz_si256(_mm256_or_si256(low, high), _mm256_or_si256(low, high))) continue;
        const uint8_t* found = FirstMatch(block, static_cast<uint32_t>(_mm256_movemask_epi8(low)), pattern);
        if (found == nullptr) {
            found = FirstMatch(block + kBlock, static_cast<uint32_t>(_mm256_movemask_epi8(high)), pattern);
        }
        if (found != nullptr) return found;
    }
    return FindFrom(data, size, position, pattern);
}

const uint8_t* FindWithSse2(const uint8_t* data, size_t size, const uint8_t (&pattern)[4]) {
    constexpr size_t kBlock = 16;
    const __m128i first = _mm_set1_epi8(static_cast<char>(pattern[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(pattern[3]));
    size_t position = 0;
    for (; position + kBlock + kPatternSize - 1 <= size; position += kBlock) {
        const uint8_t* block = data + position;
        const __m128i at = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
        const __m128i behind = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + kPatternSize - 1));
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(at, first), _mm_cmpeq_epi8(behind, last));
        const int candidates = _mm_movemask_epi8(both);
        if (candidates == 0) continue;
        const uint8_t* found = FirstMatch(block, static_cast<uint32_t>(candidates), pattern);
        if (found != nullptr) return found;
    }
    return FindFrom(data, size, position, pattern);
}

bool HasAvx2() { return __builtin_cpu_supports("avx2"); }

#endif

}  // namespace

bool HasSearchMethod(SearchMethod method) {
    if (method == SearchMethod::kMemchr) return true;
#ifdef VELDRIN_X86_VECTORS
    return method == SearchMethod::kSse2 || HasAvx2();
#else
    return false;
#endif
}

const uint8_t* FindFourBytesWith(SearchMethod method, const uint8_t* data, size_t size,
                                 const uint8_t (&pattern)[4]) {
    if (size < kPatternSize) return nullptr;
#ifdef VELDRIN_X86_VECTORS
    if (method == SearchMethod::kAvx2) return FindWithAvx2(data, size, pattern);
    if (method == SearchMethod::kSse2) return FindWithSse2(data, size, pattern);
#endif
    return FindFrom(data, size, 0, pattern);
}

const uint8_t* FindFourBytes(const uint8_t* data, size_t size, const uint8_t (&pattern)[4]) {
#ifdef VELDRIN_X86_VECTORS
    static const SearchMethod kFastest = HasAvx2() ? SearchMethod::kAvx2 : SearchMethod::kSse2;
#else
    constexpr SearchMethod kFastest = SearchMethod::kMemchr;
#endif
    return FindFourBytesWith(kFastest, data, size, pattern);
}
