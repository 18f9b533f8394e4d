// Which texts can be checked as XML: the feeds copy texts into documents unescaped, so a document
// is well-formed only when every text that reaches it is character data without markup.
#pragma once

#include <cstddef>
#include <string_view>

namespace vesk::fuzz {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Texts from Python
// always are; only such input is held to the value properties.
inline bool is_valid_utf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (byte < 0x80) {
            ++i;
            continue;
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            if (byte == 0xE0) low = 0xA0;
            if (byte == 0xED) high = 0x9F;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            if (byte == 0xF0) low = 0x90;
            if (byte == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        const auto second = static_cast<unsigned char>(text[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < 0x80 || next > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

// No markup character (<, >, &) and no control character that XML 1.0 refuses (all below U+0020
// but tab, line feed and carriage return).
inline bool is_plain_character_data(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '<' || c == '>' || c == '&') return false;
        if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return true;
}

}  // namespace vesk::fuzz
