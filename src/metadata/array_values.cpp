// SPDX-License-Identifier: GPL-2.0-or-later
// An array record is its key type, its value type, its element count and then each element's key and
// value, stored by their types with no gaps. Void keys print nothing, not even "=>".
#include "metadata/array_values.h"

#include "metadata/value_skipping.h"

namespace {

constexpr uint32_t kVoid = static_cast<uint32_t>(ScriptType::Void);

ListOutcome AppendKey(ListingRun* run, uint32_t keyType) {
    if (keyType == kVoid) return ListOutcome::Listed;
    if (!HasKeyText(keyType)) {
        AppendLiteral(run->listing, u"...");
        return ListOutcome::Stopped;
    }
    const ListOutcome outcome = AppendValue(run, keyType);
    AppendLiteral(run->listing, u"=>");
    return outcome;
}

ListOutcome AppendElement(ListingRun* run, uint32_t keyType, uint32_t valueType) {
    const ListOutcome outcome = AppendKey(run, keyType);
    if (outcome != ListOutcome::Listed || valueType == kVoid) return outcome;
    return AppendValue(run, valueType);
}

// Elements of Void keys and Void values read nothing and print only their separators. Once the
// listing is full no separator can change it, so the loop ends there instead of running on for up to
// 268435456 elements.
void AppendVoidElements(ListingText* listing, uint32_t count) {
    for (uint32_t remaining = count; remaining > 1 && !IsListingFull(listing); --remaining) {
        AppendLiteral(listing, u", ");
    }
}

}  // namespace

bool HasKeyText(uint32_t type) {
    switch (static_cast<ScriptType>(type)) {
        case ScriptType::Boolean:
        case ScriptType::Integer:
        case ScriptType::Real:
        case ScriptType::Text:
            return true;
        default:
            return false;
    }
}

ListOutcome ListArray(ListingRun* run) {
    uint32_t keyType;
    uint32_t valueType;
    if (!ReadUint32(run->cursor, &keyType) || !ReadUint32(run->cursor, &valueType)) return ListOutcome::ReadError;
    // Arrays of arrays stop before their count is read.
    if (valueType == static_cast<uint32_t>(ScriptType::Array)) {
        AppendLiteral(run->listing, u"...");
        return ListOutcome::Stopped;
    }
    uint32_t count;
    if (!ReadUint32(run->cursor, &count) || count > kMaxArrayElements) return ListOutcome::ReadError;

    AppendLiteral(run->listing, u"[");
    if (keyType == kVoid && valueType == kVoid) {
        AppendVoidElements(run->listing, count);
    } else {
        for (uint32_t remaining = count; remaining > 0; --remaining) {
            if (IsListingFull(run->listing)) return SkipElements(run->cursor, keyType, valueType, remaining);
            const ListOutcome outcome = AppendElement(run, keyType, valueType);
            if (outcome != ListOutcome::Listed) return outcome;
            if (remaining > 1) AppendLiteral(run->listing, u", ");
        }
    }
    AppendLiteral(run->listing, u"]");
    return ListOutcome::Listed;
}
