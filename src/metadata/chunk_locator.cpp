// SPDX-License-Identifier: GPL-2.0-or-later
// The chunk head: identifier, skip marker "PIKS", chunk size, two fields of no interest, script class
// ID, metadata version and variable count, 4 bytes each. Only the first occurrence of the identifier
// counts; the scan is never resumed behind it.
#include "metadata/chunk_locator.h"

#include <cstring>

#include "container/little_endian.h"
#include "metadata/byte_search.h"

namespace {

constexpr uint8_t kChunkIdentifier[4] = {0x44, 0x30, 0x04, 0x03};  // 0x03043044
constexpr uint8_t kSkipMarker[4] = {'P', 'I', 'K', 'S'};
constexpr uint32_t kExpectedScriptClassId = 0x11002000;
constexpr uint32_t kMetadataVersion = 2;

// The head fields behind the marker, read in the order they are stored.
Failure ReadChunkHead(BodyCursor* cursor, uint64_t bodySize, NoticeFunction showNotice, uint32_t* variableCount) {
    uint32_t chunkSize;
    if (!ReadUint32(cursor, &chunkSize)) return kMessageReadError;
    if (chunkSize == 0 || chunkSize > bodySize) return kMessageReadError;

    uint32_t ignored;
    if (!ReadUint32(cursor, &ignored) || !ReadUint32(cursor, &ignored)) return kMessageReadError;

    uint32_t scriptClassId;
    if (!ReadUint32(cursor, &scriptClassId)) return kMessageReadError;
    if (scriptClassId != kExpectedScriptClassId) showNotice(kMessageUnexpectedClassId);

    uint32_t version;
    if (!ReadUint32(cursor, &version)) return kMessageReadError;
    if (version != kMetadataVersion) return kMessageUnsupportedVersion;

    if (!ReadUint32(cursor, variableCount)) return kMessageReadError;
    if (*variableCount == 0) return kMessageNoMetadata;
    if (*variableCount > kMaxVariableCount) return kMessageReadError;
    return kSucceeded;
}

}  // namespace

const uint8_t* FindChunkIdentifier(const uint8_t* body, uint64_t size) {
    return FindFourBytes(body, static_cast<size_t>(size), kChunkIdentifier);
}

Failure LocateMetadataChunk(const uint8_t* body, uint64_t size, NoticeFunction showNotice, MetadataChunk* chunk,
                            ListingText* listing) {
    const uint8_t* const end = body + size;
    const uint8_t* identifier = FindChunkIdentifier(body, size);
    if (identifier == nullptr) return kMessageChunkNotFound;

    // A marker that the body's end cuts off counts as no marker.
    const uint8_t* marker = identifier + sizeof kChunkIdentifier;
    if (static_cast<size_t>(end - marker) < sizeof kSkipMarker) return kMessageChunkNotFound;
    if (std::memcmp(marker, kSkipMarker, sizeof kSkipMarker) != 0) return kMessageChunkNotFound;

    chunk->cursor = BodyCursor{marker + sizeof kSkipMarker, end};
    const Failure failure = ReadChunkHead(&chunk->cursor, size, showNotice, &chunk->variableCount);
    if (failure != kSucceeded) return failure;

    StartListing(listing, chunk->variableCount);
    return kSucceeded;
}
