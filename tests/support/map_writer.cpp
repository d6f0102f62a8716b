// SPDX-License-Identifier: GPL-2.0-or-later
#include "map_writer.h"

#include <cstdio>
#include <cstring>

#include <lzo/lzo1x.h>

namespace mapwriter {

Bytes& Bytes::U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<uint8_t>(value >> shift));
    return *this;
}

Bytes& Bytes::F32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return U32(bits);
}

Bytes& Bytes::Raw(std::string_view bytes) {
    data.insert(data.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes& Bytes::Raw(const ByteVector& bytes) {
    data.insert(data.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes& Bytes::Text(std::string_view text) {
    U32(static_cast<uint32_t>(text.size()));
    return Raw(text);
}

ByteVector MetadataChunk(const ChunkHead& head, const Bytes& variables) {
    const uint32_t restOfChunk = static_cast<uint32_t>(20 + variables.data.size());
    Bytes chunk;
    chunk.U32(head.identifier).U32(head.marker).U32(head.chunkSize.value_or(restOfChunk));
    chunk.U32(head.skipped1).U32(head.skipped2).U32(head.scriptClassId).U32(head.version).U32(head.variableCount);
    chunk.Raw(variables.data);
    return chunk.data;
}

ByteVector OtherChunks(size_t size, uint32_t seed) {
    static constexpr uint32_t kOtherIdentifiers[] = {0x03043002, 0x03043003, 0x03043007, 0x0304300D,
                                                     0x03043011, 0x03043018, 0x03043019, 0x0304301F};
    static constexpr std::string_view kWords[] = {"Stadium", "Canyon", "Valley", "Lagoon", "Nadeo",
                                                  "StartLine", "Checkpoint", "Finish", "Block", "Sky"};
    uint32_t state = seed * 2654435761u + 1;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    Bytes out;
    while (out.data.size() < size) {
        out.U32(kOtherIdentifiers[next() % 8]);
        const uint32_t records = 4 + next() % 60;
        out.U32(records * 12);
        for (uint32_t i = 0; i < records; ++i) {
            switch (next() % 4) {
                case 0: out.Text(kWords[next() % 10]); break;
                case 1: out.U32(next() % 64).U32(next() % 32).U32(next() % 64); break;
                case 2: out.F32(static_cast<float>(next() % 2000) / 8.0f).U32(next()); break;
                default: out.U32(0).U32(0xFFFFFFFF); break;
            }
        }
    }
    out.data.resize(size);
    RemoveChunkIdentifier(&out.data);
    return out.data;
}

void RemoveChunkIdentifier(ByteVector* bytes) {
    for (size_t i = 0; i + 4 <= bytes->size(); ++i) {
        uint8_t* at = bytes->data() + i;
        if (at[0] == 0x44 && at[1] == 0x30 && at[2] == 0x04 && at[3] == 0x03) at[0] = 0x45;
    }
}

ByteVector Body(const ChunkHead& head, const Bytes& variables, size_t before, size_t after) {
    Bytes body;
    body.Raw(OtherChunks(before, 1)).Raw(MetadataChunk(head, variables)).Raw(OtherChunks(after, 2));
    return body.data;
}

ByteVector CompressLzo1x(const ByteVector& body) {
    if (lzo_init() != LZO_E_OK) return {};
    ByteVector compressed(body.size() + body.size() / 16 + 64 + 3);
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint compressedSize = compressed.size();
    if (lzo1x_1_compress(body.data(), body.size(), compressed.data(), &compressedSize, work.data()) != LZO_E_OK) {
        return {};
    }
    compressed.resize(compressedSize);
    return compressed;
}

ByteVector MapFileWithRawBody(const ByteVector& compressed, uint32_t uncompressedSize, const Header& header) {
    Bytes file;
    file.Raw(header.magic);
    file.data.push_back(static_cast<uint8_t>(header.version));
    file.data.push_back(static_cast<uint8_t>(header.version >> 8));
    file.data.insert(file.data.end(), header.format.begin(), header.format.end());
    file.U32(header.classId);
    file.U32(header.skipSize.value_or(static_cast<uint32_t>(header.skipped.size())));
    file.Raw(header.skipped);
    file.data.insert(file.data.end(), header.trailer.begin(), header.trailer.end());
    file.U32(header.uncompressedSize.value_or(uncompressedSize));
    file.U32(header.compressedSize.value_or(static_cast<uint32_t>(compressed.size())));
    file.Raw(compressed);
    return file.data;
}

ByteVector MapFile(const ByteVector& body, const Header& header) {
    return MapFileWithRawBody(CompressLzo1x(body), static_cast<uint32_t>(body.size()), header);
}

ByteVector ExampleMap() {
    Bytes variables;
    variables.Variable("MapName", kText).Text("Côte d'Azur — 山の道");
    variables.Variable("Author", kText).Text("veldrin");
    variables.Variable("IsNight", kBoolean).U32(1);
    variables.Variable("LapCount", kInteger).I32(3);
    variables.Variable("GoldTime", kInteger).I32(-1);
    variables.Variable("Gravity", kReal).F32(9.81f);
    variables.Variable("Minimap", kVec2).F32(0.25f).F32(-0.5f);
    variables.Variable("Spawn", kVec3).F32(12.5f).F32(0.0f).F32(-40.0f);
    variables.Variable("Grid", kInt2).I32(32).I32(48);
    variables.Variable("StartBlock", kInt3).I32(16).I32(9).I32(-2);
    variables.Variable("Ready", kVoid);
    variables.ArrayHead("Names", kInteger, kText, 2).I32(1).Text("abc").I32(20).Text("Hello");
    variables.ArrayHead("Path", kVoid, kVec3, 2).F32(1.0f).F32(2.5f).F32(-3.0f).F32(0.0f).F32(0.1f).F32(100000.0f);
    ChunkHead head;
    head.variableCount = 13;
    return MapFile(Body(head, variables, 6000, 800));
}

bool WriteFile(const std::string& path, const ByteVector& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    // An empty vector may have no data at all, which fwrite must not be given.
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace mapwriter
