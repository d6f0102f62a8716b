// SPDX-License-Identifier: GPL-2.0-or-later
// The script variable types and the text form of the values that the listing shows. Scalar variables
// and array elements share these forms: a variable's line is its type word followed by the same value
// text that an array element shows.
#pragma once

#include <cstdint>

#include "metadata/body_cursor.h"
#include "metadata/listing_text.h"

enum class ScriptType : uint32_t {
    Void = 0,
    Boolean = 1,
    Integer = 2,
    Real = 3,
    Class = 4,
    Text = 5,
    Enum = 6,
    Array = 7,
    ParamArray = 8,
    Vec2 = 9,
    Vec3 = 10,
    Int3 = 11,
    Iso4 = 12,
    Ident = 13,
    Int2 = 14,
};

// Codes above this have no type; the listing stops at them.
inline constexpr uint32_t kLastScriptType = 14;

// How one variable, or one array, ends: the listing goes on, it stopped at a marker ending in "...",
// or a read failed and the whole listing gives way to the read error.
enum class ListOutcome { Listed, Stopped, ReadError };

// What the listing works with for the whole run.
struct ListingRun {
    BodyCursor* cursor;
    ListingText* listing;
    char text[kTextCapacity];  // the destination of every ReadString
};

// True for the types whose value has a text form: Boolean, Integer, Real, Text and the four vectors.
bool HasValueText(uint32_t type);

// Reads one value and appends its text ("True", "-1", "\"abc\"", "<1, 2.5, -3>"): Listed, or ReadError
// when its bytes are not in the body. A type without a value text reads nothing, appends "..." and
// gives Stopped.
ListOutcome AppendValue(ListingRun* run, uint32_t type);
