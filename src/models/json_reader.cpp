#include "json_reader.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "debug_text.hpp"
#include "number_text.hpp"
#include "utf8.hpp"

namespace vesk::models::json_reader {

namespace {

constexpr std::size_t text_chunk_size = 64 * 1024;

std::string_view grammar_reason(Grammar reason) {
    switch (reason) {
        case Grammar::EofWhileParsingList: return "EOF while parsing a list";
        case Grammar::EofWhileParsingObject: return "EOF while parsing an object";
        case Grammar::EofWhileParsingString: return "EOF while parsing a string";
        case Grammar::EofWhileParsingValue: return "EOF while parsing a value";
        case Grammar::ExpectedColon: return "expected `:`";
        case Grammar::ExpectedListCommaOrEnd: return "expected `,` or `]`";
        case Grammar::ExpectedObjectCommaOrEnd: return "expected `,` or `}`";
        case Grammar::ExpectedSomeIdent: return "expected ident";
        case Grammar::ExpectedSomeValue: return "expected value";
        case Grammar::InvalidEscape: return "invalid escape";
        case Grammar::InvalidNumber: return "invalid number";
        case Grammar::NumberOutOfRange: return "number out of range";
        case Grammar::ControlCharacterWhileParsingString:
            return "control character (\\u0000-\\u001F) found while parsing a string";
        case Grammar::KeyMustBeAString: return "key must be a string";
        case Grammar::LoneLeadingSurrogateInHexEscape: return "lone leading surrogate in hex escape";
        case Grammar::TrailingComma: return "trailing comma";
        case Grammar::TrailingCharacters: return "trailing characters";
        case Grammar::UnexpectedEndOfHexEscape: return "unexpected end of hex escape";
        case Grammar::RecursionLimitExceeded: return "recursion limit exceeded";
    }
    return "invalid JSON";
}

ErrorCategory grammar_category(Grammar reason) {
    switch (reason) {
        case Grammar::EofWhileParsingList:
        case Grammar::EofWhileParsingObject:
        case Grammar::EofWhileParsingString:
        case Grammar::EofWhileParsingValue: return ErrorCategory::EndOfInput;
        default: return ErrorCategory::Syntax;
    }
}

bool is_digit(int c) { return c >= '0' && c <= '9'; }

int hex_value(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Whether a decimal number that std::from_chars found out of range is too large (rather than
// too small): the decimal exponent of its first significant digit is at least 0.
bool overflows(std::string_view number) {
    std::size_t i = number.front() == '-' ? 1 : 0;
    std::int64_t leading_position = 0;  // decimal exponent of the first significant digit
    bool found = false;
    std::int64_t integer_digits = 0;
    for (; i < number.size() && is_digit(number[i]); ++i) {
        if (!found && number[i] != '0') {
            found = true;
            integer_digits = 0;
        }
        if (found) ++integer_digits;
    }
    if (found) {
        leading_position = integer_digits - 1;
    }
    if (i < number.size() && number[i] == '.') {
        std::int64_t fraction_position = 0;
        for (++i; i < number.size() && is_digit(number[i]); ++i) {
            --fraction_position;
            if (!found && number[i] != '0') {
                found = true;
                leading_position = fraction_position;
            }
        }
    }
    std::int64_t exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        bool negative = false;
        if (number[i] == '+' || number[i] == '-') negative = number[i++] == '-';
        for (; i < number.size(); ++i) {
            exponent = std::min<std::int64_t>(exponent * 10 + (number[i] - '0'), 1'000'000'000'000);
        }
        if (negative) exponent = -exponent;
    }
    return leading_position + exponent >= 0;
}

}  // namespace

// --- TextStore -------------------------------------------------------------------------------

std::string_view TextStore::keep(std::string_view text) {
    if (text.empty()) return {};
    if (text.size() > left_) {
        if (text.size() >= text_chunk_size / 4) {
            // A large text gets a block of its own, so the current chunk stays in use.
            auto& block = chunks_.emplace_back(std::make_unique_for_overwrite<char[]>(text.size()));
            std::memcpy(block.get(), text.data(), text.size());
            return {block.get(), text.size()};
        }
        free_ = chunks_.emplace_back(std::make_unique_for_overwrite<char[]>(text_chunk_size)).get();
        left_ = text_chunk_size;
    }
    char* start = free_;
    std::memcpy(start, text.data(), text.size());
    free_ += text.size();
    left_ -= text.size();
    return {start, text.size()};
}

// --- errors ----------------------------------------------------------------------------------

bool Reader::error(Grammar reason) {
    error_ = {std::string(grammar_reason(reason)), grammar_category(reason), index_, true};
    return false;
}

bool Reader::peek_error(Grammar reason) {
    error_ = {std::string(grammar_reason(reason)), grammar_category(reason),
              std::min(text_.size(), index_ + 1), true};
    return false;
}

bool Reader::data_error(std::string reason) {
    error_ = {std::move(reason), ErrorCategory::Data, 0, false};
    return false;
}

void Reader::fix_position() {
    if (!error_.positioned) {
        error_.offset = index_;
        error_.positioned = true;
    }
}

ReadError Reader::take_error() const {
    const std::string_view before = text_.substr(0, error_.offset);
    const std::size_t last_line_feed = before.rfind('\n');
    const std::size_t start_of_line = last_line_feed == std::string_view::npos ? 0 : last_line_feed + 1;
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(
                                     before.begin(), before.begin() + static_cast<std::ptrdiff_t>(start_of_line), '\n'));
    std::string message = error_.reason;
    message += " at line ";
    message += std::to_string(line);
    message += " column ";
    message += std::to_string(error_.offset - start_of_line);
    return {std::move(message), error_.category};
}

// --- grammar ---------------------------------------------------------------------------------

bool Reader::end() {
    if (skip_whitespace() >= 0) return peek_error(Grammar::TrailingCharacters);
    return true;
}

bool Reader::parse_ident(std::string_view rest) {
    for (const char expected : rest) {
        if (index_ >= text_.size()) return error(Grammar::EofWhileParsingValue);
        const char c = text_[index_++];
        if (c != expected) return error(Grammar::ExpectedSomeIdent);
    }
    return true;
}

bool Reader::colon_error() {
    if (peek() >= 0) return peek_error(Grammar::ExpectedColon);
    return peek_error(Grammar::EofWhileParsingObject);
}

bool Reader::enter_nesting() {
    if (--remaining_depth_ == 0) return peek_error(Grammar::RecursionLimitExceeded);
    return true;
}

bool Reader::next_element(bool& first, bool& has_element) {
    int c = skip_whitespace();
    if (c == ']') {
        has_element = false;
        return true;
    }
    if (c == ',' && !first) {
        eat();
        c = skip_whitespace();
    } else if (c >= 0) {
        if (!first) return peek_error(Grammar::ExpectedListCommaOrEnd);
        first = false;
    } else {
        return peek_error(Grammar::EofWhileParsingList);
    }
    if (c == ']') return peek_error(Grammar::TrailingComma);
    if (c < 0) return peek_error(Grammar::EofWhileParsingValue);
    has_element = true;
    return true;
}

bool Reader::end_seq() {
    const int c = skip_whitespace();
    if (c == ']') {
        eat();
        return true;
    }
    if (c == ',') {
        eat();
        if (skip_whitespace() == ']') return peek_error(Grammar::TrailingComma);
        return peek_error(Grammar::TrailingCharacters);
    }
    if (c >= 0) return peek_error(Grammar::TrailingCharacters);
    return peek_error(Grammar::EofWhileParsingList);
}

// A data error raised inside an array gets its position after the array's end has been looked
// for: past a closing bracket, or past a comma and the blanks after it.
void Reader::end_seq_after_error() {
    if (error_has_position()) return;
    const int c = skip_whitespace();
    if (c == ']') {
        eat();
    } else if (c == ',') {
        eat();
        skip_whitespace();
    }
    fix_position();
}

// A data error raised inside an object gets its position after the blanks that follow, and past
// a closing brace that follows them.
void Reader::end_map_after_error() {
    if (error_has_position()) return;
    if (skip_whitespace() == '}') eat();
    fix_position();
}

// --- strings ---------------------------------------------------------------------------------

// The rest of a string from the first byte that is not plain: escapes are decoded into scratch_
// and the result kept in the text store.
bool Reader::parse_escaped_string(std::size_t start, std::string_view& out) {
    scratch_.assign(text_.substr(start, index_ - start));
    while (true) {
        if (index_ == text_.size()) return error(Grammar::EofWhileParsingString);
        const char c = text_[index_++];
        if (c == '"') {
            out = texts_.keep(scratch_);
            return true;
        }
        if (c != '\\') return error(Grammar::ControlCharacterWhileParsingString);
        if (!parse_escape(scratch_)) return false;
        const std::size_t run = index_;
        index_ = json_scan::plain_run_end(text_, index_);
        scratch_.append(text_.substr(run, index_ - run));
    }
}

bool Reader::parse_escape(std::string& decoded) {
    if (index_ >= text_.size()) return error(Grammar::EofWhileParsingString);
    const char c = text_[index_++];
    switch (c) {
        case '"': decoded.push_back('"'); return true;
        case '\\': decoded.push_back('\\'); return true;
        case '/': decoded.push_back('/'); return true;
        case 'b': decoded.push_back('\b'); return true;
        case 'f': decoded.push_back('\f'); return true;
        case 'n': decoded.push_back('\n'); return true;
        case 'r': decoded.push_back('\r'); return true;
        case 't': decoded.push_back('\t'); return true;
        case 'u': return parse_unicode_escape(decoded);
        default: return error(Grammar::InvalidEscape);
    }
}

bool Reader::decode_hex_escape(std::uint16_t& out) {
    if (text_.size() - index_ < 4) {
        index_ = text_.size();
        return error(Grammar::EofWhileParsingString);
    }
    std::uint32_t value = 0;
    bool valid = true;
    for (int i = 0; i < 4; ++i) {
        const int digit = hex_value(static_cast<unsigned char>(text_[index_ + i]));
        valid = valid && digit >= 0;
        value = (value << 4) | static_cast<std::uint32_t>(digit & 0xF);
    }
    index_ += 4;
    if (!valid) return error(Grammar::InvalidEscape);
    out = static_cast<std::uint16_t>(value);
    return true;
}

bool Reader::parse_unicode_escape(std::string& decoded) {
    std::uint16_t first = 0;
    if (!decode_hex_escape(first)) return false;
    if (first >= 0xDC00 && first <= 0xDFFF) return error(Grammar::LoneLeadingSurrogateInHexEscape);
    if (first < 0xD800 || first > 0xDBFF) {
        utf8::append(decoded, first);
        return true;
    }
    // A leading surrogate must be followed by the escape of a trailing one.
    for (const char expected : {'\\', 'u'}) {
        if (index_ >= text_.size()) return error(Grammar::EofWhileParsingString);
        if (text_[index_++] != expected) return error(Grammar::UnexpectedEndOfHexEscape);
    }
    std::uint16_t second = 0;
    if (!decode_hex_escape(second)) return false;
    if (second < 0xDC00 || second > 0xDFFF) return error(Grammar::LoneLeadingSurrogateInHexEscape);
    utf8::append(decoded, 0x10000 + ((static_cast<char32_t>(first - 0xD800) << 10) |
                                   static_cast<char32_t>(second - 0xDC00)));
    return true;
}

// --- numbers ---------------------------------------------------------------------------------

bool Reader::parse_number(Number& out) {
    const std::size_t start = index_;
    bool positive = true;
    if (peek() == '-') {
        eat();
        positive = false;
    }
    return parse_integer(positive, start, out);
}

bool Reader::parse_integer(bool positive, std::size_t start, Number& out) {
    if (index_ >= text_.size()) return error(Grammar::EofWhileParsingValue);
    const int c = static_cast<unsigned char>(text_[index_++]);
    std::uint64_t significand = 0;
    if (c == '0') {
        if (is_digit(peek())) return peek_error(Grammar::InvalidNumber);
    } else if (c >= '1' && c <= '9') {
        significand = static_cast<std::uint64_t>(c - '0');
        while (is_digit(peek())) {
            const auto digit = static_cast<std::uint64_t>(peek() - '0');
            if (significand > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) {
                // Too large for 64 bits: the rest of the digits make it a float.
                while (is_digit(peek())) eat();
                return parse_float_tail(positive, start, significand, false, out);
            }
            significand = significand * 10 + digit;
            eat();
        }
    } else {
        return error(Grammar::InvalidNumber);
    }
    return parse_float_tail(positive, start, significand, true, out);
}

// After the integer digits: an optional fraction and exponent. Without either the number is an
// integer, exact when it fits 64 bits (the text -0 is a float).
bool Reader::parse_float_tail(bool positive, std::size_t start, std::uint64_t significand,
                              bool fits_64_bits, Number& out) {
    int c = peek();
    bool zero_significand = significand == 0;
    if (c == '.') {
        eat();
        if (!is_digit(peek())) {
            if (peek() < 0) return peek_error(Grammar::EofWhileParsingValue);
            return peek_error(Grammar::InvalidNumber);
        }
        while (is_digit(peek())) {
            zero_significand = zero_significand && peek() == '0';
            eat();
        }
        c = peek();
        if (c != 'e' && c != 'E') return finish_float(start, zero_significand, out);
    }
    if (c == 'e' || c == 'E') {
        eat();
        bool positive_exponent = true;
        if (peek() == '+' || peek() == '-') {
            positive_exponent = peek() == '+';
            eat();
        }
        if (index_ >= text_.size()) return error(Grammar::EofWhileParsingValue);
        if (!is_digit(text_[index_++])) return error(Grammar::InvalidNumber);
        std::int32_t exponent = text_[index_ - 1] - '0';
        while (is_digit(peek())) {
            const int digit = peek() - '0';
            eat();
            if (exponent > (std::numeric_limits<std::int32_t>::max() - digit) / 10) {
                // An exponent beyond 32 bits: infinity is refused, anything else is zero.
                if (!zero_significand && positive_exponent) return error(Grammar::NumberOutOfRange);
                while (is_digit(peek())) eat();
                out = {Number::Kind::Float, 0, 0, positive ? 0.0 : -0.0};
                return true;
            }
            exponent = exponent * 10 + digit;
        }
        return finish_float(start, zero_significand, out);
    }
    if (!fits_64_bits) return finish_float(start, false, out);
    if (positive) {
        out = {Number::Kind::Unsigned, significand, 0, 0.0};
    } else if (significand == 0) {
        out = {Number::Kind::Float, 0, 0, -0.0};
    } else if (significand <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1) {
        out = {Number::Kind::Signed, 0, static_cast<std::int64_t>(0 - significand), 0.0};
    } else {
        return finish_float(start, false, out);
    }
    return true;
}

bool Reader::finish_float(std::size_t start, bool zero_significand, Number& out) {
    const std::string_view number = text_.substr(start, index_ - start);
    const bool negative = number.front() == '-';
    double value = 0.0;
    if (!zero_significand) {
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
        (void)end;
        if (ec == std::errc::result_out_of_range) {
            if (overflows(number)) return error(Grammar::NumberOutOfRange);
            value = 0.0;
        }
    }
    if (negative && value == 0.0) value = -0.0;
    out = {Number::Kind::Float, 0, 0, value};
    return true;
}

void Reader::describe_number(const Number& number, std::string& out) const {
    switch (number.kind) {
        case Number::Kind::Unsigned:
            out += "integer `";
            out += std::to_string(number.u);
            out += '`';
            break;
        case Number::Kind::Signed:
            out += "integer `";
            out += std::to_string(number.i);
            out += '`';
            break;
        case Number::Kind::Float:
            out += "floating point `";
            number_text::append_f64_with_point(out, number.f);
            out += '`';
            break;
    }
}

// --- typed values ----------------------------------------------------------------------------

bool Reader::peek_invalid_type(std::string_view expected) {
    std::string found;
    const int c = peek();
    switch (c) {
        case 'n':
            eat();
            if (!parse_ident("ull")) return false;
            found = "null";
            break;
        case 't':
            eat();
            if (!parse_ident("rue")) return false;
            found = "boolean `true`";
            break;
        case 'f':
            eat();
            if (!parse_ident("alse")) return false;
            found = "boolean `false`";
            break;
        case '-':
        case '0': case '1': case '2': case '3': case '4':
        case '5': case '6': case '7': case '8': case '9': {
            Number number;
            if (!parse_number(number)) return false;
            describe_number(number, found);
            break;
        }
        case '"': {
            eat();
            std::string_view text;
            if (!parse_string(text)) return false;
            found = "string ";
            debug_text::append_debug_quoted(found, text);
            break;
        }
        case '[': found = "sequence"; break;
        case '{': found = "map"; break;
        default: return peek_error(Grammar::ExpectedSomeValue);
    }
    data_error("invalid type: " + found + ", expected " + std::string(expected));
    fix_position();
    return false;
}

bool Reader::not_a_string(int c) {
    if (c < 0) return peek_error(Grammar::EofWhileParsingValue);
    return peek_invalid_type("a string");
}

bool Reader::read_u8(std::uint8_t& out) {
    const int c = skip_whitespace();
    if (c < 0) return peek_error(Grammar::EofWhileParsingValue);
    if (c != '-' && !is_digit(c)) return peek_invalid_type("u8");
    Number number;
    if (!parse_number(number)) return false;
    if (number.kind == Number::Kind::Unsigned && number.u <= 255) {
        out = static_cast<std::uint8_t>(number.u);
        return true;
    }
    std::string found;
    describe_number(number, found);
    data_error((number.kind == Number::Kind::Float ? "invalid type: " : "invalid value: ") + found +
               ", expected u8");
    fix_position();
    return false;
}

bool Reader::read_f32(float& out) {
    const int c = skip_whitespace();
    if (c < 0) return peek_error(Grammar::EofWhileParsingValue);
    if (c != '-' && !is_digit(c)) return peek_invalid_type("f32");
    Number number;
    if (!parse_number(number)) return false;
    switch (number.kind) {
        case Number::Kind::Unsigned: out = static_cast<float>(static_cast<double>(number.u)); break;
        case Number::Kind::Signed: out = static_cast<float>(static_cast<double>(number.i)); break;
        case Number::Kind::Float: out = static_cast<float>(number.f); break;
    }
    return true;
}

// --- skipping --------------------------------------------------------------------------------

// Tests one value of any shape and depth for being well-formed and discards it. Iterative: the
// open arrays and objects are kept on a byte stack, so depth costs memory, never call stack.
bool Reader::skip_value() {
    skip_stack_.clear();
    int enclosing = 0;
    while (true) {
        int c = skip_whitespace();
        int frame = 0;
        switch (c) {
            case -1: return peek_error(Grammar::EofWhileParsingValue);
            case 'n':
                eat();
                if (!parse_ident("ull")) return false;
                break;
            case 't':
                eat();
                if (!parse_ident("rue")) return false;
                break;
            case 'f':
                eat();
                if (!parse_ident("alse")) return false;
                break;
            case '-':
                eat();
                if (!skip_number()) return false;
                break;
            case '0': case '1': case '2': case '3': case '4':
            case '5': case '6': case '7': case '8': case '9':
                if (!skip_number()) return false;
                break;
            case '"':
                eat();
                if (!skip_string()) return false;
                break;
            case '[':
            case '{':
                if (enclosing != 0) skip_stack_.push_back(static_cast<char>(enclosing));
                enclosing = 0;
                eat();
                frame = c;
                break;
            default: return peek_error(Grammar::ExpectedSomeValue);
        }

        bool accept_comma = false;
        if (frame == 0) {
            if (enclosing != 0) {
                frame = enclosing;
                enclosing = 0;
            } else if (!skip_stack_.empty()) {
                frame = static_cast<unsigned char>(skip_stack_.back());
                skip_stack_.pop_back();
            } else {
                return true;
            }
            accept_comma = true;
        }

        while (true) {
            c = skip_whitespace();
            if (c == ',' && accept_comma) {
                eat();
                break;
            }
            const bool closes = (c == ']' && frame == '[') || (c == '}' && frame == '{');
            if (!closes) {
                if (c < 0) {
                    return peek_error(frame == '[' ? Grammar::EofWhileParsingList
                                                   : Grammar::EofWhileParsingObject);
                }
                if (accept_comma) {
                    return peek_error(frame == '[' ? Grammar::ExpectedListCommaOrEnd
                                                   : Grammar::ExpectedObjectCommaOrEnd);
                }
                break;
            }
            eat();
            if (skip_stack_.empty()) return true;
            frame = static_cast<unsigned char>(skip_stack_.back());
            skip_stack_.pop_back();
            accept_comma = true;
        }

        if (frame == '{') {
            c = skip_whitespace();
            if (c == '"') {
                eat();
            } else if (c >= 0) {
                return peek_error(Grammar::KeyMustBeAString);
            } else {
                return peek_error(Grammar::EofWhileParsingObject);
            }
            if (!skip_string()) return false;
            c = skip_whitespace();
            if (c == ':') {
                eat();
            } else if (c >= 0) {
                return peek_error(Grammar::ExpectedColon);
            } else {
                return peek_error(Grammar::EofWhileParsingObject);
            }
        }
        enclosing = frame;
    }
}

bool Reader::skip_string() {
    while (true) {
        index_ = json_scan::plain_run_end(text_, index_);
        if (index_ == text_.size()) return error(Grammar::EofWhileParsingString);
        const char c = text_[index_];
        // A skipped string reports a control byte at its own position, a read one after it.
        if (c != '"' && c != '\\') return error(Grammar::ControlCharacterWhileParsingString);
        ++index_;
        if (c == '"') return true;
        if (!skip_escape()) return false;
    }
}

// Escapes of a skipped string are only checked for their form: a lone surrogate is accepted.
bool Reader::skip_escape() {
    if (index_ >= text_.size()) return error(Grammar::EofWhileParsingString);
    switch (text_[index_++]) {
        case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't': return true;
        case 'u': {
            std::uint16_t ignored = 0;
            return decode_hex_escape(ignored);
        }
        default: return error(Grammar::InvalidEscape);
    }
}

// A skipped number is checked for its form only; it is never converted.
bool Reader::skip_number() {
    const int first = peek();
    if (first >= 0) eat();
    if (first == '0') {
        if (is_digit(peek())) return peek_error(Grammar::InvalidNumber);
    } else if (first >= '1' && first <= '9') {
        while (is_digit(peek())) eat();
    } else {
        return error(Grammar::InvalidNumber);
    }
    if (peek() == '.') {
        eat();
        if (!is_digit(peek())) return peek_error(Grammar::InvalidNumber);
        while (is_digit(peek())) eat();
    }
    if (peek() == 'e' || peek() == 'E') {
        eat();
        if (peek() == '+' || peek() == '-') eat();
        const int digit = peek();
        if (digit >= 0) eat();
        if (!is_digit(digit)) return error(Grammar::InvalidNumber);
        while (is_digit(peek())) eat();
    }
    return true;
}

}  // namespace vesk::models::json_reader
