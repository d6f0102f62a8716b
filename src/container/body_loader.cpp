// SPDX-License-Identifier: GPL-2.0-or-later
// Both allocations come before the read, and the read before the decompressor starts, so an impossible
// uncompressed size is "Out of memory." even when the file is too short for its body.
#include "container/body_loader.h"

#include <lzo/lzo1x.h>

Failure LoadBody(MapFile* file, const ContainerHeader& header, BodyBuffers* buffers, DecompressedBody* body) {
    buffers->compressed = static_cast<uint8_t*>(AcquireZeroedBuffer(header.compressedSize));
    if (buffers->compressed == nullptr) return kMessageOutOfMemory;
    buffers->compressedSize = header.compressedSize;

    buffers->decompressed = static_cast<uint8_t*>(AcquireZeroedBuffer(header.uncompressedSize));
    if (buffers->decompressed == nullptr) return kMessageOutOfMemory;
    buffers->decompressedSize = header.uncompressedSize;

    if (ReadMapFile(file, buffers->compressed, header.compressedSize) != header.compressedSize) {
        return kMessageReadError;
    }

    if (lzo_init() != LZO_E_OK) return kMessageDecompress;

    // The stream must fill the compressed size exactly and produce exactly the uncompressed size.
    lzo_uint produced = header.uncompressedSize;
    const int result = lzo1x_decompress_safe(buffers->compressed, header.compressedSize, buffers->decompressed,
                                             &produced, nullptr);
    if (result != LZO_E_OK || produced != header.uncompressedSize) return kMessageDecompress;

    body->start = buffers->decompressed;
    body->size = header.uncompressedSize;
    return kSucceeded;
}

void ReleaseBodyBuffers(BodyBuffers* buffers) {
    if (buffers->decompressed != nullptr) ReleaseZeroedBuffer(buffers->decompressed, buffers->decompressedSize);
    if (buffers->compressed != nullptr) ReleaseZeroedBuffer(buffers->compressed, buffers->compressedSize);
    *buffers = BodyBuffers{};
}
