// SPDX-License-Identifier: GPL-2.0-or-later
// One line per variable: name, type word, value. Types without a text form stop the listing; a value
// that cannot be read drops the whole listing for the read error.
#include "metadata/variable_listing.h"

#include <gtest/gtest.h>

#include <string>

#include "listing_fixture.h"
#include "map_writer.h"

namespace {

using mapwriter::Bytes;
namespace type = mapwriter;

TEST(VariableListing, OneLinePerType) {
    ExpectVariableLines({
        {"void", Bytes().Variable("Ready", type::kVoid), "Ready (Void)", ListOutcome::Listed},
        {"false", Bytes().Variable("B", type::kBoolean).U32(0), "B (Boolean): False", ListOutcome::Listed},
        {"true 1", Bytes().Variable("B", type::kBoolean).U32(1), "B (Boolean): True", ListOutcome::Listed},
        {"true 2", Bytes().Variable("B", type::kBoolean).U32(2), "B (Boolean): True", ListOutcome::Listed},
        {"true all bits", Bytes().Variable("B", type::kBoolean).U32(0xFFFFFFFF), "B (Boolean): True", ListOutcome::Listed},
        {"integer -1", Bytes().Variable("I", type::kInteger).U32(0xFFFFFFFF), "I (Integer): -1", ListOutcome::Listed},
        {"integer min", Bytes().Variable("I", type::kInteger).U32(0x80000000), "I (Integer): -2147483648", ListOutcome::Listed},
        {"real 0.1", Bytes().Variable("R", type::kReal).U32(0x3DCCCCCD), "R (Real): 0.1", ListOutcome::Listed},
        {"real 1.5", Bytes().Variable("R", type::kReal).U32(0x3FC00000), "R (Real): 1.5", ListOutcome::Listed},
        {"real -2", Bytes().Variable("R", type::kReal).U32(0xC0000000), "R (Real): -2", ListOutcome::Listed},
        {"text", Bytes().Variable("T", type::kText).Text("Blue sky"), "T (Text): \"Blue sky\"", ListOutcome::Listed},
        {"empty text", Bytes().Variable("T", type::kText).Text(""), "T (Text): \"\"", ListOutcome::Listed},
        {"text with a line break and quotes", Bytes().Variable("T", type::kText).Text("a\r\n\"b\""),
         "T (Text): \"a\r\n\"b\"\"", ListOutcome::Listed},
        {"vec2", Bytes().Variable("V", type::kVec2).F32(1.5f).F32(-2.0f), "V (Vec2): <1.5, -2>", ListOutcome::Listed},
        {"vec3 of zeros", Bytes().Variable("V", type::kVec3).F32(0).F32(0).F32(0), "V (Vec3): <0, 0, 0>", ListOutcome::Listed},
        {"int3", Bytes().Variable("V", type::kInt3).I32(1).I32(-2).I32(3), "V (Int3): <1, -2, 3>", ListOutcome::Listed},
        {"int2", Bytes().Variable("V", type::kInt2).I32(-7).I32(2147483647), "V (Int2): <-7, 2147483647>", ListOutcome::Listed},
        {"class", Bytes().Variable("C", type::kClass), "C (Class)...", ListOutcome::Stopped},
        {"enum", Bytes().Variable("C", type::kEnum), "C (Enum)...", ListOutcome::Stopped},
        {"param array", Bytes().Variable("C", type::kParamArray), "C (ParamArray)...", ListOutcome::Stopped},
        {"iso4", Bytes().Variable("C", type::kIso4), "C (Iso4)...", ListOutcome::Stopped},
        {"ident", Bytes().Variable("C", type::kIdent), "C (Ident)...", ListOutcome::Stopped},
        {"code 15", Bytes().Variable("C", 15), "C (Unknown)...", ListOutcome::Stopped},
        {"code 0xFFFFFFFF", Bytes().Variable("C", 0xFFFFFFFF), "C (Unknown)...", ListOutcome::Stopped},
        {"empty name", Bytes().Variable("", type::kInteger).I32(5), "(Integer): 5", ListOutcome::Listed},
        {"name whose first byte is zero", Bytes().Variable(std::string("\0ab", 3), type::kInteger).I32(5), "(Integer): 5",
         ListOutcome::Listed},
        {"name with a zero byte further in", Bytes().Variable(std::string("ab\0cd", 5), type::kVoid), "ab (Void)",
         ListOutcome::Listed},
        {"non-ASCII name", Bytes().Variable("C\xC3\xB4te", type::kVoid), "C\xC3\xB4te (Void)", ListOutcome::Listed},
        {"ill-formed name", Bytes().Variable("a\xFF" "b", type::kVoid), "a\xEF\xBF\xBD" "b (Void)", ListOutcome::Listed},
    });
}

TEST(VariableListing, ReproducesTheWorkedExample) {
    Bytes variables;
    variables.Variable("Score", type::kInteger).I32(3);
    variables.Variable("Title", type::kText).Text("Blue sky");
    variables.Variable("Origin", type::kVec2).U32(0x3FC00000).U32(0xC0000000);
    variables.Variable("", type::kBoolean).U32(0);
    variables.Variable("Mode", type::kEnum);
    const ListingResult result = ListVariablesOf(variables, 6);  // the sixth is never read
    EXPECT_EQ(result.outcome, ListOutcome::Stopped);
    EXPECT_EQ(result.text,
              "Number of variables: 6\r\nScore (Integer): 3\r\nTitle (Text): \"Blue sky\"\r\n"
              "Origin (Vec2): <1.5, -2>\r\n(Boolean): False\r\nMode (Enum)...");
}

TEST(VariableListing, AStopLeavesLaterVariablesUnread) {
    Bytes variables;
    variables.Variable("A", type::kInteger).I32(1).Variable("B", type::kClass).U32(0xFFFF);  // garbage behind
    const ListingResult result = ListVariablesOf(variables, 3);
    EXPECT_EQ(result.outcome, ListOutcome::Stopped);
    EXPECT_EQ(result.text, "Number of variables: 3\r\nA (Integer): 1\r\nB (Class)...");
    EXPECT_EQ(result.unreadBytes, 4u);
}

TEST(VariableListing, LongTextsAreCutTo1023Bytes) {
    const std::string name(1500, 'n');
    // A three-byte sequence cut in two by the 1023-byte limit comes out as one U+FFFD.
    const std::string text = std::string(1022, 't') + "\xE5\xB1\xB1" + "rest";
    const ListingResult result = ListVariablesOf(Bytes().Variable(name, type::kText).Text(text), 1);
    EXPECT_EQ(OnlyVariableLine(result),
              std::string(1023, 'n') + " (Text): \"" + std::string(1022, 't') + "\xEF\xBF\xBD\"");
    EXPECT_EQ(result.unreadBytes, 0u);
}

// Every variable must be read whole: any cut of the variable bytes is a read error, never a value
// made of bytes that are not there.
TEST(VariableListing, EveryCutOfTheVariablesIsAReadError) {
    Bytes variables;
    variables.Variable("Void", type::kVoid);
    variables.Variable("Bool", type::kBoolean).U32(1);
    variables.Variable("Int", type::kInteger).I32(-5);
    variables.Variable("Real", type::kReal).F32(0.5f);
    variables.Variable("Text", type::kText).Text("abc");
    variables.Variable("Vec2", type::kVec2).F32(1).F32(2);
    variables.Variable("Vec3", type::kVec3).F32(1).F32(2).F32(3);
    variables.Variable("Int3", type::kInt3).I32(1).I32(2).I32(3);
    variables.Variable("Int2", type::kInt2).I32(1).I32(2);
    variables.ArrayHead("Arr", type::kText, type::kInteger, 2).Text("k").I32(1).Text("").I32(2);
    ASSERT_EQ(ListVariablesOf(variables, 10).outcome, ListOutcome::Listed);
    for (size_t length = 0; length < variables.data.size(); ++length) {
        Bytes cut;
        cut.data.assign(variables.data.begin(), variables.data.begin() + static_cast<long>(length));
        const ListingResult result = ListVariablesOf(cut, 10);
        ASSERT_EQ(result.outcome, ListOutcome::ReadError) << "cut at " << length;
    }
}

TEST(VariableListing, RefusedTextsAreReadErrors) {
    EXPECT_EQ(ListVariablesOf(Bytes().U32(0xFFFF), 1).outcome, ListOutcome::ReadError);
    EXPECT_EQ(ListVariablesOf(Bytes().Variable("T", type::kText).U32(0xFFFFFFFF), 1).outcome, ListOutcome::ReadError);
}

// A full listing is cut at 32767 units, yet every later variable is still read, so a read error behind
// the cut still wins.
TEST(VariableListing, AFullListingStillReadsEveryVariable) {
    Bytes variables;
    const std::string name(1000, 'x');
    for (int i = 0; i < 40; ++i) variables.Variable(name, type::kInteger).I32(i);
    const ListingResult full = ListVariablesOf(variables, 40);
    EXPECT_EQ(full.outcome, ListOutcome::Listed);
    EXPECT_EQ(full.units, 32767u);
    EXPECT_EQ(full.unreadBytes, 0u);

    variables.Variable("late", type::kText).U32(0xFFFF);
    EXPECT_EQ(ListVariablesOf(variables, 41).outcome, ListOutcome::ReadError);
}

}  // namespace
