#include "python/argument_binding.hpp"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::python {

namespace {

// Fills `bound` from positional values first, then from keywords, then checks that nothing is
// missing. Each step sets the TypeError of the first mistake it finds and returns false.
class ArgumentBinder {
public:
    ArgumentBinder(const Signature& signature, std::span<PyObject*> bound)
        : signature_(signature), bound_(bound) {
        std::ranges::fill(bound_, nullptr);
    }

    bool take_positional(std::span<PyObject* const> values) const {
        const std::size_t capacity = signature_.parameters.size();
        if (values.size() > capacity) {
            const std::string message = full_name() + " takes " + std::to_string(capacity) +
                                        " positional arguments but " +
                                        std::to_string(values.size()) +
                                        (values.size() == 1 ? " was" : " were") + " given";
            PyErr_SetString(PyExc_TypeError, message.c_str());
            return false;
        }
        std::ranges::copy(values, bound_.begin());
        return true;
    }

    bool take_keyword(PyObject* name, PyObject* value) const {
        if (!PyUnicode_Check(name)) {
            PyErr_Format(PyExc_TypeError, "%s keywords must be strings", full_name().c_str());
            return false;
        }
        const auto parameter = parameter_named(name);
        if (parameter == signature_.parameters.size()) {
            PyErr_Format(PyExc_TypeError, "%s got an unexpected keyword argument '%U'",
                         full_name().c_str(), name);
            return false;
        }
        if (bound_[parameter] != nullptr) {
            const std::string message = full_name() + " got multiple values for argument '" +
                                        std::string(signature_.parameters[parameter]) + "'";
            PyErr_SetString(PyExc_TypeError, message.c_str());
            return false;
        }
        bound_[parameter] = value;
        return true;
    }

    bool check_all_bound() const {
        std::vector<std::string_view> missing;
        for (std::size_t i = 0; i < bound_.size(); ++i) {
            if (bound_[i] == nullptr) missing.push_back(signature_.parameters[i]);
        }
        if (missing.empty()) return true;
        // 'a'; 'a' and 'b'; 'a', 'b', and 'c'
        std::string names;
        for (std::size_t i = 0; i < missing.size(); ++i) {
            if (i > 0) names += missing.size() > 2 ? ", " : " ";
            if (i > 0 && i + 1 == missing.size()) names += "and ";
            names += "'";
            names += missing[i];
            names += "'";
        }
        const std::string message = full_name() + " missing " + std::to_string(missing.size()) +
                                    " required positional " +
                                    (missing.size() == 1 ? "argument" : "arguments") + ": " +
                                    names;
        PyErr_SetString(PyExc_TypeError, message.c_str());
        return false;
    }

private:
    std::string full_name() const {
        return std::string(signature_.owner) + "." + std::string(signature_.name) + "()";
    }

    // The index of the parameter called `name`, or the parameter count when there is none.
    std::size_t parameter_named(PyObject* name) const {
        Py_ssize_t size = 0;
        const char* utf8 = PyUnicode_AsUTF8AndSize(name, &size);
        if (utf8 == nullptr) {
            // A name that is not valid UTF-8 (a lone surrogate) matches no parameter.
            PyErr_Clear();
            return signature_.parameters.size();
        }
        const std::string_view text(utf8, static_cast<std::size_t>(size));
        const auto found = std::ranges::find(signature_.parameters, text);
        return static_cast<std::size_t>(found - signature_.parameters.begin());
    }

    const Signature& signature_;
    std::span<PyObject*> bound_;
};

}  // namespace

bool bind_vectorcall(const Signature& signature, PyObject* const* args, Py_ssize_t nargs,
                     PyObject* kwnames, std::span<PyObject*> bound) {
    const ArgumentBinder binder(signature, bound);
    if (!binder.take_positional({args, static_cast<std::size_t>(nargs)})) return false;
    const Py_ssize_t keyword_count = kwnames == nullptr ? 0 : PyTuple_GET_SIZE(kwnames);
    for (Py_ssize_t i = 0; i < keyword_count; ++i) {
        if (!binder.take_keyword(PyTuple_GET_ITEM(kwnames, i), args[nargs + i])) return false;
    }
    return binder.check_all_bound();
}

bool bind_tuple_and_dict(const Signature& signature, PyObject* args, PyObject* kwargs,
                         std::span<PyObject*> bound) {
    const ArgumentBinder binder(signature, bound);
    const std::span<PyObject* const> positional(PySequence_Fast_ITEMS(args),
                                                static_cast<std::size_t>(PyTuple_GET_SIZE(args)));
    if (!binder.take_positional(positional)) return false;
    if (kwargs != nullptr) {
        Py_ssize_t position = 0;
        PyObject* name = nullptr;
        PyObject* value = nullptr;
        while (PyDict_Next(kwargs, &position, &name, &value)) {
            if (!binder.take_keyword(name, value)) return false;
        }
    }
    return binder.check_all_bound();
}

}  // namespace vesk::python
