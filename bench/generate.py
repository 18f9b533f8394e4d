"""Deterministic, realistic fare input for the benchmarks.

Flight fares are about 500 bytes of JSON each, carry a few keys no feed reads (holding nested
objects and arrays, as catalogue exports do), have a non-ASCII name for about a third of their
cities and a null return date for a quarter of them. Package fares carry 1 to 4 hotel images.
Every fare has both places, so that the Facebook and get_blue feeds accept the whole list.

The same seed and count always give the same text:

    python3 bench/generate.py flights 1000 > flights.json
    python3 bench/generate.py packages 1000 > packages.json
"""

import json
import random
import sys

DEFAULT_SEED = 20260501

# (airport code, city name, country, country code). About a third of the names are not ASCII,
# from Latin-1 accents to Greek, Cyrillic and CJK scripts.
AIRPORTS = [
    ("LHR", "London", "United Kingdom", "GB"),
    ("LGW", "London", "United Kingdom", "GB"),
    ("MAN", "Manchester", "United Kingdom", "GB"),
    ("EDI", "Edinburgh", "United Kingdom", "GB"),
    ("CDG", "Paris", "France", "FR"),
    ("NCE", "Nice", "France", "FR"),
    ("LYS", "Lyon", "France", "FR"),
    ("AMS", "Amsterdam", "Netherlands", "NL"),
    ("BRU", "Brussels", "Belgium", "BE"),
    ("FRA", "Frankfurt", "Germany", "DE"),
    ("MUC", "München", "Germany", "DE"),
    ("DUS", "Düsseldorf", "Germany", "DE"),
    ("CGN", "Köln", "Germany", "DE"),
    ("BER", "Berlin", "Germany", "DE"),
    ("ZRH", "Zürich", "Switzerland", "CH"),
    ("GVA", "Genève", "Switzerland", "CH"),
    ("VIE", "Wien", "Austria", "AT"),
    ("MAD", "Madrid", "Spain", "ES"),
    ("BCN", "Barcelona", "Spain", "ES"),
    ("AGP", "Málaga", "Spain", "ES"),
    ("PMI", "Palma de Mallorca", "Spain", "ES"),
    ("LIS", "Lisboa", "Portugal", "PT"),
    ("OPO", "Porto", "Portugal", "PT"),
    ("FCO", "Rome", "Italy", "IT"),
    ("MXP", "Milan", "Italy", "IT"),
    ("VCE", "Venice", "Italy", "IT"),
    ("ATH", "Αθήνα", "Greece", "GR"),
    ("HER", "Ηράκλειο", "Greece", "GR"),
    ("IST", "İstanbul", "Türkiye", "TR"),
    ("AYT", "Antalya", "Türkiye", "TR"),
    ("CPH", "København", "Denmark", "DK"),
    ("ARN", "Stockholm", "Sweden", "SE"),
    ("GOT", "Göteborg", "Sweden", "SE"),
    ("OSL", "Oslo", "Norway", "NO"),
    ("HEL", "Helsinki", "Finland", "FI"),
    ("KEF", "Reykjavík", "Iceland", "IS"),
    ("WAW", "Warsaw", "Poland", "PL"),
    ("KRK", "Kraków", "Poland", "PL"),
    ("GDN", "Gdańsk", "Poland", "PL"),
    ("PRG", "Prague", "Czechia", "CZ"),
    ("BUD", "Budapest", "Hungary", "HU"),
    ("SVO", "Москва", "Russia", "RU"),
    ("DXB", "Dubai", "United Arab Emirates", "AE"),
    ("JFK", "New York", "United States", "US"),
    ("LAX", "Los Angeles", "United States", "US"),
    ("MIA", "Miami", "United States", "US"),
    ("YUL", "Montréal", "Canada", "CA"),
    ("GRU", "São Paulo", "Brazil", "BR"),
    ("BOG", "Bogotá", "Colombia", "CO"),
    ("NRT", "東京", "Japan", "JP"),
    ("PEK", "北京", "China", "CN"),
    ("SIN", "Singapore", "Singapore", "SG"),
    ("BKK", "Bangkok", "Thailand", "TH"),
    ("SYD", "Sydney", "Australia", "AU"),
    ("CPT", "Cape Town", "South Africa", "ZA"),
    ("DPS", "Denpasar", "Indonesia", "ID"),
]

CURRENCIES = {"GB": "GBP", "CH": "CHF", "DK": "DKK", "SE": "SEK", "NO": "NOK", "PL": "PLN",
              "CZ": "CZK", "HU": "HUF", "US": "USD"}
MARKETS = ["GB", "DE", "FR", "ES", "IT", "NL", "PL", "SE", "CH", "US"]
CARRIERS = ["BA", "LH", "AF", "KL", "IB", "LO", "SK"]
HOTEL_WORDS = ["Grand", "Hotel", "Mar", "Blau", "Palace", "Resort", "Plaza", "Vista",
               "Costa", "Royal", "Beach", "Garden", "Suites", "Bahía", "Château"]

IMAGE_HOST = "https://images.example.com"
SITE = "https://travel.example.com"


def _date(rng, year=2026):
    return f"{year}-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d}"


def _route(rng):
    origin, destination = rng.sample(AIRPORTS, 2)
    return origin, destination


def _market(rng, origin):
    # Mostly the departure country's market; now and then none at all.
    roll = rng.random()
    if roll < 0.1:
        return None
    return origin[3] if origin[3] in MARKETS and roll < 0.7 else rng.choice(MARKETS)


def flight_fare(rng, index):
    origin, destination = _route(rng)
    market = _market(rng, origin)
    departure = _date(rng)
    carrier_code = rng.choice(CARRIERS)
    fare = {
        "tessaroId": f"{origin[0]}-{destination[0]}-{departure.replace('-', '')}-{index:07d}",
        "journeyType": rng.choice(["ONE_WAY", "RETURN"]),
        "priceSpecification": {
            "currencyCode": CURRENCIES.get(market or "", "EUR"),
            "formatedTotalPrice": f"{rng.randint(19, 1499)}.{rng.choice(['00', '50', '99'])}",
        },
        "outboundFlight": {
            "departureAirportIataCode": origin[0],
            "arrivalAirportIataCode": destination[0],
            "origin": {"city": {"name": origin[1]}},
            "destination": {"city": {"name": destination[1]}},
            "carrier": {"code": carrier_code, "stops": rng.randint(0, 2)},
        },
        "departureDate": departure,
        "returnDate": None if rng.random() < 0.25 else _date(rng),
        "market": market,
        "tracking": {"rank": rng.randint(1, 500), "tags": rng.sample(
            ["deal", "summer", "winter", "city", "beach", "family"], 2)},
        "updatedAt": f"{_date(rng, 2025)}T{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}:00Z",
    }
    return fare


def _location(place):
    code, city, country, country_code = place
    return {
        "country": {"name": country, "image": f"{IMAGE_HOST}/countries/{country_code.lower()}.jpg"},
        "city": {"name": city, "image": f"{IMAGE_HOST}/cities/{code.lower()}.jpg"},
    }


def package_fare(rng, index):
    origin, destination = _route(rng)
    hotel_id = f"H-{rng.randint(1000, 99999)}"
    tessaro_id = f"PKG-{origin[0]}-{destination[0]}-{index:07d}"
    return {
        "tessaroId": tessaro_id,
        "priceSpecification": {
            "currencyCode": CURRENCIES.get(origin[3], "EUR"),
            "formattedTotalPrice": f"{rng.randint(199, 4999)}.{rng.choice(['00', '50', '99'])}",
        },
        "outboundFlight": {
            "departureAirportIataCode": origin[0],
            "arrivalAirportIataCode": destination[0],
            "flightType": rng.choice(["CHARTER", "SCHEDULED"]),
            "routeType": rng.choice(["DOMESTIC", "INTERNATIONAL"]),
            "origin": _location(origin),
            "destination": _location(destination),
        },
        "departureDate": _date(rng),
        "hotel": {
            "id": hotel_id,
            "name": " ".join(rng.sample(HOTEL_WORDS, 3)),
            "roomCount": rng.randint(1, 3),
            "guests": {"count": rng.randint(1, 6)},
            "rating": {"value": rng.choice([3, 3.5, 4, 4.2, 4.5, 4.7, 5])},
            "images": [f"{IMAGE_HOST}/hotels/{hotel_id}/{n}.jpg"
                       for n in range(rng.randint(1, 4))],
            "board": {"code": rng.choice(["BB", "HB", "AI"]), "nights": rng.randint(3, 14)},
        },
        "quonRedirectUrl": f"{SITE}/packages/{tessaro_id}?nights=7",
    }


def flight_fares(count, seed=DEFAULT_SEED):
    """`count` flight fare records (dicts)."""
    rng = random.Random(seed)
    return [flight_fare(rng, index) for index in range(count)]


def package_fares(count, seed=DEFAULT_SEED):
    """`count` package fare records (dicts)."""
    rng = random.Random(seed)
    return [package_fare(rng, index) for index in range(count)]


def to_json(records):
    """JSON text as an exporter writes it: UTF-8 characters unescaped."""
    return json.dumps(records, ensure_ascii=False)


def flight_feed_settings():
    """The settings of a flight batch call after the fare list: title, domain, an image map that
    covers about four fifths of the airports, the default image and the landing-page template."""
    image_mapping = {code: f"{IMAGE_HOST}/destinations/{code.lower()}.jpg"
                     for index, (code, *_) in enumerate(AIRPORTS) if index % 5 != 4}
    return {
        "feed_title": "Example Travel flight offers",
        "domain": f"{SITE}/feeds/flights.xml",
        "image_mapping": image_mapping,
        "default_image_url": f"{IMAGE_HOST}/default.jpg",
        "landing_page": f"{SITE}/{{{{market_code}}}}/flights/{{{{origin_iata}}}}-"
                        "{{destination_iata}}?utm_content={{template_content_value}}",
    }


def package_feed_settings():
    """The settings of the package batch call after the fare list: title and domain."""
    return {"feed_title": "Example Travel package offers", "domain": f"{SITE}/feeds/packages.xml"}


def main(argv):
    if len(argv) not in (3, 4) or argv[1] not in ("flights", "packages"):
        sys.exit("usage: generate.py flights|packages COUNT [SEED]")
    count = int(argv[2])
    seed = int(argv[3]) if len(argv) == 4 else DEFAULT_SEED
    records = flight_fares(count, seed) if argv[1] == "flights" else package_fares(count, seed)
    sys.stdout.write(to_json(records))


if __name__ == "__main__":
    main(sys.argv)
