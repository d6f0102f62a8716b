// SPDX-License-Identifier: GPL-2.0-or-later
// Once the listing is full no text can change it, but the rest of the variables must still be read:
// a read that fails ends the run with the read error, a type without a text form still stops it. These
// functions read exactly what the listing would read and decide the same outcome, without copying a
// text or formatting a value.
#pragma once

#include <cstdint>

#include "metadata/body_cursor.h"
#include "metadata/script_values.h"

// The next count variables, each as ListVariables would read it.
ListOutcome SkipVariables(BodyCursor* cursor, uint32_t count);

// The array's remaining elements, each as ListArray would read it.
ListOutcome SkipElements(BodyCursor* cursor, uint32_t keyType, uint32_t valueType, uint32_t remaining);
