#include "debug_text.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>

#include "unicode_tables.hpp"
#include "utf8.hpp"

namespace vesk::models::debug_text {

namespace {

bool is_non_printable(char32_t code_point) {
    using unicode_tables::CodePointRange;
    const auto* const begin = std::begin(unicode_tables::non_printable);
    const auto* const end = std::end(unicode_tables::non_printable);
    // The first range starting after the code point; the one before it is the only candidate.
    const auto* const after = std::upper_bound(
        begin, end, code_point,
        [](char32_t value, const CodePointRange& range) { return value < range.first; });
    return after != begin && code_point <= std::prev(after)->last;
}

void append_hex(std::string& out, std::uint32_t value) {
    char digits[8];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, 16);
    out.append(digits, result.ptr);
}

void append_code_point_escape(std::string& out, char32_t code_point) {
    out.append("\\u{");
    append_hex(out, code_point);
    out.push_back('}');
}

// The escape of an ASCII character that cannot stand as it is, or nothing.
std::string_view ascii_escape(char32_t code_point) {
    switch (code_point) {
        case '\t': return "\\t";
        case '\r': return "\\r";
        case '\n': return "\\n";
        case '\0': return "\\0";
        case '"': return "\\\"";
        case '\\': return "\\\\";
        default: return {};
    }
}

}  // namespace

void append_debug_quoted(std::string& out, std::string_view utf8) {
    out.push_back('"');
    std::size_t index = 0;
    std::size_t unwritten = 0;  // start of the bytes that are copied as they are
    while (index < utf8.size()) {
        const utf8::Sequence sequence = utf8::decode(utf8.substr(index));
        const char32_t code_point = sequence.code_point;
        const bool plain = sequence.valid && ascii_escape(code_point).empty() &&
                           !is_non_printable(code_point);
        if (plain) {
            index += sequence.length;
            continue;
        }
        out.append(utf8.substr(unwritten, index - unwritten));
        if (!sequence.valid) {
            out.append("\\x");  // an invalid byte is never ASCII, so always two digits
            append_hex(out, static_cast<unsigned char>(utf8[index]));
            index += 1;
        } else if (const std::string_view escape = ascii_escape(code_point); !escape.empty()) {
            out.append(escape);
            index += 1;
        } else {
            append_code_point_escape(out, code_point);
            index += sequence.length;
        }
        unwritten = index;
    }
    out.append(utf8.substr(unwritten));
    out.push_back('"');
}

}  // namespace vesk::models::debug_text
