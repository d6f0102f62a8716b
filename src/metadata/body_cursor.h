// SPDX-License-Identifier: GPL-2.0-or-later
// Everything the listing takes from the decompressed body is read through one cursor that knows where
// the body ends. Every read either lies wholly inside the body or is refused without moving the cursor.
#pragma once

#include <cstddef>
#include <cstdint>

#include "container/little_endian.h"

struct BodyCursor {
    const uint8_t* position;  // the next unread byte
    const uint8_t* end;       // one past the body's last byte
};

// The text destination of ReadString: at most 1023 bytes of text and a terminator.
inline constexpr size_t kTextCapacity = 1024;

// Stored text lengths from this value on are refused; 65534 is the longest text accepted.
inline constexpr uint32_t kRefusedTextLength = 0xFFFF;

// Copies count bytes at the cursor and advances it. False, with nothing copied and the cursor unmoved,
// when the cursor or the destination is null or the bytes would pass the body's end.
bool ReadBytes(BodyCursor* cursor, void* destination, uint32_t count);

// Reads one little-endian 32-bit field; false when its four bytes are not all inside the body. Every
// variable and array element reads several, so it is inline and loads the field in place; the cursor
// is always the run's own, never null.
inline bool ReadUint32(BodyCursor* cursor, uint32_t* value) {
    constexpr ptrdiff_t kFieldSize = 4;
    if (cursor->end - cursor->position < kFieldSize) return false;
    *value = LoadLittleEndian32(cursor->position);
    cursor->position += kFieldSize;
    return true;
}

// Reads one length-prefixed text into destination (kTextCapacity bytes): -1 on failure, otherwise the
// number of bytes kept before the terminator, which stops at the first zero byte and at 1023 bytes.
// A successful read consumes the whole stored text, however much of it is kept.
int32_t ReadString(BodyCursor* cursor, char* destination);
