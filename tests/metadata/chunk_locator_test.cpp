// SPDX-License-Identifier: GPL-2.0-or-later
// The first occurrence of the chunk identifier decides; the head fields are checked in the order they
// are stored, and a head cut off by the body's end is a read error.
#include "metadata/chunk_locator.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "listing_fixture.h"
#include "map_writer.h"

namespace {

using mapwriter::Bytes;
using mapwriter::ByteVector;
using mapwriter::ChunkHead;

std::vector<std::string> gNotices;
void RecordNotice(const char* message) { gNotices.emplace_back(message); }

struct Located {
    Failure failure;
    std::string firstLine;
    size_t cursorOffset;  // from the body's start
};

Located Locate(const ByteVector& body) {
    gNotices.clear();
    auto listing = std::make_unique<ListingText>();
    listing->length = 0;
    listing->units[0] = u'\0';
    MetadataChunk chunk = {};
    Located located;
    located.failure = LocateMetadataChunk(body.data(), body.size(), RecordNotice, &chunk, listing.get());
    located.firstLine = ListingAsUtf8(*listing);
    located.cursorOffset = located.failure == kSucceeded ? static_cast<size_t>(chunk.cursor.position - body.data()) : 0;
    return located;
}

ByteVector Chunk(void (*change)(ChunkHead&)) {
    ChunkHead head;
    head.variableCount = 3;
    change(head);
    return mapwriter::MetadataChunk(head, Bytes().Raw(std::string(40, '\x01')));
}

ByteVector Concat(const ByteVector& a, const ByteVector& b) {
    ByteVector joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}

TEST(ChunkLocator, FindsTheChunkAnywhereAndStandsOnTheFirstVariable) {
    const ByteVector chunk = Chunk([](ChunkHead&) {});
    for (size_t before : {0u, 1u, 7u, 4096u}) {
        const Located located = Locate(Concat(mapwriter::OtherChunks(before), chunk));
        EXPECT_STREQ(located.failure, kSucceeded) << before;
        EXPECT_EQ(located.firstLine, "Number of variables: 3");
        EXPECT_EQ(located.cursorOffset, before + 32);
    }
}

TEST(ChunkLocator, HeadChecks) {
    struct Case {
        const char* what;
        ByteVector body;
        Failure failure;
    } cases[] = {
        {"no identifier", mapwriter::OtherChunks(300), kMessageChunkNotFound},
        {"body of 3 bytes", {0x44, 0x30, 0x04}, kMessageChunkNotFound},
        {"identifier in the last 4 bytes", Concat(mapwriter::OtherChunks(9), {0x44, 0x30, 0x04, 0x03}), kMessageChunkNotFound},
        {"marker cut off", {0x44, 0x30, 0x04, 0x03, 'P', 'I', 'K'}, kMessageChunkNotFound},
        {"no marker", Chunk([](ChunkHead& h) { h.marker = 0x534B4951; }), kMessageChunkNotFound},
        {"first occurrence without marker, real chunk later",
         Concat(Bytes().U32(mapwriter::kChunkIdentifier).U32(0).data, Chunk([](ChunkHead&) {})), kMessageChunkNotFound},
        {"chunk size 0", Chunk([](ChunkHead& h) { h.chunkSize = 0; }), kMessageReadError},
        {"chunk size 0 decides before the version", Chunk([](ChunkHead& h) { h.chunkSize = 0; h.version = 1; }), kMessageReadError},
        {"chunk size above the body", Chunk([](ChunkHead& h) { h.chunkSize = 73; }), kMessageReadError},
        {"chunk size equal to the body", Chunk([](ChunkHead& h) { h.chunkSize = 72; }), kSucceeded},
        {"version 1", Chunk([](ChunkHead& h) { h.version = 1; }), kMessageUnsupportedVersion},
        {"version 3", Chunk([](ChunkHead& h) { h.version = 3; }), kMessageUnsupportedVersion},
        {"no variables", Chunk([](ChunkHead& h) { h.variableCount = 0; }), kMessageNoMetadata},
        {"most variables", Chunk([](ChunkHead& h) { h.variableCount = 0x10000000; }), kSucceeded},
        {"too many variables", Chunk([](ChunkHead& h) { h.variableCount = 0x10000001; }), kMessageReadError},
        {"too many variables, unsigned", Chunk([](ChunkHead& h) { h.variableCount = 0xFFFFFFFF; }), kMessageReadError},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(Locate(c.body).failure, c.failure) << c.what;
        EXPECT_TRUE(gNotices.empty()) << c.what;
    }
    EXPECT_EQ(Locate(Chunk([](ChunkHead& h) { h.variableCount = 0x10000000; })).firstLine,
              "Number of variables: 268435456");
}

TEST(ChunkLocator, AnUnexpectedScriptClassIdIsANoticeOnly) {
    const Located located = Locate(Chunk([](ChunkHead& h) { h.scriptClassId = 0x11002001; }));
    EXPECT_STREQ(located.failure, kSucceeded);
    EXPECT_EQ(gNotices, std::vector<std::string>{kMessageUnexpectedClassId});

    // Not looked at when the chunk size already failed.
    EXPECT_STREQ(Locate(Chunk([](ChunkHead& h) { h.scriptClassId = 0; h.chunkSize = 0; })).failure, kMessageReadError);
    EXPECT_TRUE(gNotices.empty());
}

// Every cut inside the head behind the marker leaves a field missing: a read error, not a zero value.
TEST(ChunkLocator, AHeadCutOffByTheBodysEndIsAReadError) {
    const ByteVector chunk = Chunk([](ChunkHead& h) { h.chunkSize = 8; });
    for (size_t length = 8; length < 32; ++length) {
        const ByteVector cut(chunk.begin(), chunk.begin() + static_cast<long>(length));
        EXPECT_STREQ(Locate(cut).failure, kMessageReadError) << "cut at " << length;
    }
}

}  // namespace
