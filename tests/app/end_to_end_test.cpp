// SPDX-License-Identifier: GPL-2.0-or-later
// The built program, run as a user runs it: every outcome it can end in, with its exact standard
// output, standard error and exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "map_writer.h"
#include "program_runner.h"

namespace {

using mapwriter::Bytes;
using mapwriter::ByteVector;
using mapwriter::ChunkHead;
using mapwriter::Header;

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/veldrin-e2e-XXXXXX";
        directory_ = mkdtemp(pattern);
    }
    static void TearDownTestSuite() { std::system(("rm -rf '" + directory_ + "'").c_str()); }

    // Writes a file into the test folder and gives its path.
    static std::string Write(const std::string& name, const ByteVector& bytes) {
        const std::string path = directory_ + "/" + name;
        EXPECT_TRUE(mapwriter::WriteFile(path, bytes));
        return path;
    }

    static void Expect(const ProgramResult& result, const std::string& out, const std::string& err, int status) {
        EXPECT_EQ(result.out, out);
        EXPECT_EQ(result.err, err);
        EXPECT_EQ(result.status, status);
    }

    static void ExpectFailure(const std::vector<std::string>& arguments, const std::string& message) {
        SCOPED_TRACE(arguments.empty() ? "(no argument)" : arguments[0]);
        Expect(RunProgram(arguments), "", "Veldrin: " + message + "\n", 1);
    }

    static std::string directory_;
};

std::string EndToEnd::directory_;

ByteVector Hex(const std::string& text) {
    ByteVector bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 3) bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

ByteVector MapOf(const Bytes& variables, uint32_t count, const ChunkHead& base = {}) {
    ChunkHead head = base;
    head.variableCount = count;
    return mapwriter::MapFile(mapwriter::Body(head, variables, 300, 40));
}

const char kExampleListing[] =
    "Number of variables: 13\n"
    "MapName (Text): \"C\xC3\xB4te d'Azur \xE2\x80\x94 \xE5\xB1\xB1\xE3\x81\xAE\xE9\x81\x93\"\n"
    "Author (Text): \"veldrin\"\n"
    "IsNight (Boolean): True\n"
    "LapCount (Integer): 3\n"
    "GoldTime (Integer): -1\n"
    "Gravity (Real): 9.81\n"
    "Minimap (Vec2): <0.25, -0.5>\n"
    "Spawn (Vec3): <12.5, 0, -40>\n"
    "Grid (Int2): <32, 48>\n"
    "StartBlock (Int3): <16, 9, -2>\n"
    "Ready (Void)\n"
    "Names (Array): [1=>\"abc\", 20=>\"Hello\"]\n"
    "Path (Array): [<1, 2.5, -3>, <0, 0.1, 100000>]\n";

TEST_F(EndToEnd, ListsTheExampleMap) {
    Expect(RunProgram({VELDRIN_EXAMPLE_MAP}), kExampleListing, "", 0);
}

TEST_F(EndToEnd, ReproducesTheVariableListingExampleByteForByte) {
    Bytes variables;
    variables.Raw(Hex("05 00 00 00 53 63 6F 72 65 02 00 00 00 03 00 00 00 "
                      "05 00 00 00 54 69 74 6C 65 05 00 00 00 08 00 00 00 42 6C 75 65 20 73 6B 79 "
                      "06 00 00 00 4F 72 69 67 69 6E 09 00 00 00 00 00 C0 3F 00 00 00 C0 "
                      "00 00 00 00 01 00 00 00 00 00 00 00 "
                      "04 00 00 00 4D 6F 64 65 06 00 00 00 "));
    Expect(RunProgram({Write("worked.Map.Gbx", MapOf(variables, 6))}),
           "Number of variables: 6\n"
           "Score (Integer): 3\n"
           "Title (Text): \"Blue sky\"\n"
           "Origin (Vec2): <1.5, -2>\n"
           "(Boolean): False\n"
           "Mode (Enum)...\n",
           "", 0);
}

TEST_F(EndToEnd, ReproducesTheArrayExamplesByteForByte) {
    Bytes variables;
    variables.Text("Names").Raw(Hex("07 00 00 00 02 00 00 00 05 00 00 00 02 00 00 00 01 00 00 00 "
                                    "03 00 00 00 61 62 63 14 00 00 00 05 00 00 00 48 65 6c 6c 6f "));
    variables.Text("Path").Raw(Hex("07 00 00 00 00 00 00 00 0a 00 00 00 02 00 00 00 "
                                   "00 00 80 3f 00 00 20 40 00 00 40 c0 00 00 00 00 cd cc cc 3d 00 50 c3 47 "));
    Expect(RunProgram({Write("arrays.Map.Gbx", MapOf(variables, 2))}),
           "Number of variables: 2\n"
           "Names (Array): [1=>\"abc\", 20=>\"Hello\"]\n"
           "Path (Array): [<1, 2.5, -3>, <0, 0.1, 100000>]\n",
           "", 0);
}

TEST_F(EndToEnd, UsageWhenTheCommandTailIsEmpty) {
    ExpectFailure({}, "Usage: veldrin <Map.Gbx>");
    ExpectFailure({""}, "Usage: veldrin <Map.Gbx>");
}

TEST_F(EndToEnd, PathCases) {
    const ByteVector map = MapOf(Bytes().Variable("A", mapwriter::kVoid), 1);
    mkdir((directory_ + "/with blank").c_str(), 0755);
    const std::string spaced = Write("with blank/my map.Gbx", map);
    const std::string listing = "Number of variables: 1\nA (Void)\n";

    Expect(RunProgram({spaced}), listing, "", 0);
    Expect(RunProgram({"\"" + spaced + "\""}), listing, "", 0);  // enclosing quotes removed
    // Two arguments are joined with one blank into one path.
    Expect(RunProgram({directory_ + "/with", "blank/my", "map.Gbx"}), listing, "", 0);

    ExpectFailure({"\"" + spaced}, "File not found.");          // a quote at one end stays
    ExpectFailure({spaced, "extra"}, "File not found.");        // further words belong to the path
    ExpectFailure({"\"\""}, "File not found.");                 // empty once unquoted
    ExpectFailure({directory_ + "/missing.Gbx"}, "File not found.");
    ExpectFailure({" "}, "File not found.");
}

TEST_F(EndToEnd, OnlyARegularFileCanBeOpened) {
    ExpectFailure({directory_}, "Could not open input file.");
    ExpectFailure({"/dev/null"}, "Could not open input file.");
    const std::string fifo = directory_ + "/pipe.Gbx";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    ExpectFailure({fifo}, "Could not open input file.");  // and does not wait for a writer
    if (geteuid() != 0) {  // root reads every file
        const std::string locked = Write("locked.Gbx", MapOf(Bytes().Variable("A", 0), 1));
        chmod(locked.c_str(), 0);
        ExpectFailure({locked}, "Could not open input file.");
    }
}

// One map for each outcome a file can end in, built from a sound map by changing one thing.
TEST_F(EndToEnd, EveryOutcomeOfAMapFile) {
    const Bytes score = Bytes().Variable("Score", mapwriter::kInteger).I32(3);
    const ByteVector body = mapwriter::Body(ChunkHead{}, score, 200, 10);
    const ByteVector compressed = mapwriter::CompressLzo1x(body);
    const auto size = static_cast<uint32_t>(body.size());
    auto withHeader = [&](void (*change)(Header&)) {
        Header header;
        change(header);
        return mapwriter::MapFile(body, header);
    };
    auto withChunk = [&](void (*change)(ChunkHead&), const Bytes& variables) {
        ChunkHead head;
        change(head);
        return mapwriter::MapFile(mapwriter::Body(head, variables, 200, 10));
    };
    ByteVector trailing = compressed;
    trailing.push_back(0);

    struct Case {
        const char* name;
        ByteVector file;
        const char* message;
    } cases[] = {
        {"empty", {}, "Invalid or unsupported file format."},
        {"lower-case magic", withHeader([](Header& h) { h.magic = "gbx"; }), "Invalid or unsupported file format."},
        {"only the magic", Hex("47 42 58 "), "Error while reading input file."},
        {"uncompressed", withHeader([](Header& h) { h.format[2] = 'U'; h.classId = 1; }), "Uncompressed maps not supported."},
        {"class id", withHeader([](Header& h) { h.classId = 0x03043001; }), "Invalid or unsupported file format."},
        {"skip past the end", withHeader([](Header& h) { h.skipSize = 100000; }), "Error while reading input file."},
        {"compressed size above the file", withHeader([](Header& h) { h.compressedSize = 100000; }), "Error while reading input file."},
        {"compressed size 0", withHeader([](Header& h) { h.compressedSize = 0; }), "Out of memory."},
        {"uncompressed size 0", withHeader([](Header& h) { h.uncompressedSize = 0; }), "Out of memory."},
        {"body cut short", mapwriter::MapFileWithRawBody(ByteVector(compressed.begin(), compressed.end() - 1), size,
                                                        [&] { Header h; h.compressedSize = static_cast<uint32_t>(compressed.size()); return h; }()), "Error while reading input file."},
        {"stream decodes short", withHeader([](Header& h) { h.uncompressedSize = 100000; }), "Could not decompress file body."},
        {"stream decodes long", withHeader([](Header& h) { h.uncompressedSize = 10; }), "Could not decompress file body."},
        {"bytes behind the stream", mapwriter::MapFileWithRawBody(trailing, size), "Could not decompress file body."},
        {"no chunk", mapwriter::MapFile(mapwriter::OtherChunks(500)), "Metadata chunk not found."},
        {"no marker", withChunk([](ChunkHead& c) { c.marker = 0; }, score), "Metadata chunk not found."},
        {"chunk size 0", withChunk([](ChunkHead& c) { c.chunkSize = 0; }, score), "Error while reading input file."},
        {"version 3", withChunk([](ChunkHead& c) { c.version = 3; }, score), "Unsupported metadata chunk version."},
        {"no variables", withChunk([](ChunkHead& c) { c.variableCount = 0; }, score), "This map contains no metadata."},
        {"too many variables", withChunk([](ChunkHead& c) { c.variableCount = 0x10000001; }, score), "Error while reading input file."},
        {"name refused", withChunk([](ChunkHead&) {}, Bytes().U32(0xFFFF)), "Error while reading input file."},
        {"array count refused", withChunk([](ChunkHead&) {}, Bytes().ArrayHead("A", 2, 2, 0x10000001)), "Error while reading input file."},
    };
    for (const Case& c : cases) {
        ExpectFailure({Write("outcome.Gbx", c.file)}, c.message);
    }
}

TEST_F(EndToEnd, StoppedListingsAreShownAndExitZero) {
    const Bytes classStop = Bytes().Variable("A", mapwriter::kInteger).I32(1).Variable("B", mapwriter::kClass);
    Expect(RunProgram({Write("class.Gbx", MapOf(classStop, 3))}), "Number of variables: 3\nA (Integer): 1\nB (Class)...\n", "", 0);
    const Bytes arrayStop = Bytes().ArrayHead("L", mapwriter::kInteger, mapwriter::kClass, 2).I32(7);
    Expect(RunProgram({Write("array.Gbx", MapOf(arrayStop, 1))}), "Number of variables: 1\nL (Array): [7=>...\n", "", 0);
}

TEST_F(EndToEnd, AnUnexpectedScriptClassIdIsANoticeBeforeTheListing) {
    ChunkHead head;
    head.scriptClassId = 0x11002001;
    const ByteVector map = MapOf(Bytes().Variable("A", mapwriter::kBoolean).U32(2), 1, head);
    Expect(RunProgram({Write("notice.Gbx", map)}), "Number of variables: 1\nA (Boolean): True\n",
           "Veldrin: Unexpected script class ID.\n", 0);
}

// Reads never pass the end of the body: a value whose bytes are not there is a read error, never a
// value made up of zeros.
TEST_F(EndToEnd, AValueCutOffByTheBodysEndIsAReadError) {
    const Bytes cutValues[] = {
        Bytes().Variable("A", mapwriter::kInteger).Raw("\x01\x02"),
        Bytes().Variable("A", mapwriter::kVec3).F32(1).F32(2),
        Bytes().Text("A").Raw("\x02"),
        Bytes().ArrayHead("A", mapwriter::kInteger, mapwriter::kInteger, 2).I32(1).I32(2).I32(3),
    };
    for (const Bytes& variables : cutValues) {
        ChunkHead head;
        head.variableCount = 1;
        ExpectFailure({Write("cut.Gbx", mapwriter::MapFile(mapwriter::MetadataChunk(head, variables)))},
                      "Error while reading input file.");
    }
}

TEST_F(EndToEnd, AHugeSkipSizeIsAForwardSeekPastTheEnd) {
    for (uint32_t skip : {0x7FFFFFF8u, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
        Header header;
        header.skipSize = skip;
        const ByteVector map = mapwriter::MapFile(mapwriter::Body(ChunkHead{}, Bytes().Variable("A", 0), 0, 0), header);
        ExpectFailure({Write("skip.Gbx", map)}, "Error while reading input file.");
    }
}

// The compressed size is compared with the whole size of the file, not with its low 32 bits.
TEST_F(EndToEnd, TheCompressedSizeIsComparedWithAllOfTheFilesSize) {
    const ByteVector map = MapOf(Bytes().Variable("A", mapwriter::kVoid), 1);
    const std::string path = Write("large.Gbx", map);
    ASSERT_EQ(truncate(path.c_str(), (1LL << 32) + 16), 0);  // sparse; the low 32 bits say 16 bytes
    Expect(RunProgram({path}), "Number of variables: 1\nA (Void)\n", "", 0);
    unlink(path.c_str());
}

// Bodies of a megabyte and more live in buffers of their own kind; the listing must not change.
TEST_F(EndToEnd, ALargeBodyIsListedLikeASmallOne) {
    const Bytes variables = Bytes().Variable("Laps", mapwriter::kInteger).I32(5).Variable("Name", mapwriter::kText).Text("far");
    ChunkHead head;
    head.variableCount = 2;
    for (size_t before : {size_t{1} << 20, (size_t{5} << 20) + 4093}) {
        SCOPED_TRACE(before);
        const ByteVector map = mapwriter::MapFile(mapwriter::Body(head, variables, before, 7));
        Expect(RunProgram({Write("large-body.Gbx", map)}), "Number of variables: 2\nLaps (Integer): 5\nName (Text): \"far\"\n",
               "", 0);
    }
}

TEST_F(EndToEnd, AnArrayOfManyVoidElementsEndsAtOnceWithAFullListing) {
    const ByteVector map = MapOf(Bytes().ArrayHead("V", mapwriter::kVoid, mapwriter::kVoid, 0x10000000), 1);
    const ProgramResult result = RunProgram({Write("void.Gbx", map)});
    std::string expected = "Number of variables: 1\nV (Array): [";
    const size_t shownLength = 32767 - 1;  // the listing's one "\r\n" is written as "\n"
    while (expected.size() < shownLength) expected += ", ";
    expected.resize(shownLength);
    EXPECT_EQ(result.out, expected + "\n");
    EXPECT_EQ(result.status, 0);
}

// When the system refuses memory, for the joined arguments (the one allocation before the file is even
// looked for) or for a body, the run ends with the message, not a crash. (Not under a checker or a sanitizer,
// whose own memory the limit would refuse first.)
TEST_F(EndToEnd, WhatCannotBeHeldIsOutOfMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit the limit";
#endif
    if (std::getenv("VELDRIN_TEST_WRAPPER") != nullptr) GTEST_SKIP() << "the checker does not fit the limit";
    constexpr uint64_t kDataLimit = 512 * 1024;  // room for the program, not for 800 KB of path
    const std::vector<std::string> words(8, std::string(100000, 'a'));
    Expect(RunProgram(words, "", kDataLimit), "", "Veldrin: Out of memory.\n", 1);
    // The same limit leaves room for a whole run on the example map, but not for a body of 64 MiB.
    EXPECT_EQ(RunProgram({VELDRIN_EXAMPLE_MAP}, "", kDataLimit).status, 0);
    Header header;
    header.uncompressedSize = 64u << 20;
    const ByteVector map = mapwriter::MapFile(mapwriter::Body(ChunkHead{}, Bytes().Variable("A", 0), 0, 0), header);
    Expect(RunProgram({Write("big-claim.Gbx", map)}, "", kDataLimit), "", "Veldrin: Out of memory.\n", 1);
}

TEST_F(EndToEnd, AListingThatCannotBeWrittenIsAFailure) {
    const ProgramResult result = RunProgram({VELDRIN_EXAMPLE_MAP}, "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "");
}

}  // namespace
