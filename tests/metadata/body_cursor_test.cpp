// SPDX-License-Identifier: GPL-2.0-or-later
// Reads through the cursor lie wholly inside the body; a text is consumed whole however much of it the
// 1023-byte destination keeps.
#include "metadata/body_cursor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "map_writer.h"

namespace {

using mapwriter::Bytes;

struct StringRead {
    int32_t result;
    size_t consumed;          // bytes the cursor moved
    std::string destination;  // up to its terminator
};

StringRead ReadStringOf(const Bytes& bytes) {
    BodyCursor cursor = {bytes.data.data(), bytes.data.data() + bytes.data.size()};
    char destination[kTextCapacity];
    std::memset(destination, 0, sizeof destination);
    std::strcpy(destination, "before");
    StringRead read;
    read.result = ReadString(&cursor, destination);
    read.consumed = static_cast<size_t>(cursor.position - bytes.data.data());
    read.destination = destination;
    return read;
}

TEST(ReadBytes, RefusesNullAndReadsPastTheEndWithoutMoving) {
    const uint8_t body[6] = {1, 2, 3, 4, 5, 6};
    BodyCursor cursor = {body, body + sizeof body};
    uint8_t out[8] = {};
    EXPECT_TRUE(ReadBytes(&cursor, out, 0));
    EXPECT_EQ(cursor.position, body);
    EXPECT_FALSE(ReadBytes(nullptr, out, 1));
    EXPECT_FALSE(ReadBytes(&cursor, nullptr, 1));
    EXPECT_TRUE(ReadBytes(&cursor, out, 4));
    EXPECT_EQ(out[3], 4);
    EXPECT_FALSE(ReadBytes(&cursor, out, 3));  // only 2 are left
    EXPECT_FALSE(ReadBytes(&cursor, out, 0xFFFFFFFF));
    EXPECT_EQ(cursor.position, body + 4);
    EXPECT_TRUE(ReadBytes(&cursor, out, 2));
    EXPECT_EQ(cursor.position, cursor.end);
}

TEST(ReadString, ResultsCursorAndDestination) {
    const std::string text1023(1023, 'a');
    const std::string text1024 = std::string(1023, 'b') + "c";
    const std::string text65534(65534, 'd');
    struct Case {
        const char* what;
        Bytes bytes;
        int32_t result;
        size_t consumed;
        std::string destination;
    } cases[] = {
        {"empty", Bytes().U32(0), 0, 4, ""},
        {"short", Bytes().Text("Score"), 5, 9, "Score"},
        {"1023 bytes arrive whole", Bytes().Text(text1023), 1023, 1027, text1023},
        {"1024 bytes are cut to 1023", Bytes().Text(text1024), 1023, 1028, text1024.substr(0, 1023)},
        {"65534 is the longest accepted", Bytes().Text(text65534), 1023, 65538, text65534.substr(0, 1023)},
        {"a zero byte ends the kept text", Bytes().U32(5).Raw(std::string("ab\0de", 5)), 2, 9, "ab"},
        {"a zero first byte keeps nothing", Bytes().U32(3).Raw(std::string("\0xy", 3)), 0, 7, ""},
        {"65535 is refused behind the length", Bytes().U32(0xFFFF).Raw(std::string(70000, 'e')), -1, 4, "before"},
        {"the comparison is unsigned", Bytes().U32(0xFFFFFFFF), -1, 4, "before"},
        {"a text past the body's end", Bytes().U32(6).Raw("abc"), -1, 4, "before"},
        {"a length cut off", Bytes().Raw("\x05\x00"), -1, 0, "before"},
    };
    for (const Case& c : cases) {
        const StringRead read = ReadStringOf(c.bytes);
        EXPECT_EQ(read.result, c.result) << c.what;
        EXPECT_EQ(read.consumed, c.consumed) << c.what;
        EXPECT_EQ(read.destination, c.destination) << c.what;
    }
}

TEST(ReadString, TextsFollowOneAnotherWithNoGap) {
    const Bytes bytes = Bytes().Text("one").Text("").Text("three");
    BodyCursor cursor = {bytes.data.data(), bytes.data.data() + bytes.data.size()};
    char destination[kTextCapacity];
    EXPECT_EQ(ReadString(&cursor, destination), 3);
    EXPECT_EQ(ReadString(&cursor, destination), 0);
    EXPECT_EQ(ReadString(&cursor, destination), 5);
    EXPECT_STREQ(destination, "three");
    EXPECT_EQ(cursor.position, cursor.end);
    EXPECT_EQ(ReadString(&cursor, nullptr), -1);
}

}  // namespace
