// SPDX-License-Identifier: GPL-2.0-or-later
// Whole runs over the in-memory backend: each outcome is shown once, and the common end releases
// everything that was acquired, whatever the file holds.
#include "app/run.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/messages.h"
#include "app/platform_memory.h"
#include "map_writer.h"

namespace {

using mapwriter::Bytes;
using mapwriter::ByteVector;

struct RunResult {
    int status;
    MemoryPlatform platform;
};

RunResult RunOn(const ByteVector& file, const std::string& path = "map", bool openable = true) {
    MemoryPlatform& platform = ResetMemoryPlatform(file.data(), file.size());
    platform.fileOpenable = openable;
    const int status = RunVeldrin(MakeMemoryPath(path));
    return {status, CurrentMemoryPlatform()};
}

ByteVector SmallMap(uint32_t scriptClassId = mapwriter::kScriptClassId, uint32_t version = 2) {
    Bytes variables;
    variables.Variable("Score", mapwriter::kInteger).I32(3);
    mapwriter::ChunkHead head;
    head.scriptClassId = scriptClassId;
    head.version = version;
    return mapwriter::MapFile(mapwriter::Body(head, variables, 100, 20));
}

void ExpectNothingHeld(const MemoryPlatform& platform) {
    EXPECT_EQ(platform.openFiles, 0);
    EXPECT_EQ(platform.heldBuffers, 0);
}

TEST(Run, PathCases) {
    const ByteVector map = SmallMap();
    struct Case {
        std::string path;
        const char* message;  // null: the listing is shown
    } cases[] = {
        {"", kMessageUsagePosix},
        {"map", nullptr},
        {"\"map\"", nullptr},            // enclosing quotes are removed
        {"\"\"", kMessageFileNotFound},  // not empty before unquoting, empty after
        {"\"map", kMessageFileNotFound}, // a quote at one end stays
        {"map\"", kMessageFileNotFound},
        {"map extra", kMessageFileNotFound},  // the whole tail is one path
        {"\"\"map\"\"", kMessageFileNotFound},  // only one pair is removed
    };
    for (const Case& c : cases) {
        const RunResult result = RunOn(map, c.path);
        if (c.message == nullptr) {
            EXPECT_EQ(result.status, kExitListed) << c.path;
            EXPECT_TRUE(result.platform.listingShown) << c.path;
            EXPECT_TRUE(result.platform.warnings.empty()) << c.path;
        } else {
            EXPECT_EQ(result.status, kExitFailed) << c.path;
            EXPECT_FALSE(result.platform.listingShown) << c.path;
            ASSERT_EQ(result.platform.warnings.size(), 1u) << c.path;
            EXPECT_EQ(result.platform.warnings[0], c.message) << c.path;
        }
        ExpectNothingHeld(result.platform);
    }
}

TEST(Run, AFileThatCannotBeOpenedIsReportedAndNothingIsHeld) {
    const RunResult result = RunOn(SmallMap(), "map", false);
    EXPECT_EQ(result.status, kExitFailed);
    ASSERT_EQ(result.platform.warnings.size(), 1u);
    EXPECT_EQ(result.platform.warnings[0], kMessageCouldNotOpen);
    ExpectNothingHeld(result.platform);
}

TEST(Run, UnexpectedScriptClassIdWarnsThenTheRunGoesOn) {
    const RunResult listed = RunOn(SmallMap(0x11002001));
    EXPECT_EQ(listed.status, kExitListed);
    ASSERT_EQ(listed.platform.warnings.size(), 1u);
    EXPECT_EQ(listed.platform.warnings[0], kMessageUnexpectedClassId);
    EXPECT_EQ(listed.platform.listing, u"Number of variables: 1\r\nScore (Integer): 3");

    // The notice comes first, the failure of a later field after it.
    const RunResult failed = RunOn(SmallMap(0, 3));
    EXPECT_EQ(failed.status, kExitFailed);
    EXPECT_EQ(failed.platform.warnings,
              (std::vector<std::string>{kMessageUnexpectedClassId, kMessageUnsupportedVersion}));
    EXPECT_FALSE(failed.platform.listingShown);
    ExpectNothingHeld(failed.platform);
}

TEST(Run, ABodyBufferThatCannotBeHadIsOutOfMemoryAndTheOtherIsReleased) {
    const ByteVector map = mapwriter::ExampleMap();
    MemoryPlatform& platform = ResetMemoryPlatform(map.data(), map.size());
    platform.bufferLimit = map.size();  // the compressed body fits, the decompressed one does not
    EXPECT_EQ(RunVeldrin(MakeMemoryPath("map")), kExitFailed);
    EXPECT_EQ(CurrentMemoryPlatform().warnings, std::vector<std::string>{kMessageOutOfMemory});
    ExpectNothingHeld(CurrentMemoryPlatform());
}

// A map cut at any length fails as the first field that it cuts decides, never with a listing.
TEST(Run, AMapCutAtEveryLengthFailsWithTheMessageOfWhereItIsCut) {
    const ByteVector map = mapwriter::ExampleMap();
    for (size_t length = 0; length < map.size(); ++length) {
        const ByteVector cut(map.begin(), map.begin() + static_cast<long>(length));
        const RunResult result = RunOn(cut);
        const char* expected = length < 3 ? kMessageInvalidFormat : kMessageReadError;
        ASSERT_EQ(result.platform.warnings, std::vector<std::string>{expected}) << "cut at " << length;
        EXPECT_EQ(result.status, kExitFailed);
        ExpectNothingHeld(result.platform);
    }
}

// Any single damaged byte ends in one of the fixed messages or in a listing, with everything released.
TEST(Run, EveryDamagedByteEndsInAFixedOutcome) {
    const std::set<std::string> messages = {
        kMessageInvalidFormat,  kMessageUncompressed, kMessageReadError,          kMessageOutOfMemory,
        kMessageDecompress,     kMessageChunkNotFound, kMessageUnsupportedVersion, kMessageNoMetadata,
        kMessageUnexpectedClassId};
    const ByteVector map = mapwriter::ExampleMap();
    for (size_t offset = 0; offset < map.size(); ++offset) {
        for (uint8_t flip : {uint8_t{0xFF}, uint8_t{0x01}}) {
            ByteVector damaged = map;
            damaged[offset] ^= flip;
            const RunResult result = RunOn(damaged);
            for (const std::string& warning : result.platform.warnings) {
                ASSERT_TRUE(messages.count(warning)) << warning << " at " << offset;
            }
            EXPECT_EQ(result.status == kExitListed, result.platform.listingShown) << offset;
            EXPECT_LE(result.platform.listing.size(), 32767u);
            ExpectNothingHeld(result.platform);
        }
    }
}

}  // namespace
