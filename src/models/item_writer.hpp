// The item writer: the XML text and the diagnostic form of a feed item record, both driven by the
// record's one table of fields.
//
// An item record declares, after its class, a specialization of ItemTable with
//   static constexpr std::string_view type_name;  // its name in the diagnostic form
//   static constexpr std::string_view root;       // its root element
//   static constexpr std::tuple fields{...};      // its ItemField values, in write order
// Field values are std::string, std::uint8_t or float.
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <expected>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "debug_text.hpp"
#include "number_text.hpp"

namespace vesk::models::item_writer {

enum class ItemXmlErrorKind {
    WriteFailed,  // the output buffer refused bytes; the message starts "IO error: "
    InvalidUtf8,  // the written text is not valid UTF-8; the message starts "FromUtf8Error: "
};

struct ItemXmlError {
    ItemXmlErrorKind kind;
    std::string message;
};

// One field of an item record: its name in the diagnostic form, its element and its member.
template <class Item, class Value>
struct ItemField {
    std::string_view name;
    std::string_view element;
    Value Item::*member;
};

// A field written under an element of its own name.
template <class Item, class Value>
constexpr ItemField<Item, Value> field(std::string_view name, Value Item::*member) {
    return {name, name, member};
}

// A field written under an element named differently.
template <class Item, class Value>
constexpr ItemField<Item, Value> field(std::string_view name, std::string_view element,
                                       Value Item::*member) {
    return {name, element, member};
}

template <class Item>
struct ItemTable;

namespace detail {

// Each value type: the most bytes its item text can take, and writing that text at `at`.
inline std::size_t max_xml_value_size(const std::string& value) { return value.size(); }
inline std::size_t max_xml_value_size(std::uint8_t) { return 3; }
inline std::size_t max_xml_value_size(float) { return number_text::f32_item_max_length; }

inline char* put_xml_value(char* at, const std::string& value) {
    std::memcpy(at, value.data(), value.size());
    return at + value.size();
}
inline char* put_xml_value(char* at, std::uint8_t value) {
    return std::to_chars(at, at + max_xml_value_size(value), value).ptr;
}
inline char* put_xml_value(char* at, float value) {
    std::string text;  // a rating's few digits stay within the small-string buffer
    number_text::append_f32_item(text, value);
    return put_xml_value(at, text);
}

inline void append_debug_value(std::string& out, const std::string& value) {
    debug_text::append_debug_quoted(out, value);
}
inline void append_debug_value(std::string& out, std::uint8_t value) {
    number_text::append_u8(out, value);
}
inline void append_debug_value(std::string& out, float value) {
    number_text::append_f32_diagnostic(out, value);
}

// An item's markup as one constant text, "<root><e1>", "</e1><e2>", ..., "</eN></root>": piece
// k (from bounds[k] to bounds[k + 1]) goes between value k and value k + 1, so an item is written
// as N + 1 copies of constant length and N values.
template <class Item>
struct Markup {
    using Table = ItemTable<Item>;
    static constexpr std::size_t field_count = std::tuple_size_v<decltype(Table::fields)>;
    static constexpr std::size_t size = [] {
        std::size_t total = 2 * Table::root.size() + 5;
        std::apply([&](const auto&... fields) { ((total += 2 * fields.element.size() + 5), ...); },
                   Table::fields);
        return total;
    }();

    struct Pieces {
        std::array<char, size> text{};
        std::array<std::size_t, field_count + 2> bounds{};
    };
    static constexpr Pieces pieces = [] {
        Pieces built;
        std::size_t at = 0;
        const auto put = [&](std::string_view part) {
            for (const char c : part) built.text[at++] = c;
        };
        std::size_t value = 0;
        put("<");
        put(Table::root);
        put(">");
        std::apply(
            [&](const auto&... fields) {
                ((put("<"), put(fields.element), put(">"), built.bounds[++value] = at, put("</"),
                  put(fields.element), put(">")),
                 ...);
            },
            Table::fields);
        put("</");
        put(Table::root);
        put(">");
        built.bounds[field_count + 1] = at;
        return built;
    }();

    template <std::size_t K>
    static char* put_piece(char* at) {
        constexpr std::size_t length = pieces.bounds[K + 1] - pieces.bounds[K];
        std::memcpy(at, pieces.text.data() + pieces.bounds[K], length);
        return at + length;
    }
};

// Checks the text written from `start` on; when it is not valid UTF-8, truncates `out` back to
// `start` and returns the InvalidUtf8 error.
std::expected<void, ItemXmlError> check_written_utf8(std::string& out, std::size_t start);

// The WriteFailed error for a buffer that could not grow.
ItemXmlError write_failed(const std::length_error& error);

}  // namespace detail

// Appends the XML text of `item` to `out`: "<root>", then "<element>value</element>" for every
// field in table order, then "</root>"; texts are copied unescaped. On failure `out` is left as
// it was before the call.
template <class Item>
std::expected<void, ItemXmlError> append_item_xml(std::string& out, const Item& item) {
    using Table = ItemTable<Item>;
    using Markup = detail::Markup<Item>;
    const std::size_t start = out.size();
    std::size_t room = Markup::size;
    std::apply([&](const auto&... fields) {
        ((room += detail::max_xml_value_size(item.*fields.member)), ...);
    }, Table::fields);
    try {
        // Written in place and then cut to the bytes written: one size check per item.
        out.resize_and_overwrite(start + room, [&](char* data, std::size_t) {
            char* at = Markup::template put_piece<0>(data + start);
            [&]<std::size_t... I>(std::index_sequence<I...>) {
                ((at = detail::put_xml_value(at, item.*std::get<I>(Table::fields).member),
                  at = Markup::template put_piece<I + 1>(at)),
                 ...);
            }(std::make_index_sequence<Markup::field_count>{});
            return static_cast<std::size_t>(at - data);
        });
    } catch (const std::length_error& error) {
        return std::unexpected(detail::write_failed(error));
    }
    return detail::check_written_utf8(out, start);
}

// The XML text of `item` as a text of its own.
template <class Item>
std::expected<std::string, ItemXmlError> item_to_xml(const Item& item) {
    std::string out;  // sized once by append_item_xml, for the whole item
    if (auto written = append_item_xml(out, item); !written) {
        return std::unexpected(std::move(written.error()));
    }
    return out;
}

// The one-line diagnostic text of `item`, for log messages:
// `TypeName { field: value, ... }` with quoted texts, decimal integers and diagnostic floats.
template <class Item>
std::string diagnostic_form(const Item& item) {
    using Table = ItemTable<Item>;
    std::string out(Table::type_name);
    out.append(" { ");
    std::string_view separator;
    std::apply(
        [&](const auto&... fields) {
            ((out.append(separator), out.append(fields.name), out.append(": "),
              detail::append_debug_value(out, item.*fields.member), separator = ", "),
             ...);
        },
        Table::fields);
    out.append(" }");
    return out;
}

}  // namespace vesk::models::item_writer
