// Taking the exception being raised out of the thread state and putting one back, as one object.
//
// Python 3.12 added PyErr_GetRaisedException/PyErr_SetRaisedException and deprecated the
// type/value/traceback triple; 3.11 has only the triple.
#pragma once

#include <Python.h>

#include "python/owned_ref.hpp"

namespace vesk::python {

// The normalized exception being raised (with its traceback), clearing it; null when none is.
inline OwnedRef take_raised_exception() noexcept {
#if PY_VERSION_HEX >= 0x030C0000
    return OwnedRef::steal(PyErr_GetRaisedException());
#else
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    if (type == nullptr) return {};
    PyErr_NormalizeException(&type, &value, &traceback);
    if (traceback != nullptr) PyException_SetTraceback(value, traceback);
    Py_DECREF(type);
    Py_XDECREF(traceback);
    return OwnedRef::steal(value);
#endif
}

// Raises `exception` (an exception instance) again, as the current exception.
inline void raise_exception(OwnedRef exception) noexcept {
#if PY_VERSION_HEX >= 0x030C0000
    PyErr_SetRaisedException(exception.release());
#else
    PyObject* value = exception.release();
    PyErr_Restore(Py_NewRef(reinterpret_cast<PyObject*>(Py_TYPE(value))), value,
                  PyException_GetTraceback(value));
#endif
}

// Prints the exception being raised as an uncaught one is printed (through sys.excepthook) and
// clears it. Unlike PyErr_Print, which obeys a SystemExit by ending the process, this prints a
// SystemExit too: an exception raised inside a library call must not end its host's process.
inline void print_raised_exception() noexcept {
    OwnedRef exception = take_raised_exception();
    if (!exception) return;
    PyObject* hook = PySys_GetObject("excepthook");  // borrowed
    if (hook != nullptr) {
        const OwnedRef traceback = OwnedRef::steal(PyException_GetTraceback(exception.get()));
        const OwnedRef printed = OwnedRef::steal(PyObject_CallFunctionObjArgs(
            hook, reinterpret_cast<PyObject*>(Py_TYPE(exception.get())), exception.get(),
            traceback ? traceback.get() : Py_None, nullptr));
        if (printed) return;
        PyErr_Clear();  // the hook itself failed: fall back to the plainest report
    }
    raise_exception(std::move(exception));
    PyErr_WriteUnraisable(nullptr);
}

}  // namespace vesk::python
