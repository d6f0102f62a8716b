// SPDX-License-Identifier: GPL-2.0-or-later
// Reads the script variables one after the other and appends one line for each: name, type word, value.
#pragma once

#include <cstdint>

#include "metadata/body_cursor.h"
#include "metadata/listing_text.h"
#include "metadata/script_values.h"

// Lists variableCount variables from the cursor on, behind the first line that the listing holds.
ListOutcome ListVariables(BodyCursor* cursor, uint32_t variableCount, ListingText* listing);
