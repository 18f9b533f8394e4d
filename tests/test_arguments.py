"""Binding call arguments to parameters, and converting them, for the constructor and every method."""

import json
import logging

import pytest

from conftest import flight_fare
from signatures import METHOD_PARAMETERS
from vesk_fares_to_xml import Converter

SIGNATURES = {"__new__": ["protocol"], **METHOD_PARAMETERS}
METHODS = [name for name in SIGNATURES if name != "__new__"]

# A value of the right kind for every parameter; binding and conversion tests replace one of them.
VALID = {
    "protocol": 1,
    "fare_object": json.dumps(flight_fare()),
    "fare_objects_list": "[]",
    "feed_title": "Title",
    "domain": "https://example.com/feed",
    "image_mapping": {"JFK": "https://example.com/jfk.jpg"},
    "default_image_url": "https://example.com/default.jpg",
    "landing_page": "https://example.com/{{market_code}}/{{origin_iata}}-{{destination_iata}}",
}


def call(name, *args, **kwargs):
    if name == "__new__":
        return Converter(*args, **kwargs)
    return getattr(Converter(1), name)(*args, **kwargs)


def binding_error(name, *args, **kwargs):
    with pytest.raises(TypeError) as raised:
        call(name, *args, **kwargs)
    assert type(raised.value) is TypeError
    return str(raised.value)


def valid_arguments(name):
    return [VALID[parameter] for parameter in SIGNATURES[name]]


@pytest.mark.parametrize("name", SIGNATURES)
def test_one_positional_argument_too_many(name):
    count = len(SIGNATURES[name])
    message = binding_error(name, *valid_arguments(name), "extra")
    assert message == f"Converter.{name}() takes {count} positional arguments but {count + 1} were given"


@pytest.mark.parametrize(
    "name, args, message",
    [
        ("__new__", (1, 2), "Converter.__new__() takes 1 positional arguments but 2 were given"),
        ("fare_to_facebook", ("{}", "{}"), "Converter.fare_to_facebook() takes 1 positional arguments but 2 were given"),
        (
            "fares_to_vp_facebook_xml",
            ("[]", "t", "d", {}, "i", "l"),
            "Converter.fares_to_vp_facebook_xml() takes 3 positional arguments but 6 were given",
        ),
    ],
)
def test_too_many_positional_arguments(name, args, message):
    assert binding_error(name, *args) == message


@pytest.mark.parametrize("keyword", ["fare", "Protocol", "protocól", "\udc80"])
@pytest.mark.parametrize("name", SIGNATURES)
def test_unexpected_keyword_argument(name, keyword):
    message = binding_error(name, *valid_arguments(name), **{keyword: "x"})
    assert message == f"Converter.{name}() got an unexpected keyword argument '{keyword}'"


@pytest.mark.parametrize("name", SIGNATURES)
def test_keyword_for_a_parameter_already_given_by_position(name):
    parameters = SIGNATURES[name]
    last = parameters[-1]
    message = binding_error(name, *valid_arguments(name), **{last: VALID[last]})
    assert message == f"Converter.{name}() got multiple values for argument '{last}'"


@pytest.mark.parametrize(
    "name, args, kwargs, message",
    [
        ("__new__", (), {}, "Converter.__new__() missing 1 required positional argument: 'protocol'"),
        ("fare_to_google_xml", (), {}, "Converter.fare_to_google_xml() missing 1 required positional argument: 'fare_object'"),
        (
            "fares_to_vp_facebook_xml",
            ("[]",),
            {},
            "Converter.fares_to_vp_facebook_xml() missing 2 required positional arguments: 'feed_title' and 'domain'",
        ),
        (
            "fares_to_vp_facebook_xml",
            (),
            {},
            "Converter.fares_to_vp_facebook_xml() missing 3 required positional arguments: "
            "'fare_objects_list', 'feed_title', and 'domain'",
        ),
        (
            "fares_to_facebook",
            ("[]", "Title"),
            {},
            "Converter.fares_to_facebook() missing 4 required positional arguments: "
            "'domain', 'image_mapping', 'default_image_url', and 'landing_page'",
        ),
        (
            "fares_to_google_xml",
            (),
            {},
            "Converter.fares_to_google_xml() missing 6 required positional arguments: 'fare_objects_list', "
            "'feed_title', 'domain', 'image_mapping', 'default_image_url', and 'landing_page'",
        ),
        (
            "fares_to_criteo_xml",
            ("[]",),
            {"landing_page": "l", "domain": "d"},
            "Converter.fares_to_criteo_xml() missing 3 required positional arguments: "
            "'feed_title', 'image_mapping', and 'default_image_url'",
        ),
        (
            "fares_to_get_blue_xml",
            (),
            {"fare_objects_list": "[]", "feed_title": "t", "domain": "d", "image_mapping": {}},
            "Converter.fares_to_get_blue_xml() missing 2 required positional arguments: "
            "'default_image_url' and 'landing_page'",
        ),
    ],
)
def test_missing_arguments_are_listed_in_parameter_order(name, args, kwargs, message):
    assert binding_error(name, *args, **kwargs) == message


@pytest.mark.parametrize("name", METHODS)
def test_missing_every_argument(name):
    parameters = SIGNATURES[name]
    message = binding_error(name)
    assert message.startswith(f"Converter.{name}() missing {len(parameters)} required positional")
    assert message.endswith(f"'{parameters[-1]}'")


@pytest.mark.parametrize(
    "name, args, kwargs, message",
    [
        # Too many positional arguments is reported before any keyword.
        ("__new__", (1, 2), {"bogus": 3}, "Converter.__new__() takes 1 positional arguments but 2 were given"),
        # A bad keyword is reported before missing parameters.
        ("fares_to_google_xml", (), {"bogus": 1}, "Converter.fares_to_google_xml() got an unexpected keyword argument 'bogus'"),
        # Binding comes before conversion: the wrong types are never looked at.
        (
            "fares_to_facebook",
            (b"[]", None),
            {},
            "Converter.fares_to_facebook() missing 4 required positional arguments: "
            "'domain', 'image_mapping', 'default_image_url', and 'landing_page'",
        ),
    ],
)
def test_which_mistake_is_reported_first(name, args, kwargs, message):
    assert binding_error(name, *args, **kwargs) == message


def outcome(function, *args, **kwargs):
    try:
        return function(*args, **kwargs)
    except Exception as error:
        return type(error), error.args


@pytest.mark.parametrize("name", METHODS)
def test_all_arguments_by_keyword_in_any_order(name, converter):
    method = getattr(converter, name)
    by_keyword = {parameter: VALID[parameter] for parameter in reversed(SIGNATURES[name])}
    assert outcome(method, **by_keyword) == outcome(method, *valid_arguments(name))


TEXT_PARAMETERS = [
    (name, parameter) for name in METHODS for parameter in SIGNATURES[name] if parameter != "image_mapping"
]


@pytest.mark.parametrize("value", [b"[]", None, 1, bytearray(b"[]"), ["[]"]])
@pytest.mark.parametrize("name, parameter", TEXT_PARAMETERS)
def test_text_parameter_refuses_other_types(name, parameter, value):
    arguments = {p: VALID[p] for p in SIGNATURES[name]}
    arguments[parameter] = value
    message = binding_error(name, **arguments)
    assert message == f"argument '{parameter}': '{type(value).__name__}' object cannot be converted to 'str'"


@pytest.mark.parametrize("name, parameter", TEXT_PARAMETERS)
def test_lone_surrogate_in_text_raises_unicode_encode_error(name, parameter):
    arguments = {p: VALID[p] for p in SIGNATURES[name]}
    arguments[parameter] = "[\ud800]"
    with pytest.raises(UnicodeEncodeError):
        call(name, **arguments)


def test_first_unconvertible_argument_is_reported(converter):
    with pytest.raises(TypeError, match=r"^argument 'fare_objects_list': 'list' object"):
        converter.fares_to_google_xml([flight_fare()], "Title", "d", ["JFK"], "i", "l")


class ShoutingStr(str):
    """A str subclass whose Python-level conversions lie: only its characters may be used."""

    def __str__(self):
        return "SHOUTED"

    def encode(self, *args, **kwargs):
        return b"SHOUTED"


def test_str_subclass_is_read_by_its_characters(converter):
    document = converter.fares_to_google_xml(
        ShoutingStr("[]"), ShoutingStr("Quiet title"), "d", {}, "i", ShoutingStr("l")
    )
    assert "<title>Quiet title</title>" in document
    assert "SHOUTED" not in document


@pytest.mark.parametrize("value", [["JFK"], None, "JFK=x", [("JFK", "x")]])
def test_image_mapping_refuses_non_dicts(converter, value):
    with pytest.raises(TypeError) as raised:
        converter.fares_to_google_xml("[]", "t", "d", value, "i", "l")
    assert str(raised.value) == f"argument 'image_mapping': '{type(value).__name__}' object cannot be converted to 'dict'"


@pytest.mark.parametrize(
    "mapping, type_name",
    [({1: "x"}, "int"), ({"JFK": None}, "NoneType"), ({"JFK": b"x"}, "bytes"), ({"A": "x", b"B": "y"}, "bytes")],
)
def test_image_mapping_keys_and_values_must_be_str(converter, mapping, type_name):
    with pytest.raises(TypeError) as raised:
        converter.fares_to_google_xml("[]", "t", "d", mapping, "i", "l")
    assert str(raised.value) == f"argument 'image_mapping': '{type_name}' object cannot be converted to 'str'"


@pytest.mark.parametrize("mapping", [{"\ud800": "x"}, {"JFK": "\udfff"}])
def test_lone_surrogate_in_image_mapping_raises_unicode_encode_error(converter, mapping):
    with pytest.raises(UnicodeEncodeError):
        converter.fares_to_google_xml("[]", "t", "d", mapping, "i", "l")


def image_of(document):
    return document.split("<image>")[1].split("</image>")[0]


class LyingDict(dict):
    """A dict subclass whose Python-level accessors hide its real pairs."""

    def __iter__(self):
        return iter(())

    def items(self):
        return []

    def __getitem__(self, key):
        raise KeyError(key)


class Key(str):
    """Keys with the same text that the dict still keeps apart."""

    __hash__ = object.__hash__

    def __eq__(self, other):
        return self is other


@pytest.mark.parametrize(
    "mapping, image",
    [
        ({}, "default.jpg"),
        ({"JFK": "jfk.jpg"}, "jfk.jpg"),
        ({"jfk": "lower.jpg"}, "default.jpg"),
        (LyingDict(JFK="jfk.jpg"), "jfk.jpg"),
        ({Key("JFK"): "first.jpg", Key("JFK"): "second.jpg"}, "second.jpg"),
    ],
    ids=["empty", "plain", "case-sensitive", "dict-subclass", "later-duplicate-text-wins"],
)
def test_image_mapping_pairs_reach_the_feed(converter, one_fare_list, mapping, image):
    document = converter.fares_to_google_xml(one_fare_list, "t", "d", mapping, "default.jpg", "l")
    assert image_of(document) == image


def test_image_mapping_is_copied_before_python_code_runs_during_the_call(converter, one_fare_list):
    mapping = {"JFK": "".join(["jfk", ".jpg"])}

    class Vandal(logging.Handler):
        def emit(self, record):
            mapping.clear()
            mapping["JFK"] = "changed.jpg"

    logger = logging.getLogger("vesk_fares_to_xml.converter_google")
    vandal = Vandal()
    logger.addHandler(vandal)
    try:
        document = converter.fares_to_google_xml(one_fare_list, "t", "d", mapping, "default.jpg", "l")
    finally:
        logger.removeHandler(vandal)
    assert mapping == {"JFK": "changed.jpg"}
    assert image_of(document) == "jfk.jpg"


class Index:
    def __init__(self, result):
        self.result = result

    def __index__(self):
        if isinstance(self.result, BaseException):
            raise self.result
        return self.result


@pytest.mark.parametrize(
    "value, protocol",
    [(0, 0), (1, 1), (255, 255), (True, 1), (False, 0), (Index(7), 7)],
)
def test_protocol_accepts_integers_from_0_to_255(value, protocol):
    instance = Converter(value)
    assert type(instance.protocol) is int and instance.protocol == protocol
    assert Converter(protocol=value).protocol == protocol


@pytest.mark.parametrize("value", [256, -1, 2**63 - 1, -(2**63), Index(1000)])
def test_protocol_outside_0_to_255_overflows(value):
    with pytest.raises(OverflowError) as raised:
        Converter(value)
    assert str(raised.value) == "out of range integral type conversion attempted"


@pytest.mark.parametrize("value", [2**63, 2**64, -(2**63) - 1, 10**100])
def test_protocol_beyond_64_bits_raises_pythons_own_overflow_error(value):
    with pytest.raises(OverflowError) as raised:
        Converter(value)
    assert not str(raised.value).startswith("argument")
    assert str(raised.value) != "out of range integral type conversion attempted"


@pytest.mark.parametrize(
    "value, message",
    [
        ("1", "argument 'protocol': 'str' object cannot be interpreted as an integer"),
        (1.0, "argument 'protocol': 'float' object cannot be interpreted as an integer"),
        (None, "argument 'protocol': 'NoneType' object cannot be interpreted as an integer"),
        (Converter(1), "argument 'protocol': 'Converter' object cannot be interpreted as an integer"),
        (Index(TypeError("no index today")), "argument 'protocol': no index today"),
        (Index("1"), "argument 'protocol': __index__ returned non-int (type str)"),
    ],
)
def test_protocol_type_errors_name_the_argument(value, message):
    with pytest.raises(TypeError) as raised:
        Converter(value)
    assert type(raised.value) is TypeError
    assert str(raised.value) == message


def test_replaced_type_error_keeps_the_cause():
    root = ValueError("root cause")
    error = TypeError("bad index")
    error.__cause__ = root
    with pytest.raises(TypeError) as raised:
        Converter(Index(error))
    assert str(raised.value) == "argument 'protocol': bad index"
    assert raised.value.__cause__ is root


class NarrowTypeError(TypeError):
    pass


@pytest.mark.parametrize("error", [ValueError("not today"), NarrowTypeError("narrow"), ZeroDivisionError()])
def test_other_exceptions_from_index_pass_through_unchanged(error):
    with pytest.raises(type(error)) as raised:
        Converter(Index(error))
    assert raised.value is error
