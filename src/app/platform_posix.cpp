// SPDX-License-Identifier: GPL-2.0-or-later
// The POSIX backend: the arguments joined with blanks are the command tail, failures go to standard
// error as one line, the listing to standard output as UTF-8. Only regular files are opened, and never
// in a way that could block (a FIFO) or take a terminal.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/messages.h"
#include "app/platform.h"
#include "app/run.h"
#include "app/unicode.h"
#include "metadata/listing_text.h"

// The joined arguments, terminated. Plain C memory: the program uses nothing of the C++ library, so
// none of it has to be loaded or started.
struct MapPath {
    char* text;
    size_t length;
};

struct MapFile {
    int descriptor;
};

namespace {

MapFile gFile;  // a run opens one file at most

// Buffers from this size on are mapped straight from the kernel, aligned to and backed by huge pages
// where it offers them: their first touch then costs one fault per 2 MiB instead of one per 4 KiB, and
// releasing them is as cheap. Smaller ones come from the heap.
constexpr uint64_t kMappedBufferSize = uint64_t{1} << 20;
constexpr uint64_t kHugePageSize = uint64_t{2} << 20;
constexpr uint64_t kPageSize = 4096;

uint64_t RoundUp(uint64_t size, uint64_t unit) { return (size + unit - 1) / unit * unit; }

// A fresh anonymous mapping is zero-filled and touches no page until it is written.
void* MapZeroedBuffer(uint64_t size) {
    const uint64_t length = RoundUp(size, kPageSize);
    if (length > SIZE_MAX - kHugePageSize) return nullptr;
    const size_t mapped = static_cast<size_t>(length + kHugePageSize);
    void* start = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start == MAP_FAILED) return nullptr;
    // Keep the huge-page-aligned part and give back the slack on both sides.
    const auto first = reinterpret_cast<uintptr_t>(start);
    const uintptr_t aligned = static_cast<uintptr_t>(RoundUp(first, kHugePageSize));
    if (aligned > first) munmap(start, aligned - first);
    const uintptr_t tail = aligned + static_cast<uintptr_t>(length);
    const uintptr_t mappedEnd = first + mapped;
    if (mappedEnd > tail) munmap(reinterpret_cast<void*>(tail), mappedEnd - tail);
    void* buffer = reinterpret_cast<void*>(aligned);
    madvise(buffer, static_cast<size_t>(length), MADV_HUGEPAGE);  // a hint: without it, plain pages
    return buffer;
}

bool WriteAll(int descriptor, const char* bytes, size_t count) {
    while (count > 0) {
        const ssize_t written = write(descriptor, bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

bool IsPathEmpty(const MapPath* path) { return path->length == 0; }

void UnquotePath(MapPath* path) {
    if (path->length < 2 || path->text[0] != '"' || path->text[path->length - 1] != '"') return;
    path->length -= 2;
    std::memmove(path->text, path->text + 1, path->length);
    path->text[path->length] = '\0';
}

bool PathExists(const MapPath* path) {
    struct stat status;
    return stat(path->text, &status) == 0;
}

MapFile* OpenMapFile(const MapPath* path) {
    const int descriptor = open(path->text, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    gFile.descriptor = descriptor;
    return &gFile;
}

void CloseMapFile(MapFile* file) { close(file->descriptor); }

uint64_t MapFileSize(MapFile* file) {
    struct stat status;
    if (fstat(file->descriptor, &status) != 0) return 0;
    return static_cast<uint64_t>(status.st_size);
}

uint64_t ReadMapFile(MapFile* file, void* destination, uint64_t count) {
    auto* bytes = static_cast<char*>(destination);
    uint64_t delivered = 0;
    while (delivered < count) {
        const ssize_t got = read(file->descriptor, bytes + delivered, count - delivered);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        delivered += static_cast<uint64_t>(got);
    }
    return delivered;
}

bool SeekMapFile(MapFile* file, int64_t distance) { return lseek(file->descriptor, distance, SEEK_CUR) >= 0; }

void* AcquireZeroedBuffer(uint64_t size) {
    if (size == 0 || size > SIZE_MAX) return nullptr;
    if (size >= kMappedBufferSize) return MapZeroedBuffer(size);
    return std::calloc(1, static_cast<size_t>(size));
}

void ReleaseZeroedBuffer(void* address, uint64_t size) {
    if (size >= kMappedBufferSize) {
        munmap(address, static_cast<size_t>(RoundUp(size, kPageSize)));
    } else {
        std::free(address);
    }
}

size_t ConvertUtf8ToWide(const char* text, char16_t* wide) { return ConvertUtf8ToUtf16(text, wide); }

const char* UsageMessage() { return kMessageUsagePosix; }

void ShowWarning(const char* message) {
    static constexpr char kPrefix[] = "Veldrin: ";
    char line[128];  // every message is a short constant
    const size_t length = std::min(std::strlen(message), sizeof line - sizeof kPrefix);
    std::memcpy(line, kPrefix, sizeof kPrefix - 1);
    std::memcpy(line + sizeof kPrefix - 1, message, length);
    line[sizeof kPrefix - 1 + length] = '\n';
    WriteAll(STDERR_FILENO, line, sizeof kPrefix + length);
}

bool ShowListing(const char16_t* units, size_t count) {
    static char utf8[ListingUtf8Capacity(kListingMaxLength)];
    return WriteAll(STDOUT_FILENO, utf8, ConvertListingToUtf8(units, count, utf8));
}

int main(int argc, char** argv) {
    // A closed pipe on standard output is a failed write (exit status 1), not a killed process.
    std::signal(SIGPIPE, SIG_IGN);
    size_t size = 1;
    for (int i = 1; i < argc; ++i) size += std::strlen(argv[i]) + 1;
    MapPath path = {static_cast<char*>(std::malloc(size)), 0};
    if (path.text == nullptr) {
        ShowWarning(kMessageOutOfMemory);
        return kExitFailed;
    }
    for (int i = 1; i < argc; ++i) {
        if (i > 1) path.text[path.length++] = ' ';
        const size_t length = std::strlen(argv[i]);
        std::memcpy(path.text + path.length, argv[i], length);
        path.length += length;
    }
    path.text[path.length] = '\0';
    const int status = RunVeldrin(&path);
    std::free(path.text);
    return status;
}
