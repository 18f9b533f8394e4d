// Between Python str objects and the UTF-8 text the core reads and writes, without CPython's
// codecs on the hot path: the fare lists and documents of a batch are tens of megabytes, and
// CPython's encoder and decoder take a character at a time (its decoder also widens and copies
// its buffer again when a wider character appears).
//
// A str stores its characters as 1, 2 or 4 bytes each (PEP 393). An ASCII str is read in place.
// Any other str is encoded into storage owned by the call and released with it: the str keeps no
// UTF-8 copy (PyUnicode_AsUTF8AndSize would cache one inside the str for as long as the str lives,
// adding the size of the whole fare list to a caller's memory after the call). A result is sized
// by one scan of its UTF-8 text and then filled in one decoding pass.
#pragma once

#include <Python.h>

#include <string>
#include <string_view>

namespace vesk::python {

// The UTF-8 text of `str` (a str or a subclass): a view of the str's own bytes when it is ASCII,
// else encoded into `storage`. False with Python's own UnicodeEncodeError set for a str that
// holds a lone surrogate.
[[nodiscard]] bool utf8_of_str(PyObject* str, std::string& storage, std::string_view& text);

// A new str with the characters of `text`; null with UnicodeDecodeError set when `text` is not
// valid UTF-8.
PyObject* str_from_utf8(std::string_view text);

}  // namespace vesk::python
