#include "text_case.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ranges>

#include "models/utf8.hpp"
#include "text_case_tables.hpp"

namespace vesk::text_case {

namespace {

namespace utf8 = models::utf8;
using tables::CaseClass;

constexpr char32_t capital_sigma = U'\u03A3';
constexpr std::string_view small_sigma = "\u03C3";
constexpr std::string_view final_small_sigma = "\u03C2";

// The entry of a sorted, disjoint range table whose `first` is the greatest not above
// `code_point`, or nullptr; the caller checks `last`.
template <class Range, std::size_t size>
const Range* range_at_or_before(const Range (&ranges)[size], char32_t code_point) {
    const Range* after = std::ranges::upper_bound(ranges, code_point, {}, &Range::first);
    return after == std::begin(ranges) ? nullptr : after - 1;
}

CaseClass case_class(char32_t code_point) {
    const auto* range = range_at_or_before(tables::case_class_ranges, code_point);
    return range != nullptr && code_point <= range->last ? range->case_class : CaseClass::uncased;
}

void append_lowercase_code_point(std::string& out, char32_t code_point) {
    const auto* run = range_at_or_before(tables::lowercase_runs, code_point);
    if (run != nullptr && code_point <= run->last && (code_point - run->first) % run->stride == 0) {
        utf8::append(out, static_cast<char32_t>(static_cast<std::int32_t>(code_point) + run->delta));
        return;
    }
    const auto* expansion = std::ranges::lower_bound(tables::lowercase_expansions, code_point, {},
                                                     &tables::LowercaseExpansion::code_point);
    if (expansion != std::end(tables::lowercase_expansions) && expansion->code_point == code_point) {
        out.append(expansion->utf8);
        return;
    }
    utf8::append(out, code_point);
}

// Whether the first character of `text` that is not case-ignorable exists and is cased.
bool next_is_cased(std::string_view text) {
    while (!text.empty()) {
        const utf8::Sequence sequence = utf8::decode(text);
        if (!sequence.valid) return false;
        const CaseClass found = case_class(sequence.code_point);
        if (found != CaseClass::case_ignorable) return found == CaseClass::cased;
        text.remove_prefix(sequence.length);
    }
    return false;
}

// Any text: every character by the tables, capital sigma by the final-sigma rule.
void append_mixed_lowercase(std::string& out, std::string_view text) {
    // Whether the last character so far that is not case-ignorable is cased; a byte sequence
    // that is not valid UTF-8 counts as an uncased character, like U+FFFD would.
    bool after_cased = false;
    while (!text.empty()) {
        const utf8::Sequence sequence = utf8::decode(text);
        if (!sequence.valid) {
            out.append(text.substr(0, sequence.length));
            text.remove_prefix(sequence.length);
            after_cased = false;
            continue;
        }
        const char32_t code_point = sequence.code_point;
        text.remove_prefix(sequence.length);
        if (code_point == capital_sigma) {
            out.append(after_cased && !next_is_cased(text) ? final_small_sigma : small_sigma);
        } else {
            append_lowercase_code_point(out, code_point);
        }
        const CaseClass found = case_class(code_point);
        if (found != CaseClass::case_ignorable) after_cased = found == CaseClass::cased;
    }
}

}  // namespace

void append_lowercase(std::string& out, std::string_view text) {
    // Codes are nearly always ASCII: lower-case them in one pass over the copied bytes, without
    // decoding or table lookups, and start over by the tables at the first byte that is not.
    const std::size_t start = out.size();
    out.append(text);
    for (std::size_t i = start; i < out.size(); ++i) {
        const auto byte = static_cast<unsigned char>(out[i]);
        if (byte >= 0x80) {
            out.resize(start);
            append_mixed_lowercase(out, text);
            return;
        }
        if (byte >= 'A' && byte <= 'Z') out[i] = static_cast<char>(byte - 'A' + 'a');
    }
}

}  // namespace vesk::text_case
