"""The public JSON conformance corpus, read as the value of an unknown key inside a valid fare.

A skipped value is only tested for being well-formed JSON. `y_` texts must be accepted and `n_`
texts rejected with an end-of-input or syntax error; every text, `i_` ones included, is decided
the way a strict reader of the JSON grammar decides it (Python's own `json` with the non-standard
constants refused), and texts that are not UTF-8 cannot reach the reader as `str` at all.
"""

import json
import pathlib
import re

import pytest

import vesk_fares_to_xml

CORPUS = pathlib.Path(__file__).resolve().parents[1] / ".." / "shared" / "json-test-suite" / "test_parsing"
FILES = sorted(CORPUS.glob("*.json")) if CORPUS.is_dir() else []

pytestmark = pytest.mark.skipif(not FILES, reason="the JSON conformance corpus is not beside the repository")

GRAMMAR_REASONS = (
    "EOF while parsing a list",
    "EOF while parsing an object",
    "EOF while parsing a string",
    "EOF while parsing a value",
    "expected `:`",
    "expected `,` or `]`",
    "expected `,` or `}`",
    "expected ident",
    "expected value",
    "invalid escape",
    "invalid number",
    "control character (\\u0000-\\u001F) found while parsing a string",
    "key must be a string",
    "trailing comma",
    "trailing characters",
)

FARE_HEAD = (
    '{"tessaroId":"F1","journeyType":"ONE_WAY",'
    '"priceSpecification":{"currencyCode":"EUR","formatedTotalPrice":"10"},'
    '"outboundFlight":{"departureAirportIataCode":"LHR","arrivalAirportIataCode":"CDG"},'
    '"departureDate":"2025-01-01","unknown":'
)


def _strictly_valid(text):
    def refuse(constant):
        raise ValueError(constant)

    try:
        json.loads(text, parse_constant=refuse)
    except (ValueError, RecursionError):
        return False
    return True


@pytest.fixture(scope="module")
def converter():
    return vesk_fares_to_xml.Converter(1)


@pytest.mark.parametrize("path", FILES, ids=[path.name for path in FILES])
def test_skipped_value(converter, path):
    raw = path.read_bytes()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        # Not UTF-8: as str it can only carry the bad bytes as lone surrogates, which the text
        # conversion refuses before anything is read.
        with pytest.raises(UnicodeEncodeError):
            converter.fare_to_google_xml(FARE_HEAD + raw.decode("utf-8", "surrogateescape") + "}")
        assert not path.name.startswith("y_")
        return

    accepted = _strictly_valid(text)
    if path.name.startswith("y_"):
        assert accepted
    if path.name.startswith("n_"):
        assert not accepted

    document = FARE_HEAD + text + "}"
    if accepted:
        assert "<id>F1</id>" in converter.fare_to_google_xml(document)
    else:
        with pytest.raises(OSError) as raised:
            converter.fare_to_google_xml(document)
        reason = re.sub(r" at line \d+ column \d+$", "", raised.value.args[0])
        assert reason in GRAMMAR_REASONS
