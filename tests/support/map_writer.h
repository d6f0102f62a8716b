// SPDX-License-Identifier: GPL-2.0-or-later
// Writes map files for the tests, the fuzz seeds and the example: a GBX container header with every
// field overridable, an LZO1X-compressed body, and a body that holds other chunks and the script
// metadata chunk with its variables.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mapwriter {

using ByteVector = std::vector<uint8_t>;

// Little-endian bytes, appended field by field.
struct Bytes {
    ByteVector data;

    Bytes& U32(uint32_t value);
    Bytes& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
    Bytes& F32(float value);
    Bytes& Raw(std::string_view bytes);
    Bytes& Raw(const ByteVector& bytes);
    Bytes& Text(std::string_view text);  // length-prefixed, no terminator

    // A variable's name and type code; the value follows with the calls above.
    Bytes& Variable(std::string_view name, uint32_t type) { return Text(name).U32(type); }
    // An array variable's head: name, type 7, key type, value type, element count.
    Bytes& ArrayHead(std::string_view name, uint32_t keyType, uint32_t valueType, uint32_t count) {
        return Variable(name, 7).U32(keyType).U32(valueType).U32(count);
    }
};

// Type codes, as stored.
enum Type : uint32_t {
    kVoid = 0, kBoolean, kInteger, kReal, kClass, kText, kEnum, kArray, kParamArray,
    kVec2, kVec3, kInt3, kIso4, kIdent, kInt2,
};

inline constexpr uint32_t kChunkIdentifier = 0x03043044;
inline constexpr uint32_t kSkipMarker = 0x534B4950;  // "PIKS"
inline constexpr uint32_t kScriptClassId = 0x11002000;

// The metadata chunk head; the chunk size defaults to the size of the rest of the chunk.
struct ChunkHead {
    uint32_t identifier = kChunkIdentifier;
    uint32_t marker = kSkipMarker;
    std::optional<uint32_t> chunkSize;
    uint32_t skipped1 = 0;
    uint32_t skipped2 = 0;
    uint32_t scriptClassId = kScriptClassId;
    uint32_t version = 2;
    uint32_t variableCount = 1;
};

// The metadata chunk: its head, then the variable bytes.
ByteVector MetadataChunk(const ChunkHead& head, const Bytes& variables);

// Bytes of other chunks that a real body holds around the metadata chunk: chunk identifiers, sizes and
// data, with no occurrence of the metadata chunk's identifier. Deterministic for one size and seed.
ByteVector OtherChunks(size_t size, uint32_t seed = 1);

// Changes every occurrence of the metadata chunk's identifier in bytes meant as other chunks, so that
// none is found there by chance.
void RemoveChunkIdentifier(ByteVector* bytes);

// A whole body: other chunks before, the metadata chunk, other chunks after.
ByteVector Body(const ChunkHead& head, const Bytes& variables, size_t before = 0, size_t after = 0);

ByteVector CompressLzo1x(const ByteVector& body);

// The container header fields; every one can be overridden.
struct Header {
    std::string magic = "GBX";
    uint16_t version = 6;
    std::array<uint8_t, 4> format = {'B', 'U', 'C', 'R'};  // offset 7 is the compression mark
    uint32_t classId = 0x03043000;
    ByteVector skipped = ByteVector(12, 0x11);  // the S bytes behind the skip size
    std::optional<uint32_t> skipSize;           // defaults to the number of skipped bytes
    std::array<uint8_t, 8> trailer = {};        // the 8 bytes passed with them
    std::optional<uint32_t> uncompressedSize;   // defaults to the body's size
    std::optional<uint32_t> compressedSize;     // defaults to the compressed body's size
};

// A map file whose body is compressed with LZO1X.
ByteVector MapFile(const ByteVector& body, const Header& header = {});

// A map file whose compressed body is given as raw bytes, for decompression failures.
ByteVector MapFileWithRawBody(const ByteVector& compressed, uint32_t uncompressedSize, const Header& header = {});

// The example map: every type the listing shows, behind other chunks.
ByteVector ExampleMap();

bool WriteFile(const std::string& path, const ByteVector& bytes);

}  // namespace mapwriter
