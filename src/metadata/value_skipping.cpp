// SPDX-License-Identifier: GPL-2.0-or-later
// Every skip checks the same bounds as the read it replaces: a field must lie wholly inside the body,
// a text length must be below 65535 and its bytes inside the body, an array count at most 268435456.
#include "metadata/value_skipping.h"

#include "metadata/array_values.h"

namespace {

constexpr uint32_t kField = 4;
constexpr uint32_t kVoid = static_cast<uint32_t>(ScriptType::Void);
constexpr uint32_t kNoFixedWidth = UINT32_MAX;

bool SkipBytes(BodyCursor* cursor, uint64_t count) {
    if (count > static_cast<uint64_t>(cursor->end - cursor->position)) return false;
    cursor->position += count;
    return true;
}

// A length-prefixed text, as ReadString would consume it.
bool SkipText(BodyCursor* cursor) {
    uint32_t length;
    return ReadUint32(cursor, &length) && length < kRefusedTextLength && SkipBytes(cursor, length);
}

// The bytes a value of this type takes in the body, for the types stored with a fixed width.
uint32_t FixedWidth(uint32_t type) {
    switch (static_cast<ScriptType>(type)) {
        case ScriptType::Void: return 0;
        case ScriptType::Boolean:
        case ScriptType::Integer:
        case ScriptType::Real: return kField;
        case ScriptType::Vec2:
        case ScriptType::Int2: return 2 * kField;
        case ScriptType::Vec3:
        case ScriptType::Int3: return 3 * kField;
        default: return kNoFixedWidth;
    }
}

bool IsTextType(uint32_t type) { return type == static_cast<uint32_t>(ScriptType::Text); }

// A key or value of a type with a text form; false when its bytes are not in the body.
bool SkipValue(BodyCursor* cursor, uint32_t type) {
    if (IsTextType(type)) return SkipText(cursor);
    return SkipBytes(cursor, FixedWidth(type));
}

// What the listing can go past: a Void key or value, which reads and prints nothing, or one with a text
// form, decided as the listing decides it.
bool HasKeyForm(uint32_t type) { return type == kVoid || HasKeyText(type); }

bool HasValueForm(uint32_t type) { return type == kVoid || HasValueText(type); }

ListOutcome SkipArray(BodyCursor* cursor) {
    uint32_t keyType;
    uint32_t valueType;
    if (!ReadUint32(cursor, &keyType) || !ReadUint32(cursor, &valueType)) return ListOutcome::ReadError;
    if (valueType == static_cast<uint32_t>(ScriptType::Array)) return ListOutcome::Stopped;
    uint32_t count;
    if (!ReadUint32(cursor, &count) || count > kMaxArrayElements) return ListOutcome::ReadError;
    return SkipElements(cursor, keyType, valueType, count);
}

ListOutcome SkipVariable(BodyCursor* cursor) {
    uint32_t type;
    if (!SkipText(cursor) || !ReadUint32(cursor, &type)) return ListOutcome::ReadError;
    if (type == static_cast<uint32_t>(ScriptType::Array)) return SkipArray(cursor);
    if (!HasValueForm(type)) return ListOutcome::Stopped;
    return SkipValue(cursor, type) ? ListOutcome::Listed : ListOutcome::ReadError;
}

}  // namespace

ListOutcome SkipVariables(BodyCursor* cursor, uint32_t count) {
    for (uint32_t remaining = count; remaining > 0; --remaining) {
        const ListOutcome outcome = SkipVariable(cursor);
        if (outcome != ListOutcome::Listed) return outcome;
    }
    return ListOutcome::Listed;
}

ListOutcome SkipElements(BodyCursor* cursor, uint32_t keyType, uint32_t valueType, uint32_t remaining) {
    if (remaining == 0) return ListOutcome::Listed;
    // A key without a text form stops the listing before anything of the element is read; a value
    // without one stops it once the first key is read.
    if (!HasKeyForm(keyType)) return ListOutcome::Stopped;
    if (!HasValueForm(valueType)) return SkipValue(cursor, keyType) ? ListOutcome::Stopped : ListOutcome::ReadError;

    // Keys and values of fixed width: the elements either all lie inside the body or a read fails.
    if (!IsTextType(keyType) && !IsTextType(valueType)) {
        const uint64_t width = FixedWidth(keyType) + FixedWidth(valueType);
        return SkipBytes(cursor, width * remaining) ? ListOutcome::Listed : ListOutcome::ReadError;
    }
    for (; remaining > 0; --remaining) {
        if (!SkipValue(cursor, keyType) || !SkipValue(cursor, valueType)) return ListOutcome::ReadError;
    }
    return ListOutcome::Listed;
}
