// SPDX-License-Identifier: GPL-2.0-or-later
// The listing holds at most 32767 units before its terminator; appends are cut to the room left.
#include "metadata/listing_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<ListingText> NewListing(uint32_t count = 1) {
    auto listing = std::make_unique<ListingText>();
    StartListing(listing.get(), count);
    return listing;
}

TEST(ListingText, StartsWithTheVariableCountAndNoLineBreak) {
    auto listing = NewListing(7);
    AppendLiteral(listing.get(), u"tail");
    StartListing(listing.get(), 268435456);  // replaces whatever was there
    EXPECT_EQ(std::u16string(listing->units, listing->length), u"Number of variables: 268435456");
    EXPECT_EQ(listing->units[listing->length], u'\0');
}

TEST(ListingText, AnAppendIsCutAtTheLastUnitAndLaterOnesChangeNothing) {
    auto listing = NewListing();
    const std::u16string filler(kListingMaxLength - listing->length - 2, u'x');
    AppendListing(listing.get(), filler.data(), filler.size());
    EXPECT_FALSE(IsListingFull(listing.get()));
    AppendLiteral(listing.get(), u"abc");
    EXPECT_EQ(listing->length, kListingMaxLength);
    EXPECT_TRUE(IsListingFull(listing.get()));
    EXPECT_EQ(listing->units[kListingMaxLength - 1], u'b');
    EXPECT_EQ(listing->units[kListingMaxLength], u'\0');

    AppendLiteral(listing.get(), u"more");
    AppendInteger(listing.get(), 5, true);
    AppendReal(listing.get(), 1.5f, false);
    AppendUtf8Text(listing.get(), "text");
    EXPECT_EQ(listing->length, kListingMaxLength);
    EXPECT_EQ(listing->units[kListingMaxLength - 1], u'b');
}

TEST(ListingText, NumbersAreWrittenAsTheCLibraryFormatsThem) {
    struct Case {
        float real;
        const char16_t* expected;
    } reals[] = {
        {0.1f, u"0.1"}, {1.5f, u"1.5"}, {-2.0f, u"-2"}, {100000.0f, u"100000"}, {1e6f, u"1e+06"},
        {3.4028235e38f, u"3.40282e+38"}, {1e-45f, u"1.4013e-45"}, {-0.0f, u"-0"},
    };
    for (const Case& c : reals) {
        auto listing = std::make_unique<ListingText>();
        listing->length = 0;
        AppendReal(listing.get(), c.real, false);
        EXPECT_EQ(std::u16string(listing->units, listing->length), c.expected);
    }
    auto listing = std::make_unique<ListingText>();
    listing->length = 0;
    AppendInteger(listing.get(), -2147483647 - 1, false);
    AppendInteger(listing.get(), 42, true);
    AppendReal(listing.get(), 2.5f, true);
    EXPECT_EQ(std::u16string(listing->units, listing->length), u"-2147483648, 42, 2.5");
}

}  // namespace
