#include "item_writer.hpp"

#include <string_view>

#include "utf8.hpp"

namespace vesk::models::item_writer::detail {

std::expected<void, ItemXmlError> check_written_utf8(std::string& out, std::size_t start) {
    const auto invalid = utf8::first_invalid(std::string_view(out).substr(start));
    if (!invalid) return {};
    // An item text ends with '>', so no sequence is cut off by its end: every failure is a
    // wrong byte.
    std::string message = "FromUtf8Error: invalid utf-8 sequence of ";
    number_text::append_u64(message, invalid->sequence.length);
    message.append(" bytes from index ");
    number_text::append_u64(message, invalid->index);
    out.resize(start);
    return std::unexpected(ItemXmlError{ItemXmlErrorKind::InvalidUtf8, std::move(message)});
}

ItemXmlError write_failed(const std::length_error& error) {
    return {ItemXmlErrorKind::WriteFailed, std::string("IO error: ") + error.what()};
}

}  // namespace vesk::models::item_writer::detail
