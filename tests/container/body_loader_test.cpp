// SPDX-License-Identifier: GPL-2.0-or-later
// Both buffers are obtained before the one read of the compressed body, and the decompressed body must
// be exactly as large as the header says. Whatever was obtained is left for the run to release.
#include "container/body_loader.h"

#include <gtest/gtest.h>

#include "app/platform_memory.h"
#include "map_writer.h"

namespace {

using mapwriter::ByteVector;

struct Load {
    Failure failure;
    bool compressedHeld;
    bool decompressedHeld;
    ByteVector body;
};

// Loads the body that follows a header giving these sizes, from a file holding exactly the given bytes.
Load LoadFrom(const ByteVector& fileBody, uint32_t compressedSize, uint32_t uncompressedSize,
              uint64_t bufferLimit = UINT64_MAX) {
    MemoryPlatform& platform = ResetMemoryPlatform(fileBody.data(), fileBody.size());
    platform.bufferLimit = bufferLimit;
    MapFile* file = OpenMapFile(MakeMemoryPath("map"));
    BodyBuffers buffers = {};
    DecompressedBody body = {};
    Load load;
    load.failure = LoadBody(file, ContainerHeader{uncompressedSize, compressedSize}, &buffers, &body);
    load.compressedHeld = buffers.compressed != nullptr;
    load.decompressedHeld = buffers.decompressed != nullptr;
    if (load.failure == kSucceeded) load.body.assign(body.start, body.start + body.size);
    ReleaseBodyBuffers(&buffers);
    EXPECT_EQ(platform.heldBuffers, 0);
    CloseMapFile(file);
    return load;
}

const ByteVector kBody = mapwriter::OtherChunks(5000);
const ByteVector kStream = mapwriter::CompressLzo1x(kBody);
const auto kStreamSize = static_cast<uint32_t>(kStream.size());
const auto kBodySize = static_cast<uint32_t>(kBody.size());

TEST(BodyLoader, DecompressesExactlyTheDeclaredSize) {
    ByteVector file = kStream;
    file.push_back(0x99);  // bytes behind the compressed body are never read
    const Load load = LoadFrom(file, kStreamSize, kBodySize);
    EXPECT_STREQ(load.failure, kSucceeded);
    EXPECT_EQ(load.body, kBody);
}

TEST(BodyLoader, SizesThatCannotBeHad) {
    const Load noCompressed = LoadFrom(kStream, 0, kBodySize);
    EXPECT_STREQ(noCompressed.failure, kMessageOutOfMemory);
    EXPECT_FALSE(noCompressed.compressedHeld);

    const Load noDecompressed = LoadFrom(kStream, kStreamSize, 0);
    EXPECT_STREQ(noDecompressed.failure, kMessageOutOfMemory);
    EXPECT_TRUE(noDecompressed.compressedHeld);
    EXPECT_FALSE(noDecompressed.decompressedHeld);

    // Both allocations come before the read: a file too short for its body is still out of memory.
    const Load tooLarge = LoadFrom(ByteVector(kStream.begin(), kStream.begin() + 10), kStreamSize, 0xFFFFFFFF,
                                   /*bufferLimit=*/1u << 20);
    EXPECT_STREQ(tooLarge.failure, kMessageOutOfMemory);
}

TEST(BodyLoader, ABodyCutShortIsAReadErrorAfterBothBuffers) {
    const Load load = LoadFrom(ByteVector(kStream.begin(), kStream.end() - 1), kStreamSize, kBodySize);
    EXPECT_STREQ(load.failure, kMessageReadError);
    EXPECT_TRUE(load.compressedHeld);
    EXPECT_TRUE(load.decompressedHeld);
}

TEST(BodyLoader, StreamsThatDoNotDecodeToExactlyTheDeclaredSize) {
    ByteVector trailing = kStream;
    trailing.push_back(0);
    struct Case {
        const char* what;
        ByteVector stream;
        uint32_t uncompressedSize;
    } cases[] = {
        {"decodes to fewer bytes", kStream, kBodySize + 1},
        {"decodes to more bytes", kStream, kBodySize - 1},
        {"bytes behind the end marker", trailing, kBodySize},
        {"stops before the end marker", ByteVector(kStream.begin(), kStream.end() - 3), kBodySize},
        {"not a stream at all", ByteVector(64, 0xFF), kBodySize},
    };
    for (const Case& c : cases) {
        const Load load = LoadFrom(c.stream, static_cast<uint32_t>(c.stream.size()), c.uncompressedSize);
        EXPECT_STREQ(load.failure, kMessageDecompress) << c.what;
    }
}

}  // namespace
