// Binding the arguments of a call to the parameters of a Signature.
//
// Every parameter is required and may be given by position or by keyword. Both entry points
// report mistakes with the same TypeError texts, naming the callable as "Owner.name()".
#pragma once

#include <Python.h>

#include <span>

#include "python/signature.hpp"

namespace vesk::python {

// Binds a vectorcall (METH_FASTCALL | METH_KEYWORDS) call: `args` holds `nargs` positional
// values followed by one value per name in `kwnames` (null when there are no keywords).
// On success `bound[i]` is the borrowed value of parameter i; on failure a TypeError is set.
[[nodiscard]] bool bind_vectorcall(const Signature& signature, PyObject* const* args,
                                   Py_ssize_t nargs, PyObject* kwnames,
                                   std::span<PyObject*> bound);

// Binds a tp_new/tp_call style call: a tuple of positional values and a dict of keyword values
// (null when there are no keywords). Same results as bind_vectorcall.
[[nodiscard]] bool bind_tuple_and_dict(const Signature& signature, PyObject* args,
                                       PyObject* kwargs, std::span<PyObject*> bound);

}  // namespace vesk::python
