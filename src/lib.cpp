// The extension module vesk_fares_to_xml: its initialisation and the Converter class.
#include <Python.h>
#include <structmember.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "converter.hpp"
#include "converter_criteo.hpp"
#include "converter_get_blue.hpp"
#include "converter_google.hpp"
#include "converter_vp_facebook.hpp"
#include "python/argument_binding.hpp"
#include "python/argument_conversion.hpp"
#include "python/cpp_exception_boundary.hpp"
#include "python/feed_method.hpp"
#include "python/logging_bridge.hpp"
#include "python/owned_ref.hpp"
#include "python/signature.hpp"
#include "python/text_signature.hpp"

namespace vesk {

namespace {

using python::OwnedRef;
using python::Signature;

constexpr std::string_view class_name = "Converter";

// The protocol numbers a caller may pass; stored, readable, and otherwise unused.
constexpr long xml_protocol = 1;
constexpr long tsv_protocol = 2;

struct ConverterObject {
    PyObject_HEAD
    std::uint8_t protocol;
};

constexpr std::array<std::string_view, 1> constructor_parameters{"protocol"};
constexpr std::array<std::string_view, 1> single_fare_parameters{"fare_object"};
constexpr std::array<std::string_view, 6> flight_batch_parameters{
    "fare_objects_list", "feed_title", "domain", "image_mapping", "default_image_url",
    "landing_page"};
constexpr std::array<std::string_view, 3> package_batch_parameters{"fare_objects_list",
                                                                   "feed_title", "domain"};

constexpr Signature constructor{class_name, "__new__", constructor_parameters};
constexpr Signature fare_to_facebook{class_name, "fare_to_facebook", single_fare_parameters};
constexpr Signature fare_to_google_xml{class_name, "fare_to_google_xml", single_fare_parameters};
constexpr Signature fare_to_criteo_xml{class_name, "fare_to_criteo_xml", single_fare_parameters};
constexpr Signature fare_to_get_blue_xml{class_name, "fare_to_get_blue_xml",
                                         single_fare_parameters};
constexpr Signature fare_to_vp_facebook_xml{class_name, "fare_to_vp_facebook_xml",
                                            single_fare_parameters};
constexpr Signature fares_to_facebook{class_name, "fares_to_facebook", flight_batch_parameters};
constexpr Signature fares_to_google_xml{class_name, "fares_to_google_xml",
                                        flight_batch_parameters};
constexpr Signature fares_to_criteo_xml{class_name, "fares_to_criteo_xml",
                                        flight_batch_parameters};
constexpr Signature fares_to_get_blue_xml{class_name, "fares_to_get_blue_xml",
                                          flight_batch_parameters};
constexpr Signature fares_to_vp_facebook_xml{class_name, "fares_to_vp_facebook_xml",
                                             package_batch_parameters};

template <const Signature& S, auto Operation>
constexpr PyMethodDef method() {
    const auto function = &python::feed_method<S, Operation>;
    return {S.name.data(),
            reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function)),
            METH_FASTCALL | METH_KEYWORDS, python::method_doc<S>()};
}

// In class declaration order: the single-fare methods, then the batch methods.
PyMethodDef converter_methods[] = {
    method<fare_to_facebook, &converter::fare_to_facebook_xml>(),
    method<fare_to_google_xml, &converter_google::fare_to_google_xml>(),
    method<fare_to_criteo_xml, &converter_criteo::fare_to_criteo_xml>(),
    method<fare_to_get_blue_xml, &converter_get_blue::fare_to_get_blue_xml>(),
    method<fare_to_vp_facebook_xml, &converter_vp_facebook::fare_to_vp_facebook_xml>(),
    method<fares_to_facebook, &converter::fares_to_facebook_xml>(),
    method<fares_to_google_xml, &converter_google::fares_to_google_xml>(),
    method<fares_to_criteo_xml, &converter_criteo::fares_to_criteo_xml>(),
    method<fares_to_get_blue_xml, &converter_get_blue::fares_to_get_blue_xml>(),
    method<fares_to_vp_facebook_xml, &converter_vp_facebook::fares_to_vp_facebook_xml>(),
};

PyMemberDef converter_members[] = {
    {"protocol", T_UBYTE, offsetof(ConverterObject, protocol), READONLY, nullptr},
    {nullptr, 0, 0, 0, nullptr},
};

PyObject* converter_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    std::array<PyObject*, constructor_parameters.size()> bound{};
    if (!python::bind_tuple_and_dict(constructor, args, kwargs, bound)) return nullptr;
    std::uint8_t protocol = 0;
    if (!python::convert_argument(constructor_parameters[0], bound[0], protocol)) return nullptr;
    PyObject* self = type->tp_alloc(type, 0);
    if (self == nullptr) return nullptr;
    reinterpret_cast<ConverterObject*>(self)->protocol = protocol;
    return self;
}

void converter_dealloc(PyObject* self) {
    // Instances of a heap type own a reference to it.
    PyTypeObject* type = Py_TYPE(self);
    type->tp_free(self);
    Py_DECREF(type);
}

PyType_Slot converter_slots[] = {
    {Py_tp_new, reinterpret_cast<void*>(converter_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(converter_dealloc)},
    {Py_tp_members, converter_members},
    {Py_tp_doc, const_cast<char*>(python::class_doc<constructor>())},
    {0, nullptr},
};

// Dotted, so that CPython sets __module__ from it (without a dot it warns that the type has no
// __module__); the class is then renamed to the plain "Converter" that messages show.
PyType_Spec converter_spec = {
    "vesk_fares_to_xml.Converter",
    sizeof(ConverterObject),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE,
    converter_slots,
};

// The Converter class. Its methods are added after the protocol constants so that the class
// dict lists XML_PROTOCOL, TSV_PROTOCOL, then the methods in declaration order.
OwnedRef create_converter_type() {
    OwnedRef type = OwnedRef::steal(PyType_FromSpec(&converter_spec));
    if (!type) return {};
    const OwnedRef name =
        OwnedRef::steal(PyUnicode_FromStringAndSize(class_name.data(), class_name.size()));
    if (!name || PyObject_SetAttrString(type.get(), "__name__", name.get()) < 0) return {};
    // The class doc holds only a text signature: no docstring.
    if (PyObject_SetAttrString(type.get(), "__doc__", Py_None) < 0) return {};
    const OwnedRef xml = OwnedRef::steal(PyLong_FromLong(xml_protocol));
    const OwnedRef tsv = OwnedRef::steal(PyLong_FromLong(tsv_protocol));
    if (!xml || PyObject_SetAttrString(type.get(), "XML_PROTOCOL", xml.get()) < 0) return {};
    if (!tsv || PyObject_SetAttrString(type.get(), "TSV_PROTOCOL", tsv.get()) < 0) return {};
    auto* converter_type = reinterpret_cast<PyTypeObject*>(type.get());
    for (PyMethodDef& definition : converter_methods) {
        const OwnedRef descriptor =
            OwnedRef::steal(PyDescr_NewMethod(converter_type, &definition));
        if (!descriptor ||
            PyObject_SetAttrString(type.get(), definition.ml_name, descriptor.get()) < 0) {
            return {};
        }
    }
    return type;
}

bool add_to_all(PyObject* module, const char* name) {
    PyObject* module_dict = PyModule_GetDict(module);  // borrowed
    OwnedRef all = OwnedRef::borrow(PyDict_GetItemString(module_dict, "__all__"));
    if (!all) {
        all = OwnedRef::steal(PyList_New(0));
        if (!all || PyDict_SetItemString(module_dict, "__all__", all.get()) < 0) return false;
    }
    const OwnedRef text = OwnedRef::steal(PyUnicode_FromString(name));
    return text && PyList_Append(all.get(), text.get()) == 0;
}

// m_size 0 (not -1): when the module is imported again after removal from sys.modules, CPython
// calls PyInit again instead of copying the old module dict into a new module object, and
// PyInit hands back the one module of the process.
PyModuleDef module_definition = {
    PyModuleDef_HEAD_INIT,
    "vesk_fares_to_xml",
    "Python extension module that turns travel fares given as JSON text into XML product feeds.",
    0,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// The module of this process and the interpreter that created it.
PyObject* the_module = nullptr;
PyInterpreterState* module_interpreter = nullptr;

PyObject* create_module() {
    OwnedRef module = OwnedRef::steal(PyModule_Create(&module_definition));
    if (!module) return nullptr;
    // First, so that every later log record reaches Python.
    if (!python::install_logging_bridge()) return nullptr;
    const OwnedRef type = create_converter_type();
    if (!type || PyModule_AddObjectRef(module.get(), "Converter", type.get()) < 0 ||
        !add_to_all(module.get(), "Converter")) {
        return nullptr;
    }
    return module.release();
}

}  // namespace

}  // namespace vesk

PyMODINIT_FUNC PyInit_vesk_fares_to_xml() {
    using namespace vesk;
    PyInterpreterState* interpreter = PyInterpreterState_Get();
    if (module_interpreter != nullptr && module_interpreter != interpreter) {
        PyErr_SetString(PyExc_ImportError,
                        "vesk_fares_to_xml can only be imported in the interpreter that first "
                        "imported it");
        return nullptr;
    }
    if (the_module == nullptr) {
        the_module = python::translate_cpp_exceptions(create_module);
        if (the_module == nullptr) return nullptr;
        module_interpreter = interpreter;
    }
    return Py_NewRef(the_module);
}
