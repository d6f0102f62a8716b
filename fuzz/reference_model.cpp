// SPDX-License-Identifier: GPL-2.0-or-later
// Written from the format's rules, not from the core: every field is read at an index that is checked
// against the size, and a field that is not wholly there is the read error.
#include "reference_model.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <lzo/lzo1x.h>

#include "app/messages.h"
#include "app/unicode.h"

namespace reference {
namespace {

constexpr size_t kShownUnits = 32767;

struct Reader {
    const uint8_t* bytes;
    size_t size;
    size_t at;

    bool Field(uint32_t* value) {
        if (size - at < 4) return false;
        *value = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
        at += 4;
        return true;
    }

    // A length-prefixed text: what is kept ends at the first zero byte and after 1023 bytes.
    bool Text(std::string* kept) {
        uint32_t length;
        if (!Field(&length) || length >= 0xFFFF || length > size - at) return false;
        const char* start = reinterpret_cast<const char*>(bytes + at);
        size_t keep = 0;
        while (keep < length && keep < 1023 && start[keep] != '\0') ++keep;
        kept->assign(start, keep);
        at += length;
        return true;
    }
};

enum class End { Next, Stop, Error };

struct Listing {
    std::u16string text;

    bool Full() const { return text.size() >= kShownUnits; }
    void Add(const char* ascii) {
        while (*ascii != '\0') text.push_back(static_cast<char16_t>(*ascii++));
    }
    void AddUtf8(const std::string& utf8) {
        std::vector<char16_t> wide(utf8.size() + 1);
        text.append(wide.data(), ConvertUtf8ToUtf16(utf8.c_str(), wide.data()));
    }
    void AddNumber(const char* format, double value) {
        char formatted[64];
        std::snprintf(formatted, sizeof formatted, format, value);
        Add(formatted);
    }
    void AddNumber(const char* format, int32_t value) {
        char formatted[64];
        std::snprintf(formatted, sizeof formatted, format, value);
        Add(formatted);
    }
};

float AsReal(uint32_t bits) {
    float real;
    std::memcpy(&real, &bits, sizeof real);
    return real;
}

// One value of a type that has a text form; Stop for the others.
End Value(Reader& in, Listing& out, uint32_t type) {
    uint32_t field;
    std::string text;
    switch (type) {
        case 1:
            if (!in.Field(&field)) return End::Error;
            out.Add(field != 0 ? "True" : "False");
            return End::Next;
        case 2:
            if (!in.Field(&field)) return End::Error;
            out.AddNumber("%d", static_cast<int32_t>(field));
            return End::Next;
        case 3:
            if (!in.Field(&field)) return End::Error;
            out.AddNumber("%g", static_cast<double>(AsReal(field)));
            return End::Next;
        case 5:
            if (!in.Text(&text)) return End::Error;
            out.Add("\"");
            out.AddUtf8(text);
            out.Add("\"");
            return End::Next;
        case 9: case 10: case 11: case 14: {
            const int components = type == 9 || type == 14 ? 2 : 3;
            const bool real = type == 9 || type == 10;
            out.Add("<");
            for (int i = 0; i < components; ++i) {
                if (!in.Field(&field)) return End::Error;
                if (real) out.AddNumber(i == 0 ? "%g" : ", %g", static_cast<double>(AsReal(field)));
                else out.AddNumber(i == 0 ? "%d" : ", %d", static_cast<int32_t>(field));
            }
            out.Add(">");
            return End::Next;
        }
        default:
            out.Add("...");
            return End::Stop;
    }
}

End Array(Reader& in, Listing& out) {
    uint32_t keyType, valueType, count;
    if (!in.Field(&keyType) || !in.Field(&valueType)) return End::Error;
    if (valueType == 7) {
        out.Add("...");
        return End::Stop;
    }
    if (!in.Field(&count) || count > 0x10000000) return End::Error;
    out.Add("[");
    for (uint32_t i = 0; i < count; ++i) {
        // Void keys and Void values read nothing: once the shown part is full, more commas change nothing.
        if (keyType == 0 && valueType == 0 && out.Full()) break;
        if (i > 0) out.Add(", ");
        if (keyType != 0) {
            if (keyType != 1 && keyType != 2 && keyType != 3 && keyType != 5) {
                out.Add("...");
                return End::Stop;
            }
            const End key = Value(in, out, keyType);
            if (key != End::Next) return key;
            out.Add("=>");
        }
        if (valueType != 0) {
            const End value = Value(in, out, valueType);
            if (value != End::Next) return value;
        }
    }
    out.Add("]");
    return End::Next;
}

End Variable(Reader& in, Listing& out) {
    static const char* const kWords[] = {"Void", "Boolean", "Integer", "Real", "Class", "Text", "Enum", "Array",
                                         "ParamArray", "Vec2", "Vec3", "Int3", "Iso4", "Ident", "Int2"};
    out.Add("\r\n");
    std::string name;
    if (!in.Text(&name)) return End::Error;
    if (!name.empty()) {
        out.AddUtf8(name);
        out.Add(" ");
    }
    uint32_t type;
    if (!in.Field(&type)) return End::Error;
    if (type > 14) {
        out.Add("(Unknown)...");
        return End::Stop;
    }
    out.Add("(");
    out.Add(kWords[type]);
    switch (type) {
        case 0:
            out.Add(")");
            return End::Next;
        case 4: case 6: case 8: case 12: case 13:
            out.Add(")...");
            return End::Stop;
        case 7:
            out.Add("): ");
            return Array(in, out);
        default:
            out.Add("): ");
            return Value(in, out, type);
    }
}

Outcome Failed(const char* message, int notices = 0) {
    Outcome outcome;
    outcome.failure = message;
    outcome.notices = notices;
    return outcome;
}

}  // namespace

Outcome ListBody(const uint8_t* body, size_t size) {
    static const uint8_t kIdentifier[4] = {0x44, 0x30, 0x04, 0x03};
    size_t at = 0;
    while (at + 4 <= size && std::memcmp(body + at, kIdentifier, 4) != 0) ++at;
    if (at + 4 > size) return Failed(kMessageChunkNotFound);
    if (size - at < 8 || std::memcmp(body + at + 4, "PIKS", 4) != 0) return Failed(kMessageChunkNotFound);

    Reader in{body, size, at + 8};
    uint32_t chunkSize, skipped, classId, version, count;
    if (!in.Field(&chunkSize) || chunkSize == 0 || chunkSize > size) return Failed(kMessageReadError);
    if (!in.Field(&skipped) || !in.Field(&skipped) || !in.Field(&classId)) return Failed(kMessageReadError);
    const int notices = classId != 0x11002000 ? 1 : 0;
    if (!in.Field(&version)) return Failed(kMessageReadError, notices);
    if (version != 2) return Failed(kMessageUnsupportedVersion, notices);
    if (!in.Field(&count)) return Failed(kMessageReadError, notices);
    if (count == 0) return Failed(kMessageNoMetadata, notices);
    if (count > 0x10000000) return Failed(kMessageReadError, notices);

    Listing out;
    char first[40];
    std::snprintf(first, sizeof first, "Number of variables: %u", count);
    out.Add(first);
    for (uint32_t i = 0; i < count; ++i) {
        const End end = Variable(in, out);
        if (end == End::Error) return Failed(kMessageReadError, notices);
        if (end == End::Stop) break;
    }
    Outcome outcome;
    outcome.notices = notices;
    outcome.listing = out.text.substr(0, kShownUnits);
    return outcome;
}

Outcome ListMapFile(const uint8_t* file, size_t size, uint64_t maxBodySize) {
    if (size < 3 || std::memcmp(file, "GBX", 3) != 0) return Failed(kMessageInvalidFormat);
    if (size < 9) return Failed(kMessageReadError);
    if (file[7] == 'U') return Failed(kMessageUncompressed);
    Reader in{file, size, 9};
    uint32_t classId, skip, uncompressedSize, compressedSize;
    if (!in.Field(&classId)) return Failed(kMessageReadError);
    if (classId != 0x03043000 && classId != 0x24003000 && classId != 0x21080000) {
        return Failed(kMessageInvalidFormat);
    }
    if (!in.Field(&skip)) return Failed(kMessageReadError);
    const uint64_t sizes = 17ull + skip + 8;  // where the two body sizes stand
    if (sizes > size) return Failed(kMessageReadError);
    in.at = static_cast<size_t>(sizes);
    if (!in.Field(&uncompressedSize) || !in.Field(&compressedSize)) return Failed(kMessageReadError);
    if (compressedSize > size) return Failed(kMessageReadError);
    if (compressedSize == 0 || compressedSize > maxBodySize) return Failed(kMessageOutOfMemory);
    if (uncompressedSize == 0 || uncompressedSize > maxBodySize) return Failed(kMessageOutOfMemory);
    if (compressedSize > size - in.at) return Failed(kMessageReadError);

    std::vector<uint8_t> body(uncompressedSize);
    lzo_uint produced = uncompressedSize;
    if (lzo_init() != LZO_E_OK ||
        lzo1x_decompress_safe(file + in.at, compressedSize, body.data(), &produced, nullptr) != LZO_E_OK ||
        produced != uncompressedSize) {
        return Failed(kMessageDecompress);
    }
    return ListBody(body.data(), body.size());
}

}  // namespace reference
