// SPDX-License-Identifier: GPL-2.0-or-later
// The road of one map file: path, open, header, body, metadata chunk, variables, outcome. Each step
// returns success or its one message; the first failure goes straight to the common end, which shows
// the outcome and only then releases what was acquired, in reverse order.
#include "app/run.h"

#include "app/messages.h"
#include "container/body_loader.h"
#include "container/container_header.h"
#include "metadata/chunk_locator.h"
#include "metadata/variable_listing.h"

namespace {

ListingText gListing;  // 64 KiB, held for the whole run

Failure ListMapFile(MapFile* file, BodyBuffers* buffers, ListingText* listing) {
    ContainerHeader header;
    Failure failure = ReadContainerHeader(file, &header);
    if (failure != kSucceeded) return failure;

    DecompressedBody body;
    failure = LoadBody(file, header, buffers, &body);
    if (failure != kSucceeded) return failure;

    MetadataChunk chunk;
    failure = LocateMetadataChunk(body.start, body.size, ShowWarning, &chunk, listing);
    if (failure != kSucceeded) return failure;

    if (ListVariables(&chunk.cursor, chunk.variableCount, listing) == ListOutcome::ReadError) return kMessageReadError;
    return kSucceeded;
}

int ShowFailure(Failure failure) {
    ShowWarning(failure);
    return kExitFailed;
}

}  // namespace

int RunVeldrin(MapPath* path) {
    if (IsPathEmpty(path)) return ShowFailure(UsageMessage());
    UnquotePath(path);
    if (!PathExists(path)) return ShowFailure(kMessageFileNotFound);
    MapFile* file = OpenMapFile(path);
    if (file == nullptr) return ShowFailure(kMessageCouldNotOpen);

    BodyBuffers buffers = {};
    const Failure failure = ListMapFile(file, &buffers, &gListing);

    int status = kExitListed;
    if (failure != kSucceeded) {
        status = ShowFailure(failure);
    } else if (!ShowListing(gListing.units, gListing.length)) {
        status = kExitFailed;
    }

    ReleaseBodyBuffers(&buffers);
    CloseMapFile(file);
    return status;
}
