// SPDX-License-Identifier: GPL-2.0-or-later
// Turns the container's compressed body into one buffer that holds the decompressed body, exactly as
// large as the header declares: both buffers first, then one read, then one LZO1X decompression.
#pragma once

#include <cstdint>

#include "app/messages.h"
#include "app/platform.h"
#include "container/container_header.h"

// The two body buffers, each null until obtained. The run releases them at its end, decompressed first.
struct BodyBuffers {
    uint8_t* compressed;
    uint64_t compressedSize;
    uint8_t* decompressed;
    uint64_t decompressedSize;
};

// The decompressed body: every one of its bytes was written by the decompressor.
struct DecompressedBody {
    const uint8_t* start;
    uint64_t size;
};

// Fills buffers as it obtains them and leaves them there on failure too, for the run to release.
Failure LoadBody(MapFile* file, const ContainerHeader& header, BodyBuffers* buffers, DecompressedBody* body);

// Releases whichever of the two buffers was obtained, in reverse order of acquisition.
void ReleaseBodyBuffers(BodyBuffers* buffers);
