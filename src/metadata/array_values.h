// SPDX-License-Identifier: GPL-2.0-or-later
// Lists the value of an array variable: "[key=>value, ...]", where every key has one key type and every
// value one value type.
#pragma once

#include "metadata/script_values.h"

// Largest element count an array may claim; a larger one is a read error.
inline constexpr uint32_t kMaxArrayElements = 0x10000000;

// True for the key types whose key has a text form: Boolean, Integer, Real and Text. (Void keys have
// none and print nothing.)
bool HasKeyText(uint32_t type);

// Reads the array record behind the type code and appends its entries.
ListOutcome ListArray(ListingRun* run);
