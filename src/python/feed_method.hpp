// The body shared by every Converter method: bind, convert, call one feed operation, and return
// its text as a str or raise OSError with its failure message.
#pragma once

#include <Python.h>

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "feed_result.hpp"
#include "python/argument_binding.hpp"
#include "python/argument_conversion.hpp"
#include "python/cpp_exception_boundary.hpp"
#include "python/signature.hpp"

namespace vesk::python {

// The operation's text as a new str, or null with OSError(message) raised for its failure.
PyObject* feed_result_to_python(const FeedResult& result);

namespace feed_method_detail {

template <class Operation>
struct OperationTraits;

// What a parameter of an operation is converted into: a TextArgument for a std::string_view,
// a TextMap for a TextMap.
template <class Param>
using Converted = std::conditional_t<std::is_same_v<std::remove_cvref_t<Param>, std::string_view>,
                                     TextArgument, std::remove_cvref_t<Param>>;

template <class... Params>
struct OperationTraits<FeedResult (*)(Params...)> {
    using Arguments = std::tuple<Converted<Params>...>;
    static constexpr std::size_t arity = sizeof...(Params);
};

// Converts in parameter order and stops at the first value that cannot be converted.
template <class Arguments, std::size_t... I>
bool convert_all(const Signature& signature, std::span<PyObject* const> bound,
                 Arguments& arguments, std::index_sequence<I...>) {
    return (convert_argument(signature.parameters[I], bound[I], std::get<I>(arguments)) && ...);
}

}  // namespace feed_method_detail

// A METH_FASTCALL | METH_KEYWORDS method that exposes `Operation` under signature `S`.
template <const Signature& S, auto Operation>
PyObject* feed_method(PyObject* /*self*/, PyObject* const* args, Py_ssize_t nargs,
                      PyObject* kwnames) noexcept {
    using Traits = feed_method_detail::OperationTraits<decltype(Operation)>;
    static_assert(Traits::arity == S.parameters.size(),
                  "the signature must name every parameter of the operation");
    return translate_cpp_exceptions([&]() -> PyObject* {
        std::optional<FeedResult> result;
        {
            // The converted arguments (with the UTF-8 copy of a non-ASCII fare list) are released
            // before the result becomes a str, so that the two never take memory at once.
            std::array<PyObject*, Traits::arity> bound{};
            if (!bind_vectorcall(S, args, nargs, kwnames, bound)) return nullptr;
            typename Traits::Arguments arguments;
            if (!feed_method_detail::convert_all(S, bound, arguments,
                                                 std::make_index_sequence<Traits::arity>{})) {
                return nullptr;
            }
            result.emplace(std::apply(Operation, arguments));
        }
        return feed_result_to_python(*result);
    });
}

}  // namespace vesk::python
