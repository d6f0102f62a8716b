// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the chunk locator and the variable listing over a body built by the map writer, and gives the
// outcome with the listing as UTF-8 (line breaks kept as "\r\n") for readable comparisons.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "map_writer.h"
#include "metadata/chunk_locator.h"
#include "metadata/variable_listing.h"

struct ListingResult {
    Failure failure = kSucceeded;   // from the locator, or the read error of the listing
    ListOutcome outcome = ListOutcome::Listed;
    std::string text;               // the listing as UTF-8, "\r\n" kept
    size_t units = 0;               // UTF-16 units in the listing
    size_t unreadBytes = 0;         // body bytes behind the cursor when the listing ended
};

// The listing's UTF-16 units as UTF-8, line breaks unchanged.
std::string ListingAsUtf8(const ListingText& listing);

ListingResult ListBody(const mapwriter::ByteVector& body);

// A body holding just the metadata chunk with these variables.
ListingResult ListVariablesOf(const mapwriter::Bytes& variables, uint32_t variableCount);

// The lines behind the first one, for a listing with one variable: what that variable printed.
std::string OnlyVariableLine(const ListingResult& result);

// One variable listed on its own: the line it prints and how it ends.
struct LineCase {
    const char* what;
    mapwriter::Bytes variable;
    const char* line;
    ListOutcome outcome;
};

// Lists each case's variable on its own and expects its line, its outcome, and that the variable was
// read up to its end and not one byte further.
void ExpectVariableLines(std::initializer_list<LineCase> cases);
