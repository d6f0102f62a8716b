// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the example map to the path given.
#include <cstdio>

#include "map_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.Map.Gbx\n", argv[0]);
        return 2;
    }
    return mapwriter::WriteFile(argv[1], mapwriter::ExampleMap()) ? 0 : 1;
}
