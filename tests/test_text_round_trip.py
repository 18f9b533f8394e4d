"""Texts of every character width cross from str to the core and back unchanged.

A str holds 1, 2 or 4 bytes per character, the core reads and writes UTF-8, and both directions
work on blocks of bytes: a wide character just before, on or after a block boundary, in a text
of any width, must come back as it went in.
"""

import json

import pytest

import vesk_fares_to_xml

WIDE_CHARACTERS = ["\x7f", "\x80", "é", "ÿ", "Ā", "€", "中", "\uffff", "😀", "\U0010ffff"]
LENGTHS = [0, 1, 7, 14, 15, 16, 17, 31, 32, 33, 63, 64, 65]


def _fare(origin_city):
    return {
        "tessaroId": "F1",
        "journeyType": "ONE_WAY",
        "priceSpecification": {"currencyCode": "EUR", "formatedTotalPrice": "10"},
        "outboundFlight": {
            "departureAirportIataCode": "LHR",
            "arrivalAirportIataCode": "CDG",
            "origin": {"city": {"name": origin_city}},
            "destination": {"city": {"name": "Paris"}},
        },
        "departureDate": "2025-01-01",
    }


def _texts():
    for character in WIDE_CHARACTERS:
        for length in LENGTHS:
            yield "a" * length + character
            yield character + "b" * length
            yield "c" * length + character + "d" * (length // 2)
            yield character * (length + 1)


TEXTS = list(_texts())


@pytest.fixture(scope="module")
def converter():
    return vesk_fares_to_xml.Converter(1)


@pytest.mark.parametrize("text", TEXTS, ids=[f"{i}" for i in range(len(TEXTS))])
def test_text_comes_back_unchanged(converter, text):
    item = converter.fare_to_criteo_xml(json.dumps(_fare(text), ensure_ascii=False))
    assert f"<origin_city>{text}</origin_city>" in item

    document = converter.fares_to_criteo_xml(
        json.dumps([_fare(text)], ensure_ascii=False), text, "d", {"CDG": text}, "i", "/" + text
    )
    assert document.startswith(f'<rss xmlns:g="http://base.google.com/ns/1.0" version="2.0"><channel><title>{text}</title>')
    assert f"<g:title>{text} - Paris</g:title>" in document
    assert f"<g:image_link>{text}</g:image_link>" in document
    assert f"<g:link>/{text}</g:link>" in document
    # The escaped form of the same fare reads to the same text.
    assert converter.fare_to_criteo_xml(json.dumps(_fare(text), ensure_ascii=True)) == item
