// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzzes the whole run from a map file's bytes, over the in-memory platform: header, body loading and
// decompression, chunk location and listing. Promise: the run shows exactly one fixed message (after at
// most one class ID notice) or a sound listing, its exit status says which, and it releases all it took.
#include <cstddef>
#include <cstdint>

#include "app/platform_memory.h"
#include "app/run.h"
#include "fuzz_checks.h"
#include "reference_model.h"

namespace {

// Bodies above this size get "Out of memory." from the backend, so that the fuzzer measures parsing,
// not the allocator.
constexpr uint64_t kMaxBodySize = 64u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzzcheck::Require;
    MemoryPlatform& platform = ResetMemoryPlatform(data, size);
    platform.bufferLimit = kMaxBodySize;

    const int status = RunVeldrin(MakeMemoryPath("map"));

    Require(platform.openFiles == 0, "the file is closed at the end");
    Require(platform.heldBuffers == 0, "both body buffers are released at the end");

    // The class ID notice may come first; it comes at most once and only once the chunk head is found.
    size_t notices = 0;
    if (!platform.warnings.empty() && platform.warnings.front() == kMessageUnexpectedClassId) notices = 1;
    const size_t finals = platform.warnings.size() - notices;

    if (platform.listingShown) {
        Require(status == kExitListed, "a shown listing exits 0");
        Require(finals == 0, "a shown listing comes with no failure message");
        fuzzcheck::RequireSoundListing(platform.listing.data(), platform.listing.size());
    } else {
        Require(status == kExitFailed, "a failure exits 1");
        Require(finals == 1, "a failed run shows exactly one message");
        const char* message = platform.warnings.back().c_str();
        Require(fuzzcheck::IsFileFailure(message), "the failure is one of the fixed messages");
        if (notices == 1) {
            Require(fuzzcheck::IsOneOf(message, {kMessageUnsupportedVersion, kMessageNoMetadata, kMessageReadError}),
                    "only the chunk head's later checks follow the class ID notice");
        }
    }

    const reference::Outcome expected = reference::ListMapFile(data, size, kMaxBodySize);
    Require(static_cast<int>(notices) == expected.notices, "the class ID notice is shown where the format says");
    if (expected.failure == nullptr) {
        Require(platform.listingShown && platform.listing == expected.listing, "the listing is the format's listing");
    } else {
        Require(!platform.listingShown && platform.warnings.back() == expected.failure,
                "the failure is the one the format gives");
    }
    return 0;
}
