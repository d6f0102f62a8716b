// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzzes a decompressed body directly: chunk location and the variable listing, so that the fuzzer
// reaches the records without producing valid LZO streams. The input is the body, exactly sized, so a
// read past its end is an ASan finding. Promise: one of the locator's messages, or a read error, or a
// sound listing whose first line gives the count; the cursor never leaves the body; and the outcome is
// the one that the plain second reading of the format gives.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "fuzz_checks.h"
#include "reference_model.h"
#include "metadata/chunk_locator.h"
#include "metadata/variable_listing.h"

namespace {

ListingText gListing;
int gNotices = 0;

void CountNotice(const char* message) {
    fuzzcheck::Require(std::strcmp(message, kMessageUnexpectedClassId) == 0, "the only notice is the class ID");
    ++gNotices;
}

void RequireCountLine(const ListingText& listing, uint32_t variableCount) {
    char line[32];
    const int length = std::snprintf(line, sizeof line, "Number of variables: %u", variableCount);
    fuzzcheck::Require(length > 0 && listing.length >= static_cast<size_t>(length), "the count line is whole");
    for (int i = 0; i < length; ++i) {
        fuzzcheck::Require(listing.units[i] == static_cast<unsigned char>(line[i]), "the count line gives the count");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzzcheck::Require;
    gNotices = 0;
    const reference::Outcome expected = reference::ListBody(data, size);
    MetadataChunk chunk;
    const Failure failure = LocateMetadataChunk(data, size, CountNotice, &chunk, &gListing);
    Require(gNotices <= 1, "the class ID notice comes at most once");
    Require(gNotices == expected.notices, "the class ID notice is shown where the format says");
    if (failure != kSucceeded) {
        Require(fuzzcheck::IsBodyFailure(failure), "the locator fails with one of its fixed messages");
        Require(expected.failure != nullptr && std::strcmp(failure, expected.failure) == 0,
                "the locator fails with the message the format gives");
        return 0;
    }
    Require(chunk.variableCount >= 1 && chunk.variableCount <= kMaxVariableCount, "the count is 1 to 268435456");
    Require(chunk.cursor.position >= data + 32 && chunk.cursor.end == data + size, "the cursor stands behind the head");
    RequireCountLine(gListing, chunk.variableCount);

    const ListOutcome outcome = ListVariables(&chunk.cursor, chunk.variableCount, &gListing);
    Require(outcome == ListOutcome::Listed || outcome == ListOutcome::Stopped || outcome == ListOutcome::ReadError,
            "the listing ends in one of its three ways");
    Require(chunk.cursor.position <= data + size, "the cursor never passes the body's end");
    Require(gListing.units[gListing.length] == u'\0', "the listing is terminated at its length");
    RequireCountLine(gListing, chunk.variableCount);
    fuzzcheck::RequireSoundListing(gListing.units, gListing.length);
    if (outcome == ListOutcome::ReadError) {
        Require(expected.failure != nullptr && std::strcmp(expected.failure, kMessageReadError) == 0,
                "the read error is where the format has one");
    } else {
        Require(expected.failure == nullptr, "a shown listing is what the format shows");
        Require(expected.listing == std::u16string_view(gListing.units, gListing.length),
                "the listing is exactly the format's listing");
    }
    return 0;
}
