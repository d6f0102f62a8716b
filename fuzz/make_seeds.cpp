// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the seed corpora of both fuzz targets with the map writer: bodies for the body target, whole
// map files for the run target. The seeds show every type, arrays of every key and value form, every
// stop and every failure, so that the fuzzer starts next to each branch.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "map_writer.h"

namespace {

using namespace mapwriter;

struct Seed {
    std::string name;
    ByteVector bytes;
};

ByteVector WithHead(const Bytes& variables, uint32_t count, ChunkHead head = {}) {
    head.variableCount = count;
    return Body(head, variables, 40, 16);
}

// The metadata chunk alone, so that the body ends where the variables end.
ByteVector ChunkOnly(const Bytes& variables, uint32_t count) {
    ChunkHead head;
    head.variableCount = count;
    return MetadataChunk(head, variables);
}

Bytes EveryScalar() {
    Bytes v;
    v.Variable("Ready", kVoid);
    v.Variable("IsNight", kBoolean).U32(0x100);
    v.Variable("Laps", kInteger).I32(-2147483647 - 1);
    v.Variable("Gravity", kReal).F32(0.1f);
    v.Variable("Title", kText).Text("C\xC3\xB4te \xE2\x80\x94 \xE5\xB1\xB1 \xF0\x9F\x8F\x81\r\nnext");
    v.Variable("Minimap", kVec2).F32(1.5f).F32(-2.0f);
    v.Variable("Spawn", kVec3).F32(0.0f).F32(1e30f).F32(-1e-30f);
    v.Variable("Block", kInt3).I32(1).I32(-1).I32(2147483647);
    v.Variable("Grid", kInt2).I32(32).I32(48);
    v.Variable("", kText).Text("");
    return v;
}

// One array per key form and per value form, each with two elements.
Bytes EveryArray() {
    Bytes v;
    v.ArrayHead("VoidKeys", kVoid, kInteger, 2).I32(1).I32(2);
    v.ArrayHead("BoolKeys", kBoolean, kText, 2).U32(0).Text("no").U32(7).Text("yes");
    v.ArrayHead("IntKeys", kInteger, kBoolean, 2).I32(1).U32(1).I32(20).U32(0);
    v.ArrayHead("RealKeys", kReal, kReal, 2).F32(0.5f).F32(2.5f).F32(-1.0f).F32(3.0f);
    v.ArrayHead("TextKeys", kText, kVec2, 2).Text("a").F32(1).F32(2).Text("").F32(3).F32(4);
    v.ArrayHead("Vec3s", kVoid, kVec3, 2).F32(1).F32(2.5f).F32(-3).F32(0).F32(0.1f).F32(100000);
    v.ArrayHead("Int3s", kInteger, kInt3, 1).I32(5).I32(1).I32(2).I32(3);
    v.ArrayHead("Int2s", kText, kInt2, 1).Text("k").I32(-4).I32(4);
    v.ArrayHead("Empty", kClass, kIso4, 0);
    v.ArrayHead("Nothing", kVoid, kVoid, 3);
    return v;
}

std::vector<Seed> BodySeeds() {
    std::vector<Seed> seeds;
    auto add = [&seeds](std::string name, ByteVector bytes) { seeds.push_back({std::move(name), std::move(bytes)}); };

    add("scalars", WithHead(EveryScalar(), 10));
    add("arrays", WithHead(EveryArray(), 10));
    {
        Bytes v;
        v.Variable("Score", kInteger).I32(3).Variable("Title", kText).Text("Blue sky");
        v.Variable("Origin", kVec2).F32(1.5f).F32(-2).Variable("", kBoolean).U32(0).Variable("Mode", kEnum);
        add("worked-example", WithHead(v, 6));
    }
    // Every stop of a variable, and of an array's key and value.
    for (uint32_t type : {4u, 6u, 8u, 12u, 13u, 15u, 0xFFFFFFFFu}) {
        Bytes v;
        v.Variable("Before", kInteger).I32(1).Variable("Stop", type).Variable("After", kInteger).I32(2);
        add("stop-type-" + std::to_string(type), WithHead(v, 3));
    }
    {
        Bytes v;
        v.ArrayHead("Nested", kInteger, kArray, 5);
        add("stop-array-of-arrays", WithHead(v, 2));
        Bytes k;
        k.ArrayHead("EnumKeys", kEnum, kInteger, 2);
        add("stop-array-key", WithHead(k, 2));
        Bytes c;
        c.ArrayHead("ClassValues", kInteger, kClass, 2).I32(7);
        add("stop-array-value", WithHead(c, 2));
    }
    // A listing that fills its 32767 units, by texts and by separators alone.
    {
        Bytes v;
        for (int i = 0; i < 40; ++i) v.Variable("Long", kText).Text(std::string(1100, 'a' + i % 26));
        add("full-by-texts", WithHead(v, 40));
        Bytes s;
        s.ArrayHead("Commas", kVoid, kVoid, 0x10000000).Variable("Then", kInteger).I32(9);
        add("full-by-separators", WithHead(s, 2));
    }
    {
        Bytes v;
        v.Variable(std::string("Ze\0ro", 5), kText).Text("\xC3\x28\xE0\x80\xAF\xED\xA0\x80\xF4\x90\x80\x80\xFF");
        v.Variable(std::string("\0first", 6), kInteger).I32(1);
        add("ill-formed-text", WithHead(v, 2));
    }
    // The chunk head's failures, in the order the head is read.
    add("no-identifier", OtherChunks(200, 3));
    {
        ByteVector body = OtherChunks(60, 4);
        const ByteVector tail = {0x44, 0x30, 0x04, 0x03, 'P', 'I', 'K'};
        body.insert(body.end(), tail.begin(), tail.end());
        add("marker-cut-off", body);
    }
    {
        ChunkHead head;
        head.marker = 0x534B4951;
        add("wrong-marker", Body(head, EveryScalar(), 8, 8));
    }
    for (uint32_t size : {0u, 0xFFFFFFFFu}) {
        ChunkHead head;
        head.chunkSize = size;
        add("chunk-size-" + std::to_string(size), WithHead(EveryScalar(), 10, head));
    }
    {
        ChunkHead head;
        head.scriptClassId = 0x11002001;
        add("unexpected-class-id", WithHead(EveryScalar(), 10, head));
        head.version = 3;
        add("unexpected-class-id-and-version", WithHead(EveryScalar(), 10, head));
    }
    for (uint32_t count : {0u, 0x10000000u, 0x10000001u}) add("count-" + std::to_string(count), WithHead(EveryScalar(), count));
    {
        ByteVector body = WithHead(EveryScalar(), 10);
        body.resize(40 + 20);  // the head ends inside its script class ID
        add("head-cut-off", body);
    }
    // Read errors: refused lengths, texts, fields and counts that pass the body's end.
    {
        Bytes v;
        v.Variable("Fine", kInteger).I32(1).U32(0xFFFF).Raw("Name");
        add("name-length-refused", ChunkOnly(v, 2));
        Bytes t;
        t.Variable("Fine", kInteger).I32(1).Variable("Cut", kText).U32(0xFFFE).Raw("short");
        add("text-past-end", ChunkOnly(t, 2));
        Bytes f;
        f.Variable("Cut", kVec3).F32(1).F32(2);
        add("component-past-end", ChunkOnly(f, 1));
        Bytes a;
        a.ArrayHead("TooMany", kInteger, kInteger, 0x10000001);
        add("array-count-refused", WithHead(a, 1));
        Bytes s;
        s.ArrayHead("Texts", kInteger, kText, 2).I32(1).Text("abc").I32(2).U32(100).Raw("cut");
        add("array-text-past-end", ChunkOnly(s, 1));
        Bytes c;
        c.ArrayHead("Counted", kInteger, kInteger, 1000).I32(1).I32(2);
        add("array-elements-past-end", ChunkOnly(c, 1));
    }
    return seeds;
}

std::vector<Seed> RunSeeds(const std::vector<Seed>& bodies) {
    std::vector<Seed> seeds;
    auto add = [&seeds](std::string name, ByteVector bytes) { seeds.push_back({std::move(name), std::move(bytes)}); };
    // Every body behind a sound header; the full listings make big files, so only their maps are kept small.
    for (const Seed& body : bodies) add("map-" + body.name, MapFile(body.bytes));

    const ByteVector sound = WithHead(EveryScalar(), 10);
    add("empty", {});
    add("magic-only", {'G', 'B', 'X'});
    {
        Header header;
        header.magic = "gbx";
        add("magic-lower-case", MapFile(sound, header));
    }
    {
        Header header;
        header.format = {'B', 'U', 'U', 'R'};
        header.classId = 1;  // the mark is tested first
        add("uncompressed-mark", MapFile(sound, header));
    }
    for (uint32_t classId : {0x24003000u, 0x21080000u, 0x03043001u}) {
        Header header;
        header.classId = classId;
        add("class-id-" + std::to_string(classId), MapFile(sound, header));
    }
    for (uint32_t skip : {0u, 0xFFFFFFF8u, 0x7FFFFFF8u, 0xFFFFFFFFu, 100000u}) {
        Header header;
        header.skipped = {};
        header.skipSize = skip;
        add("skip-" + std::to_string(skip), MapFile(sound, header));
    }
    const ByteVector compressed = CompressLzo1x(sound);
    const auto size = static_cast<uint32_t>(sound.size());
    for (uint32_t claimed : {0u, 100000u}) {
        Header header;
        header.compressedSize = claimed;
        add("compressed-size-" + std::to_string(claimed), MapFileWithRawBody(compressed, size, header));
    }
    add("uncompressed-size-0", MapFileWithRawBody(compressed, 0));
    add("uncompressed-size-huge", MapFileWithRawBody(compressed, 0xFFFFFFFF));
    add("decodes-short", MapFileWithRawBody(compressed, size + 1));
    add("decodes-long", MapFileWithRawBody(compressed, size - 1));
    {
        ByteVector extra = compressed;
        extra.push_back(0);
        add("bytes-behind-stream", MapFileWithRawBody(extra, size));
        ByteVector cut(compressed.begin(), compressed.end() - 3);
        add("stream-without-end", MapFileWithRawBody(cut, size));
        add("not-lzo", MapFileWithRawBody({0xFF, 0xFF, 0xFF, 0xFF}, 16));
    }
    {
        ByteVector file = MapFile(sound);
        file.resize(file.size() - 10);
        add("body-cut-off", file);
    }
    return seeds;
}

bool WriteSeeds(const std::filesystem::path& folder, const std::vector<Seed>& seeds) {
    std::filesystem::create_directories(folder);
    for (const Seed& seed : seeds) {
        if (!WriteFile((folder / seed.name).string(), seed.bytes)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::vector<Seed> bodies = BodySeeds();
    if (!WriteSeeds(root / "body", bodies) || !WriteSeeds(root / "run", RunSeeds(bodies))) {
        std::fprintf(stderr, "cannot write the seeds under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
