"""The shared reading cases: every input read through the public methods, with the exact reading
error (message and position) or, for a successful read, the item texts the record implies."""

import json
import pathlib

import pytest

import vesk_fares_to_xml

CASES_FILE = pathlib.Path(__file__).resolve().parents[1] / ".." / "shared" / "reading-cases" / "cases.jsonl"


def _load_cases():
    if not CASES_FILE.is_file():
        return []
    with CASES_FILE.open(encoding="utf-8") as lines:
        return [json.loads(line) for line in lines]


CASES = _load_cases()

pytestmark = pytest.mark.skipif(not CASES, reason="shared reading cases are not beside the repository")


def _flight_item(fare):
    """The Google listing of a flight fare record, as the single-fare method writes it."""
    flight = fare["outboundFlight"]
    price = fare["priceSpecification"]

    def city(place):
        return place["city"]["name"] if place is not None else ""

    fields = [
        ("origin_airport", flight["departureAirportIataCode"]),
        ("destination_airport", flight["arrivalAirportIataCode"]),
        ("origin_city", city(flight["origin"])),
        ("destination_city", city(flight["destination"])),
        ("price", price["formatedTotalPrice"] + " " + price["currencyCode"]),
        ("image", ""),
        ("url", ""),
        ("description", ""),
        ("departure_date", fare["departureDate"]),
        ("return_date", fare["returnDate"] or ""),
        ("priority", "0"),
        ("id", fare["tessaroId"]),
    ]
    return "<listing>" + "".join(f"<{name}>{value}</{name}>" for name, value in fields) + "</listing>"


def _package_item(fare):
    flight = fare["outboundFlight"]
    hotel = fare["hotel"]
    origin = flight["origin"]
    destination = flight["destination"]
    fields = [
        ("g:product_id", fare["tessaroId"]),
        ("g:origin_airport", flight["departureAirportIataCode"]),
        ("g:destination_airport", flight["arrivalAirportIataCode"]),
        ("g:flight_type", flight["flightType"]),
        ("g:route_type", flight["routeType"]),
        ("g:origin_city_name", origin["city"]["name"] if origin else ""),
        ("g:origin_country_name", origin["country"]["name"] if origin else ""),
        ("g:destination_city_name", destination["city"]["name"] if destination else ""),
        ("g:destination_country_name", destination["country"]["name"] if destination else ""),
        ("g:image", destination["city"]["image"] if destination else ""),
        ("g:url", fare["quonRedirectUrl"]),
        ("g:unique_id", hotel["id"]),
        ("g:name", hotel["name"]),
        ("g:room_count", str(hotel["roomCount"])),
        ("g:no_guest", str(hotel["guests"]["count"])),
        ("g:hotel_rating", hotel["rating"]["value"]),
        ("g:price", fare["priceSpecification"]["formattedTotalPrice"]),
        ("g:currency_code", fare["priceSpecification"]["currencyCode"]),
        ("g:image_url", hotel["images"][0]),
    ]
    return "<item>" + "".join(f"<{name}>{value}</{name}>" for name, value in fields) + "</item>"


GOOGLE_HEAD = '<?xml version="1.0" encoding="UTF-8"?><listings><title>T</title><link rel="self" href="D"/>'
VP_HEAD = (
    '<rss xmlns:g="http://base.google.com/ns/1.0" version="2.0">\n    <channel>\n    <title>T</title>\n'
    '    <link rel="self" href="D"/>\n    '
)


def _read(converter, case):
    text = case["input"]
    read = case["read"]
    if read == "flight_one":
        return converter.fare_to_google_xml(text)
    if read == "package_one":
        return converter.fare_to_vp_facebook_xml(text)
    if read == "flight_list":
        return converter.fares_to_google_xml(text, "T", "D", {}, "", "")
    return converter.fares_to_vp_facebook_xml(text, "T", "D")


def _expected_text(case):
    record = case["record"]
    read = case["read"]
    if read == "flight_one":
        return _flight_item(record)
    if read == "package_one":
        return _package_item(record)
    if read == "flight_list":
        return GOOGLE_HEAD + "".join(_flight_item(fare) for fare in record) + "</listings>"
    # A fare whose hotel has no images is left out of the feed.
    items = "\n".join(_package_item(fare) for fare in record if fare["hotel"]["images"])
    return VP_HEAD + items + "\n    </channel>\n    </rss>"


@pytest.fixture(scope="module")
def converter():
    return vesk_fares_to_xml.Converter(vesk_fares_to_xml.Converter.XML_PROTOCOL)


@pytest.mark.parametrize("case", CASES, ids=[f"{i}-{c['read']}" for i, c in enumerate(CASES)])
def test_reading_case(converter, case):
    if case["error"] is not None:
        with pytest.raises(OSError) as raised:
            _read(converter, case)
        assert type(raised.value) is OSError
        assert raised.value.args == (case["error"],)
    elif case["read"] == "package_one" and not case["record"]["hotel"]["images"]:
        # Read, but no item can be built from a hotel without images.
        with pytest.raises(OSError) as raised:
            _read(converter, case)
        tessaro_id = case["record"]["tessaroId"]
        assert raised.value.args == (f"Package fare `{tessaro_id}` cannot be converted: its hotel has no images",)
    else:
        assert _read(converter, case) == _expected_text(case)
