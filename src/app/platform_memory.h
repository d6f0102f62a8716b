// SPDX-License-Identifier: GPL-2.0-or-later
// A backend with no disk and no terminal, for the tests and the fuzzers: the map file is a byte array,
// the outcomes are recorded, and every acquisition is counted so that a run can be checked to have
// released all it took.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/platform.h"

struct MemoryPlatform {
    // The one file that exists, at the path "map".
    const uint8_t* fileBytes = nullptr;
    size_t fileSize = 0;
    bool fileOpenable = true;

    // Set to make AcquireZeroedBuffer give null for sizes above it.
    uint64_t bufferLimit = UINT64_MAX;

    // What the run showed, in order.
    std::vector<std::string> warnings;
    std::u16string listing;
    bool listingShown = false;

    // Acquired and not yet released.
    int openFiles = 0;
    int heldBuffers = 0;
};

// Resets the backend: the next run sees this file and starts with no reports.
MemoryPlatform& ResetMemoryPlatform(const uint8_t* bytes, size_t size);
MemoryPlatform& CurrentMemoryPlatform();

// A path for the run; "map" names the file, anything else names nothing.
MapPath* MakeMemoryPath(const std::string& text);
