// The position property of every reading error: the message ends with " at line L column C", and
// that position lies within the text that was read.
#pragma once

#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>

#include "require.hpp"

namespace vesk::fuzz {

namespace detail {

// Reads the decimal number that ends `text` and removes it; false when there is none.
inline bool take_trailing_number(std::string_view& text, std::size_t& number) {
    std::size_t digits = 0;
    while (digits < text.size() && text[text.size() - 1 - digits] >= '0' &&
           text[text.size() - 1 - digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 18) return false;
    const char* first = text.data() + text.size() - digits;
    std::from_chars(first, first + digits, number);
    text.remove_suffix(digits);
    return true;
}

inline bool take_suffix(std::string_view& text, std::string_view suffix) {
    if (!text.ends_with(suffix)) return false;
    text.remove_suffix(suffix.size());
    return true;
}

}  // namespace detail

// Line L is 1-based and at most the number of lines of `input` (line feeds + 1). Column C counts
// bytes from the start of line L: 0 before its first byte, at most the bytes of the line without
// the line feed that ends it (an error found on a line feed is placed at column 0 of the next line).
inline void require_position_within(std::string_view message, std::string_view input) {
    std::string_view rest = message;
    std::size_t line = 0;
    std::size_t column = 0;
    const bool has_suffix = detail::take_trailing_number(rest, column) &&
                            detail::take_suffix(rest, " column ") &&
                            detail::take_trailing_number(rest, line) &&
                            detail::take_suffix(rest, " at line ") && !rest.empty();
    require(has_suffix, "a reading error ends with \" at line L column C\" after its reason", message);

    require(line >= 1, "the error's line counts from 1", message);

    std::size_t line_start = 0;
    for (std::size_t current = 1; current < line; ++current) {
        const std::size_t feed = input.find('\n', line_start);
        require(feed != std::string_view::npos, "the error's line exists in the input", message);
        line_start = feed + 1;
    }
    const std::size_t feed = input.find('\n', line_start);
    const std::size_t line_bytes =
        feed == std::string_view::npos ? input.size() - line_start : feed - line_start;
    require(column <= line_bytes, "the error's column lies within its line",
            std::string(message) + " (line holds " + std::to_string(line_bytes) + " bytes)");
}

}  // namespace vesk::fuzz
