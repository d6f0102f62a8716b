// SPDX-License-Identifier: GPL-2.0-or-later
// The least any reader of a map must do, as the benchmark's yardstick: read the header, read the
// compressed body in one read, decompress it with lzo1x_decompress_safe into a calloc'd buffer and find
// the metadata chunk's identifier with memmem. No checks beyond what keeps it from crashing, no listing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <lzo/lzo1x.h>

namespace {

constexpr unsigned char kChunkIdentifier[4] = {0x44, 0x30, 0x04, 0x03};

bool ReadExactly(int descriptor, void* destination, size_t count) {
    auto* bytes = static_cast<unsigned char*>(destination);
    while (count > 0) {
        const ssize_t got = read(descriptor, bytes, count);
        if (got <= 0) return false;
        bytes += got;
        count -= static_cast<size_t>(got);
    }
    return true;
}

uint32_t Field(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const int descriptor = open(argv[1], O_RDONLY);
    if (descriptor < 0) return 1;

    // Magic, version, format, class ID and skip size; then the skipped bytes; then the two body sizes.
    unsigned char head[17];
    if (!ReadExactly(descriptor, head, sizeof head)) return 1;
    if (lseek(descriptor, static_cast<off_t>(Field(head + 13)) + 8, SEEK_CUR) < 0) return 1;
    unsigned char sizes[8];
    if (!ReadExactly(descriptor, sizes, sizeof sizes)) return 1;
    const uint32_t uncompressedSize = Field(sizes);
    const uint32_t compressedSize = Field(sizes + 4);

    auto* compressed = static_cast<unsigned char*>(std::calloc(1, compressedSize));
    auto* body = static_cast<unsigned char*>(std::calloc(1, uncompressedSize));
    if (compressed == nullptr || body == nullptr) return 1;
    if (!ReadExactly(descriptor, compressed, compressedSize)) return 1;
    if (lzo_init() != LZO_E_OK) return 1;
    lzo_uint produced = uncompressedSize;
    if (lzo1x_decompress_safe(compressed, compressedSize, body, &produced, nullptr) != LZO_E_OK) return 1;

    const void* found = memmem(body, produced, kChunkIdentifier, sizeof kChunkIdentifier);
    if (found == nullptr) return 1;
    std::printf("%zu\n", static_cast<size_t>(static_cast<const unsigned char*>(found) - body));
    std::free(body);
    std::free(compressed);
    close(descriptor);
    return 0;
}
