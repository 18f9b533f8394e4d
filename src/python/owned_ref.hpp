// An owned (strong) reference to a Python object, released when it goes out of scope.
#pragma once

#include <Python.h>

#include <utility>

namespace vesk::python {

class OwnedRef {
public:
    OwnedRef() noexcept = default;

    // Takes over a new reference, typically the result of a C API call (which may be null).
    static OwnedRef steal(PyObject* object) noexcept { return OwnedRef(object); }
    // Adds a reference to a borrowed object.
    static OwnedRef borrow(PyObject* object) noexcept { return OwnedRef(Py_XNewRef(object)); }

    OwnedRef(const OwnedRef& other) noexcept : object_(Py_XNewRef(other.object_)) {}
    OwnedRef(OwnedRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    OwnedRef& operator=(OwnedRef other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~OwnedRef() { Py_XDECREF(object_); }

    PyObject* get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    // Hands the reference over to the caller, e.g. as the return value of a C API entry point.
    PyObject* release() noexcept { return std::exchange(object_, nullptr); }

private:
    explicit OwnedRef(PyObject* object) noexcept : object_(object) {}

    PyObject* object_ = nullptr;
};

}  // namespace vesk::python
