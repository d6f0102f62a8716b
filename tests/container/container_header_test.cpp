// SPDX-License-Identifier: GPL-2.0-or-later
// The header is checked field by field from the start of the file; the first field that fails decides
// the message, and a sound header leaves the file at the first byte of the compressed body.
#include "container/container_header.h"

#include <gtest/gtest.h>

#include "app/platform_memory.h"
#include "map_writer.h"

namespace {

using mapwriter::ByteVector;
using mapwriter::Header;

struct HeaderRead {
    Failure failure;
    ContainerHeader header;
    uint8_t nextByte;  // the byte the file stands at afterwards, or 0 at the end
};

HeaderRead ReadHeaderOf(const ByteVector& file) {
    ResetMemoryPlatform(file.data(), file.size());
    MapFile* opened = OpenMapFile(MakeMemoryPath("map"));
    HeaderRead read = {};
    read.failure = ReadContainerHeader(opened, &read.header);
    ReadMapFile(opened, &read.nextByte, 1);
    CloseMapFile(opened);
    return read;
}

const ByteVector kBody = {0xB0, 0xB1, 0xB2, 0xB3};

ByteVector WithHeader(void (*change)(Header&)) {
    Header header;
    header.uncompressedSize = 77;
    change(header);
    return mapwriter::MapFileWithRawBody(kBody, 77, header);
}

ByteVector Prefix(const ByteVector& bytes, size_t length) { return ByteVector(bytes.begin(), bytes.begin() + static_cast<long>(length)); }

TEST(ContainerHeader, ASoundHeaderYieldsBothSizesAndStandsAtTheBody) {
    const HeaderRead read = ReadHeaderOf(WithHeader([](Header&) {}));
    EXPECT_STREQ(read.failure, kSucceeded);
    EXPECT_EQ(read.header.uncompressedSize, 77u);
    EXPECT_EQ(read.header.compressedSize, kBody.size());
    EXPECT_EQ(read.nextByte, 0xB0);
}

TEST(ContainerHeader, AcceptsTheThreeClassIdentifiersAndOnlyThem) {
    for (uint32_t classId : {0x03043000u, 0x24003000u, 0x21080000u}) {
        Header header;
        header.classId = classId;
        EXPECT_STREQ(ReadHeaderOf(mapwriter::MapFileWithRawBody(kBody, 1, header)).failure, kSucceeded) << classId;
    }
    for (uint32_t classId : {0x03043001u, 0x0304300u, 0u, 0x00300403u}) {
        Header header;
        header.classId = classId;
        EXPECT_STREQ(ReadHeaderOf(mapwriter::MapFileWithRawBody(kBody, 1, header)).failure, kMessageInvalidFormat) << classId;
    }
}

TEST(ContainerHeader, OnlyAnUpperCaseUAtOffsetSevenMeansUncompressed) {
    const HeaderRead marked = ReadHeaderOf(WithHeader([](Header& h) { h.format = {'B', 'U', 'U', 'R'}; }));
    EXPECT_STREQ(marked.failure, kMessageUncompressed);
    // The compression mark is tested before the class identifier.
    EXPECT_EQ(ReadHeaderOf(WithHeader([](Header& h) { h.format[2] = 'U'; h.classId = 5; })).failure, kMessageUncompressed);
    EXPECT_EQ(ReadHeaderOf(WithHeader([](Header& h) { h.format = {'U', 'U', 'u', 'U'}; })).failure, kSucceeded);
}

TEST(ContainerHeader, TheMagicIsComparedExactlyBeforeAnythingElse) {
    for (const char* magic : {"gbx", "GBx", "gBX", "GBY", "XBG"}) {
        Header header;
        header.magic = magic;
        header.format[2] = 'U';  // a wrong magic decides before the compression mark
        EXPECT_STREQ(ReadHeaderOf(mapwriter::MapFileWithRawBody(kBody, 1, header)).failure, kMessageInvalidFormat) << magic;
    }
}

// A file cut inside the header fails as the field it cuts decides.
TEST(ContainerHeader, AFileCutInsideTheHeader) {
    const ByteVector file = WithHeader([](Header& h) { h.skipped = ByteVector(4, 0x22); });
    const size_t headerSize = 3 + 2 + 4 + 4 + 4 + 4 + 8 + 4 + 4;  // up to the compressed size field
    for (size_t length = 0; length < headerSize; ++length) {
        const Failure expected = length < 3 ? kMessageInvalidFormat : kMessageReadError;
        EXPECT_EQ(ReadHeaderOf(Prefix(file, length)).failure, expected) << "cut at " << length;
    }
}

TEST(ContainerHeader, TheSkipPassesSBytesAndEightMore) {
    const HeaderRead none = ReadHeaderOf(WithHeader([](Header& h) { h.skipped = {}; }));
    EXPECT_STREQ(none.failure, kSucceeded);
    EXPECT_EQ(none.header.uncompressedSize, 77u);
    const HeaderRead some = ReadHeaderOf(WithHeader([](Header& h) { h.skipped = ByteVector(1000, 0xEE); }));
    EXPECT_STREQ(some.failure, kSucceeded);
    EXPECT_EQ(some.nextByte, 0xB0);
}

// The skip is summed in 64 bits: a huge skip size is a seek forward past the end, never a short or a
// backward one, so the size fields are then missing.
TEST(ContainerHeader, AHugeSkipSizeSeeksPastTheEnd) {
    for (uint32_t skip : {0x7FFFFFF8u, 0x7FFFFFF7u, 0xFFFFFFF7u, 0xFFFFFFF8u, 0xFFFFFFFFu, 100000u}) {
        Header header;
        header.skipSize = skip;
        // Behind the skip size the file holds what a wrapped seek of 0 to 7 bytes would land on.
        header.skipped = {0x10, 0, 0, 0, 0x04, 0, 0, 0};
        EXPECT_STREQ(ReadHeaderOf(mapwriter::MapFileWithRawBody(kBody, 1, header)).failure, kMessageReadError) << skip;
    }
}

TEST(ContainerHeader, TheCompressedSizeMayNotExceedTheWholeFile) {
    const ByteVector sound = WithHeader([](Header&) {});
    const auto fileSize = static_cast<uint32_t>(sound.size());
    Header header;
    header.compressedSize = fileSize;  // passes here; the body read comes up short later
    EXPECT_STREQ(ReadHeaderOf(mapwriter::MapFileWithRawBody(kBody, 1, header)).failure, kSucceeded);
    header.compressedSize = fileSize + 1;
    EXPECT_STREQ(ReadHeaderOf(mapwriter::MapFileWithRawBody(kBody, 1, header)).failure, kMessageReadError);
}

TEST(ContainerHeader, AnySizesPassHereZeroIncluded) {
    Header header;
    header.uncompressedSize = 0;
    header.compressedSize = 0;
    const HeaderRead read = ReadHeaderOf(mapwriter::MapFileWithRawBody(kBody, 1, header));
    EXPECT_STREQ(read.failure, kSucceeded);
    EXPECT_EQ(read.header.uncompressedSize, 0u);
    EXPECT_EQ(read.header.compressedSize, 0u);
}

}  // namespace
