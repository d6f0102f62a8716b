// SPDX-License-Identifier: GPL-2.0-or-later
// The vector filter must find exactly what a byte-by-byte comparison finds: the first occurrence, at any
// offset and alignment, across block boundaries, in the last four bytes, and never a near miss; and so
// must each method the search can run with, whichever one this processor picks.
#include "metadata/byte_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// Names the method where a test's parameter is printed.
void PrintTo(SearchMethod method, std::ostream* out);

namespace {

constexpr uint8_t kPattern[4] = {0x44, 0x30, 0x04, 0x03};

// The definition: every position in order, four compares each.
const uint8_t* FindByteByByte(const uint8_t* data, size_t size) {
    for (size_t p = 0; p + 4 <= size; ++p) {
        if (std::memcmp(data + p, kPattern, 4) == 0) return data + p;
    }
    return nullptr;
}

void Put(std::vector<uint8_t>& data, size_t at, const uint8_t (&bytes)[4]) { std::memcpy(data.data() + at, bytes, 4); }

const char* MethodName(SearchMethod method) {
    switch (method) {
        case SearchMethod::kMemchr: return "Memchr";
        case SearchMethod::kSse2: return "Sse2";
        case SearchMethod::kAvx2: return "Avx2";
    }
    return "Unknown";
}

class ByteSearch : public ::testing::TestWithParam<SearchMethod> {
protected:
    void SetUp() override {
        if (!HasSearchMethod(GetParam())) GTEST_SKIP() << "this processor cannot run the method";
    }
    const uint8_t* Find(const uint8_t* data, size_t size) const {
        return FindFourBytesWith(GetParam(), data, size, kPattern);
    }
    void ExpectSameAsByteByByte(const std::vector<uint8_t>& data) const {
        EXPECT_EQ(Find(data.data(), data.size()), FindByteByByte(data.data(), data.size())) << "size " << data.size();
    }
};

TEST_P(ByteSearch, FindsThePatternAtEveryOffsetOfEverySize) {
    for (size_t size = 0; size <= 160; ++size) {
        std::vector<uint8_t> empty(size, 0x44);
        EXPECT_EQ(Find(empty.data(), size), nullptr);
        for (size_t at = 0; at + 4 <= size; ++at) {
            std::vector<uint8_t> data(size, 0x03);
            Put(data, at, kPattern);
            ASSERT_EQ(Find(data.data(), size), data.data() + at) << "size " << size << " at " << at;
        }
    }
}

TEST_P(ByteSearch, NearMissesAreNotMatchesAndTheFirstOfTwoWins) {
    constexpr uint8_t kNearMisses[][4] = {
        {0x44, 0x31, 0x04, 0x03},  // first and last byte agree, a middle one does not
        {0x44, 0x30, 0x05, 0x03},
        {0x44, 0x30, 0x04, 0x02},
        {0x45, 0x30, 0x04, 0x03},
    };
    for (size_t size = 4; size <= 200; size += 7) {
        for (size_t at = 0; at + 4 <= size; at += 3) {
            std::vector<uint8_t> data(size, 0);
            // Near misses at every fifth position up to and behind at, then the pattern twice.
            for (size_t miss = 0; miss + 4 <= size; miss += 5) Put(data, miss, kNearMisses[miss % 4]);
            Put(data, at, kPattern);
            if (at + 40 + 4 <= size) Put(data, at + 40, kPattern);
            ExpectSameAsByteByByte(data);
        }
    }
}

TEST_P(ByteSearch, AgreesOnLargeBuffersWithManyCandidates) {
    // Bytes from a tiny alphabet that holds the pattern's bytes, so the filter passes many positions.
    uint32_t state = 2463534242u;
    for (size_t size : {size_t{4095}, size_t{65536}, size_t{100003}}) {
        std::vector<uint8_t> data(size);
        for (uint8_t& byte : data) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            constexpr uint8_t kAlphabet[] = {0x44, 0x30, 0x04, 0x03, 0x00};
            byte = kAlphabet[state % 5];
        }
        ExpectSameAsByteByByte(data);
        Put(data, size - 4, kPattern);  // at the very end, possibly after an earlier chance match
        ExpectSameAsByteByByte(data);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, ByteSearch,
                         ::testing::Values(SearchMethod::kMemchr, SearchMethod::kSse2, SearchMethod::kAvx2),
                         [](const ::testing::TestParamInfo<SearchMethod>& info) { return MethodName(info.param); });

// The pick for this processor is one of the methods, and agrees with them.
TEST(ByteSearchPick, FindsWhatEveryMethodFinds) {
    std::vector<uint8_t> data(1000, 0x44);
    Put(data, 777, kPattern);
    EXPECT_EQ(FindFourBytes(data.data(), data.size(), kPattern), data.data() + 777);
    EXPECT_EQ(FindFourBytes(data.data(), 3, kPattern), nullptr);
}

}  // namespace

void PrintTo(SearchMethod method, std::ostream* out) { *out << MethodName(method); }
