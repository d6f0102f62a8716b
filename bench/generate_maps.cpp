// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the benchmark maps with the project's map writer: for each profile a map file and the same
// decompressed body as a plain file, which the benchmark script hands to lzop. Deterministic.
//   small     a ~200 KB body with 30 variables: the cost of one run
//   big       a 256 MiB body with the metadata chunk at its very end: decompression and the scan
//   manyvars  5,000,000 variables of mixed scalar types and Text: the listing fills early, the rest is read
//   arrays    1,000 arrays of Integer keys and Text values, 3,300 elements each
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "map_writer.h"

using namespace mapwriter;

namespace {

constexpr std::string_view kWords[] = {"Stadium", "Canyon", "Valley", "Lagoon", "Checkpoint", "Finish",
                                       "Blue sky", "Côte d'Azur", "山の道", "Start line", "Ghost", "Medal"};

struct Random {
    uint32_t state;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

// Block and item records: each 12 bytes, a name, small coordinates, a quantised position or flags.
void AddRecord(Bytes* out, Random* random) {
    switch (random->Next() % 4) {
        case 0: out->Text(kWords[random->Next() % 12]); break;
        case 1: out->U32(random->Next() % 48).U32(random->Next() % 40).U32(random->Next() % 48); return;
        case 2: out->F32(static_cast<float>(random->Next() % 4096) / 8.0f).U32(random->Next() & 0x3FF).U32(0); return;
        default: out->U32(random->Next() & 0xFF).U32(0xFFFFFFFF).U32(0); return;
    }
    out->data.resize((out->data.size() + 11) / 12 * 12);  // a name padded to the record's width
}

// Bytes of other chunks as a real map holds them: runs of records that recur (the same blocks placed
// again) between fresh ones. It compresses about 3x with LZO1X-1, as map bodies do. The metadata
// chunk's identifier never occurs in it.
ByteVector BlockChunks(size_t size) {
    constexpr uint32_t kRecord = 12;
    constexpr uint32_t kPoolRecords = 2048;
    constexpr uint32_t kLongestRun = 16;
    Random random{4242};
    Bytes pool;
    while (pool.data.size() < kPoolRecords * kRecord) AddRecord(&pool, &random);
    Bytes out;
    while (out.data.size() < size) {
        out.U32(0x0304300F + random.Next() % 5);
        const uint32_t records = 8 + random.Next() % 120;
        out.U32(records * kRecord);
        for (uint32_t i = 0; i < records;) {
            if (random.Next() % 100 < 60) {
                const uint32_t run = 1 + random.Next() % kLongestRun;
                const size_t from = random.Next() % (kPoolRecords - kLongestRun) * kRecord;
                out.data.insert(out.data.end(), pool.data.begin() + from, pool.data.begin() + from + run * kRecord);
                i += run;
            } else {
                out.U32(random.Next() % 48).U32(random.Next() % 40).U32(random.Next() & 0xFFFF);
                ++i;
            }
        }
    }
    out.data.resize(size);
    RemoveChunkIdentifier(&out.data);
    return out.data;
}

std::string Name(std::string_view stem, uint32_t index) { return std::string(stem) + std::to_string(index); }

// One variable of each listable scalar type in turn, the values varied.
void AddScalar(Bytes* variables, uint32_t index, Random* random) {
    const std::string name = Name("Var", index);
    switch (index % 9) {
        case 0: variables->Variable(name, kBoolean).U32(random->Next() & 1); break;
        case 1: variables->Variable(name, kInteger).I32(static_cast<int32_t>(random->Next() % 200000) - 100000); break;
        case 2: variables->Variable(name, kReal).F32(static_cast<float>(random->Next() % 100000) / 64.0f); break;
        case 3: variables->Variable(name, kText).Text(kWords[random->Next() % 12]); break;
        case 4: variables->Variable(name, kVec2).F32(0.5f * static_cast<float>(index % 97)).F32(-2.25f); break;
        case 5:
            variables->Variable(name, kVec3).F32(12.5f).F32(static_cast<float>(index % 1000) / 8.0f).F32(-40.0f);
            break;
        case 6: variables->Variable(name, kInt3).I32(16).I32(static_cast<int32_t>(index % 64)).I32(-2); break;
        case 7: variables->Variable(name, kInt2).I32(32).I32(static_cast<int32_t>(index % 48)); break;
        default: variables->Variable(name, kText).Text(std::string(kWords[index % 12]) + " " + Name("#", index)); break;
    }
}

Bytes Scalars(uint32_t count) {
    Random random{12345};
    Bytes variables;
    for (uint32_t i = 0; i < count; ++i) AddScalar(&variables, i, &random);
    return variables;
}

Bytes Arrays(uint32_t arrays, uint32_t elements) {
    Random random{777};
    Bytes variables;
    for (uint32_t a = 0; a < arrays; ++a) {
        variables.ArrayHead(Name("Table", a), kInteger, kText, elements);
        for (uint32_t e = 0; e < elements; ++e) {
            variables.I32(static_cast<int32_t>(e)).Text(std::string(kWords[random.Next() % 12]) + Name(" ", e));
        }
    }
    return variables;
}

ByteVector Profile(std::string_view name) {
    ChunkHead head;
    if (name == "small") {
        head.variableCount = 30;
        return Body(head, Scalars(30), 190000, 8000);
    }
    if (name == "big") {
        head.variableCount = 30;
        Bytes body;
        const ByteVector chunk = MetadataChunk(head, Scalars(30));
        body.Raw(BlockChunks((size_t{256} << 20) - chunk.size())).Raw(chunk);
        return body.data;
    }
    if (name == "manyvars") {
        head.variableCount = 5000000;
        return Body(head, Scalars(head.variableCount), 1 << 20, 64000);
    }
    if (name == "arrays") {
        head.variableCount = 1000;
        return Body(head, Arrays(head.variableCount, 3300), 1 << 20, 64000);
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PROFILE MAP_OUTPUT BODY_OUTPUT\n", argv[0]);
        return 2;
    }
    const ByteVector body = Profile(argv[1]);
    if (body.empty()) {
        std::fprintf(stderr, "unknown profile: %s\n", argv[1]);
        return 2;
    }
    const ByteVector map = MapFile(body);
    if (!WriteFile(argv[2], map) || !WriteFile(argv[3], body)) {
        std::fprintf(stderr, "could not write %s or %s\n", argv[2], argv[3]);
        return 1;
    }
    std::printf("%s: body %zu bytes, map %zu bytes (%.2fx)\n", argv[1], body.size(), map.size(),
                static_cast<double>(body.size()) / static_cast<double>(map.size()));
    return 0;
}
