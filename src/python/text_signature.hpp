// Doc texts that carry only a text signature: "name($self, a, b)\n--\n\n" for a method and
// "Owner(a, b)\n--\n\n" for a class. CPython shows them through `inspect.signature` and
// `__text_signature__`, and reports no docstring (`__doc__` is None) for what follows the marker.
//
// The texts are built at compile time from the Signature, so names are written only once.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "python/signature.hpp"

namespace vesk::python {

namespace text_signature_detail {

enum class Form { Method, Class };

template <class Put>
constexpr void write(const Signature& signature, Form form, Put put) {
    put(form == Form::Method ? signature.name : signature.owner);
    put("(");
    if (form == Form::Method) put("$self");
    for (std::size_t i = 0; i < signature.parameters.size(); ++i) {
        if (i > 0 || form == Form::Method) put(", ");
        put(signature.parameters[i]);
    }
    put(")\n--\n\n");
}

constexpr std::size_t length(const Signature& signature, Form form) {
    std::size_t size = 0;
    write(signature, form, [&](std::string_view piece) { size += piece.size(); });
    return size;
}

template <const Signature& S, Form F>
constexpr auto make() {
    std::array<char, length(S, F) + 1> text{};  // the last char stays the terminating NUL
    std::size_t size = 0;
    write(S, F, [&](std::string_view piece) {
        for (const char c : piece) text[size++] = c;
    });
    return text;
}

template <const Signature& S, Form F>
inline constexpr auto storage = make<S, F>();

}  // namespace text_signature_detail

template <const Signature& S>
constexpr const char* method_doc() {
    return text_signature_detail::storage<S, text_signature_detail::Form::Method>.data();
}

template <const Signature& S>
constexpr const char* class_doc() {
    return text_signature_detail::storage<S, text_signature_detail::Form::Class>.data();
}

}  // namespace vesk::python
