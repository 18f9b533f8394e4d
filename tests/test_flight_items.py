"""The four single-fare flight methods: the item text of one fare, exactly as written straight from
the fare, with no link, image or escaping added."""

import pytest

from fares import ABSENT, flight_fare, json_text, with_elements
from vesk_fares_to_xml import Converter

FARE = flight_fare(return_date="2024-05-08")

LISTING = (
    "<listing><origin_airport>LHR</origin_airport><destination_airport>CDG</destination_airport>"
    "<origin_city>London</origin_city><destination_city>Paris</destination_city><price>99.90 EUR</price>"
    "<image></image><url></url><description></description><departure_date>2024-05-01</departure_date>"
    "<return_date>2024-05-08</return_date><priority>0</priority><id>F1</id></listing>"
)
CRITEO_ITEM = (
    "<item><g:id>F1</g:id><g:title></g:title><g:description></g:description><g:link></g:link>"
    "<g:image_link></g:image_link><g:price>99.90 EUR</g:price><origin_airport>LHR</origin_airport>"
    "<destination_airport>CDG</destination_airport><origin_city>London</origin_city>"
    "<destination_city>Paris</destination_city></item>"
)
GET_BLUE_ROW = (
    "<row><ID>F1</ID><PRODUCT_TYPE></PRODUCT_TYPE><PRICE>99.90</PRICE><CURRENCY>EUR</CURRENCY>"
    "<DESCRIPTION></DESCRIPTION><LINK></LINK><AVAILABILITY></AVAILABILITY><TITLE></TITLE>"
    "<IMAGE_LINK></IMAGE_LINK><CONDITION></CONDITION><CUSTOM_LABEL_0>London</CUSTOM_LABEL_0>"
    "<CUSTOM_LABEL_1>Paris</CUSTOM_LABEL_1><CUSTOM_LABEL_2>LHR</CUSTOM_LABEL_2><CUSTOM_LABEL_3>CDG</CUSTOM_LABEL_3>"
    "<BRAND></BRAND><CUSTOM_LABEL_4></CUSTOM_LABEL_4><ADDITIONAL_IMAGE_LINK></ADDITIONAL_IMAGE_LINK></row>"
)

# The item each method writes for FARE.
ITEMS = {
    "fare_to_facebook": LISTING,
    "fare_to_google_xml": LISTING,
    "fare_to_criteo_xml": CRITEO_ITEM,
    "fare_to_get_blue_xml": GET_BLUE_ROW,
}
METHODS = list(ITEMS)
LISTING_METHODS = ["fare_to_facebook", "fare_to_google_xml"]

# The elements holding the origin and the destination city name.
CITY_ELEMENTS = {
    "fare_to_facebook": ("origin_city", "destination_city"),
    "fare_to_google_xml": ("origin_city", "destination_city"),
    "fare_to_criteo_xml": ("origin_city", "destination_city"),
    "fare_to_get_blue_xml": ("CUSTOM_LABEL_0", "CUSTOM_LABEL_1"),
}


@pytest.fixture(scope="module")
def converter():
    return Converter(Converter.XML_PROTOCOL)


def item(converter, method, fare):
    return getattr(converter, method)(json_text(fare))


@pytest.mark.parametrize("method", METHODS)
def test_item_of_a_fare(converter, method):
    assert item(converter, method, FARE) == ITEMS[method]


@pytest.mark.parametrize(
    "price, currency, price_text",
    [
        ("1.234,50", "EUR", "1.234,50 EUR"),
        ("99.90", "", "99.90 "),
        ("", "EUR", " EUR"),
        ("", "", " "),
    ],
)
@pytest.mark.parametrize(
    "method, element", [*[(m, "price") for m in LISTING_METHODS], ("fare_to_criteo_xml", "g:price")]
)
def test_price_is_amount_blank_currency(converter, method, element, price, currency, price_text):
    fare = flight_fare(price=price, currency=currency, return_date="2024-05-08")
    assert item(converter, method, fare) == with_elements(ITEMS[method], {element: price_text})


@pytest.mark.parametrize("price, currency", [("1.234,50", "EUR"), ("99.90", ""), ("", "")])
def test_get_blue_price_holds_the_amount_alone(converter, price, currency):
    fare = flight_fare(price=price, currency=currency)
    assert item(converter, "fare_to_get_blue_xml", fare) == with_elements(
        GET_BLUE_ROW, {"PRICE": price, "CURRENCY": currency}
    )


@pytest.mark.parametrize("missing", [ABSENT, None], ids=["absent", "null"])
@pytest.mark.parametrize("side", ["origin", "destination"])
@pytest.mark.parametrize("method", METHODS)
def test_fare_without_a_place_gets_an_empty_city(converter, method, side, missing):
    fare = flight_fare(return_date="2024-05-08", **{side: missing})
    element = CITY_ELEMENTS[method][side == "destination"]
    assert item(converter, method, fare) == with_elements(ITEMS[method], {element: ""})


@pytest.mark.parametrize("return_date", [ABSENT, None, ""], ids=["absent", "null", "empty"])
@pytest.mark.parametrize("method", LISTING_METHODS)
def test_listing_without_return_date_has_an_empty_element(converter, method, return_date):
    fare = flight_fare(return_date=return_date)
    assert item(converter, method, fare) == with_elements(LISTING, {"return_date": ""})


@pytest.mark.parametrize("method", METHODS)
def test_market_and_journey_type_do_not_reach_the_item(converter, method):
    fare = flight_fare(return_date="2024-05-08", market="GB", journey_type="ROUND_TRIP")
    assert item(converter, method, fare) == ITEMS[method]


@pytest.mark.parametrize("method", ["fare_to_criteo_xml", "fare_to_get_blue_xml"])
def test_dates_do_not_reach_criteo_and_get_blue_items(converter, method):
    fare = flight_fare(departure_date="tomorrow", return_date=None)
    assert item(converter, method, fare) == ITEMS[method]


@pytest.mark.parametrize(
    "city",
    [
        "Tom & Jerry",
        "Tom &amp; Jerry",
        "Fish & Chips <Ltd>",
        '"Big" Apple\'s',
        "Zürich",
        "İstanbul",
        "東京",
        "🛫 Rio",
        "  Rio\tde\nJaneiro  ",
    ],
)
@pytest.mark.parametrize("method", METHODS)
def test_city_name_is_written_unchanged(converter, method, city):
    fare = flight_fare(origin=city, return_date="2024-05-08")
    assert item(converter, method, fare) == with_elements(ITEMS[method], {CITY_ELEMENTS[method][0]: city})


@pytest.mark.parametrize("method", METHODS)
def test_item_depends_on_the_fare_only(method):
    text = json_text(FARE)
    by_position = getattr(Converter(Converter.XML_PROTOCOL), method)(text)
    by_keyword = getattr(Converter(Converter.XML_PROTOCOL), method)(fare_object=text)
    tsv_protocol = getattr(Converter(Converter.TSV_PROTOCOL), method)(text)
    assert by_position == by_keyword == tsv_protocol == ITEMS[method]


@pytest.mark.parametrize("method", METHODS)
def test_array_form_of_the_fare_gives_the_same_item(converter, method):
    array_form = (
        '["F1","ONE_WAY",["EUR","99.90"],["LHR","CDG",[["London"]],[["Paris"]]],"2024-05-01","2024-05-08",null]'
    )
    assert getattr(converter, method)(array_form) == ITEMS[method]


@pytest.mark.parametrize(
    "text, message",
    [
        (json_text([FARE]), "invalid type: map, expected a string at line 1 column 1"),
        ("", "EOF while parsing a value at line 1 column 0"),
        ('{"tessaroId": "F1"', "EOF while parsing an object at line 1 column 18"),
        ('{"tessaroId": "F1", "journeyType": "ONE_', "EOF while parsing a string at line 1 column 40"),
    ],
    ids=["list-of-fares", "empty", "ends-after-a-member", "ends-inside-a-string"],
)
@pytest.mark.parametrize("method", METHODS)
def test_unreadable_fare_raises_os_error(converter, method, text, message):
    with pytest.raises(OSError) as raised:
        getattr(converter, method)(text)
    assert type(raised.value) is OSError
    assert raised.value.args == (message,)
    assert raised.value.errno is None and raised.value.strerror is None
