// SPDX-License-Identifier: GPL-2.0-or-later
// The UTF-8 input conversion replaces each maximal ill-formed subpart with one U+FFFD; the output
// conversion pairs surrogates, turns "\r\n" into "\n" and ends the text with one line feed.
#include "app/unicode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string FromUtf8(const std::string& bytes) {
    char16_t wide[1024];
    const size_t count = ConvertUtf8ToUtf16(bytes.c_str(), wide);
    EXPECT_EQ(wide[count], u'\0');
    return std::u16string(wide, count);
}

std::string ToUtf8(const std::u16string& units) {
    std::string out(ListingUtf8Capacity(units.size()), '\0');
    out.resize(ConvertListingToUtf8(units.data(), units.size(), out.data()));
    return out;
}

struct Utf8Case {
    const char* what;
    std::string bytes;
    std::u16string expected;
};

TEST(Utf8ToUtf16, ConvertsWellFormedAndReplacesEachMaximalSubpart) {
    const Utf8Case cases[] = {
        {"ascii", "Score", u"Score"},
        {"two-byte", "C\xC3\xB4te", u"C\u00F4te"},
        {"three-byte", "\xE5\xB1\xB1", u"\u5C71"},
        {"four-byte becomes a pair", "\xF0\x9F\x8F\x81", u"\U0001F3C1"},
        {"largest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"lone continuation", "a\x80z", u"a\uFFFDz"},
        {"two lone continuations", "\x80\xBF", u"\uFFFD\uFFFD"},
        {"C0 and C1 never lead", "\xC0\xAF\xC1\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"F5 and above never lead", "\xF5\x80\xFF", u"\uFFFD\uFFFD\uFFFD"},
        {"truncated three-byte is one subpart", "\xE5\xB1z", u"\uFFFDz"},
        {"truncated four-byte is one subpart", "\xF0\x9F\x8F", u"\uFFFD"},
        {"truncated at the end", "ab\xC3", u"ab\uFFFD"},
        {"overlong E0 breaks at the second byte", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"surrogate ED A0 breaks at the second byte", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF breaks at the second byte", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"lead followed by a lead", "\xC3\xC3\xA9", u"\uFFFD\u00E9"},
        // The example of Unicode's chapter 3 on U+FFFD substitution.
        {"chapter 3 example", "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
         u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(FromUtf8(c.bytes), c.expected) << c.what;
    }
}

TEST(Utf8ToUtf16, NeverYieldsMoreUnitsThanBytes) {
    std::string bytes;
    for (int i = 0; i < 1023; ++i) bytes += static_cast<char>(0x80 + i % 0x7F);
    EXPECT_LE(FromUtf8(bytes).size(), bytes.size());
}

TEST(ListingToUtf8, PairsSurrogatesAndReplacesUnpairedOnes) {
    EXPECT_EQ(ToUtf8(u"\U0001F3C1"), "\xF0\x9F\x8F\x81\n");
    EXPECT_EQ(ToUtf8(u"a\xD83C"), "a\xEF\xBF\xBD\n");  // a high surrogate cut off at the end
    EXPECT_EQ(ToUtf8(u"\xDC00z"), "\xEF\xBF\xBDz\n");  // a low surrogate on its own
    EXPECT_EQ(ToUtf8(u"\xD83C\xD83C\xDFC1"), "\xEF\xBF\xBD\xF0\x9F\x8F\x81\n");
}

TEST(ListingToUtf8, WritesEachLineBreakPairAsOneLineFeed) {
    EXPECT_EQ(ToUtf8(u"a\r\nb"), "a\nb\n");
    EXPECT_EQ(ToUtf8(u"a\rb\nc\r"), "a\rb\nc\r\n");  // only pairs are folded
    EXPECT_EQ(ToUtf8(u"\r\n\r\n"), "\n\n\n");
    EXPECT_EQ(ToUtf8(u""), "\n");
}

}  // namespace
