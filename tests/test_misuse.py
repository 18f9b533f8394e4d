"""Misuse that must stay harmless: argument objects that override what the binding must not rely
on, integers that misbehave, texts that cannot be encoded, inputs of hundreds of megabytes, deep
nesting, logging handlers that raise or call back into the module, and threads sharing one
instance. Each ends in the specified result or a clear exception, and the interpreter goes on."""

import logging
import threading
import time

import pytest

from fares import fares_text, flight_fare, json_text, package_fare
from vesk_fares_to_xml import Converter

LOGGER = logging.getLogger("vesk_fares_to_xml")
FLIGHT_SETTINGS = (
    "Offers",
    "https://feeds.example/offers.xml",
    {"CDG": "https://img.example/paris.jpg"},
    "https://img.example/default.jpg",
    "https://travel.example/{{market_code}}/{{origin_iata}}-{{destination_iata}}",
)
PACKAGE_SETTINGS = ("Holidays", "https://feeds.example/vp.xml")
FLIGHTS = fares_text(flight_fare(), flight_fare(tessaro_id="F2", arrival="JFK", destination="New York"))
PACKAGES = fares_text(package_fare(), package_fare(tessaro_id="P2"))

# Valid arguments of every method.
CALLS = {
    "fare_to_facebook": (json_text(flight_fare()),),
    "fare_to_google_xml": (json_text(flight_fare()),),
    "fare_to_criteo_xml": (json_text(flight_fare()),),
    "fare_to_get_blue_xml": (json_text(flight_fare()),),
    "fare_to_vp_facebook_xml": (json_text(package_fare()),),
    "fares_to_facebook": (FLIGHTS, *FLIGHT_SETTINGS),
    "fares_to_google_xml": (FLIGHTS, *FLIGHT_SETTINGS),
    "fares_to_criteo_xml": (FLIGHTS, *FLIGHT_SETTINGS),
    "fares_to_get_blue_xml": (FLIGHTS, *FLIGHT_SETTINGS),
    "fares_to_vp_facebook_xml": (PACKAGES, *PACKAGE_SETTINGS),
}
FLIGHT_BATCH = ["fares_to_facebook", "fares_to_google_xml", "fares_to_criteo_xml", "fares_to_get_blue_xml"]
BATCH = [*FLIGHT_BATCH, "fares_to_vp_facebook_xml"]
SIGNATURES = {
    method: ["fare_object"] if method.startswith("fare_to_")
    else ["fare_objects_list", "feed_title", "domain", "image_mapping", "default_image_url", "landing_page"]
    if method in FLIGHT_BATCH
    else ["fare_objects_list", "feed_title", "domain"]
    for method in CALLS
}


@pytest.fixture(scope="module")
def converter():
    return Converter(Converter.XML_PROTOCOL)


@pytest.fixture(scope="module")
def expected(converter):
    """What every method returns for its valid arguments, computed once."""
    return {method: getattr(converter, method)(*args) for method, args in CALLS.items()}


# --- argument objects ------------------------------------------------------------------------


class DeceitfulStr(str):
    """A str whose Python-level behaviour denies its characters: the binding must read the
    characters themselves."""

    def __eq__(self, other):
        return True

    def __hash__(self):
        return 0

    def __iter__(self):
        raise RuntimeError("the binding iterated a text")

    def __str__(self):
        return "not the text"

    def __len__(self):
        return 0

    def encode(self, *args, **kwargs):
        raise RuntimeError("the binding called encode")


class DeceitfulDict(dict):
    """A dict whose Python-level views describe other pairs than it holds: the binding must take
    the pairs it holds."""

    def __iter__(self):
        return iter(["JFK"])

    def keys(self):
        return ["JFK"]

    def values(self):
        return ["https://img.example/wrong.jpg"]

    def items(self):
        return [("JFK", "https://img.example/wrong.jpg")]

    def __getitem__(self, key):
        return "https://img.example/wrong.jpg"

    def get(self, key, default=None):
        return "https://img.example/wrong.jpg"

    def __len__(self):
        return 1

    def __contains__(self, key):
        return key == "JFK"

    def __eq__(self, other):
        return True

    def __hash__(self):
        return 0


def deceitful(value):
    if isinstance(value, dict):
        return DeceitfulDict({DeceitfulStr(key): DeceitfulStr(text) for key, text in value.items()})
    return DeceitfulStr(value)


@pytest.mark.parametrize("method", CALLS)
def test_str_and_dict_subclasses_are_read_by_what_they_hold(converter, expected, method):
    args = [deceitful(value) for value in CALLS[method]]
    assert getattr(converter, method)(*args) == expected[method]


class Index:
    """An object usable as an integer only through __index__, which does `behaviour`."""

    def __init__(self, behaviour):
        self.behaviour = behaviour

    def __index__(self):
        return self.behaviour()


class IndexTypeError(TypeError):
    pass


def raise_(exception):
    def behaviour():
        raise exception

    return behaviour


@pytest.mark.parametrize(
    "behaviour, exception, message",
    [
        (lambda: 7, None, None),
        (lambda: 2**100, OverflowError, None),
        (lambda: -(2**100), OverflowError, None),
        (lambda: 2**63, OverflowError, None),
        (lambda: 256, OverflowError, "out of range integral type conversion attempted"),
        (lambda: -1, OverflowError, "out of range integral type conversion attempted"),
        (lambda: "7", TypeError, "argument 'protocol': __index__ returned non-int (type str)"),
        (raise_(ValueError("no index today")), ValueError, "no index today"),
        (raise_(TypeError("no index today")), TypeError, "argument 'protocol': no index today"),
        (raise_(IndexTypeError("no index today")), IndexTypeError, "no index today"),
        (raise_(MemoryError()), MemoryError, ""),
    ],
    ids=["7", "2**100", "-2**100", "2**63", "256", "-1", "returns str", "raises ValueError",
         "raises TypeError", "raises TypeError subclass", "raises MemoryError"],
)
def test_index_objects_that_raise_or_return_huge_values(behaviour, exception, message):
    if exception is None:
        assert Converter(Index(behaviour)).protocol == 7
    else:
        with pytest.raises(exception) as raised:
            Converter(protocol=Index(behaviour))
        assert type(raised.value) is exception
        if message is not None:
            assert str(raised.value) == message
    assert Converter(1).protocol == 1


SURROGATE_TEXT = "Lond\udc00n"
TEXT_SLOTS = [
    (method, position, part)
    for method, parameters in SIGNATURES.items()
    for position, parameter in enumerate(parameters)
    for part in (("key", "value") if parameter == "image_mapping" else ("text",))
]


@pytest.mark.parametrize(
    "method, position, part", TEXT_SLOTS, ids=[f"{m}-{SIGNATURES[m][p]}-{part}" for m, p, part in TEXT_SLOTS]
)
def test_lone_surrogate_in_every_text_parameter(converter, expected, method, position, part):
    args = list(CALLS[method])
    args[position] = {
        "key": {SURROGATE_TEXT: "https://img.example/x.jpg"},
        "value": {"CDG": SURROGATE_TEXT},
        "text": SURROGATE_TEXT,
    }[part]

    with pytest.raises(UnicodeEncodeError):
        getattr(converter, method)(*args)
    assert getattr(converter, method)(*CALLS[method]) == expected[method]


# --- sizes and depths ------------------------------------------------------------------------


def test_batch_of_200_megabytes(converter):
    """The document of 200 MB of fares is the small batch's document with its items repeated:
    the same fares, written the same way, however many there are."""
    small_fares = [
        flight_fare(tessaro_id=f"F{index:04}", arrival=("CDG", "JFK", "BCN")[index % 3], origin=f"City {index}")
        for index in range(1000)
    ]
    small = fares_text(*small_fares)
    repeats = 200 * 2**20 // len(small) + 1
    large = "[" + ",".join([small[1:-1]] * repeats) + "]"
    assert len(large) >= 200 * 2**20

    small_document = converter.fares_to_google_xml(small, *FLIGHT_SETTINGS)
    head = small_document[: small_document.index("<listing>")]
    tail = small_document[small_document.rindex("</listing>") + len("</listing>") :]
    items = small_document[len(head) : len(small_document) - len(tail)]
    del small_document

    document = converter.fares_to_google_xml(large, *FLIGHT_SETTINGS)
    assert len(document) == len(head) + repeats * len(items) + len(tail)
    assert document == head + items * repeats + tail


FIFTY_MEGABYTES = 50 * 2**20


@pytest.mark.parametrize(
    "json_value, value",
    [
        pytest.param('"' + "x" * FIFTY_MEGABYTES + '"', "x" * FIFTY_MEGABYTES, id="plain"),
        pytest.param('"' + "\\u00fc" * (FIFTY_MEGABYTES // 2) + '"', "\u00fc" * (FIFTY_MEGABYTES // 2), id="escaped"),
    ],
)
def test_string_value_of_50_megabytes(converter, json_value, value):
    """A 50 MB city name reaches the item whole, as a short one does."""
    fare = json_text(flight_fare(origin="SHORT-NAME"))
    small_item = converter.fare_to_criteo_xml(fare)
    large_item = converter.fare_to_criteo_xml(fare.replace('"SHORT-NAME"', json_value))
    assert large_item == small_item.replace("SHORT-NAME", value)


MILLION_DIGITS = "7" * 1_000_000


def with_member(fare_text, key, json_value):
    """The JSON text of a fare object with one more member at its end."""
    return fare_text[:-1] + f', "{key}": {json_value}}}'


@pytest.mark.parametrize(
    "json_value",
    [
        pytest.param(MILLION_DIGITS, id="integer"),
        pytest.param("-" + MILLION_DIGITS + "." + MILLION_DIGITS + "e-999999", id="fraction and exponent"),
        pytest.param("[" * 1_000_000 + "]" * 1_000_000, id="million nested arrays"),
        pytest.param('{"a":' * 1_000_000 + "null" + "}" * 1_000_000, id="million nested objects"),
    ],
)
def test_huge_values_under_an_unknown_key_are_skipped(converter, expected, json_value):
    fare_text = with_member(json_text(package_fare()), "extra", json_value)
    assert converter.fare_to_vp_facebook_xml(fare_text) == expected["fare_to_vp_facebook_xml"]


def test_million_digits_under_a_known_key_are_out_of_range(converter):
    fare = json_text(package_fare(room_count=7))
    fare_text = fare.replace('"roomCount": 7', '"roomCount": ' + MILLION_DIGITS)
    column = fare_text.index(MILLION_DIGITS) + len(MILLION_DIGITS)
    with pytest.raises(OSError) as raised:
        converter.fare_to_vp_facebook_xml(fare_text)
    assert str(raised.value) == f"number out of range at line 1 column {column}"


@pytest.mark.parametrize("key", ["tessaroId", "outboundFlight", "priceSpecification"])
def test_one_level_beyond_the_nesting_limit_under_a_known_key(converter, expected, key):
    """The fare object is the first level, so 127 arrays under a known key make 128 levels. No
    record field is that deep, so the read fails on the first value of the wrong type, cleanly."""
    fare = flight_fare()
    fare_text = json_text({key: None, **{k: v for k, v in fare.items() if k != key}})
    fare_text = fare_text.replace(f'"{key}": null', f'"{key}": ' + "[" * 127 + "]" * 127)
    with pytest.raises(OSError) as raised:
        converter.fare_to_google_xml(fare_text)
    assert type(raised.value) is OSError
    assert str(raised.value).startswith("invalid type: sequence, expected a string at line 1 column ")
    assert converter.fare_to_google_xml(*CALLS["fare_to_google_xml"]) == expected["fare_to_google_xml"]


# --- logging handlers ------------------------------------------------------------------------


@pytest.fixture
def module_handler():
    """Adds a handler to the module's logger for the test's duration."""
    added = []

    def add(handler):
        LOGGER.addHandler(handler)
        added.append(handler)

    yield add
    for handler in added:
        LOGGER.removeHandler(handler)


class RaisingHandler(logging.Handler):
    def __init__(self):
        super().__init__()
        self.calls = 0

    def emit(self, record):
        self.calls += 1
        raise RuntimeError(f"handler failed on: {record.getMessage()[:40]}")


@pytest.mark.parametrize("method", BATCH)
def test_handler_that_raises_on_every_record(converter, expected, module_handler, capsys, method):
    handler = RaisingHandler()
    module_handler(handler)

    assert getattr(converter, method)(*CALLS[method]) == expected[method]
    # An unreadable batch still fails with its own reading error, not with the handler's.
    with pytest.raises(OSError) as raised:
        getattr(converter, method)("[{", *CALLS[method][1:])
    assert type(raised.value) is OSError
    assert str(raised.value) == "EOF while parsing an object at line 1 column 2"

    printed = capsys.readouterr().err
    assert handler.calls >= 4
    assert printed.count("RuntimeError: handler failed on: ") == handler.calls


@pytest.mark.parametrize("method", BATCH)
def test_handler_that_calls_the_converter_again(converter, expected, module_handler, method):
    """The first record of each call starts the same batch again from inside the handler, ten
    calls deep, and a failing one beside it; every call at every depth gives its own result."""
    outcomes = []
    depth = [0]
    reentered_at = set()

    class CallAgain(logging.Handler):
        def emit(self, record):
            if depth[0] >= 10 or depth[0] in reentered_at:
                return
            reentered_at.add(depth[0])
            depth[0] += 1
            try:
                outcomes.append(getattr(converter, method)(*CALLS[method]) == expected[method])
                try:
                    getattr(converter, method)("{}", *CALLS[method][1:])
                    outcomes.append(False)
                except OSError as error:
                    outcomes.append(str(error) == "invalid type: map, expected a sequence at line 1 column 0")
            finally:
                depth[0] -= 1

    module_handler(CallAgain())
    assert getattr(converter, method)(*CALLS[method]) == expected[method]
    assert outcomes == [True] * 20


# --- threads ---------------------------------------------------------------------------------


def test_threads_calling_one_instance_get_the_single_threaded_results(converter, expected, module_handler):
    """Eight threads call every method, valid and failing, on one instance; a handler gives the
    interpreter lock away on every record so that the calls interleave."""

    class YieldingHandler(logging.Handler):
        def emit(self, record):
            time.sleep(0)

    module_handler(YieldingHandler())
    failing = {method: ("[" if method in BATCH else "{", *args[1:]) for method, args in CALLS.items()}
    failures = {}
    for method, args in failing.items():
        with pytest.raises(OSError) as raised:
            getattr(converter, method)(*args)
        failures[method] = str(raised.value)

    start = threading.Barrier(8)
    seen = []

    def work(offset):
        start.wait()
        methods = list(CALLS)
        for round_ in range(20):
            method = methods[(offset + round_) % len(methods)]
            result = getattr(converter, method)(*CALLS[method])
            seen.append(result == expected[method])
            try:
                getattr(converter, method)(*failing[method])
                seen.append(False)
            except OSError as error:
                seen.append(str(error) == failures[method])

    threads = [threading.Thread(target=work, args=(offset,)) for offset in range(8)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()

    assert len(seen) == 8 * 20 * 2
    assert all(seen)
