// SPDX-License-Identifier: GPL-2.0-or-later
// The services the run takes from its platform: the map's path, file input, zero-filled body buffers,
// UTF-8 conversion and the reporting of outcomes. One backend per platform implements them; the core
// sees only these portable declarations.
#pragma once

#include <cstddef>
#include <cstdint>

// The map file's path as the entry point took it from the command tail. Backend-defined.
struct MapPath;

// An open map file. Backend-defined.
struct MapFile;

// True when the command tail was absent or empty: the run shows the usage message.
bool IsPathEmpty(const MapPath* path);

// Removes one double quote at the very start together with one at the very end; otherwise no change.
void UnquotePath(MapPath* path);

// True when a file or a folder exists at the path.
bool PathExists(const MapPath* path);

// Opens the file read-only at offset 0; null when it cannot be opened for reading.
MapFile* OpenMapFile(const MapPath* path);
void CloseMapFile(MapFile* file);

// The whole size of the file in bytes.
uint64_t MapFileSize(MapFile* file);

// Reads up to count bytes at the current position; returns how many arrived. Fewer than count means the
// file ended or the read failed, which the run treats alike.
uint64_t ReadMapFile(MapFile* file, void* destination, uint64_t count);

// Moves the position by distance from where it stands. False when it would end before the start of the
// file; a position beyond the end is no failure (the next read then delivers nothing).
bool SeekMapFile(MapFile* file, int64_t distance);

// A buffer of size zero bytes, or null when it cannot be had; a size of 0 gives null.
void* AcquireZeroedBuffer(uint64_t size);
void ReleaseZeroedBuffer(void* address, uint64_t size);

// Converts a terminated UTF-8 text to terminated UTF-16 in wide, which holds at least as many units as
// the text has bytes plus one. Ill-formed sequences become U+FFFD. Returns the units before the terminator.
size_t ConvertUtf8ToWide(const char* text, char16_t* wide);

// The usage message of this platform, shown when the command tail is empty.
const char* UsageMessage();

// Presents a failure, or the notice that lets the run go on, and returns once it was acknowledged.
void ShowWarning(const char* message);

// Presents the finished listing; false when it could not be presented.
bool ShowListing(const char16_t* units, size_t count);
