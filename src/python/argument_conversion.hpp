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
#include <string>
#include <string_view>

#include "text_map.hpp"

namespace vesk::python {

// A text argument of a feed operation: the UTF-8 of a str, which converts to the
// std::string_view the operations take. An ASCII str is viewed in place (str objects are
// immutable and the caller's arguments outlive the call); any other is encoded into the
// argument's own storage, released with it (see str_utf8.hpp). Never copied or moved, so the view
// into that storage stays valid.
class TextArgument {
public:
    TextArgument() = default;
    TextArgument(const TextArgument&) = delete;
    TextArgument& operator=(const TextArgument&) = delete;

    operator std::string_view() const noexcept { return text_; }

private:
    friend bool convert_argument(std::string_view parameter, PyObject* value, TextArgument& text);

    std::string_view text_;
    std::string storage_;
};

// A str (or subclass).
[[nodiscard]] bool convert_argument(std::string_view parameter, PyObject* value,
                                    TextArgument& text);

// A dict (or subclass) of str to str, copied pair by pair in iteration order; a later key with
// the same text replaces an earlier one. Copied because Python code that runs during the call
// (logging handlers) may change the dict.
[[nodiscard]] bool convert_argument(std::string_view parameter, PyObject* value, TextMap& map);

// Any object that the integer protocol accepts (int, bool, objects with __index__), from 0 to
// 255. Outside the signed 64-bit range Python's own OverflowError is raised.
[[nodiscard]] bool convert_argument(std::string_view parameter, PyObject* value,
                                    std::uint8_t& number);

}  // namespace vesk::python
