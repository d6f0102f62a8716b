// SPDX-License-Identifier: GPL-2.0-or-later
// The Windows backend: the command tail of the wide GUI entry is the path (its first 259 characters),
// the shell's path functions unquote and test it, the file is read while others may only read it, the
// body buffers are movable global memory, and every outcome is a message box captioned "Veldrin".
#include <cstring>

#include <windows.h>
#include <shlwapi.h>

#include "app/messages.h"
#include "app/platform.h"
#include "app/run.h"
#include "metadata/listing_text.h"

// The core's UTF-16 units are char16_t, Windows' are wchar_t: the same 16 bits, but distinct types, so
// text crosses between them by copying, never through a cast pointer.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds one UTF-16 unit on Windows");

struct MapPath {
    wchar_t text[MAX_PATH];  // at most 259 characters of the command tail and a terminator
};

struct MapFile {
    HANDLE handle;
};

namespace {

constexpr wchar_t kCaption[] = L"Veldrin";

// ReadFile counts in 32 bits; a longer read is made of pieces no larger than this.
constexpr DWORD kReadPiece = 1u << 30;

MapPath gPath;
MapFile gFile;  // a run opens one file at most

// Converts one of the run's ASCII messages for a message box.
void WidenMessage(const char* message, wchar_t (&text)[kWideTextCapacity]) {
    if (MultiByteToWideChar(CP_UTF8, 0, message, -1, text, kWideTextCapacity) == 0) text[0] = L'\0';
}

}  // namespace

bool IsPathEmpty(const MapPath* path) { return path->text[0] == L'\0'; }

void UnquotePath(MapPath* path) { PathUnquoteSpacesW(path->text); }

bool PathExists(const MapPath* path) { return PathFileExistsW(path->text) != FALSE; }

MapFile* OpenMapFile(const MapPath* path) {
    const HANDLE handle = CreateFileW(path->text, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    gFile.handle = handle;
    return &gFile;
}

void CloseMapFile(MapFile* file) { CloseHandle(file->handle); }

uint64_t MapFileSize(MapFile* file) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file->handle, &size)) return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

uint64_t ReadMapFile(MapFile* file, void* destination, uint64_t count) {
    auto* bytes = static_cast<unsigned char*>(destination);
    uint64_t delivered = 0;
    while (delivered < count) {
        const uint64_t left = count - delivered;
        const DWORD piece = left < kReadPiece ? static_cast<DWORD>(left) : kReadPiece;
        DWORD got = 0;
        // Success with nothing read is the end of the file.
        if (!ReadFile(file->handle, bytes + delivered, piece, &got, nullptr) || got == 0) break;
        delivered += got;
    }
    return delivered;
}

bool SeekMapFile(MapFile* file, int64_t distance) {
    LARGE_INTEGER move;
    move.QuadPart = distance;
    return SetFilePointerEx(file->handle, move, nullptr, FILE_CURRENT) != FALSE;
}

void* AcquireZeroedBuffer(uint64_t size) {
    if (size > SIZE_MAX) return nullptr;
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
    if (block == nullptr) return nullptr;
    void* address = GlobalLock(block);
    // A block of size 0 has no memory and cannot be locked; it is freed at once, as nothing refers to it.
    if (address == nullptr) GlobalFree(block);
    return address;
}

void ReleaseZeroedBuffer(void* address, uint64_t) {
    GlobalUnlock(GlobalHandle(address));
    GlobalFree(GlobalHandle(address));
}

size_t ConvertUtf8ToWide(const char* text, char16_t* wide) {
    wchar_t converted[kWideTextCapacity];
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, converted, kWideTextCapacity);
    const size_t length = units > 0 ? static_cast<size_t>(units) - 1 : 0;
    converted[length] = L'\0';
    std::memcpy(wide, converted, (length + 1) * sizeof(wchar_t));
    return length;
}

const char* UsageMessage() { return kMessageUsageWindows; }

void ShowWarning(const char* message) {
    wchar_t text[kWideTextCapacity];
    WidenMessage(message, text);
    MessageBoxW(nullptr, text, kCaption, MB_ICONWARNING);
}

bool ShowListing(const char16_t* units, size_t count) {
    static wchar_t text[kListingCapacity];
    if (count > kListingMaxLength) count = kListingMaxLength;
    std::memcpy(text, units, count * sizeof(wchar_t));
    text[count] = L'\0';
    // A box that could not be shown at all is a listing the user never saw.
    return MessageBoxW(nullptr, text, kCaption, MB_ICONINFORMATION) != 0;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int) {
    // An absent tail leaves the path empty, as an empty one does.
    if (commandTail != nullptr) lstrcpynW(gPath.text, commandTail, MAX_PATH);
    return RunVeldrin(&gPath);
}
