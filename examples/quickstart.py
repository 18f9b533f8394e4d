"""Turns the bundled sample fares into every feed and prints them.

Run from anywhere after installing the package: python3 examples/quickstart.py
Log records (fares read, items written, fares without an image) go to standard error.
"""

import json
import logging
from pathlib import Path

from vesk_fares_to_xml import Converter

EXAMPLES = Path(__file__).resolve().parent
FEED_TITLE = "Example Travel offers"
FEED_DOMAIN = "https://travel.example.com/feeds/offers.xml"
DEFAULT_IMAGE_URL = "https://images.example.com/destinations/default.jpg"


def show(title, text):
    print(f"===== {title} =====")
    print(text)
    print()


def main():
    logging.basicConfig(level=logging.INFO, format="%(levelname)s %(name)s: %(message)s")

    flight_fares = (EXAMPLES / "flight_fares.json").read_text(encoding="utf-8")
    package_fares = (EXAMPLES / "package_fares.json").read_text(encoding="utf-8")
    image_mapping = json.loads((EXAMPLES / "image_mapping.json").read_text(encoding="utf-8"))
    landing_page = (EXAMPLES / "landing_page.txt").read_text(encoding="utf-8").strip()

    converter = Converter(Converter.XML_PROTOCOL)

    # Single-fare methods take the JSON text of one fare and return one feed item.
    first_flight = json.dumps(json.loads(flight_fares)[0])
    first_package = json.dumps(json.loads(package_fares)[0])
    show("Facebook item", converter.fare_to_facebook(first_flight))
    show("Google item", converter.fare_to_google_xml(first_flight))
    show("Criteo item", converter.fare_to_criteo_xml(first_flight))
    show("get_blue item", converter.fare_to_get_blue_xml(first_flight))
    show("Vacation-package item", converter.fare_to_vp_facebook_xml(first_package))

    # Batch methods take the JSON text of a list of fares and return a whole feed document.
    flight_settings = (FEED_TITLE, FEED_DOMAIN, image_mapping, DEFAULT_IMAGE_URL, landing_page)
    show("Facebook feed", converter.fares_to_facebook(flight_fares, *flight_settings))
    show("Google feed", converter.fares_to_google_xml(flight_fares, *flight_settings))
    show("Criteo feed", converter.fares_to_criteo_xml(flight_fares, *flight_settings))
    show("get_blue feed", converter.fares_to_get_blue_xml(flight_fares, *flight_settings))
    show("Vacation-package feed", converter.fares_to_vp_facebook_xml(package_fares, FEED_TITLE, FEED_DOMAIN))

    # A failed read raises OSError with the reader's message and position.
    try:
        converter.fares_to_google_xml('[{"tessaroId": 1}]', *flight_settings)
    except OSError as error:
        show("Unreadable input", f"OSError: {error}")


if __name__ == "__main__":
    main()
