// Converting bound argument values to the types the feed operations take.
//
// Each conversion returns false with a Python exception set when the value is not acceptable.
// A TypeError of exactly that type is raised again with the parameter named in front
// ("argument 'feed_title': 'bytes' object cannot be converted to 'str'"), keeping the cause of
// the one it replaces; every other exception (UnicodeEncodeError, OverflowError, ...) passes
// through unchanged.
#pragma once

#include <Python.h>

#include <cstdint>
#include <string_view>

#include "text_map.hpp"

namespace vesk::python {

// A str (or subclass) as a view of its UTF-8 text, valid as long as the str object lives.
// str objects are immutable, and the caller's arguments outlive the call, so no copy is needed.
[[nodiscard]] bool convert_argument(std::string_view parameter, PyObject* value,
                                    std::string_view& text);

// A dict (or subclass) of str to str, copied pair by pair in iteration order; a later key with
// the same text replaces an earlier one. Copied because Python code that runs during the call
// (logging handlers) may change the dict.
[[nodiscard]] bool convert_argument(std::string_view parameter, PyObject* value, TextMap& map);

// Any object that the integer protocol accepts (int, bool, objects with __index__), from 0 to
// 255. Outside the signed 64-bit range Python's own OverflowError is raised.
[[nodiscard]] bool convert_argument(std::string_view parameter, PyObject* value,
                                    std::uint8_t& number);

}  // namespace vesk::python
