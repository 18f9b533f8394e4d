// The item writer: the XML text and the diagnostic form of a feed item record, both driven by the
// record's one table of fields.
//
// An item record declares, after its class, a specialization of ItemTable with
//   static constexpr std::string_view type_name;  // its name in the diagnostic form
//   static constexpr std::string_view root;       // its root element
//   static constexpr std::tuple fields{...};      // its ItemField values, in write order
// Field values are std::string, std::uint8_t or float.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>

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

inline void append_xml_value(std::string& out, const std::string& value) { out.append(value); }
inline void append_xml_value(std::string& out, std::uint8_t value) {
    number_text::append_u8(out, value);
}
inline void append_xml_value(std::string& out, float value) {
    number_text::append_f32_item(out, value);
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

template <class Value>
void append_element(std::string& out, std::string_view element, const Value& value) {
    out.push_back('<');
    out.append(element);
    out.push_back('>');
    append_xml_value(out, value);
    out.append("</");
    out.append(element);
    out.push_back('>');
}

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
    const std::size_t start = out.size();
    try {
        out.push_back('<');
        out.append(Table::root);
        out.push_back('>');
        std::apply(
            [&](const auto&... fields) {
                (detail::append_element(out, fields.element, item.*fields.member), ...);
            },
            Table::fields);
        out.append("</");
        out.append(Table::root);
        out.push_back('>');
    } catch (const std::length_error& error) {
        out.resize(start);
        return std::unexpected(detail::write_failed(error));
    }
    return detail::check_written_utf8(out, start);
}

// The XML text of `item` as a text of its own.
template <class Item>
std::expected<std::string, ItemXmlError> item_to_xml(const Item& item) {
    std::string out;
    out.reserve(128);
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
