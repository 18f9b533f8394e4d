"""Fare JSON for the feed tests: one valid flight fare and one valid package fare, every part
overridable; reading element contents out of item texts; and a capture of the records the feeds
log."""

import contextlib
import json
import logging
import re

# The logging bridge keeps, per logger, the most verbose level that logger accepted at its first
# record, for the rest of the process. Enabling DEBUG while the test modules are collected, before
# any test calls the module, keeps every Info record visible whichever test logs first.
logging.getLogger("vesk_fares_to_xml").setLevel(logging.DEBUG)

ABSENT = object()
"""Leaves the key out of the fare; None gives JSON null."""


def _with(record, **members):
    record.update((key, value) for key, value in members.items() if value is not ABSENT)
    return record


def place(city_name):
    """The place of a flight fare: only its city's name."""
    return {"city": {"name": city_name}}


def flight_fare(
    *,
    tessaro_id="F1",
    journey_type="ONE_WAY",
    price="99.90",
    currency="EUR",
    departure="LHR",
    arrival="CDG",
    origin="London",
    destination="Paris",
    departure_date="2024-05-01",
    return_date=ABSENT,
    market=ABSENT,
):
    """A flight fare; a city name given as a text becomes the place, any other value (a place
    record, None, ABSENT) stands for itself."""

    def as_place(city_name):
        return place(city_name) if isinstance(city_name, str) else city_name

    outbound = {"departureAirportIataCode": departure, "arrivalAirportIataCode": arrival}
    _with(outbound, origin=as_place(origin), destination=as_place(destination))
    fare = {
        "tessaroId": tessaro_id,
        "journeyType": journey_type,
        "priceSpecification": {"currencyCode": currency, "formatedTotalPrice": price},
        "outboundFlight": outbound,
        "departureDate": departure_date,
    }
    return _with(fare, returnDate=return_date, market=market)


def location(city, country):
    """The place of a package fare: a city and a country, each with a name and an image."""
    return {
        "country": {"name": country, "image": f"https://img.example/country/{country}.jpg"},
        "city": {"name": city, "image": f"https://img.example/city/{city}.jpg"},
    }


def package_fare(
    *,
    tessaro_id="P1",
    price="1.234,50 EUR",
    currency="EUR",
    departure="LHR",
    arrival="PMI",
    flight_type="charter",
    route_type="direct",
    origin=("London", "United Kingdom"),
    destination=("Palma", "Spain"),
    departure_date="2024-07-01",
    hotel_id="H1",
    hotel_name="Hotel Sol",
    room_count=1,
    guest_count=2,
    rating=4.5,
    images=("https://img.example/hotel/h1-a.jpg", "https://img.example/hotel/h1-b.jpg"),
    redirect_url="https://quon.example/r/P1",
):
    """A package fare; a (city, country) pair becomes the location, any other value (a location
    record, None, ABSENT) stands for itself. The rating is any JSON number."""

    def as_location(names):
        return location(*names) if isinstance(names, tuple) else names

    outbound = {
        "departureAirportIataCode": departure,
        "arrivalAirportIataCode": arrival,
        "flightType": flight_type,
        "routeType": route_type,
    }
    _with(outbound, origin=as_location(origin), destination=as_location(destination))
    return {
        "tessaroId": tessaro_id,
        "priceSpecification": {"currencyCode": currency, "formattedTotalPrice": price},
        "outboundFlight": outbound,
        "departureDate": departure_date,
        "hotel": {
            "id": hotel_id,
            "name": hotel_name,
            "roomCount": room_count,
            "guests": {"count": guest_count},
            "rating": {"value": rating},
            "images": list(images),
        },
        "quonRedirectUrl": redirect_url,
    }


def json_text(value):
    """The JSON text of a fare or a list of fares, non-ASCII characters written as they are."""
    return json.dumps(value, ensure_ascii=False)


def fares_text(*fares):
    return json_text(list(fares))


def with_elements(item_text, contents):
    """item_text with the content of each named element replaced; every name must occur once."""
    for name, content in contents.items():
        item_text, count = re.subn(f"<{name}>[^<]*</{name}>", lambda _: f"<{name}>{content}</{name}>", item_text)
        assert count == 1, f"<{name}> occurs {count} times"
    return item_text


def element_texts(document, name):
    """The contents of every element of that name, in document order (no nesting of that name)."""
    return re.findall(f"<{name}>(.*?)</{name}>", document, flags=re.DOTALL)


class _Records(logging.Handler):
    def __init__(self):
        super().__init__(logging.DEBUG)
        self.records = []

    def emit(self, record):
        self.records.append((record.name, record.levelno, record.getMessage()))


@contextlib.contextmanager
def captured_feed_log():
    """Yields the list of (logger name, level, message) of every record the module logs inside
    the block, the module's logger set to DEBUG meanwhile."""
    logger = logging.getLogger("vesk_fares_to_xml")
    handler = _Records()
    previous_level = logger.level
    logger.setLevel(logging.DEBUG)
    logger.addHandler(handler)
    try:
        yield handler.records
    finally:
        logger.removeHandler(handler)
        logger.setLevel(previous_level)
