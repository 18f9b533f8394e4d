"""The rules for reading fare JSON, one table each for the flight fare record, the package fare
record and the JSON rules both share, read through the public methods. A row gives an input and
either the exact reading error or another text it must read the same as."""

import dataclasses
import json

import pytest

from fares import ABSENT, flight_fare, json_text, package_fare
from vesk_fares_to_xml import Converter


@dataclasses.dataclass(frozen=True)
class ReadsAs:
    """An accepted input: it gives the same result as `text`."""

    text: str


FLIGHT = json_text(flight_fare())
PACKAGE = json_text(package_fare())


def flight_with_unknown_members():
    fare = flight_fare()
    flight = fare["outboundFlight"]
    for record in [fare, fare["priceSpecification"], flight, flight["origin"], flight["origin"]["city"]]:
        record["extra"] = [{"nested": [{"deeper": {}}, 1, None]}, "text"]
    return json_text(fare)


FLIGHT_FARE_CASES = [
    pytest.param("one", '{"TessaroId":"F1"}', "missing field `tessaroId` at line 1 column 18", id="key-in-other-case"),
    pytest.param(
        "one",
        '{"tessaroId":"F1","tessaroId":"F2"}',
        "duplicate field `tessaroId` at line 1 column 29",
        id="repeated-key",
    ),
    pytest.param(
        "one",
        '{"priceSpecification":{"currencyCode":"EUR","formattedTotalPrice":"9.90"}}',
        "missing field `formatedTotalPrice` at line 1 column 73",
        id="price-key-spelt-with-double-t",
    ),
    pytest.param(
        "one",
        '{"priceSpecification":{"currencyCode":"EUR","formatedTotalPrice":199}}',
        "invalid type: integer `199`, expected a string at line 1 column 68",
        id="price-as-a-number",
    ),
    pytest.param(
        "one", '{"outboundFlight":{"origin":{}}}', "missing field `city` at line 1 column 30", id="place-without-city"
    ),
    pytest.param(
        "one",
        '{"outboundFlight":{"origin":{"city":{}}}}',
        "missing field `name` at line 1 column 38",
        id="city-without-name",
    ),
    pytest.param(
        "one", json_text(flight_fare(origin=None)), ReadsAs(json_text(flight_fare(origin=ABSENT))), id="null-origin"
    ),
    pytest.param("one", json_text(flight_fare(return_date=None)), ReadsAs(FLIGHT), id="null-return-date"),
    pytest.param("one", flight_with_unknown_members(), ReadsAs(FLIGHT), id="unknown-members-in-every-record"),
    pytest.param(
        "one",
        '["F1","ONE_WAY",["EUR","99.90"],["LHR","CDG",null,null],"2024-05-01",null,null]',
        ReadsAs(json_text(flight_fare(origin=ABSENT, destination=ABSENT))),
        id="array-form",
    ),
    pytest.param(
        "one",
        '["F1","ONE_WAY",["EUR","99.90"],["LHR","CDG",null,null],"2024-05-01"]',
        "invalid length 5, expected struct FareObject with 7 elements at line 1 column 69",
        id="array-form-too-short",
    ),
    pytest.param(
        "one", f"[{FLIGHT}]", "invalid type: map, expected a string at line 1 column 1", id="list-to-single-read"
    ),
    pytest.param(
        "list",
        f"[{FLIGHT},{{}},{FLIGHT}]",
        f"missing field `tessaroId` at line 1 column {len(FLIGHT) + 4}",
        id="one-bad-member-fails-the-list",
    ),
]

GUESTS = '"guests": {"count": 2}'
PACKAGE_FARE_CASES = [
    pytest.param(
        "one",
        "[]",
        "invalid length 0, expected struct PackageFareObject with 6 elements at line 1 column 2",
        id="empty-array-as-one-fare",
    ),
    pytest.param(
        "one", f"[{PACKAGE}]", "invalid type: map, expected a string at line 1 column 1", id="list-to-single-read"
    ),
    pytest.param(
        "one",
        '{"hotel":{"roomCount":256}}',
        "invalid value: integer `256`, expected u8 at line 1 column 25",
        id="u8-above-255",
    ),
    pytest.param(
        "one",
        '{"hotel":{"roomCount":-1}}',
        "invalid value: integer `-1`, expected u8 at line 1 column 24",
        id="u8-negative",
    ),
    pytest.param(
        "one",
        '{"hotel":{"roomCount":2.0}}',
        "invalid type: floating point `2.0`, expected u8 at line 1 column 25",
        id="u8-with-fraction",
    ),
    pytest.param(
        "one",
        '{"hotel":{"roomCount":"2"}}',
        'invalid type: string "2", expected u8 at line 1 column 25',
        id="u8-as-text",
    ),
    pytest.param(
        "one",
        '{"hotel":{"guests":{"count":256}}}',
        "invalid value: integer `256`, expected u8 at line 1 column 31",
        id="guest-count-above-255",
    ),
    pytest.param(
        "one",
        '{"hotel":{"guests":[{"count":3}]}}',
        "invalid type: map, expected u8 at line 1 column 20",
        id="guests-array-holding-an-object",
    ),
    pytest.param(
        "one",
        PACKAGE.replace(GUESTS, '"guests": [3]'),
        ReadsAs(json_text(package_fare(guest_count=3))),
        id="guests-array-form",
    ),
    pytest.param(
        "one", '{"hotel":{"rating":{"value":1e400}}}', "number out of range at line 1 column 33", id="rating-beyond-f64"
    ),
    pytest.param(
        "one",
        '{"outboundFlight":{"origin":null,"origin":null}}',
        "duplicate field `origin` at line 1 column 41",
        id="origin-repeated-after-null",
    ),
    pytest.param(
        "one",
        '{"outboundFlight":{"origin":{"city":{"name":"Palma","image":"p.jpg"}}}}',
        "missing field `country` at line 1 column 69",
        id="location-without-country",
    ),
    pytest.param(
        "one",
        '{"hotel":{"images":null}}',
        "invalid type: null, expected a sequence at line 1 column 23",
        id="images-null",
    ),
    pytest.param(
        "one",
        '["P1",["EUR","99 EUR"],["LHR","PMI","charter","direct",null,[["Spain","s.jpg"],["Palma","p.jpg"]]],'
        '"2024-07-01",["H1","Hotel Sol",1,[2],[4.5],["h.jpg"]],"https://quon.example/r/P1"]',
        ReadsAs(
            json_text(
                package_fare(
                    price="99 EUR",
                    origin=None,
                    destination={
                        "country": {"name": "Spain", "image": "s.jpg"},
                        "city": {"name": "Palma", "image": "p.jpg"},
                    },
                    images=["h.jpg"],
                )
            )
        ),
        id="array-form",
    ),
    pytest.param(
        "one",
        '["P1",["EUR","99 EUR"],["LHR","PMI","charter","direct",null,null],'
        '"2024-07-01",["H1","Hotel Sol",1,[2],[4.5],["h.jpg"]],"https://quon.example/r/P1","extra"]',
        "trailing characters at line 1 column 149",
        id="array-form-with-seven-values",
    ),
]

JSON_RULE_CASES = [
    pytest.param("one", "", "EOF while parsing a value at line 1 column 0", id="empty-text"),
    pytest.param("list", "  ", "EOF while parsing a value at line 1 column 2", id="blanks-only"),
    pytest.param("one", FLIGHT + "\n", ReadsAs(FLIGHT), id="final-line-feed"),
    pytest.param("one", FLIGHT + "\nx", "trailing characters at line 2 column 1", id="trailing-characters"),
    pytest.param("one", "{}", "missing field `tessaroId` at line 1 column 2", id="empty-object"),
    pytest.param("list", "{}", "invalid type: map, expected a sequence at line 1 column 0", id="object-to-list-read"),
    pytest.param(
        "one", '{"extra":' + "[" * 200 + "]" * 200 + "," + FLIGHT[1:], ReadsAs(FLIGHT), id="unknown-value-200-deep"
    ),
    pytest.param("one", '{"extra":1e400,' + FLIGHT[1:], ReadsAs(FLIGHT), id="unknown-value-beyond-f64"),
    pytest.param("one", '{"extra":[1,]}', "expected value at line 1 column 13", id="malformed-unknown-value"),
    pytest.param(
        "one",
        '{"tessaroId":' + "[" * 200 + "]" * 200 + "}",
        "invalid type: sequence, expected a string at line 1 column 13",
        id="known-key-200-deep",
    ),
    pytest.param("one", '{"tessaroId":1e400}', "number out of range at line 1 column 18", id="known-key-beyond-f64"),
    pytest.param(
        "one",
        '{"returnDate":null,"returnDate":"2024-05-08"}',
        "duplicate field `returnDate` at line 1 column 31",
        id="repeated-key-after-null",
    ),
    pytest.param("one", FLIGHT.replace('"tessaroId"', '"tessaro\\u0049d"'), ReadsAs(FLIGHT), id="escaped-key"),
    pytest.param(
        "one",
        json.dumps(flight_fare(origin="Zürich 🛫\t"), ensure_ascii=True),
        ReadsAs(json_text(flight_fare(origin="Zürich 🛫\t"))),
        id="escapes-and-surrogate-pairs",
    ),
    pytest.param("one", '{"tessaroId":"F1",}', "trailing comma at line 1 column 19", id="trailing-comma"),
    pytest.param("one", "{'tessaroId':'F1'}", "key must be a string at line 1 column 2", id="single-quotes"),
    pytest.param("one", "/* fare */{}", "expected value at line 1 column 1", id="comment"),
    pytest.param("one", '{"tessaroId":NaN}', "expected value at line 1 column 14", id="nan"),
    pytest.param("one", '{"tessaroId":+1}', "expected value at line 1 column 14", id="leading-plus"),
    pytest.param("one", '{"tessaroId":01}', "invalid number at line 1 column 15", id="leading-zero"),
    pytest.param("one", '{"tessaroId":tru}', "expected ident at line 1 column 17", id="misspelt-true"),
    pytest.param("one", '{"tessaroId" "F1"}', "expected `:` at line 1 column 14", id="missing-colon"),
    pytest.param("one", '{"tessaroId":"F1" "x":1}', "expected `,` or `}` at line 1 column 19", id="missing-comma"),
    pytest.param(
        "one",
        '{"tessaroId":"F\x01"}',
        "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 16",
        id="raw-control-character",
    ),
    pytest.param("one", '{"tessaroId":"\\x"}', "invalid escape at line 1 column 16", id="invalid-escape"),
    pytest.param(
        "one", '{"tessaroId":"\\ud800"}', "unexpected end of hex escape at line 1 column 21", id="lead-surrogate-alone"
    ),
    pytest.param(
        "one",
        '{"tessaroId":"\\ud800\\u0041"}',
        "lone leading surrogate in hex escape at line 1 column 26",
        id="lead-surrogate-before-a-non-surrogate",
    ),
]


@pytest.fixture(scope="module")
def converter():
    return Converter(Converter.XML_PROTOCOL)


def read_flight(converter, read, text):
    if read == "one":
        return converter.fare_to_google_xml(text)
    return converter.fares_to_google_xml(text, "Title", "https://feeds.example/f.xml", {}, "", "")


def read_package(converter, read, text):
    if read == "one":
        return converter.fare_to_vp_facebook_xml(text)
    return converter.fares_to_vp_facebook_xml(text, "Title", "https://feeds.example/f.xml")


def check_reading(read_text, text, expected):
    if isinstance(expected, ReadsAs):
        assert read_text(text) == read_text(expected.text)
        return
    with pytest.raises(OSError) as raised:
        read_text(text)
    assert type(raised.value) is OSError
    assert raised.value.args == (expected,)


@pytest.mark.parametrize("read, text, expected", FLIGHT_FARE_CASES)
def test_flight_fare_record(converter, read, text, expected):
    check_reading(lambda t: read_flight(converter, read, t), text, expected)


@pytest.mark.parametrize("read, text, expected", PACKAGE_FARE_CASES)
def test_package_fare_record(converter, read, text, expected):
    check_reading(lambda t: read_package(converter, read, t), text, expected)


@pytest.mark.parametrize("read, text, expected", JSON_RULE_CASES)
def test_json_reading_rule(converter, read, text, expected):
    check_reading(lambda t: read_flight(converter, read, t), text, expected)
