// Strict JSON reading straight into typed records: one pass over the UTF-8 bytes, no document tree.
//
// A record type takes part by specialising `RecordDescription` with its expectation text, its
// length text and one table of (JSON key, member) pairs in declaration order; `read_one` and
// `read_list` then read it in the object form and the array form, at any depth. Optional members
// (`std::optional`) may be null or absent; every other member is required.
//
// Errors are values: the first error stops the read and is returned with its message (reason and
// " at line L column C") and its category. The reader keeps only a byte offset while reading and
// builds the message on the cold path.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "json_scan.hpp"

namespace vesk::models::json_reader {

enum class ErrorCategory {
    EndOfInput,  // the text ended before the value was complete
    Syntax,      // the text is not JSON of the accepted grammar
    Data,        // the JSON does not fit the record (types, lengths, missing or duplicate fields)
};

// A failed read: the reason followed by " at line L column C".
struct ReadError {
    std::string message;
    ErrorCategory category;
};

// Owns the decoded form of strings that held escapes; the views it hands out stay valid as long
// as the store lives, also after the store itself has been moved.
class TextStore {
public:
    std::string_view keep(std::string_view text);

private:
    std::vector<std::unique_ptr<char[]>> chunks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
};

// A successful read: the records and the store their decoded texts live in.
template <class T>
struct Parsed {
    T value;
    TextStore texts;
};

template <class T>
using ReadResult = std::expected<Parsed<T>, ReadError>;

// One entry of a record's table: the JSON key and the member it fills.
template <class Record, class Member>
struct Field {
    std::string_view key;
    Member Record::*member;
};

template <class Record, class Member>
constexpr Field<Record, Member> field(std::string_view key, Member Record::*member) {
    return {key, member};
}

// Specialised by every record type with:
//   static constexpr std::string_view expecting;    // "struct City"
//   static constexpr std::string_view length_text;  // "struct City with 1 element"
//   static constexpr auto fields = std::tuple{field("name", &City::name), ...};
template <class T>
struct RecordDescription;

template <class T>
concept Record = requires { RecordDescription<T>::fields; };

template <class T>
struct is_optional : std::false_type {};
template <class T>
struct is_optional<std::optional<T>> : std::true_type {};

template <class T>
struct is_vector : std::false_type {};
template <class T>
struct is_vector<std::vector<T>> : std::true_type {};

enum class Grammar : std::uint8_t {
    EofWhileParsingList,
    EofWhileParsingObject,
    EofWhileParsingString,
    EofWhileParsingValue,
    ExpectedColon,
    ExpectedListCommaOrEnd,
    ExpectedObjectCommaOrEnd,
    ExpectedSomeIdent,
    ExpectedSomeValue,
    InvalidEscape,
    InvalidNumber,
    NumberOutOfRange,
    ControlCharacterWhileParsingString,
    KeyMustBeAString,
    LoneLeadingSurrogateInHexEscape,
    TrailingComma,
    TrailingCharacters,
    UnexpectedEndOfHexEscape,
    RecursionLimitExceeded,
};

// A JSON number as read: exactly when it is an integer within the 64-bit ranges, else a double.
struct Number {
    enum class Kind : std::uint8_t { Unsigned, Signed, Float } kind;
    std::uint64_t u = 0;
    std::int64_t i = 0;
    double f = 0.0;
};

class Reader {
public:
    Reader(std::string_view text, TextStore& texts) : text_(text), texts_(texts) {}

    template <class T>
    bool read_value(T& out);

    // Reads one array, each element into `record` (the same object every time, so its buffers
    // are reused), calling `on_element(record)` after each.
    template <class T, class OnElement>
    bool read_each_element(T& record, OnElement&& on_element);

    // Tests that nothing but whitespace follows the value.
    bool end();

    ReadError take_error() const;

private:
    // --- bytes -------------------------------------------------------------------------------
    int peek() const { return index_ < text_.size() ? static_cast<unsigned char>(text_[index_]) : -1; }
    void eat() { ++index_; }
    // The byte after any blanks, or -1 at the end. Inline: it runs before every token.
    int skip_whitespace() {
        while (index_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[index_]);
            if (c > ' ' || (c != ' ' && c != '\n' && c != '\t' && c != '\r')) return c;
            ++index_;
        }
        return -1;
    }

    // --- errors ------------------------------------------------------------------------------
    // `error` places the error after the bytes consumed, `peek_error` on the byte looked at.
    bool error(Grammar reason);
    bool peek_error(Grammar reason);
    // A data error has no position until `fix_position` gives it the current one.
    bool data_error(std::string reason);
    void fix_position();
    bool error_has_position() const { return error_.positioned; }

    // --- grammar -----------------------------------------------------------------------------
    bool parse_ident(std::string_view rest);
    bool parse_object_colon() {
        if (skip_whitespace() == ':') {
            eat();
            return true;
        }
        return colon_error();
    }
    bool colon_error();
    // A string after its opening quote: a view into the input when it holds no escape. The
    // common case is inline; escapes and errors are left to parse_escaped_string.
    bool parse_string(std::string_view& out) {
        const std::size_t start = index_;
        index_ = json_scan::plain_run_end(text_, index_);
        if (index_ < text_.size() && text_[index_] == '"') {
            out = std::string_view(text_.data() + start, index_ - start);
            eat();
            return true;
        }
        return parse_escaped_string(start, out);
    }
    bool parse_escaped_string(std::size_t start, std::string_view& out);
    bool parse_escape(std::string& decoded);
    bool parse_unicode_escape(std::string& decoded);
    bool decode_hex_escape(std::uint16_t& out);
    bool parse_integer(bool positive, std::size_t start, Number& out);
    bool parse_float_tail(bool positive, std::size_t start, std::uint64_t significand,
                          bool fits_64_bits, Number& out);
    bool finish_float(std::size_t start, bool zero_significand, Number& out);
    bool parse_number(Number& out);
    bool peek_invalid_type(std::string_view expected);
    void describe_number(const Number& number, std::string& out) const;
    bool end_seq();
    void end_map_after_error();
    void end_seq_after_error();
    bool enter_nesting();
    void leave_nesting() { ++remaining_depth_; }

    // --- skipping ----------------------------------------------------------------------------
    bool skip_value();
    bool skip_string();
    bool skip_escape();
    bool skip_number();

    // --- typed values ------------------------------------------------------------------------
    bool read_text(std::string_view& out) {
        const int c = skip_whitespace();
        if (c == '"') {
            eat();
            return parse_string(out);
        }
        return not_a_string(c);
    }
    bool not_a_string(int c);
    bool read_u8(std::uint8_t& out);
    bool read_f32(float& out);
    // A key, at its opening quote.
    bool read_key(std::string_view& out) {
        eat();
        return parse_string(out);
    }

    template <class T>
    bool read_optional(std::optional<T>& out);
    // An array whose elements `read_element()` reads one at a time.
    template <class ReadElement>
    bool read_array(ReadElement&& read_element);
    template <class T>
    bool read_sequence(std::vector<T>& out);
    template <class T>
    bool read_record(T& out);
    template <class T>
    bool read_record_map(T& out);
    template <class T>
    bool read_record_seq(T& out);

    // Next element of an array: true with `has_element` set, or true at `]` with it cleared.
    bool next_element(bool& first, bool& has_element);

    struct PendingError {
        std::string reason;
        ErrorCategory category = ErrorCategory::Syntax;
        std::size_t offset = 0;
        bool positioned = false;
    };

    std::string_view text_;
    TextStore& texts_;
    std::size_t index_ = 0;
    int remaining_depth_ = 128;
    PendingError error_;
    std::string scratch_;
    // The brackets a skipped value has open, one byte each: a string, so that the usual few
    // levels stay within its small-string buffer and skipping allocates nothing.
    std::string skip_stack_;
};

// --- templates ---------------------------------------------------------------------------------

template <class T>
bool Reader::read_value(T& out) {
    if constexpr (std::same_as<T, std::string_view>) {
        return read_text(out);
    } else if constexpr (std::same_as<T, std::uint8_t>) {
        return read_u8(out);
    } else if constexpr (std::same_as<T, float>) {
        return read_f32(out);
    } else if constexpr (is_optional<T>::value) {
        return read_optional(out);
    } else if constexpr (is_vector<T>::value) {
        return read_sequence(out);
    } else {
        static_assert(Record<T>, "no JSON reading rule for this type");
        return read_record(out);
    }
}

template <class T>
bool Reader::read_optional(std::optional<T>& out) {
    if (skip_whitespace() == 'n') {
        eat();
        if (!parse_ident("ull")) return false;
        out.reset();
        return true;
    }
    return read_value(out.emplace());
}

template <class ReadElement>
bool Reader::read_array(ReadElement&& read_element) {
    const int c = skip_whitespace();
    if (c < 0) return peek_error(Grammar::EofWhileParsingValue);
    if (c != '[') return peek_invalid_type("a sequence");
    if (!enter_nesting()) return false;
    eat();
    bool first = true;
    bool ok = true;
    while (true) {
        bool has_element = false;
        if (!next_element(first, has_element)) {
            ok = false;
            break;
        }
        if (!has_element) break;
        if (!read_element()) {
            ok = false;
            break;
        }
    }
    leave_nesting();
    if (!ok) {
        end_seq_after_error();
        return false;
    }
    return end_seq();
}

template <class T>
bool Reader::read_sequence(std::vector<T>& out) {
    out.clear();  // a reused record keeps the vector's buffer
    return read_array([&] { return read_value(out.emplace_back()); });
}

template <class T, class OnElement>
bool Reader::read_each_element(T& record, OnElement&& on_element) {
    return read_array([&] {
        if (!read_value(record)) return false;
        on_element(std::as_const(record));
        return true;
    });
}

template <class T>
bool Reader::read_record(T& out) {
    const int c = skip_whitespace();
    if (c < 0) return peek_error(Grammar::EofWhileParsingValue);
    if (c == '{') {
        if (!enter_nesting()) return false;
        eat();
        const bool ok = read_record_map(out);
        leave_nesting();
        if (!ok) {
            end_map_after_error();
            return false;
        }
        return true;
    }
    if (c == '[') {
        if (!enter_nesting()) return false;
        eat();
        const bool ok = read_record_seq(out);
        leave_nesting();
        if (!ok) {
            end_seq_after_error();
            return false;
        }
        return end_seq();
    }
    return peek_invalid_type(RecordDescription<T>::expecting);
}

template <class T>
bool Reader::read_record_map(T& out) {
    constexpr auto& fields = RecordDescription<T>::fields;
    constexpr std::size_t field_count = std::tuple_size_v<std::remove_cvref_t<decltype(fields)>>;
    bool seen[field_count] = {};
    bool first = true;
    while (true) {
        int c = skip_whitespace();
        if (c == '}') break;
        if (c == ',' && !first) {
            eat();
            c = skip_whitespace();
        } else if (c >= 0) {
            if (!first) return peek_error(Grammar::ExpectedObjectCommaOrEnd);
            first = false;
        } else {
            return peek_error(Grammar::EofWhileParsingObject);
        }
        if (c != '"') {
            if (c == '}') return peek_error(Grammar::TrailingComma);
            if (c < 0) return peek_error(Grammar::EofWhileParsingValue);
            return peek_error(Grammar::KeyMustBeAString);
        }
        std::string_view key;
        if (!read_key(key)) return false;

        std::size_t known = field_count;
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (void)(((key.size() == std::get<I>(fields).key.size() &&
                     json_scan::bytes_equal<std::get<I>(fields).key.size()>(
                         key.data(), std::get<I>(fields).key.data()))
                        ? (known = I, true)
                        : false) ||
                   ...);
        }(std::make_index_sequence<field_count>{});
        if (known == field_count) {
            if (!parse_object_colon() || !skip_value()) return false;
            continue;
        }
        if (seen[known]) return data_error("duplicate field `" + std::string(key) + "`");
        if (!parse_object_colon()) return false;
        bool ok = false;
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (void)(((known == I) ? (ok = read_value(out.*(std::get<I>(fields).member)), true)
                                 : false) ||
                   ...);
        }(std::make_index_sequence<field_count>{});
        if (!ok) return false;
        seen[known] = true;
    }
    // Optional fields that did not occur are absent, also in a record read before.
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ([&] {
            auto& member = out.*(std::get<I>(fields).member);
            if constexpr (is_optional<std::remove_cvref_t<decltype(member)>>::value) {
                if (!seen[I]) member.reset();
            }
        }(), ...);
    }(std::make_index_sequence<field_count>{});
    std::string_view missing;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (void)(((!seen[I] && !is_optional<std::remove_cvref_t<
                                 decltype(out.*(std::get<I>(fields).member))>>::value)
                    ? (missing = std::get<I>(fields).key, true)
                    : false) ||
               ...);
    }(std::make_index_sequence<field_count>{});
    if (!missing.empty()) return data_error("missing field `" + std::string(missing) + "`");
    eat();  // the closing brace
    return true;
}

template <class T>
bool Reader::read_record_seq(T& out) {
    constexpr auto& fields = RecordDescription<T>::fields;
    constexpr std::size_t field_count = std::tuple_size_v<std::remove_cvref_t<decltype(fields)>>;
    bool first = true;
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return ([&] {
            bool has_element = false;
            if (!next_element(first, has_element)) return false;
            if (!has_element) {
                return data_error("invalid length " + std::to_string(I) + ", expected " +
                                  std::string(RecordDescription<T>::length_text));
            }
            return read_value(out.*(std::get<I>(fields).member));
        }() && ...);
    }(std::make_index_sequence<field_count>{});
}

// Reads `text` as exactly one T.
template <class T>
ReadResult<T> read_one(std::string_view text) {
    Parsed<T> parsed{};
    Reader reader(text, parsed.texts);
    if (!reader.read_value(parsed.value) || !reader.end()) {
        return std::unexpected(reader.take_error());
    }
    return parsed;
}

// Reads `text` as one array of T.
template <class T>
ReadResult<std::vector<T>> read_list(std::string_view text) {
    return read_one<std::vector<T>>(text);
}

// Reads `text` as one array of T like read_list, handing each element to `on_element` as soon as
// it is read instead of keeping them all: the views of a record stay valid only during its call.
// Returns the number of elements. On an error the elements before it have been handed over.
template <class T, class OnElement>
std::expected<std::size_t, ReadError> read_each(std::string_view text, OnElement&& on_element) {
    TextStore texts;
    Reader reader(text, texts);
    T record{};
    std::size_t count = 0;
    const bool read = reader.read_each_element(record, [&](const T& element) {
        on_element(element);
        ++count;
    });
    if (!read || !reader.end()) return std::unexpected(reader.take_error());
    return count;
}

}  // namespace vesk::models::json_reader
