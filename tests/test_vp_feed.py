"""The vacation-package methods: the item of one package fare with its number texts, the feed
document with its indented envelope, the records the batch logs, and fares whose hotel has no
images."""

import logging
import xml.etree.ElementTree as ET

import pytest

from fares import ABSENT, captured_feed_log, fares_text, json_text, package_fare, with_elements
from vesk_fares_to_xml import Converter

LOGGER = "vesk_fares_to_xml.converter_vp_facebook"

ITEM = (
    "<item><g:product_id>P1</g:product_id><g:origin_airport>LHR</g:origin_airport>"
    "<g:destination_airport>PMI</g:destination_airport><g:flight_type>charter</g:flight_type>"
    "<g:route_type>direct</g:route_type><g:origin_city_name>London</g:origin_city_name>"
    "<g:origin_country_name>United Kingdom</g:origin_country_name>"
    "<g:destination_city_name>Palma</g:destination_city_name>"
    "<g:destination_country_name>Spain</g:destination_country_name>"
    "<g:image>https://img.example/city/Palma.jpg</g:image><g:url>https://quon.example/r/P1</g:url>"
    "<g:unique_id>H1</g:unique_id><g:name>Hotel Sol</g:name><g:room_count>1</g:room_count><g:no_guest>2</g:no_guest>"
    "<g:hotel_rating>4.5</g:hotel_rating><g:price>1.234,50 EUR</g:price><g:currency_code>EUR</g:currency_code>"
    "<g:image_url>https://img.example/hotel/h1-a.jpg</g:image_url></item>"
)

ENVELOPE = (
    '<rss xmlns:g="http://base.google.com/ns/1.0" version="2.0">\n    <channel>\n    <title>{title}</title>\n'
    '    <link rel="self" href="{domain}"/>\n    {items}\n    </channel>\n    </rss>'
)
TITLE = "Holidays"
DOMAIN = "https://feeds.example/vp.xml"


@pytest.fixture(scope="module")
def converter():
    return Converter(Converter.XML_PROTOCOL)


@pytest.fixture
def feed_log():
    with captured_feed_log() as records:
        yield records


def item_of(converter, fare):
    return converter.fare_to_vp_facebook_xml(json_text(fare))


def test_item_of_a_package_fare(converter):
    assert item_of(converter, package_fare()) == ITEM


def test_item_writes_all_nineteen_elements_in_order_even_when_empty(converter):
    nowhere = {"name": "", "image": ""}
    empty_texts = ["tessaro_id", "price", "currency", "departure", "arrival", "flight_type", "route_type"]
    fare = package_fare(
        **{part: "" for part in empty_texts + ["departure_date", "hotel_id", "hotel_name", "redirect_url"]},
        origin={"country": nowhere, "city": nowhere},
        destination={"country": nowhere, "city": nowhere},
        room_count=0,
        guest_count=0,
        rating=0,
        images=[""],
    )
    assert item_of(converter, fare) == (
        "<item><g:product_id></g:product_id><g:origin_airport></g:origin_airport>"
        "<g:destination_airport></g:destination_airport><g:flight_type></g:flight_type><g:route_type></g:route_type>"
        "<g:origin_city_name></g:origin_city_name><g:origin_country_name></g:origin_country_name>"
        "<g:destination_city_name></g:destination_city_name><g:destination_country_name></g:destination_country_name>"
        "<g:image></g:image><g:url></g:url><g:unique_id></g:unique_id><g:name></g:name>"
        "<g:room_count>0</g:room_count><g:no_guest>0</g:no_guest><g:hotel_rating>0</g:hotel_rating>"
        "<g:price></g:price><g:currency_code></g:currency_code><g:image_url></g:image_url></item>"
    )


@pytest.mark.parametrize(
    "rating, text",
    [
        (4, "4"),
        (4.5, "4.5"),
        (0.1, "0.1"),
        (3.7, "3.7"),
        (0, "0"),
        (-0.0, "-0"),
        (1e39, "inf"),
        (-1e39, "-inf"),
        (1e20, "100000000000000000000"),
        (123456789, "123456790"),
        (1e-7, "0.0000001"),
    ],
)
def test_rating_is_written_as_shortest_plain_32_bit_text(converter, rating, text):
    assert item_of(converter, package_fare(rating=rating)) == with_elements(ITEM, {"g:hotel_rating": text})


@pytest.mark.parametrize("room_count, guest_count", [(255, 0), (0, 255), (7, 1)])
def test_counts_are_written_in_decimal(converter, room_count, guest_count):
    assert item_of(converter, package_fare(room_count=room_count, guest_count=guest_count)) == with_elements(
        ITEM, {"g:room_count": str(room_count), "g:no_guest": str(guest_count)}
    )


@pytest.mark.parametrize("missing", [ABSENT, None], ids=["absent", "null"])
@pytest.mark.parametrize(
    "side, elements",
    [
        ("origin", ["g:origin_city_name", "g:origin_country_name"]),
        ("destination", ["g:destination_city_name", "g:destination_country_name", "g:image"]),
    ],
)
def test_fare_without_a_location_gets_empty_elements(converter, side, elements, missing):
    fare = package_fare(**{side: missing})
    assert item_of(converter, fare) == with_elements(ITEM, {name: "" for name in elements})


def test_single_fare_whose_hotel_has_no_images_raises(converter, feed_log):
    with pytest.raises(OSError) as raised:
        item_of(converter, package_fare(tessaro_id="P7", images=[]))
    assert type(raised.value) is OSError
    assert raised.value.args == ("Package fare `P7` cannot be converted: its hotel has no images",)
    assert feed_log == []


@pytest.mark.parametrize(
    "title, domain",
    [(TITLE, DOMAIN), ("Sun & Sea <Deals>", "https://feeds.example/?a=1&b=<2>")],
    ids=["plain", "markup-inserted-unescaped"],
)
def test_empty_list_leaves_a_line_of_four_blanks(converter, feed_log, title, domain):
    assert converter.fares_to_vp_facebook_xml("[]", title, domain) == ENVELOPE.format(
        title=title, domain=domain, items=""
    )
    assert feed_log == [
        (LOGGER, logging.INFO, "Parsed 0 fare objects"),
        (LOGGER, logging.INFO, "Processed xml vp_fb package feeds items: 0"),
    ]


def item_with_id(tessaro_id):
    return ITEM.replace("<g:product_id>P1<", f"<g:product_id>{tessaro_id}<")


def test_three_items_joined_by_line_feeds(converter, feed_log):
    fares = [package_fare(tessaro_id=tessaro_id) for tessaro_id in ["P3", "P1", "P2"]]
    document = converter.fares_to_vp_facebook_xml(fares_text(*fares), TITLE, DOMAIN)
    assert document == ENVELOPE.format(
        title=TITLE, domain=DOMAIN, items=f"{item_with_id('P3')}\n{item_with_id('P1')}\n{item_with_id('P2')}"
    )
    assert feed_log == [
        (LOGGER, logging.INFO, "Parsed 3 fare objects"),
        (LOGGER, logging.INFO, "Processed xml vp_fb package feeds items: 3"),
    ]
    g = "{http://base.google.com/ns/1.0}"
    assert [item.findtext(g + "product_id") for item in ET.fromstring(document).findall("channel/item")] == [
        "P3",
        "P1",
        "P2",
    ]


def test_batch_skips_a_fare_whose_hotel_has_no_images(converter, feed_log):
    fares = [package_fare(tessaro_id="P1"), package_fare(tessaro_id="P2", images=[]), package_fare(tessaro_id="P3")]
    document = converter.fares_to_vp_facebook_xml(fares_text(*fares), TITLE, DOMAIN)
    assert document == ENVELOPE.format(title=TITLE, domain=DOMAIN, items=f"{item_with_id('P1')}\n{item_with_id('P3')}")
    assert feed_log == [
        (LOGGER, logging.INFO, "Parsed 3 fare objects"),
        (LOGGER, logging.ERROR, "Package fare `P2` cannot be converted: its hotel has no images"),
        (LOGGER, logging.INFO, "Processed xml vp_fb package feeds items: 2"),
    ]


@pytest.mark.parametrize(
    "text, message",
    [
        ("", "EOF while parsing a value at line 1 column 0"),
        ('[{"tessaroId": ', "EOF while parsing a value at line 1 column 15"),
        (json_text(package_fare()), "invalid type: map, expected a sequence at line 1 column 0"),
    ],
    ids=["empty", "truncated", "single-object"],
)
def test_unreadable_list_logs_two_errors_and_raises(converter, feed_log, text, message):
    with pytest.raises(OSError) as raised:
        converter.fares_to_vp_facebook_xml(text, TITLE, DOMAIN)
    assert type(raised.value) is OSError
    assert raised.value.args == (message,)
    assert feed_log == [
        (LOGGER, logging.ERROR, f"Error parsing json: {message}"),
        (LOGGER, logging.ERROR, f"Json string: {text}"),
    ]


def test_batch_takes_no_image_map_nor_template(converter):
    with pytest.raises(TypeError) as raised:
        converter.fares_to_vp_facebook_xml(
            "[]", TITLE, DOMAIN, {}, "https://img.example/default.jpg", "/{{market_code}}"
        )
    assert raised.value.args == ("Converter.fares_to_vp_facebook_xml() takes 3 positional arguments but 6 were given",)
