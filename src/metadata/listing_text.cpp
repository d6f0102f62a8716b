// SPDX-License-Identifier: GPL-2.0-or-later
#include "metadata/listing_text.h"

#include <cstdio>

#include "app/platform.h"

namespace {

// Widens an ASCII text formatted by the C library and appends it.
void AppendAscii(ListingText* listing, const char* text, int count) {
    char16_t wide[kWideTextCapacity];
    if (count < 0) return;
    for (int i = 0; i < count; ++i) wide[i] = static_cast<unsigned char>(text[i]);
    AppendListing(listing, wide, static_cast<size_t>(count));
}

}  // namespace

void StartListing(ListingText* listing, uint32_t variableCount) {
    listing->length = 0;
    listing->units[0] = u'\0';
    char line[32];
    AppendAscii(listing, line, std::snprintf(line, sizeof line, "Number of variables: %u", variableCount));
}

void AppendListing(ListingText* listing, const char16_t* text, size_t count) {
    const size_t room = kListingMaxLength - listing->length;
    if (count > room) count = room;
    char16_t* destination = listing->units + listing->length;
    for (size_t i = 0; i < count; ++i) destination[i] = text[i];
    listing->length += count;
    listing->units[listing->length] = u'\0';
}

void AppendUtf8Text(ListingText* listing, const char* text) {
    if (IsListingFull(listing)) return;
    char16_t wide[kWideTextCapacity];
    const size_t count = ConvertUtf8ToWide(text, wide);
    AppendListing(listing, wide, count);
}

void AppendInteger(ListingText* listing, int32_t value, bool separated) {
    if (IsListingFull(listing)) return;
    char formatted[24];
    AppendAscii(listing, formatted, std::snprintf(formatted, sizeof formatted, separated ? ", %d" : "%d", value));
}

void AppendReal(ListingText* listing, float value, bool separated) {
    if (IsListingFull(listing)) return;
    char formatted[64];
    const double widened = value;
    AppendAscii(listing, formatted, std::snprintf(formatted, sizeof formatted, separated ? ", %g" : "%g", widened));
}
