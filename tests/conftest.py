"""Fixtures shared by the tests of the Python surface: sample fares and a fresh interpreter."""

import json
import logging
import subprocess
import sys
import textwrap

import pytest

import vesk_fares_to_xml

# The logging bridge keeps, per logger, the most verbose level that logger was enabled for at
# its first record, for the rest of the process. Opening the module's loggers before any test
# logs lets each test narrow a level and see records come and go.
logging.getLogger("vesk_fares_to_xml").setLevel(logging.DEBUG)


def flight_fare(tessaro_id="F1", departure="LHR", arrival="JFK", market="GB"):
    """One flight fare record with both city names, as the flight feeds accept it."""
    return {
        "tessaroId": tessaro_id,
        "journeyType": "ONE_WAY",
        "priceSpecification": {"currencyCode": "EUR", "formatedTotalPrice": "99.90"},
        "outboundFlight": {
            "departureAirportIataCode": departure,
            "arrivalAirportIataCode": arrival,
            "origin": {"city": {"name": "London"}},
            "destination": {"city": {"name": "New York"}},
        },
        "departureDate": "2026-05-01",
        "market": market,
    }


@pytest.fixture
def converter():
    return vesk_fares_to_xml.Converter(vesk_fares_to_xml.Converter.XML_PROTOCOL)


@pytest.fixture
def one_fare_list():
    """The JSON text of a list holding one flight fare to JFK."""
    return json.dumps([flight_fare()])


@pytest.fixture
def run_python(tmp_path):
    """Runs Python source in a new interpreter process, where the module is not imported yet."""

    def run(source):
        return subprocess.run(
            [sys.executable, "-c", textwrap.dedent(source)],
            capture_output=True,
            text=True,
            cwd=tmp_path,
            timeout=300,
        )

    return run
