// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the maps that the end-to-end run under Wine shows with Veldrin.exe and with the POSIX build, one
// file per outcome: listings (complete, stopped, cut at the listing's limit, with ill-formed UTF-8, with
// the numbers whose printing C libraries disagree on, from a large body, after the class ID notice) and
// each failure of the header, the body and the metadata chunk.
// Usage: veldrin_make_wine_maps DIR
#include <cstdio>
#include <limits>
#include <string>

#include "map_writer.h"

namespace {

using namespace mapwriter;

ByteVector SmallMap(const ChunkHead& head, const Bytes& variables, const Header& header = {}) {
    return MapFile(Body(head, variables, 300, 100), header);
}

Bytes TwoVariables() {
    Bytes variables;
    variables.Variable("Laps", kInteger).I32(5).Variable("Title", kText).Text("Night run");
    return variables;
}

ChunkHead HeadFor(uint32_t variableCount) {
    ChunkHead head;
    head.variableCount = variableCount;
    return head;
}

ByteVector ClassIdNotice() {
    ChunkHead head = HeadFor(2);
    head.scriptClassId = 0x11002001;
    return SmallMap(head, TwoVariables());
}

// The notice, and then a failure: two warnings in turn.
ByteVector ClassIdThenVersion() {
    ChunkHead head = HeadFor(2);
    head.scriptClassId = 0x0;
    head.version = 3;
    return SmallMap(head, TwoVariables());
}

ByteVector StoppedAtClass() {
    Bytes variables;
    variables.Variable("Laps", kInteger).I32(5).Variable("Owner", kClass).Variable("Never", kInteger).I32(1);
    return SmallMap(HeadFor(3), variables);
}

ByteVector StoppedInArray() {
    Bytes variables;
    variables.Variable("Laps", kInteger).I32(5).ArrayHead("Blocks", kIdent, kInteger, 1).U32(0).I32(1);
    return SmallMap(HeadFor(2), variables);
}

// Ill-formed UTF-8 of every kind, in names and texts; the replacement of each is where converters differ.
ByteVector IllFormedUtf8() {
    Bytes variables;
    variables.Variable("Truncated2", kText).Text("a\xC3" "b");
    variables.Variable("Truncated3", kText).Text("a\xE2\x82" "b");
    variables.Variable("Truncated4", kText).Text("a\xF0\x9F\x98" "b");
    variables.Variable("Overlong", kText).Text("a\xC0\xAF" "b");
    variables.Variable("Overlong3", kText).Text("a\xE0\x80\xAF" "b");
    variables.Variable("Surrogate", kText).Text("a\xED\xA0\x80" "b");
    variables.Variable("AboveMax", kText).Text("a\xF4\x90\x80\x80" "b");
    variables.Variable("Continuations", kText).Text("a\x80\xBF" "b");
    variables.Variable("InvalidBytes", kText).Text("a\xFE\xFF" "b");
    variables.Variable("Emoji", kText).Text("a\xF0\x9F\x98\x80" "b");
    variables.Variable("N\xC3\xA4me\xE9", kBoolean).U32(0);
    return SmallMap(HeadFor(11), variables);
}

// "%g" of the edge values: exponents, the smallest subnormal, signed zero, infinities and not-a-numbers of
// both signs, where the C libraries of the two builds could print differently.
ByteVector Numbers() {
    using Limits = std::numeric_limits<float>;
    Bytes variables;
    variables.Variable("Million", kReal).F32(1e6f).Variable("Small", kReal).F32(1e-5f);
    variables.Variable("Large", kReal).F32(Limits::max()).Variable("Subnormal", kReal).F32(Limits::denorm_min());
    variables.Variable("NegativeZero", kReal).F32(-0.0f).Variable("Rounded", kReal).F32(123456.5f);
    variables.Variable("Infinity", kReal).F32(Limits::infinity());
    variables.Variable("NegInfinity", kReal).F32(-Limits::infinity());
    variables.Variable("NaN", kReal).U32(0x7FC00000).Variable("NegNaN", kReal).U32(0xFFC00000);
    using Int32 = std::numeric_limits<int32_t>;
    variables.Variable("Extremes", kInt2).I32(Int32::min()).I32(Int32::max());
    variables.Variable("Spread", kVec3).F32(1e-10f).F32(-1e10f).F32(Limits::quiet_NaN());
    return SmallMap(HeadFor(12), variables);
}

// A body of several MiB, the chunk at its end: a large buffer from the platform, one read, a long search.
ByteVector LargeBody() { return MapFile(Body(HeadFor(2), TwoVariables(), 6 << 20, 0)); }

// More text than the listing holds: it is cut at 32767 units. A message box wraps its lines at blanks but
// grows as wide as its longest word, so each value is one long word: the box is wide and low enough to
// fit on the test's screen whole.
ByteVector FullListing() {
    constexpr int kVariables = 60;  // about 37000 units in all
    Bytes variables;
    const std::string word(600, 'x');
    for (int i = 0; i < kVariables; ++i) variables.Variable("Text" + std::to_string(i), kText).Text(word);
    return SmallMap(HeadFor(kVariables), variables);
}

ByteVector TextPastBodyEnd() {
    Bytes variables;
    variables.Variable("Laps", kInteger).I32(5).Variable("Title", kText).U32(100).Raw("cut");
    return MapFile(Body(HeadFor(2), variables, 300, 0));
}

ByteVector WithHeader(void (*change)(Header&)) {
    Header header;
    change(header);
    return SmallMap(HeadFor(2), TwoVariables(), header);
}

ByteVector HeaderOnlyMagic() { return ByteVector{'G', 'B', 'X'}; }

ByteVector UndecodableBody() {
    const ByteVector garbage = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC};
    return MapFileWithRawBody(garbage, 4000);
}

ByteVector NoChunk() { return MapFile(OtherChunks(3000, 7)); }

ByteVector Version3() {
    ChunkHead head = HeadFor(2);
    head.version = 3;
    return SmallMap(head, TwoVariables());
}

ByteVector NoVariables() { return SmallMap(HeadFor(0), Bytes{}); }

struct NamedMap {
    const char* name;
    ByteVector (*make)();
};

const NamedMap kMaps[] = {
    {"example", ExampleMap},
    {"class-id", ClassIdNotice},
    {"class-id-then-version", ClassIdThenVersion},
    {"stopped-class", StoppedAtClass},
    {"stopped-array", StoppedInArray},
    {"ill-formed-utf8", IllFormedUtf8},
    {"full-listing", FullListing},
    {"numbers", Numbers},
    {"large-body", LargeBody},
    {"text-past-end", TextPastBodyEnd},
    {"lower-case-magic", [] { return WithHeader([](Header& h) { h.magic = "gbx"; }); }},
    {"only-magic", HeaderOnlyMagic},
    {"uncompressed", [] { return WithHeader([](Header& h) { h.format[2] = 'U'; }); }},
    {"class-unknown", [] { return WithHeader([](Header& h) { h.classId = 0x03043001; }); }},
    {"skip-past-end", [] { return WithHeader([](Header& h) { h.skipSize = 0xFFFFFFF0u; }); }},
    {"compressed-size-0", [] { return WithHeader([](Header& h) { h.compressedSize = 0; }); }},
    {"compressed-beyond-file", [] { return WithHeader([](Header& h) { h.compressedSize = 100000; }); }},
    {"undecodable", UndecodableBody},
    {"no-chunk", NoChunk},
    {"version-3", Version3},
    {"no-variables", NoVariables},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    for (const NamedMap& map : kMaps) {
        const std::string path = std::string(argv[1]) + "/" + map.name + ".Map.Gbx";
        if (!WriteFile(path, map.make())) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
