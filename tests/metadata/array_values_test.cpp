// SPDX-License-Identifier: GPL-2.0-or-later
// Array values: "[key=>value, ...]" by the array's key type and value type, the stops at types with no
// text form, and the read errors of a count or a text that cannot be.
#include "metadata/array_values.h"

#include <gtest/gtest.h>

#include <string>

#include "listing_fixture.h"
#include "map_writer.h"

namespace {

using mapwriter::Bytes;
namespace type = mapwriter;

TEST(ArrayValues, ElementsByKeyTypeAndValueType) {
    ExpectVariableLines({
        {"integer keys, text values",
         Bytes().ArrayHead("Names", type::kInteger, type::kText, 2).I32(1).Text("abc").I32(20).Text("Hello"),
         "Names (Array): [1=>\"abc\", 20=>\"Hello\"]", ListOutcome::Listed},
        {"void keys, vec3 values",
         Bytes().ArrayHead("Path", type::kVoid, type::kVec3, 2).F32(1).F32(2.5f).F32(-3).F32(0).U32(0x3DCCCCCD).F32(100000),
         "Path (Array): [<1, 2.5, -3>, <0, 0.1, 100000>]", ListOutcome::Listed},
        {"boolean keys, real values", Bytes().ArrayHead("A", type::kBoolean, type::kReal, 2).U32(0x100).F32(0.5f).U32(0).F32(-1),
         "A (Array): [True=>0.5, False=>-1]", ListOutcome::Listed},
        {"real keys, int2 and boolean values", Bytes().ArrayHead("A", type::kReal, type::kInt2, 1).F32(1.5f).I32(3).I32(-4),
         "A (Array): [1.5=><3, -4>]", ListOutcome::Listed},
        {"text keys, int3 values", Bytes().ArrayHead("A", type::kText, type::kInt3, 2).Text("").I32(1).I32(2).I32(3).Text("k").I32(0).I32(0).I32(0),
         "A (Array): [\"\"=><1, 2, 3>, \"k\"=><0, 0, 0>]", ListOutcome::Listed},
        {"integer keys, void values", Bytes().ArrayHead("A", type::kInteger, type::kVoid, 2).I32(4).I32(5),
         "A (Array): [4=>, 5=>]", ListOutcome::Listed},
        {"void keys, empty text values", Bytes().ArrayHead("A", type::kVoid, type::kText, 1).Text(""),
         "A (Array): [\"\"]", ListOutcome::Listed},
        {"void keys and values", Bytes().ArrayHead("A", type::kVoid, type::kVoid, 3), "A (Array): [, , ]", ListOutcome::Listed},
        {"empty array", Bytes().ArrayHead("A", type::kInteger, type::kText, 0), "A (Array): []", ListOutcome::Listed},
        {"empty array of class keys", Bytes().ArrayHead("A", type::kClass, type::kInteger, 0), "A (Array): []", ListOutcome::Listed},
        {"empty array of iso4 values", Bytes().ArrayHead("A", type::kInteger, type::kIso4, 0), "A (Array): []", ListOutcome::Listed},
        {"array values stop before the count", Bytes().Variable("A", type::kArray).U32(type::kInteger).U32(type::kArray),
         "A (Array): ...", ListOutcome::Stopped},
        {"enum keys stop", Bytes().ArrayHead("A", type::kEnum, type::kInteger, 2), "A (Array): [...", ListOutcome::Stopped},
        {"vec2 keys stop", Bytes().ArrayHead("A", type::kVec2, type::kInteger, 1), "A (Array): [...", ListOutcome::Stopped},
        {"class values stop behind the first key", Bytes().ArrayHead("A", type::kInteger, type::kClass, 2).I32(7),
         "A (Array): [7=>...", ListOutcome::Stopped},
        {"unknown values behind a void key", Bytes().ArrayHead("A", type::kVoid, 15, 2), "A (Array): [...", ListOutcome::Stopped},
    });
}

TEST(ArrayValues, TheListingGoesOnBehindAnArray) {
    Bytes variables;
    variables.ArrayHead("A", type::kInteger, type::kText, 0).Variable("B", type::kInteger).I32(2);
    EXPECT_EQ(ListVariablesOf(variables, 2).text, "Number of variables: 2\r\nA (Array): []\r\nB (Integer): 2");
    // An array of arrays reads its two types only; whatever follows is never read.
    Bytes nested;
    nested.Variable("A", type::kArray).U32(0).U32(type::kArray).U32(0xFFFFFFFF);
    EXPECT_EQ(ListVariablesOf(nested, 2).unreadBytes, 4u);
}

TEST(ArrayValues, CountsAndTextsThatCannotBeRead) {
    struct Case {
        const char* what;
        Bytes variable;
    } cases[] = {
        {"count above the limit", Bytes().ArrayHead("A", type::kInteger, type::kInteger, 0x10000001)},
        {"text value refused at the second element",
         Bytes().ArrayHead("A", type::kInteger, type::kText, 2).I32(1).Text("ok").I32(2).U32(0xFFFF)},
        {"text key refused", Bytes().ArrayHead("A", type::kText, type::kInteger, 1).U32(0x10000)},
        {"more elements than the body holds", Bytes().ArrayHead("A", type::kInteger, type::kBoolean, 0x10000000).I32(1).U32(1)},
        {"count cut off", Bytes().Variable("A", type::kArray).U32(type::kInteger).U32(type::kInteger).Raw("\x01")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListVariablesOf(c.variable, 1).outcome, ListOutcome::ReadError) << c.what;
    }
}

// Void keys and values read nothing, so only the listing's room bounds the separators: the most
// elements an array may claim still end at once, in a full listing.
TEST(ArrayValues, VoidElementsFillTheListingAndEnd) {
    const ListingResult most = ListVariablesOf(Bytes().ArrayHead("V", type::kVoid, type::kVoid, 0x10000000), 1);
    EXPECT_EQ(most.outcome, ListOutcome::Listed);
    EXPECT_EQ(most.units, 32767u);
    EXPECT_EQ(most.text.substr(0, 40), "Number of variables: 1\r\nV (Array): [, , ");
}

TEST(ArrayValues, AFullListingStillReadsEveryElement) {
    Bytes variables;
    variables.Variable(std::string(1000, 'x'), type::kText).Text(std::string(1000, 'y'));
    for (int i = 0; i < 40; ++i) variables.Variable(std::string(1000, 'x'), type::kVoid);
    variables.ArrayHead("A", type::kInteger, type::kText, 2).I32(1).Text("ok").I32(2).U32(0xFFFF);
    EXPECT_EQ(ListVariablesOf(variables, 42).outcome, ListOutcome::ReadError);
}

// An array that fills the listing midway: the elements behind the cut are no longer formatted, yet still
// read to the array's end, so the variable behind it is read and a broken element still ends the run.
TEST(ArrayValues, AnArrayThatFillsTheListingIsReadToItsEnd) {
    constexpr uint32_t kElements = 400;  // about 43,000 units in all: the cut falls near element 300
    const std::string text(100, 'y');
    enum class End { kComplete, kRefusedText, kCutOff };
    auto arrayEnding = [&](End end) {
        Bytes bytes;
        bytes.ArrayHead("A", type::kInteger, type::kText, kElements);
        for (uint32_t i = 1; i < kElements; ++i) bytes.I32(static_cast<int32_t>(i)).Text(text);
        bytes.I32(kElements);
        if (end == End::kComplete) bytes.Text(text).Variable("B", type::kInteger).I32(7);
        if (end == End::kRefusedText) bytes.U32(0xFFFF);
        return bytes;
    };

    std::string expected = "Number of variables: 2\r\nA (Array): [";
    for (uint32_t i = 1; i <= kElements; ++i) {
        expected += std::to_string(i) + "=>\"" + text + "\"" + (i < kElements ? ", " : "]");
    }
    expected.resize(32767);
    const ListingResult complete = ListVariablesOf(arrayEnding(End::kComplete), 2);
    EXPECT_EQ(complete.outcome, ListOutcome::Listed);
    EXPECT_EQ(complete.text, expected);
    EXPECT_EQ(complete.unreadBytes, 0u);

    EXPECT_EQ(ListVariablesOf(arrayEnding(End::kRefusedText), 2).outcome, ListOutcome::ReadError);
    EXPECT_EQ(ListVariablesOf(arrayEnding(End::kCutOff), 2).outcome, ListOutcome::ReadError);
}

}  // namespace
