#include "python/feed_method.hpp"

#include "python/owned_ref.hpp"
#include "python/str_utf8.hpp"

namespace vesk::python {

PyObject* feed_result_to_python(const FeedResult& result) {
    if (result) return str_from_utf8(*result);
    // Every failure kind is raised the same way: plain OSError whose only argument is the
    // message, so errno and strerror stay None.
    const std::string& message = result.error().message;
    const OwnedRef text = OwnedRef::steal(
        PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "replace"));
    if (!text) return nullptr;
    const OwnedRef error = OwnedRef::steal(PyObject_CallOneArg(PyExc_OSError, text.get()));
    if (!error) return nullptr;
    PyErr_SetObject(PyExc_OSError, error.get());
    return nullptr;
}

}  // namespace vesk::python
