// UTF-8 decoding and validation by the well-formed byte sequences of Unicode (no overlong forms,
// no surrogates, nothing above U+10FFFF).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vesk::models::utf8 {

// The sequence at the front of a text.
struct Sequence {
    char32_t code_point;  // meaningful only when `valid`
    // Bytes of the sequence when valid; else the length of its longest well-formed prefix (cut
    // short by a wrong byte or by the end of the text), at least 1.
    std::size_t length;
    bool valid;
};

// Decodes the sequence at the front of `text`, which must not be empty.
Sequence decode(std::string_view text);

// The number of ASCII bytes `text` starts with; scans 16 bytes at a time (8 without SSE2).
std::size_t ascii_prefix_length(std::string_view text);

// Where a text stops being valid UTF-8.
struct Invalid {
    std::size_t index;  // byte offset of the first invalid sequence
    Sequence sequence;
};

// The first invalid sequence of `text`, or nothing when the whole text is valid.
std::optional<Invalid> first_invalid(std::string_view text);

// Appends the UTF-8 bytes of a code point (U+0000 to U+10FFFF, surrogates excluded).
void append(std::string& out, char32_t code_point);

}  // namespace vesk::models::utf8
