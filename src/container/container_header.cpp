// SPDX-License-Identifier: GPL-2.0-or-later
// The header is checked front to back, so the first field that fails decides the message.
#include "container/container_header.h"

#include "container/little_endian.h"

namespace {

constexpr uint8_t kMagic[3] = {'G', 'B', 'X'};
constexpr uint8_t kUncompressedMark = 'U';  // at file offset 7: the body is stored uncompressed
constexpr uint32_t kAcceptedClassIds[] = {0x03043000, 0x24003000, 0x21080000};
constexpr int64_t kVersionFieldWidth = 2;     // offset 3, never interpreted
constexpr uint64_t kSkipTrailerWidth = 8;     // passed together with the S skipped bytes

bool ReadField(MapFile* file, uint32_t* value) {
    uint8_t bytes[4];
    if (ReadMapFile(file, bytes, sizeof bytes) != sizeof bytes) return false;
    *value = LoadLittleEndian32(bytes);
    return true;
}

bool IsAcceptedClassId(uint32_t classId) {
    for (uint32_t accepted : kAcceptedClassIds) {
        if (classId == accepted) return true;
    }
    return false;
}

}  // namespace

Failure ReadContainerHeader(MapFile* file, ContainerHeader* header) {
    const uint64_t fileSize = MapFileSize(file);

    uint8_t magic[3];
    if (ReadMapFile(file, magic, sizeof magic) != sizeof magic) return kMessageInvalidFormat;
    if (magic[0] != kMagic[0] || magic[1] != kMagic[1] || magic[2] != kMagic[2]) return kMessageInvalidFormat;

    if (!SeekMapFile(file, kVersionFieldWidth)) return kMessageReadError;

    uint8_t format[4];
    if (ReadMapFile(file, format, sizeof format) != sizeof format) return kMessageReadError;
    if (format[2] == kUncompressedMark) return kMessageUncompressed;

    uint32_t classId;
    if (!ReadField(file, &classId)) return kMessageReadError;
    if (!IsAcceptedClassId(classId)) return kMessageInvalidFormat;

    // The skip is S bytes and 8 more; summed in 64 bits, so a huge S is a long forward seek, never a
    // short or backward one.
    uint32_t skipSize;
    if (!ReadField(file, &skipSize)) return kMessageReadError;
    if (!SeekMapFile(file, static_cast<int64_t>(skipSize + kSkipTrailerWidth))) return kMessageReadError;

    if (!ReadField(file, &header->uncompressedSize)) return kMessageReadError;
    if (!ReadField(file, &header->compressedSize)) return kMessageReadError;

    // Compared with the whole file (all 64 bits of its size), not with what follows the header.
    if (header->compressedSize > fileSize) return kMessageReadError;
    return kSucceeded;
}
