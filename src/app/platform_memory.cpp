// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/platform_memory.h"

#include <cstdlib>
#include <cstring>

#include "app/messages.h"
#include "app/unicode.h"

struct MapPath {
    std::string text;
};

struct MapFile {
    uint64_t position;
};

namespace {

MemoryPlatform gPlatform;
MapPath gPath;
MapFile gFile;

constexpr char kFileName[] = "map";

}  // namespace

MemoryPlatform& ResetMemoryPlatform(const uint8_t* bytes, size_t size) {
    gPlatform = MemoryPlatform{};
    gPlatform.fileBytes = bytes;
    gPlatform.fileSize = size;
    return gPlatform;
}

MemoryPlatform& CurrentMemoryPlatform() { return gPlatform; }

MapPath* MakeMemoryPath(const std::string& text) {
    gPath.text = text;
    return &gPath;
}

bool IsPathEmpty(const MapPath* path) { return path->text.empty(); }

void UnquotePath(MapPath* path) {
    std::string& text = path->text;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
}

bool PathExists(const MapPath* path) { return path->text == kFileName; }

MapFile* OpenMapFile(const MapPath* path) {
    if (path->text != kFileName || !gPlatform.fileOpenable) return nullptr;
    gFile.position = 0;
    ++gPlatform.openFiles;
    return &gFile;
}

void CloseMapFile(MapFile*) { --gPlatform.openFiles; }

uint64_t MapFileSize(MapFile*) { return gPlatform.fileSize; }

uint64_t ReadMapFile(MapFile* file, void* destination, uint64_t count) {
    if (file->position >= gPlatform.fileSize) return 0;
    const uint64_t left = gPlatform.fileSize - file->position;
    const uint64_t delivered = count < left ? count : left;
    std::memcpy(destination, gPlatform.fileBytes + file->position, static_cast<size_t>(delivered));
    file->position += delivered;
    return delivered;
}

bool SeekMapFile(MapFile* file, int64_t distance) {
    if (distance < 0 && 0 - static_cast<uint64_t>(distance) > file->position) return false;
    file->position += static_cast<uint64_t>(distance);
    return true;
}

void* AcquireZeroedBuffer(uint64_t size) {
    if (size == 0 || size > gPlatform.bufferLimit || size > SIZE_MAX) return nullptr;
    void* address = std::calloc(1, static_cast<size_t>(size));
    if (address != nullptr) ++gPlatform.heldBuffers;
    return address;
}

void ReleaseZeroedBuffer(void* address, uint64_t) {
    std::free(address);
    --gPlatform.heldBuffers;
}

size_t ConvertUtf8ToWide(const char* text, char16_t* wide) { return ConvertUtf8ToUtf16(text, wide); }

const char* UsageMessage() { return kMessageUsagePosix; }

void ShowWarning(const char* message) { gPlatform.warnings.emplace_back(message); }

bool ShowListing(const char16_t* units, size_t count) {
    gPlatform.listing.assign(units, count);
    gPlatform.listingShown = true;
    return true;
}
