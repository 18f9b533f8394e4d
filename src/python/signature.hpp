// The parameter list of a callable that Python code reaches: what argument binding checks calls
// against, and what the text signatures shown by `inspect` are made of.
#pragma once

#include <span>
#include <string_view>

namespace vesk::python {

struct Signature {
    std::string_view owner;   // the class, e.g. "Converter"
    std::string_view name;    // the method, e.g. "fare_to_facebook"; "__new__" for the constructor
    std::span<const std::string_view> parameters;  // all required, by position or by keyword
};

}  // namespace vesk::python
