"""The four batch flight methods: whole feed documents (envelope, items in input order, separators),
landing-page links, image lookup, the Facebook escaping of city names, the city-name check, read
failures, and the records each feed logs."""

import logging
import xml.dom.minidom
import xml.etree.ElementTree as ET

import pytest

from fares import ABSENT, captured_feed_log, element_texts, fares_text, flight_fare
from vesk_fares_to_xml import Converter

LOGGERS = {
    "fares_to_facebook": "vesk_fares_to_xml.converter",
    "fares_to_google_xml": "vesk_fares_to_xml.converter_google",
    "fares_to_criteo_xml": "vesk_fares_to_xml.converter_criteo",
    "fares_to_get_blue_xml": "vesk_fares_to_xml.converter_get_blue",
}
METHODS = list(LOGGERS)
CITY_CHECKED = ["fares_to_facebook", "fares_to_get_blue_xml"]
NOT_CITY_CHECKED = ["fares_to_google_xml", "fares_to_criteo_xml"]

TITLE = "Flight deals"
DOMAIN = "https://feeds.example/flights.xml"
DEFAULT_IMAGE = "https://img.example/default.jpg"
LANDING_PAGE = "https://fly.example/{{market_code}}/{{origin_iata}}-{{destination_iata}}?t={{template_content_value}}"

# Two fares in an order that sorting by any of their fields would change; the map has an image for
# the first one's destination only.
FIRST = flight_fare(
    tessaro_id="T-200",
    price="349.00",
    currency="GBP",
    departure="LHR",
    arrival="JFK",
    origin="London",
    destination="New York",
    departure_date="2024-06-01",
    return_date="2024-06-15",
    market="GB",
)
SECOND = flight_fare(
    tessaro_id="T-100",
    price="89.50",
    currency="EUR",
    departure="CDG",
    arrival="BCN",
    origin="Paris",
    destination="Barcelona",
    departure_date="2024-06-02",
)
IMAGES = {"JFK": "https://img.example/jfk.jpg", "LHR": "https://img.example/lhr.jpg"}

DECLARATION = '<?xml version="1.0" encoding="UTF-8"?>'
DOCUMENTS = {
    "fares_to_facebook": DECLARATION + "\n<listings>\n<title>Flight deals</title>\n"
    '<link rel="self" href="https://feeds.example/flights.xml"/>\n'
    "<listing><origin_airport>LHR</origin_airport><destination_airport>JFK</destination_airport>"
    "<origin_city>London</origin_city><destination_city>New York</destination_city><price>349.00 GBP</price>"
    "<image><url>https://img.example/jfk.jpg</url></image><url>https://fly.example/gb/lhr-jfk?t=cici</url>"
    "<description></description><departure_date>2024-06-01</departure_date><return_date>2024-06-15</return_date>"
    "<priority>0</priority><id>T-200</id></listing>\n"
    "<listing><origin_airport>CDG</origin_airport><destination_airport>BCN</destination_airport>"
    "<origin_city>Paris</origin_city><destination_city>Barcelona</destination_city><price>89.50 EUR</price>"
    "<image><url>https://img.example/default.jpg</url></image><url>https://fly.example/ww/cdg-bcn?t=cici</url>"
    "<description></description><departure_date>2024-06-02</departure_date><return_date></return_date>"
    "<priority>0</priority><id>T-100</id></listing>\n</listings>",
    "fares_to_google_xml": DECLARATION + "<listings><title>Flight deals</title>"
    '<link rel="self" href="https://feeds.example/flights.xml"/>'
    "<listing><origin_airport>LHR</origin_airport><destination_airport>JFK</destination_airport>"
    "<origin_city>London</origin_city><destination_city>New York</destination_city><price>349.00 GBP</price>"
    "<image>https://img.example/jfk.jpg</image><url>https://fly.example/gb/lhr-jfk?t=cici</url>"
    "<description></description><departure_date>2024-06-01</departure_date><return_date>2024-06-15</return_date>"
    "<priority>0</priority><id>T-200</id></listing>"
    "<listing><origin_airport>CDG</origin_airport><destination_airport>BCN</destination_airport>"
    "<origin_city>Paris</origin_city><destination_city>Barcelona</destination_city><price>89.50 EUR</price>"
    "<image>https://img.example/default.jpg</image><url>https://fly.example/ww/cdg-bcn?t=cici</url>"
    "<description></description><departure_date>2024-06-02</departure_date><return_date></return_date>"
    "<priority>0</priority><id>T-100</id></listing></listings>",
    "fares_to_criteo_xml": '<rss xmlns:g="http://base.google.com/ns/1.0" version="2.0"><channel>'
    '<title>Flight deals</title><link rel="self" href="https://feeds.example/flights.xml"/>'
    "<item><g:id>T-200</g:id><g:title>London - New York</g:title><g:description></g:description>"
    "<g:link>https://fly.example/gb/lhr-jfk?t=cici</g:link><g:image_link>https://img.example/jfk.jpg</g:image_link>"
    "<g:price>349.00 GBP</g:price><origin_airport>LHR</origin_airport><destination_airport>JFK</destination_airport>"
    "<origin_city>London</origin_city><destination_city>New York</destination_city></item>"
    "<item><g:id>T-100</g:id><g:title>Paris - Barcelona</g:title><g:description></g:description>"
    "<g:link>https://fly.example/ww/cdg-bcn?t=cici</g:link><g:image_link>https://img.example/default.jpg</g:image_link>"
    "<g:price>89.50 EUR</g:price><origin_airport>CDG</origin_airport><destination_airport>BCN</destination_airport>"
    "<origin_city>Paris</origin_city><destination_city>Barcelona</destination_city></item></channel></rss>",
    "fares_to_get_blue_xml": DECLARATION + "\n<root>\n<title>Flight deals</title>\n"
    '<link rel="self" href="https://feeds.example/flights.xml"/>\n'
    "<row><ID>T-200</ID><PRODUCT_TYPE></PRODUCT_TYPE><PRICE>349.00</PRICE><CURRENCY>GBP</CURRENCY>"
    "<DESCRIPTION>New York - London</DESCRIPTION><LINK>https://fly.example/gb/lhr-jfk?t=cici</LINK>"
    "<AVAILABILITY></AVAILABILITY><TITLE></TITLE><IMAGE_LINK>https://img.example/jfk.jpg</IMAGE_LINK>"
    "<CONDITION></CONDITION><CUSTOM_LABEL_0>London</CUSTOM_LABEL_0><CUSTOM_LABEL_1>New York</CUSTOM_LABEL_1>"
    "<CUSTOM_LABEL_2>LHR</CUSTOM_LABEL_2><CUSTOM_LABEL_3>JFK</CUSTOM_LABEL_3><BRAND></BRAND>"
    "<CUSTOM_LABEL_4></CUSTOM_LABEL_4><ADDITIONAL_IMAGE_LINK>https://img.example/default.jpg</ADDITIONAL_IMAGE_LINK>"
    "</row>\n"
    "<row><ID>T-100</ID><PRODUCT_TYPE></PRODUCT_TYPE><PRICE>89.50</PRICE><CURRENCY>EUR</CURRENCY>"
    "<DESCRIPTION>Barcelona - Paris</DESCRIPTION><LINK>https://fly.example/ww/cdg-bcn?t=cici</LINK>"
    "<AVAILABILITY></AVAILABILITY><TITLE></TITLE><IMAGE_LINK>https://img.example/default.jpg</IMAGE_LINK>"
    "<CONDITION></CONDITION><CUSTOM_LABEL_0>Paris</CUSTOM_LABEL_0><CUSTOM_LABEL_1>Barcelona</CUSTOM_LABEL_1>"
    "<CUSTOM_LABEL_2>CDG</CUSTOM_LABEL_2><CUSTOM_LABEL_3>BCN</CUSTOM_LABEL_3><BRAND></BRAND>"
    "<CUSTOM_LABEL_4></CUSTOM_LABEL_4><ADDITIONAL_IMAGE_LINK>https://img.example/default.jpg</ADDITIONAL_IMAGE_LINK>"
    "</row>\n</root>",
}
# What names SECOND in the record of fares without an image.
MISSING_IMAGE_ENTRY = {
    "fares_to_facebook": "BCN",
    "fares_to_google_xml": "BCN",
    "fares_to_criteo_xml": "BCN",
    "fares_to_get_blue_xml": "Barcelona - Paris",
}

EMPTY_DOCUMENTS = {
    "fares_to_facebook": DECLARATION
    + '\n<listings>\n<title>{title}</title>\n<link rel="self" href="{domain}"/>\n\n</listings>',
    "fares_to_google_xml": DECLARATION
    + '<listings><title>{title}</title><link rel="self" href="{domain}"/></listings>',
    "fares_to_criteo_xml": '<rss xmlns:g="http://base.google.com/ns/1.0" version="2.0"><channel><title>{title}</title>'
    '<link rel="self" href="{domain}"/></channel></rss>',
    "fares_to_get_blue_xml": DECLARATION
    + '\n<root>\n<title>{title}</title>\n<link rel="self" href="{domain}"/>\n\n</root>',
}

# Where the items sit in each document, and the element of an item that holds its fare's id.
G = "{http://base.google.com/ns/1.0}"
ITEM_PATHS = {
    "fares_to_facebook": ("listing", "id"),
    "fares_to_google_xml": ("listing", "id"),
    "fares_to_criteo_xml": ("channel/item", G + "id"),
    "fares_to_get_blue_xml": ("row", "ID"),
}
IMAGE_ELEMENTS = {
    "fares_to_facebook": "image",
    "fares_to_google_xml": "image",
    "fares_to_criteo_xml": "g:image_link",
    "fares_to_get_blue_xml": "IMAGE_LINK",
}


@pytest.fixture(scope="module")
def converter():
    return Converter(Converter.XML_PROTOCOL)


@pytest.fixture
def feed_log():
    with captured_feed_log() as records:
        yield records


def feed(converter, method, fares_json, images=None, landing_page=LANDING_PAGE, title=TITLE, domain=DOMAIN):
    return getattr(converter, method)(
        fares_json, title, domain, IMAGES if images is None else images, DEFAULT_IMAGE, landing_page
    )


def image_entry(method, text):
    """An image link as the feed's image element holds it."""
    return f"<url>{text}</url>" if method == "fares_to_facebook" else text


@pytest.mark.parametrize(
    "title, domain",
    [(TITLE, DOMAIN), ("Fish & Chips <Deals>", "https://feeds.example/?a=1&b=<2>")],
    ids=["plain", "markup-inserted-unescaped"],
)
@pytest.mark.parametrize("method", METHODS)
def test_empty_list_gives_the_bare_envelope(converter, feed_log, method, title, domain):
    assert feed(converter, method, "[]", title=title, domain=domain) == EMPTY_DOCUMENTS[method].format(
        title=title, domain=domain
    )
    logger = LOGGERS[method]
    assert feed_log == [
        (logger, logging.INFO, "Parsed 0 fare objects"),
        (logger, logging.INFO, "Processed xml feeds items: 0"),
    ]


@pytest.mark.parametrize("method", METHODS)
def test_document_of_two_fares(converter, feed_log, method):
    assert feed(converter, method, fares_text(FIRST, SECOND)) == DOCUMENTS[method]
    logger = LOGGERS[method]
    assert feed_log == [
        (logger, logging.INFO, "Parsed 2 fare objects"),
        (logger, logging.INFO, f"No image url for: {MISSING_IMAGE_ENTRY[method]} trying the DEFAULT_IMAGE_URL"),
        (logger, logging.INFO, "Processed xml feeds items: 2"),
    ]


@pytest.mark.parametrize("method", METHODS)
def test_documents_of_ordinary_fares_are_well_formed(converter, method):
    fares = [
        FIRST,
        SECOND,
        flight_fare(tessaro_id="T-300", departure="GRU", arrival="ZRH", origin="São Paulo", destination="Zürich"),
    ]
    document = feed(converter, method, fares_text(*fares))
    items_path, id_element = ITEM_PATHS[method]
    assert [item.findtext(id_element) for item in ET.fromstring(document).findall(items_path)] == [
        "T-200",
        "T-100",
        "T-300",
    ]
    item_tag = items_path.split("/")[-1]
    assert len(xml.dom.minidom.parseString(document).getElementsByTagName(item_tag)) == 3


TEMPLATE = "/{{market_code}}/flights/{{origin_iata}}-{{destination_iata}}?t={{template_content_value}}"


@pytest.mark.parametrize(
    "template, fare_parts, link",
    [
        pytest.param(TEMPLATE, {"market": "GB"}, "/gb/flights/lhr-jfk?t=cici", id="market"),
        pytest.param(TEMPLATE, {"market": ABSENT}, "/ww/flights/lhr-jfk?t=cici", id="market-absent"),
        pytest.param(TEMPLATE, {"market": None}, "/ww/flights/lhr-jfk?t=cici", id="market-null"),
        pytest.param(TEMPLATE, {"market": ""}, "//flights/lhr-jfk?t=cici", id="market-empty"),
        pytest.param(
            TEMPLATE,
            {"market": "Gb", "departure": "lHr", "arrival": "JfK"},
            "/gb/flights/lhr-jfk?t=cici",
            id="mixed-case",
        ),
        pytest.param(
            "{{origin_iata}}/{{origin_iata}}/{{destination_iata}}{{destination_iata}}/{{market_code}}{{market_code}}",
            {"market": "GB"},
            "lhr/lhr/jfkjfk/gbgb",
            id="repeated-placeholders",
        ),
        pytest.param(
            TEMPLATE,
            {"market": "{{Origin_IATA}}"},
            "/lhr/flights/lhr-jfk?t=cici",
            id="value-brings-a-later-placeholder",
        ),
        pytest.param(
            TEMPLATE,
            {"market": "GB", "arrival": "{{MARKET_CODE}}"},
            "/gb/flights/lhr-{{market_code}}?t=cici",
            id="value-brings-an-earlier-placeholder",
        ),
        pytest.param("https://fly.example/deals", {"market": "GB"}, "https://fly.example/deals", id="no-placeholders"),
        pytest.param(
            "/{market_code}/{{unknown}}/{{ origin_iata }}",
            {"market": "GB"},
            "/{market_code}/{{unknown}}/{{ origin_iata }}",
            id="other-braces-kept",
        ),
        pytest.param(
            TEMPLATE,
            {"market": "ÅLAND", "departure": "İST", "arrival": "ΣΑΣ"},
            f"/{'ÅLAND'.lower()}/flights/{'İST'.lower()}-{'ΣΑΣ'.lower()}?t=cici",
            id="non-ascii-lower-cased-as-python-does",
        ),
    ],
)
def test_landing_page_link(converter, template, fare_parts, link):
    fare = flight_fare(**{"departure": "LHR", "arrival": "JFK", **fare_parts})
    document = converter.fares_to_google_xml(fares_text(fare), TITLE, DOMAIN, {}, DEFAULT_IMAGE, template)
    assert ET.fromstring(document).findtext("listing/url") == link


@pytest.mark.parametrize("method", METHODS)
def test_image_lookup_by_exact_destination_code(converter, feed_log, method):
    arrivals = ["JFK", "ORY", "jfk", "JFK", "BCN", "ORY", "LHR"]
    cities = {"JFK": "New York", "jfk": "New York", "BCN": "Barcelona", "ORY": "Paris", "LHR": "London"}
    fares = [
        flight_fare(tessaro_id=f"T{n}", departure="MAD", origin="Madrid", arrival=code, destination=cities[code])
        for n, code in enumerate(arrivals)
    ]
    document = feed(converter, method, fares_text(*fares))
    image_for = {**IMAGES, "jfk": DEFAULT_IMAGE, "BCN": DEFAULT_IMAGE, "ORY": DEFAULT_IMAGE}
    assert element_texts(document, IMAGE_ELEMENTS[method]) == [image_entry(method, image_for[c]) for c in arrivals]
    missing = (
        "Paris - Madrid,New York - Madrid,Barcelona - Madrid" if method == "fares_to_get_blue_xml" else "ORY,jfk,BCN"
    )
    logger = LOGGERS[method]
    assert feed_log == [
        (logger, logging.INFO, "Parsed 7 fare objects"),
        (logger, logging.INFO, f"No image url for: {missing} trying the DEFAULT_IMAGE_URL"),
        (logger, logging.INFO, "Processed xml feeds items: 7"),
    ]


def test_get_blue_additional_image_is_always_the_default(converter):
    document = feed(converter, "fares_to_get_blue_xml", fares_text(FIRST, SECOND))
    assert element_texts(document, "IMAGE_LINK") == [IMAGES["JFK"], DEFAULT_IMAGE]
    assert element_texts(document, "ADDITIONAL_IMAGE_LINK") == [DEFAULT_IMAGE, DEFAULT_IMAGE]


@pytest.mark.parametrize(
    "method, contents",
    [
        ("fares_to_facebook", {"origin_city": "Tom &amp; Jerry", "destination_city": "A &amp;amp; B"}),
        ("fares_to_google_xml", {"origin_city": "Tom & Jerry", "destination_city": "A &amp; B"}),
        (
            "fares_to_criteo_xml",
            {"origin_city": "Tom & Jerry", "destination_city": "A &amp; B", "g:title": "Tom & Jerry - A &amp; B"},
        ),
        (
            "fares_to_get_blue_xml",
            {"CUSTOM_LABEL_0": "Tom & Jerry", "CUSTOM_LABEL_1": "A &amp; B", "DESCRIPTION": "A &amp; B - Tom & Jerry"},
        ),
    ],
)
def test_only_facebook_escapes_ampersands_in_city_names(converter, method, contents):
    document = feed(converter, method, fares_text(flight_fare(origin="Tom & Jerry", destination="A &amp; B")))
    assert {name: element_texts(document, name) for name in contents} == {
        name: [text] for name, text in contents.items()
    }


# Fares lacking city names: an absent, null or empty name is missing, a blank one is not. The map
# lacks FCO only.
WITHOUT_CITY_NAMES = [
    flight_fare(tessaro_id="C1", departure="LHR", origin=None, arrival="CDG", destination="Paris"),
    flight_fare(tessaro_id="C2", departure="AMS", origin="Amsterdam", arrival="CDG", destination=ABSENT),
    flight_fare(tessaro_id="C3", departure="ORY", origin="", arrival="JFK", destination=""),
    flight_fare(tessaro_id="C4", departure="LHR", origin=ABSENT, arrival="BCN", destination="Barcelona"),
    flight_fare(tessaro_id="C5", departure="MAD", origin="Madrid", arrival="FCO", destination="Rome"),
    flight_fare(tessaro_id="C6", departure="OPO", origin=" ", arrival="CDG", destination="Paris"),
]
IMAGES_BUT_FCO = {code: f"https://img.example/{code}.jpg" for code in ["CDG", "JFK", "BCN"]}


@pytest.mark.parametrize(
    "method, missing_image_entry", [("fares_to_facebook", "FCO"), ("fares_to_get_blue_xml", "Rome - Madrid")]
)
def test_missing_city_names_fail_the_batch(converter, feed_log, method, missing_image_entry):
    with pytest.raises(OSError) as raised:
        feed(converter, method, fares_text(*WITHOUT_CITY_NAMES), images=IMAGES_BUT_FCO)
    assert type(raised.value) is OSError
    assert raised.value.args == ("No translations available for : LHR,CDG,ORY,JFK",)
    logger = LOGGERS[method]
    assert feed_log == [
        (logger, logging.INFO, "Parsed 6 fare objects"),
        (logger, logging.INFO, f"No image url for: {missing_image_entry} trying the DEFAULT_IMAGE_URL"),
    ]


@pytest.mark.parametrize(
    "method, origin_element, destination_element",
    [
        ("fares_to_google_xml", "origin_city", "destination_city"),
        ("fares_to_criteo_xml", "origin_city", "destination_city"),
    ],
)
def test_google_and_criteo_accept_missing_city_names(converter, method, origin_element, destination_element):
    document = feed(converter, method, fares_text(*WITHOUT_CITY_NAMES), images=IMAGES_BUT_FCO)
    assert element_texts(document, origin_element) == ["", "Amsterdam", "", "", "Madrid", " "]
    assert element_texts(document, destination_element) == ["Paris", "", "", "Barcelona", "Rome", "Paris"]


def test_criteo_title_joins_whatever_city_names_there_are(converter):
    document = feed(converter, "fares_to_criteo_xml", fares_text(*WITHOUT_CITY_NAMES), images=IMAGES_BUT_FCO)
    assert element_texts(document, "g:title") == [
        " - Paris",
        "Amsterdam - ",
        " - ",
        " - Barcelona",
        "Madrid - Rome",
        "  - Paris",
    ]


MISSING_DEPARTURE_DATE = (
    '[{"tessaroId":"F1","journeyType":"ONE_WAY","priceSpecification":{"currencyCode":"EUR","formatedTotalPrice":"1"},'
    '"outboundFlight":{"departureAirportIataCode":"LHR","arrivalAirportIataCode":"CDG"}}]'
)


@pytest.mark.parametrize(
    "text, message",
    [
        ("", "EOF while parsing a value at line 1 column 0"),
        ('[{"tessaroId": ', "EOF while parsing a value at line 1 column 15"),
        (fares_text(FIRST)[1:-1], "invalid type: map, expected a sequence at line 1 column 0"),
        (MISSING_DEPARTURE_DATE, "missing field `departureDate` at line 1 column 195"),
    ],
    ids=["empty", "truncated", "single-object", "missing-field"],
)
@pytest.mark.parametrize("method", METHODS)
def test_unreadable_list_logs_two_errors_and_raises(converter, feed_log, method, text, message):
    with pytest.raises(OSError) as raised:
        feed(converter, method, text)
    assert type(raised.value) is OSError
    assert raised.value.args == (message,)
    logger = LOGGERS[method]
    assert feed_log == [
        (logger, logging.ERROR, f"Error parsing json: {message}"),
        (logger, logging.ERROR, f"Json string: {text}"),
    ]
