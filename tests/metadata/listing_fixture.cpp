// SPDX-License-Identifier: GPL-2.0-or-later
#include "listing_fixture.h"

#include <gtest/gtest.h>

#include "app/unicode.h"

namespace {

void IgnoreNotice(const char*) {}

}  // namespace

std::string ListingAsUtf8(const ListingText& listing) {
    std::string out(ListingUtf8Capacity(listing.length), '\0');
    std::string text;
    // Convert line by line so that "\r\n" stays as it is in the listing.
    size_t start = 0;
    for (size_t i = 0; i <= listing.length; ++i) {
        if (i == listing.length || listing.units[i] == u'\r') {
            const size_t written = ConvertListingToUtf8(listing.units + start, i - start, out.data());
            text.append(out.data(), written - 1);  // without the final line feed
            if (i < listing.length) text += '\r';
            start = i + 1;
        }
    }
    return text;
}

ListingResult ListBody(const mapwriter::ByteVector& body) {
    auto listing = std::make_unique<ListingText>();
    listing->length = 0;
    listing->units[0] = u'\0';
    ListingResult result;
    MetadataChunk chunk;
    result.failure = LocateMetadataChunk(body.data(), body.size(), IgnoreNotice, &chunk, listing.get());
    if (result.failure == kSucceeded) {
        result.outcome = ListVariables(&chunk.cursor, chunk.variableCount, listing.get());
        if (result.outcome == ListOutcome::ReadError) result.failure = kMessageReadError;
        result.unreadBytes = static_cast<size_t>(chunk.cursor.end - chunk.cursor.position);
    }
    result.text = ListingAsUtf8(*listing);
    result.units = listing->length;
    return result;
}

ListingResult ListVariablesOf(const mapwriter::Bytes& variables, uint32_t variableCount) {
    mapwriter::ChunkHead head;
    head.variableCount = variableCount;
    return ListBody(mapwriter::MetadataChunk(head, variables));
}

std::string OnlyVariableLine(const ListingResult& result) {
    const size_t lineBreak = result.text.find("\r\n");
    return lineBreak == std::string::npos ? std::string() : result.text.substr(lineBreak + 2);
}

void ExpectVariableLines(std::initializer_list<LineCase> cases) {
    for (const LineCase& c : cases) {
        const ListingResult result = ListVariablesOf(c.variable, 1);
        EXPECT_EQ(OnlyVariableLine(result), c.line) << c.what;
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(result.unreadBytes, 0u) << c.what;
    }
}
