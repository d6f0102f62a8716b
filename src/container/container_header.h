// SPDX-License-Identifier: GPL-2.0-or-later
// Reads and checks the GBX container header of an open map file, field by field, and yields the two
// sizes of the container body. The file is left at the first byte of the compressed body.
#pragma once

#include <cstdint>

#include "app/messages.h"
#include "app/platform.h"

struct ContainerHeader {
    uint32_t uncompressedSize;
    uint32_t compressedSize;
};

Failure ReadContainerHeader(MapFile* file, ContainerHeader* header);
