"""The module object, its initialisation, and the Converter class as Python code sees it."""

import inspect
import os
import sys

import pytest

import vesk_fares_to_xml
from signatures import METHOD_PARAMETERS, SINGLE_FARE
from vesk_fares_to_xml import Converter

METHODS = METHOD_PARAMETERS
SINGLE_FARE_METHODS = [name for name, parameters in METHODS.items() if parameters is SINGLE_FARE]


def test_module_docstring_is_one_sentence_naming_an_extension_module():
    doc = vesk_fares_to_xml.__doc__
    assert "Python extension module" in doc
    assert doc.endswith(".") and doc.count(".") == 1


def test_all_exports_the_converter():
    assert vesk_fares_to_xml.__all__ == ["Converter"]
    namespace = {}
    exec("from vesk_fares_to_xml import *", namespace)
    assert namespace["Converter"] is Converter


def test_import_after_removal_from_sys_modules_gives_the_same_module():
    original = sys.modules.pop("vesk_fares_to_xml")
    try:
        import vesk_fares_to_xml as again
    finally:
        sys.modules["vesk_fares_to_xml"] = original
    assert again is original
    assert again.Converter is Converter
    assert again.__all__ == ["Converter"]


def _run_in_testcapi_subinterpreter(source):
    _testcapi = pytest.importorskip("_testcapi")
    if not hasattr(_testcapi, "run_in_subinterp"):
        pytest.skip("_testcapi.run_in_subinterp is not available")
    _testcapi.run_in_subinterp(source)


def _run_in_interpreters_module(source):
    module = None
    for name in ("_interpreters", "_xxsubinterpreters"):
        try:
            module = __import__(name)
            break
        except ImportError:
            continue
    if module is None:
        pytest.skip("no low-level interpreters module in this Python")
    interpreter = module.create()
    try:
        module.run_string(interpreter, source)
    finally:
        module.destroy(interpreter)


@pytest.mark.parametrize("run_in_subinterpreter", [_run_in_testcapi_subinterpreter, _run_in_interpreters_module])
def test_import_from_a_subinterpreter_raises_import_error(run_in_subinterpreter):
    read_end, write_end = os.pipe()
    source = f"""
import os
try:
    import vesk_fares_to_xml
except ImportError:
    outcome = "ImportError"
except BaseException as error:
    outcome = "other " + type(error).__name__
else:
    outcome = "imported"
os.write({write_end}, outcome.encode())
"""
    try:
        run_in_subinterpreter(source)
        os.close(write_end)
        write_end = None
        outcome = os.read(read_end, 1000).decode()
    finally:
        if write_end is not None:
            os.close(write_end)
        os.close(read_end)
    assert outcome == "ImportError"
    # The first interpreter's module is untouched.
    assert sys.modules["vesk_fares_to_xml"] is vesk_fares_to_xml
    assert Converter(1).protocol == 1


def test_failed_logging_import_fails_the_import_and_leaves_no_module(run_python):
    result = run_python(
        """
        import sys
        sys.modules["logging"] = None  # makes `import logging` fail
        try:
            import vesk_fares_to_xml
        except Exception as error:
            print(type(error).__name__)
            print(str(error))
        print("vesk_fares_to_xml" in sys.modules)
        del sys.modules["logging"]
        import vesk_fares_to_xml
        print(vesk_fares_to_xml.Converter(2).protocol, vesk_fares_to_xml.__all__)
        """
    )
    assert result.returncode == 0, result.stderr
    kind, message, left_behind, after_retry = result.stdout.splitlines()
    assert kind == "ImportError"
    assert message.startswith("Failed to initialize python logging")
    assert left_behind == "False"
    assert after_retry == "2 ['Converter']"


def test_import_raises_no_warning(run_python):
    result = run_python("import warnings; warnings.simplefilter('error'); import vesk_fares_to_xml")
    assert result.returncode == 0, result.stderr


def test_class_name_has_no_module_prefix():
    assert Converter.__name__ == "Converter"
    assert Converter.__qualname__ == "Converter"
    assert Converter.__module__ == "vesk_fares_to_xml"


@pytest.mark.parametrize("owner", [Converter, Converter(0)], ids=["class", "instance"])
def test_protocol_constants(owner):
    assert type(owner.XML_PROTOCOL) is int and owner.XML_PROTOCOL == 1
    assert type(owner.TSV_PROTOCOL) is int and owner.TSV_PROTOCOL == 2


def test_protocol_is_read_only():
    instance = Converter(1)
    with pytest.raises(AttributeError):
        instance.protocol = 2
    with pytest.raises(AttributeError):
        del instance.protocol
    assert instance.protocol == 1


def test_python_subclass_keeps_constants_protocol_and_methods():
    class Custom(Converter):
        def describe(self):
            return f"protocol {self.protocol}"

    instance = Custom(Converter.TSV_PROTOCOL)
    assert isinstance(instance, Converter)
    assert instance.describe() == "protocol 2"
    assert (Custom.XML_PROTOCOL, Custom.TSV_PROTOCOL) == (1, 2)
    assert inspect.signature(Custom) == inspect.signature(Converter)
    with pytest.raises(OSError):
        instance.fare_to_facebook("")


def test_class_signature_and_no_docstring():
    assert str(inspect.signature(Converter)) == "(protocol)"
    assert Converter.__doc__ is None


@pytest.mark.parametrize("name, parameters", METHODS.items())
def test_method_signature_and_no_docstring(name, parameters):
    method = getattr(Converter, name)
    assert method.__text_signature__ == f"($self, {', '.join(parameters)})"
    assert list(inspect.signature(method).parameters) == ["self", *parameters]
    assert list(inspect.signature(getattr(Converter(1), name)).parameters) == parameters
    assert method.__doc__ is None


def test_members_in_declaration_order():
    declared = ["XML_PROTOCOL", "TSV_PROTOCOL", *METHODS]
    assert [name for name in vars(Converter) if name in declared] == declared


@pytest.mark.parametrize("name", SINGLE_FARE_METHODS)
def test_failed_operation_raises_plain_os_error_with_the_message(name):
    with pytest.raises(OSError) as raised:
        getattr(Converter(1), name)("")
    error = raised.value
    assert type(error) is OSError
    assert error.args == ("EOF while parsing a value at line 1 column 0",)
    assert str(error) == "EOF while parsing a value at line 1 column 0"
    assert error.errno is None and error.strerror is None


def test_protocol_selects_nothing(one_fare_list):
    arguments = (one_fare_list, "Title", "https://example.com/feed", {"JFK": "jfk.jpg"}, "default.jpg", "/{{origin_iata}}")
    assert Converter(1).fares_to_google_xml(*arguments) == Converter(2).fares_to_google_xml(*arguments)
