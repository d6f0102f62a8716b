// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/unicode.h"

#include <cstdint>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The range the second byte of a sequence must lie in, by its lead byte (the well-formed table of
// Unicode, chapter 3); later continuation bytes are always 0x80 to 0xBF.
struct LeadRule {
    int continuations;
    uint8_t secondLow;
    uint8_t secondHigh;
};

LeadRule RuleForLead(uint8_t lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {1, 0x80, 0xBF};
    if (lead == 0xE0) return {2, 0xA0, 0xBF};
    if (lead == 0xED) return {2, 0x80, 0x9F};  // no surrogates
    if (lead >= 0xE1 && lead <= 0xEF) return {2, 0x80, 0xBF};
    if (lead == 0xF0) return {3, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {3, 0x80, 0xBF};
    if (lead == 0xF4) return {3, 0x80, 0x8F};  // nothing above U+10FFFF
    return {-1, 0, 0};  // 0x80 to 0xC1 and 0xF5 to 0xFF never lead
}

size_t AppendCodePoint(uint32_t codePoint, char16_t* wide) {
    if (codePoint < 0x10000) {
        wide[0] = static_cast<char16_t>(codePoint);
        return 1;
    }
    codePoint -= 0x10000;
    wide[0] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
    wide[1] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    return 2;
}

size_t AppendUtf8(uint32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | codePoint >> 6);
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | codePoint >> 12);
        out[1] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | codePoint >> 18);
    out[1] = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 4;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

size_t ConvertUtf8ToUtf16(const char* text, char16_t* wide) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    size_t written = 0;
    while (*bytes != 0) {
        const uint8_t lead = *bytes++;
        if (lead < 0x80) {
            wide[written++] = lead;
            continue;
        }
        const LeadRule rule = RuleForLead(lead);
        if (rule.continuations < 0) {
            wide[written++] = kReplacement;
            continue;
        }
        uint32_t codePoint = lead & (0x3F >> rule.continuations);
        int taken = 0;
        for (; taken < rule.continuations; ++taken) {
            const uint8_t low = taken == 0 ? rule.secondLow : 0x80;
            const uint8_t high = taken == 0 ? rule.secondHigh : 0xBF;
            if (*bytes < low || *bytes > high) break;  // the terminator fails this test too
            codePoint = codePoint << 6 | (*bytes++ & 0x3F);
        }
        // A maximal subpart that is not a whole sequence gives one replacement; the byte that broke it
        // starts the next sequence.
        written += taken == rule.continuations ? AppendCodePoint(codePoint, wide + written)
                                               : AppendCodePoint(kReplacement, wide + written);
    }
    wide[written] = u'\0';
    return written;
}

size_t ConvertListingToUtf8(const char16_t* units, size_t count, char* out) {
    size_t written = 0;
    for (size_t i = 0; i < count; ++i) {
        const char16_t unit = units[i];
        uint32_t codePoint = unit;
        if (unit == u'\r' && i + 1 < count && units[i + 1] == u'\n') {
            continue;  // the "\n" that follows is written on its own
        }
        if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
            codePoint = 0x10000 + ((unit - 0xD800u) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            codePoint = kReplacement;
        }
        written += AppendUtf8(codePoint, out + written);
    }
    out[written++] = '\n';
    return written;
}
