// SPDX-License-Identifier: GPL-2.0-or-later
// A variable record is a length-prefixed name, a 32-bit type code and a value stored by that type.
// Types without a text form stop the listing with their word and "..."; nothing of their value is read.
#include "metadata/variable_listing.h"

#include "metadata/array_values.h"
#include "metadata/value_skipping.h"

namespace {

// The word the listing prints for each type code, in parentheses.
constexpr const char16_t* kTypeWords[kLastScriptType + 1] = {
    u"(Void",  u"(Boolean", u"(Integer",    u"(Real", u"(Class", u"(Text", u"(Enum",  u"(Array",
    u"(ParamArray", u"(Vec2", u"(Vec3", u"(Int3", u"(Iso4", u"(Ident", u"(Int2",
};

void AppendTypeWord(ListingText* listing, uint32_t type) {
    const char16_t* word = kTypeWords[type];
    size_t length = 0;
    while (word[length] != u'\0') ++length;
    AppendListing(listing, word, length);
}

// Everything of the variable's line behind its name.
ListOutcome ListTypedValue(ListingRun* run, uint32_t type) {
    if (type > kLastScriptType) {
        AppendLiteral(run->listing, u"(Unknown)...");
        return ListOutcome::Stopped;
    }
    AppendTypeWord(run->listing, type);
    if (type == static_cast<uint32_t>(ScriptType::Void)) {
        AppendLiteral(run->listing, u")");
        return ListOutcome::Listed;
    }
    if (type == static_cast<uint32_t>(ScriptType::Array)) {
        AppendLiteral(run->listing, u"): ");
        return ListArray(run);
    }
    if (HasValueText(type)) {
        AppendLiteral(run->listing, u"): ");
    } else {
        AppendLiteral(run->listing, u")");
    }
    return AppendValue(run, type);
}

ListOutcome ListVariable(ListingRun* run) {
    AppendLiteral(run->listing, u"\r\n");
    const int32_t nameLength = ReadString(run->cursor, run->text);
    if (nameLength < 0) return ListOutcome::ReadError;
    if (nameLength > 0) {
        AppendUtf8Text(run->listing, run->text);
        AppendLiteral(run->listing, u" ");
    }
    uint32_t type;
    if (!ReadUint32(run->cursor, &type)) return ListOutcome::ReadError;
    return ListTypedValue(run, type);
}

}  // namespace

ListOutcome ListVariables(BodyCursor* cursor, uint32_t variableCount, ListingText* listing) {
    ListingRun run = {cursor, listing, {}};
    for (uint32_t remaining = variableCount; remaining > 0; --remaining) {
        // From here on nothing is shown; only what the reads decide still counts.
        if (IsListingFull(listing)) return SkipVariables(cursor, remaining);
        const ListOutcome outcome = ListVariable(&run);
        if (outcome != ListOutcome::Listed) return outcome;
    }
    return ListOutcome::Listed;
}
