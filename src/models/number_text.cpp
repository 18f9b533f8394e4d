#include "number_text.hpp"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace vesk::models::number_text {

namespace {

// The shortest decimal digits that read back to a finite value: |value| = d1.d2...dn * 10^exponent.
struct ShortestDigits {
    bool negative = false;
    char digits[24] = {};  // at most 17 for a double, 9 for a float
    int count = 0;
    int exponent = 0;

    std::string_view view() const { return {digits, static_cast<std::size_t>(count)}; }
};

// std::to_chars in scientific form without a precision gives the shortest round-trip digits (the
// nearest to the exact value when several qualify), as "[-]d[.ddd]e(+|-)xx".
template <class Float>
ShortestDigits shortest_digits(Float value) {
    char text[48];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    ShortestDigits shortest;
    const char* at = text;
    if (*at == '-') {
        shortest.negative = true;
        ++at;
    }
    for (; *at != 'e'; ++at) {
        if (*at != '.') shortest.digits[shortest.count++] = *at;
    }
    ++at;
    if (*at == '+') ++at;
    std::from_chars(at, result.ptr, shortest.exponent);
    return shortest;
}

// Plain positional notation; an integral value gets ".0" only when `always_point` is set.
void append_positional(std::string& out, const ShortestDigits& shortest, bool always_point) {
    if (shortest.negative) out.push_back('-');
    const std::string_view digits = shortest.view();
    const int integer_digits = shortest.exponent + 1;
    if (integer_digits <= 0) {
        out.append("0.");
        out.append(static_cast<std::size_t>(-integer_digits), '0');
        out.append(digits);
    } else if (integer_digits >= shortest.count) {
        out.append(digits);
        out.append(static_cast<std::size_t>(integer_digits - shortest.count), '0');
        if (always_point) out.append(".0");
    } else {
        const auto split = static_cast<std::size_t>(integer_digits);
        out.append(digits.substr(0, split));
        out.push_back('.');
        out.append(digits.substr(split));
    }
}

// "d[.ddd]e<exponent>", lowercase e and no plus sign: "1e16", "1.5e-5".
void append_exponent_form(std::string& out, const ShortestDigits& shortest) {
    if (shortest.negative) out.push_back('-');
    const std::string_view digits = shortest.view();
    out.push_back(digits.front());
    if (digits.size() > 1) {
        out.push_back('.');
        out.append(digits.substr(1));
    }
    out.push_back('e');
    append_i64(out, shortest.exponent);
}

// "NaN" (never signed), "inf" or "-inf"; false for a finite value, which is left unwritten.
bool append_non_finite(std::string& out, float value) {
    if (std::isnan(value)) {
        out.append("NaN");
        return true;
    }
    if (std::isinf(value)) {
        out.append(value < 0 ? "-inf" : "inf");
        return true;
    }
    return false;
}

template <class Integer>
void append_integer(std::string& out, Integer value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

}  // namespace

void append_u8(std::string& out, std::uint8_t value) { append_integer(out, value); }

void append_u64(std::string& out, std::uint64_t value) { append_integer(out, value); }

void append_i64(std::string& out, std::int64_t value) { append_integer(out, value); }

void append_f32_item(std::string& out, float value) {
    if (append_non_finite(out, value)) return;
    append_positional(out, shortest_digits(value), false);
}

void append_f32_diagnostic(std::string& out, float value) {
    if (append_non_finite(out, value)) return;
    const ShortestDigits shortest = shortest_digits(value);
    // Decided on the shortest digits, which lie on the same side of 1e16 and of 1e-4 as the value
    // itself; zero has the exponent 0.
    const bool exponent_form = shortest.exponent >= 16 || shortest.exponent < -4;
    if (exponent_form) {
        append_exponent_form(out, shortest);
    } else {
        append_positional(out, shortest, true);
    }
}

void append_f64_with_point(std::string& out, double value) {
    append_positional(out, shortest_digits(value), true);
}

}  // namespace vesk::models::number_text
