// SPDX-License-Identifier: GPL-2.0-or-later
// Finds the chunk that holds the map's script metadata by its identifier in the raw decompressed body,
// checks the chunk head, places the cursor on the first variable and starts the listing.
#pragma once

#include <cstdint>

#include "app/messages.h"
#include "metadata/body_cursor.h"
#include "metadata/listing_text.h"

// Largest variable count a chunk may claim; a larger one is a read error.
inline constexpr uint32_t kMaxVariableCount = 0x10000000;

struct MetadataChunk {
    BodyCursor cursor;       // on the first variable
    uint32_t variableCount;  // 1 to kMaxVariableCount
};

// Called when the script class ID is not the expected one; the run goes on once it returns.
using NoticeFunction = void (*)(const char* message);

// Returns the first byte of the first occurrence of the 4-byte identifier, or null.
const uint8_t* FindChunkIdentifier(const uint8_t* body, uint64_t size);

Failure LocateMetadataChunk(const uint8_t* body, uint64_t size, NoticeFunction showNotice, MetadataChunk* chunk,
                            ListingText* listing);
