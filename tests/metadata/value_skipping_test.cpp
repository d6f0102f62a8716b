// SPDX-License-Identifier: GPL-2.0-or-later
// Once the listing is full the variables are skipped instead of listed. Skipping must read exactly what
// listing reads and end the same way: for every type, every array key and value type, and every cut of
// their bytes, a full listing gives the same outcome and leaves the cursor at the same place.
#include "metadata/value_skipping.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "map_writer.h"
#include "metadata/variable_listing.h"

namespace {

using mapwriter::Bytes;
using mapwriter::ByteVector;

struct Ending {
    ListOutcome outcome;
    size_t consumed;  // bytes read; compared only where the run goes on or stops
};

Ending List(const ByteVector& bytes, size_t size, uint32_t count, bool full) {
    auto listing = std::make_unique<ListingText>();
    listing->length = full ? kListingMaxLength : 0;
    for (size_t i = 0; i < listing->length; ++i) listing->units[i] = u'x';
    listing->units[listing->length] = u'\0';
    BodyCursor cursor = {bytes.data(), bytes.data() + size};
    const ListOutcome outcome = ListVariables(&cursor, count, listing.get());
    return {outcome, static_cast<size_t>(cursor.position - bytes.data())};
}

// Lists the variables and every cut of them both ways and expects the same ending.
void ExpectSkippingListsAlike(const std::string& what, const Bytes& variables, uint32_t count) {
    for (size_t size = 0; size <= variables.data.size(); ++size) {
        const Ending listed = List(variables.data, size, count, false);
        const Ending skipped = List(variables.data, size, count, true);
        ASSERT_EQ(skipped.outcome, listed.outcome) << what << ", cut at " << size;
        if (listed.outcome != ListOutcome::ReadError) {
            ASSERT_EQ(skipped.consumed, listed.consumed) << what << ", cut at " << size;
        }
    }
}

// A value of the type as it would be stored; types without a stored form get bytes all the same.
void AddValue(Bytes* bytes, uint32_t type, uint32_t seed) {
    switch (type) {
        case mapwriter::kText: bytes->Text(std::string(seed % 4, 'a')); break;
        case mapwriter::kVoid: break;
        case mapwriter::kVec2: case mapwriter::kInt2: bytes->U32(seed).U32(0); break;
        case mapwriter::kVec3: case mapwriter::kInt3: bytes->U32(seed).U32(1).U32(2); break;
        default: bytes->U32(seed); break;
    }
}

TEST(ValueSkipping, EveryScalarTypeAndEveryCut) {
    for (uint32_t type = 0; type <= 16; ++type) {
        if (type == mapwriter::kArray) continue;
        Bytes variables;
        variables.Variable("First", type);
        AddValue(&variables, type, 3);
        variables.Variable("", mapwriter::kInteger).I32(-5);
        ExpectSkippingListsAlike("type " + std::to_string(type), variables, 2);
    }
}

TEST(ValueSkipping, EveryArrayOfKeyTypeAndValueTypeAndEveryCut) {
    for (uint32_t keyType = 0; keyType <= 15; ++keyType) {
        for (uint32_t valueType = 0; valueType <= 15; ++valueType) {
            for (uint32_t count : {0u, 1u, 3u}) {
                Bytes variables;
                variables.ArrayHead("A", keyType, valueType, count);
                for (uint32_t element = 0; element < count; ++element) {
                    AddValue(&variables, keyType, element + 1);
                    AddValue(&variables, valueType, element + 2);
                }
                variables.Variable("After", mapwriter::kBoolean).U32(1);
                ExpectSkippingListsAlike("array " + std::to_string(keyType) + "=>" + std::to_string(valueType) +
                                             " of " + std::to_string(count),
                                         variables, 2);
            }
        }
    }
}

TEST(ValueSkipping, RefusedLengthsAndCounts) {
    const struct {
        const char* what;
        Bytes variables;
    } cases[] = {
        {"name of 65535 bytes", Bytes().U32(0xFFFF).Raw(std::string(70000, 'n')).U32(0)},
        {"name of 65534 bytes", Bytes().U32(0xFFFE).Raw(std::string(65534, 'n')).U32(0)},
        {"text longer than the body", Bytes().Variable("T", mapwriter::kText).U32(100).Raw("abc")},
        {"count above 268435456", Bytes().ArrayHead("A", 0, 0, 0x10000001).Variable("", 0)},
        {"count of 268435456 with too few bytes", Bytes().ArrayHead("A", mapwriter::kInteger, mapwriter::kVec3,
                                                                    0x10000000).U32(1)},
        {"Void elements, 268435456 of them", Bytes().ArrayHead("A", 0, 0, 0x10000000).Variable("", 0)},
        {"array of arrays", Bytes().ArrayHead("A", 2, 7, 5)},
    };
    for (const auto& c : cases) {
        const Ending listed = List(c.variables.data, c.variables.data.size(), 2, false);
        const Ending skipped = List(c.variables.data, c.variables.data.size(), 2, true);
        EXPECT_EQ(skipped.outcome, listed.outcome) << c.what;
        if (listed.outcome != ListOutcome::ReadError) {
            EXPECT_EQ(skipped.consumed, listed.consumed) << c.what;
        }
    }
}

}  // namespace
