#include "python/argument_conversion.hpp"

#include <string>

#include "python/owned_ref.hpp"
#include "python/raised_exception.hpp"
#include "python/str_utf8.hpp"

namespace vesk::python {

namespace {

// `text` views the str itself or `storage`.
bool to_text(PyObject* value, std::string& storage, std::string_view& text) {
    if (!PyUnicode_Check(value)) {
        PyErr_Format(PyExc_TypeError, "'%s' object cannot be converted to 'str'",
                     Py_TYPE(value)->tp_name);
        return false;
    }
    return utf8_of_str(value, storage, text);
}

bool to_text_map(PyObject* value, TextMap& map) {
    if (!PyDict_Check(value)) {
        PyErr_Format(PyExc_TypeError, "'%s' object cannot be converted to 'dict'",
                     Py_TYPE(value)->tp_name);
        return false;
    }
    map.clear();
    map.reserve(static_cast<std::size_t>(PyDict_GET_SIZE(value)));
    // Nothing below runs Python code, so the dict cannot change while it is iterated.
    Py_ssize_t position = 0;
    PyObject* key = nullptr;
    PyObject* item = nullptr;
    std::string key_storage;
    std::string item_storage;
    while (PyDict_Next(value, &position, &key, &item)) {
        std::string_view key_text;
        std::string_view item_text;
        if (!to_text(key, key_storage, key_text) || !to_text(item, item_storage, item_text)) {
            return false;
        }
        map.insert_or_assign(std::string(key_text), std::string(item_text));
    }
    return true;
}

bool to_u8(PyObject* value, std::uint8_t& number) {
    const OwnedRef index = OwnedRef::steal(PyNumber_Index(value));
    if (!index) return false;
    const long long whole = PyLong_AsLongLong(index.get());
    if (whole == -1 && PyErr_Occurred()) return false;
    if (whole < 0 || whole > 255) {
        PyErr_SetString(PyExc_OverflowError, "out of range integral type conversion attempted");
        return false;
    }
    number = static_cast<std::uint8_t>(whole);
    return true;
}

// Replaces a raised TypeError (exactly that type) by one whose message names the parameter.
void name_parameter_in_type_error(std::string_view parameter) {
    OwnedRef raised = take_raised_exception();
    if (!Py_IS_TYPE(raised.get(), reinterpret_cast<PyTypeObject*>(PyExc_TypeError))) {
        raise_exception(std::move(raised));
        return;
    }
    const OwnedRef message = OwnedRef::steal(PyObject_Str(raised.get()));
    if (!message) return;
    const std::string prefix = "argument '" + std::string(parameter) + "': ";
    const OwnedRef text = OwnedRef::steal(PyUnicode_FromFormat("%s%U", prefix.c_str(), message.get()));
    if (!text) return;
    OwnedRef replacement = OwnedRef::steal(PyObject_CallOneArg(PyExc_TypeError, text.get()));
    if (!replacement) return;
    if (PyObject* cause = PyException_GetCause(raised.get())) {
        PyException_SetCause(replacement.get(), cause);  // steals the reference
    }
    raise_exception(std::move(replacement));
}

template <class Target, class Convert>
bool convert_named(std::string_view parameter, PyObject* value, Target& target, Convert convert) {
    if (convert(value, target)) return true;
    name_parameter_in_type_error(parameter);
    return false;
}

}  // namespace

bool convert_argument(std::string_view parameter, PyObject* value, TextArgument& text) {
    return convert_named(parameter, value, text, [](PyObject* str, TextArgument& argument) {
        return to_text(str, argument.storage_, argument.text_);
    });
}

bool convert_argument(std::string_view parameter, PyObject* value, TextMap& map) {
    return convert_named(parameter, value, map, to_text_map);
}

bool convert_argument(std::string_view parameter, PyObject* value, std::uint8_t& number) {
    return convert_named(parameter, value, number, to_u8);
}

}  // namespace vesk::python
