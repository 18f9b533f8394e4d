"""Leaks: every method called 100,000 times in a fresh interpreter, with valid and with failing
arguments, leaves the reference counts of its arguments as they were and the resident memory
within 5 MB of what it was after a warm-up."""

import ctypes
import json
import subprocess
import sys

import pytest

from fares import fares_text, flight_fare, json_text, package_fare

ITERATIONS = 100_000
RSS_LIMIT = 5 * 1024 * 1024

# AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing about leaks
# there; the reference counts still do, and a smaller number of calls shows any change of them.
UNDER_ADDRESS_SANITIZER = hasattr(ctypes.CDLL(None), "__asan_init")
if UNDER_ADDRESS_SANITIZER:
    ITERATIONS = 2_000

FLIGHT = json_text(flight_fare())
FLIGHTS = fares_text(flight_fare(tessaro_id="F1", arrival="JFK"), flight_fare(tessaro_id="F2", arrival="CDG"))
PACKAGE = json_text(package_fare())
PACKAGES = fares_text(package_fare(tessaro_id="P1"), package_fare(tessaro_id="P2"))
NO_CITY = fares_text(flight_fare(destination=None))
NO_HOTEL_IMAGE = package_fare(images=())
FEED = ["Offers feed", "https://feeds.example/offers.xml"]
IMAGES = {"JFK": "https://img.example/new-york.jpg", "LHR": "https://img.example/london.jpg"}
FLIGHT_SETTINGS = [*FEED, IMAGES, "https://img.example/default.jpg", "https://travel.example/{{market_code}}/{{origin_iata}}"]
LONE_SURROGATE = "text \ud800 with a lone surrogate"

SINGLE_FLIGHT = ["fare_to_facebook", "fare_to_google_xml", "fare_to_criteo_xml", "fare_to_get_blue_xml"]
FLIGHT_BATCH = ["fares_to_facebook", "fares_to_google_xml", "fares_to_criteo_xml", "fares_to_get_blue_xml"]


def case(label, method, args, raises=None, **kwargs):
    """One call, repeated: the method (__new__ for the constructor), its arguments, and the
    exception it must raise (None: it returns)."""
    return pytest.param(
        {"method": method, "args": args, "kwargs": kwargs, "raises": raises}, id=f"{method}-{label}"
    )


CASES = [
    case("valid", "__new__", [1]),
    case("out of range", "__new__", [256], "OverflowError"),
    case("beyond 64 bits", "__new__", [2**70], "OverflowError"),
    case("not an integer", "__new__", ["one"], "TypeError"),
    *(case("valid", method, [FLIGHT]) for method in SINGLE_FLIGHT),
    case("valid", "fare_to_vp_facebook_xml", [PACKAGE]),
    *(case("valid", method, [FLIGHTS, *FLIGHT_SETTINGS]) for method in FLIGHT_BATCH),
    case("valid", "fares_to_vp_facebook_xml", [PACKAGES, *FEED]),
    case("by keyword", "fares_to_criteo_xml", [], **dict(zip(
        ["fare_objects_list", "feed_title", "domain", "image_mapping", "default_image_url", "landing_page"],
        [FLIGHTS, *FLIGHT_SETTINGS],
    ))),
    *(case("reading error", method, ['{"tessaroId": 7}'], "OSError")
      for method in [*SINGLE_FLIGHT, "fare_to_vp_facebook_xml"]),
    *(case("reading error", method, ["[{]", *FLIGHT_SETTINGS], "OSError") for method in FLIGHT_BATCH),
    case("reading error", "fares_to_vp_facebook_xml", ["[{]", *FEED], "OSError"),
    # The last argument has the wrong type, so every argument before it has been converted. (Not None:
    # its reference count moves with everything the interpreter does.)
    *(case("wrong type", method, [12.5], "TypeError") for method in [*SINGLE_FLIGHT, "fare_to_vp_facebook_xml"]),
    *(case("wrong type", method, [FLIGHTS, *FLIGHT_SETTINGS[:-1], 12.5], "TypeError") for method in FLIGHT_BATCH),
    case("wrong type", "fares_to_vp_facebook_xml", [PACKAGES, FEED[0], 12.5], "TypeError"),
    case("map value not a str", "fares_to_google_xml",
         [FLIGHTS, *FEED, {"JFK": "https://img.example/jfk.jpg", "CDG": 5}, *FLIGHT_SETTINGS[3:]], "TypeError"),
    case("missing arguments", "fares_to_criteo_xml", [FLIGHTS, *FEED], "TypeError"),
    case("too many arguments", "fares_to_criteo_xml", [FLIGHTS, *FLIGHT_SETTINGS, "extra text"], "TypeError"),
    case("unexpected keyword", "fares_to_criteo_xml", [FLIGHTS, *FLIGHT_SETTINGS], "TypeError", colour="blue"),
    case("multiple values", "fares_to_criteo_xml", [FLIGHTS, *FLIGHT_SETTINGS], "TypeError", domain="again"),
    case("lone surrogate", "fare_to_facebook", [LONE_SURROGATE], "UnicodeEncodeError"),
    case("lone surrogate", "fares_to_google_xml", [FLIGHTS, *FLIGHT_SETTINGS[:-1], LONE_SURROGATE], "UnicodeEncodeError"),
    case("lone surrogate in the map", "fares_to_get_blue_xml",
         [FLIGHTS, *FEED, {"JFK": LONE_SURROGATE}, *FLIGHT_SETTINGS[3:]], "UnicodeEncodeError"),
    case("no city name", "fares_to_facebook", [NO_CITY, *FLIGHT_SETTINGS], "OSError"),
    case("no city name", "fares_to_get_blue_xml", [NO_CITY, *FLIGHT_SETTINGS], "OSError"),
    case("no hotel image", "fare_to_vp_facebook_xml", [json_text(NO_HOTEL_IMAGE)], "OSError"),
    case("no hotel image", "fares_to_vp_facebook_xml", [fares_text(NO_HOTEL_IMAGE, package_fare()), *FEED]),
]

# Runs in a fresh interpreter: the case comes as JSON, so every argument is a new object of this
# process. The module's records are all passed on to a handler that drops them, so the logging
# bridge takes its full path on every call.
PROBE = r"""
import builtins, gc, json, logging, os, sys

import vesk_fares_to_xml

case, iterations = json.loads(sys.argv[1]), int(sys.argv[2])

class Drop(logging.Handler):
    def emit(self, record):
        pass

logger = logging.getLogger("vesk_fares_to_xml")
logger.setLevel(logging.DEBUG)
logger.addHandler(Drop())
logger.propagate = False

converter = vesk_fares_to_xml.Converter(1)
method = vesk_fares_to_xml.Converter if case["method"] == "__new__" else getattr(converter, case["method"])
args, kwargs = case["args"], case["kwargs"]
expected = getattr(builtins, case["raises"]) if case["raises"] else ()

watched = [*args, *kwargs.values()]
watched += [item for value in watched if isinstance(value, dict) for pair in value.items() for item in pair]

def call():
    try:
        method(*args, **kwargs)
    except expected:
        pass

def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")

try:
    result = method(*args, **kwargs)
    outcome = type(result).__name__
except Exception as error:
    outcome = type(error).__name__

for _ in range(1000):
    call()
gc.collect()
counts_before = [sys.getrefcount(value) for value in watched]
resident_before = resident_bytes()
for _ in range(iterations):
    call()
gc.collect()
resident_after = resident_bytes()
counts_after = [sys.getrefcount(value) for value in watched]

print(json.dumps({
    "outcome": outcome,
    "refcount_changes": [
        [repr(value)[:60], after - before]
        for value, before, after in zip(watched, counts_before, counts_after)
        if after != before
    ],
    "rss_growth": resident_after - resident_before,
}))
"""


@pytest.mark.parametrize("call", CASES)
def test_repeated_calls_leak_nothing(call):
    run = subprocess.run(
        [sys.executable, "-c", PROBE, json.dumps(call), str(ITERATIONS)],
        capture_output=True,
        text=True,
        timeout=300,
    )
    assert run.returncode == 0, run.stderr
    measured = json.loads(run.stdout)

    assert measured["outcome"] == (call["raises"] or ("Converter" if call["method"] == "__new__" else "str"))
    assert measured["refcount_changes"] == []
    if not UNDER_ADDRESS_SANITIZER:
        assert measured["rss_growth"] < RSS_LIMIT, f"resident memory grew by {measured['rss_growth']} bytes"
