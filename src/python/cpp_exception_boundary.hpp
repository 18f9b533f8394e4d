// The boundary that keeps C++ exceptions out of the interpreter.
#pragma once

#include <Python.h>

#include <exception>
#include <new>
#include <utility>

namespace vesk::python {

// Runs `body`, which returns a new reference or null with a Python exception set, and turns a
// C++ exception escaping it into a Python one: std::bad_alloc into MemoryError, anything else
// into RuntimeError. No ordinary input makes the core throw anything but std::bad_alloc.
template <class Body>
PyObject* translate_cpp_exceptions(Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    } catch (const std::exception& error) {
        PyErr_Format(PyExc_RuntimeError, "internal error in vesk_fares_to_xml: %s", error.what());
    } catch (...) {
        PyErr_SetString(PyExc_RuntimeError,
                        "internal error in vesk_fares_to_xml: unknown C++ exception");
    }
    return nullptr;
}

}  // namespace vesk::python
