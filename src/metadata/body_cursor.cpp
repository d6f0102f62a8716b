// SPDX-License-Identifier: GPL-2.0-or-later
// The bound is checked as count > end - position, which cannot wrap around.
#include "metadata/body_cursor.h"

#include <cstring>

bool ReadBytes(BodyCursor* cursor, void* destination, uint32_t count) {
    if (cursor == nullptr || destination == nullptr) return false;
    if (count > static_cast<size_t>(cursor->end - cursor->position)) return false;
    if (count > 0) std::memcpy(destination, cursor->position, count);
    cursor->position += count;
    return true;
}

int32_t ReadString(BodyCursor* cursor, char* destination) {
    if (cursor == nullptr || destination == nullptr) return -1;
    uint32_t length;
    if (!ReadUint32(cursor, &length)) return -1;
    // A refused length leaves the cursor behind the length field and the destination as it was.
    if (length >= kRefusedTextLength) return -1;
    if (length > static_cast<size_t>(cursor->end - cursor->position)) return -1;

    // The text is copied straight from the body; it ends at its first zero byte or after 1023 bytes.
    size_t kept = length < kTextCapacity - 1 ? length : kTextCapacity - 1;
    const void* zero = std::memchr(cursor->position, 0, kept);
    if (zero != nullptr) kept = static_cast<size_t>(static_cast<const uint8_t*>(zero) - cursor->position);
    std::memcpy(destination, cursor->position, kept);
    destination[kept] = '\0';
    cursor->position += length;
    return static_cast<int32_t>(kept);
}
