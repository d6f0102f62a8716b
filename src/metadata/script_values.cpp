// SPDX-License-Identifier: GPL-2.0-or-later
#include "metadata/script_values.h"

#include <bit>

namespace {

ListOutcome AppendBoolean(ListingRun* run) {
    uint32_t value;
    if (!ReadUint32(run->cursor, &value)) return ListOutcome::ReadError;
    if (value == 0) {
        AppendLiteral(run->listing, u"False");
    } else {
        AppendLiteral(run->listing, u"True");
    }
    return ListOutcome::Listed;
}

ListOutcome AppendIntegers(ListingRun* run, int components) {
    for (int i = 0; i < components; ++i) {
        uint32_t value;
        if (!ReadUint32(run->cursor, &value)) return ListOutcome::ReadError;
        AppendInteger(run->listing, static_cast<int32_t>(value), i > 0);
    }
    return ListOutcome::Listed;
}

ListOutcome AppendReals(ListingRun* run, int components) {
    for (int i = 0; i < components; ++i) {
        uint32_t value;
        if (!ReadUint32(run->cursor, &value)) return ListOutcome::ReadError;
        AppendReal(run->listing, std::bit_cast<float>(value), i > 0);
    }
    return ListOutcome::Listed;
}

ListOutcome AppendText(ListingRun* run) {
    const int32_t length = ReadString(run->cursor, run->text);
    if (length < 0) return ListOutcome::ReadError;
    AppendLiteral(run->listing, u"\"");
    if (length > 0) AppendUtf8Text(run->listing, run->text);
    AppendLiteral(run->listing, u"\"");
    return ListOutcome::Listed;
}

ListOutcome AppendVector(ListingRun* run, ListOutcome (*appendComponents)(ListingRun*, int), int components) {
    AppendLiteral(run->listing, u"<");
    const ListOutcome outcome = appendComponents(run, components);
    AppendLiteral(run->listing, u">");
    return outcome;
}

}  // namespace

bool HasValueText(uint32_t type) {
    switch (static_cast<ScriptType>(type)) {
        case ScriptType::Boolean:
        case ScriptType::Integer:
        case ScriptType::Real:
        case ScriptType::Text:
        case ScriptType::Vec2:
        case ScriptType::Vec3:
        case ScriptType::Int3:
        case ScriptType::Int2:
            return true;
        default:
            return false;
    }
}

ListOutcome AppendValue(ListingRun* run, uint32_t type) {
    switch (static_cast<ScriptType>(type)) {
        case ScriptType::Boolean: return AppendBoolean(run);
        case ScriptType::Integer: return AppendIntegers(run, 1);
        case ScriptType::Real: return AppendReals(run, 1);
        case ScriptType::Text: return AppendText(run);
        case ScriptType::Vec2: return AppendVector(run, AppendReals, 2);
        case ScriptType::Vec3: return AppendVector(run, AppendReals, 3);
        case ScriptType::Int3: return AppendVector(run, AppendIntegers, 3);
        case ScriptType::Int2: return AppendVector(run, AppendIntegers, 2);
        default:  // no text form: the listing stops here
            AppendLiteral(run->listing, u"...");
            return ListOutcome::Stopped;
    }
}
