// Texts of numbers, appended to a caller's buffer: item form, diagnostic form and the forms the
// JSON reader shows in its error messages.
//
// All forms are locale-independent and built on std::to_chars; none allocates beyond growing `out`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk::models::number_text {

// Decimal digits, no sign, no leading zeros: "0" to "255".
void append_u8(std::string& out, std::uint8_t value);
// Decimal digits: "18446744073709551615".
void append_u64(std::string& out, std::uint64_t value);
// Decimal digits with "-" for negative values: "-9223372036854775808".
void append_i64(std::string& out, std::int64_t value);

// Item form of a 32-bit float: the shortest digits that read back to `value`, in plain positional
// notation (never an exponent), padded with zeros as the magnitude needs, no fractional part when
// integral: "4", "4.25", "0.0000001", "100000000000000000000", "-0", "NaN", "inf", "-inf".
void append_f32_item(std::string& out, float value);
// The longest item form of a 32-bit float: "-0." with 44 zeros and 9 digits (a subnormal).
inline constexpr std::size_t f32_item_max_length = 56;

// Diagnostic form of a 32-bit float: the same shortest digits with at least one digit after the
// point ("4.0"), in exponent notation when the magnitude is at least 1e16 or non-zero and below
// 1e-4 ("1e16", "1.5e-5"); "NaN", "inf" and "-inf" as in the item form.
void append_f32_diagnostic(std::string& out, float value);

// A finite double as the shortest digits that read back to it, in plain positional notation
// (never an exponent) with at least one digit after the point: "2.0", "-0.0", "0.1".
void append_f64_with_point(std::string& out, double value);

}  // namespace vesk::models::number_text
