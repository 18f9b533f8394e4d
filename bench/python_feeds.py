"""The five feeds as a Python user would write them instead of calling the extension: parse the
JSON text into Python objects, then build the XML with f-strings and joins.

Every function takes the same arguments as the `Converter` method of the same name, plus `loads`
(`json.loads` by default; pass `orjson.loads` to read with orjson), and returns the same text for
well-formed fares. Unreadable input raises whatever `loads` and the dict lookups raise, not the
extension's reading errors.
"""

import json
import logging

LOGGERS = {
    feed: logging.getLogger(f"bench.python_feeds.{feed}")
    for feed in ("facebook", "google", "criteo", "get_blue", "vp_facebook")
}

XML_DECLARATION = '<?xml version="1.0" encoding="UTF-8"?>'
RSS_START = '<rss xmlns:g="http://base.google.com/ns/1.0" version="2.0">'


class FeedError(OSError):
    """A batch that the extension refuses as a whole (fares without city names)."""


def _city(place):
    return place["city"]["name"] if place is not None else ""


def _flight_fields(fare):
    """The texts of a flight fare that the items are made of."""
    flight = fare["outboundFlight"]
    price = fare["priceSpecification"]
    return {
        "id": fare["tessaroId"],
        "origin_airport": flight["departureAirportIataCode"],
        "destination_airport": flight["arrivalAirportIataCode"],
        "origin_city": _city(flight.get("origin")),
        "destination_city": _city(flight.get("destination")),
        "price": price["formatedTotalPrice"],
        "currency": price["currencyCode"],
        "departure_date": fare["departureDate"],
        "return_date": fare.get("returnDate") or "",
    }


def _landing_page(template, fare):
    market = fare.get("market")
    flight = fare["outboundFlight"]
    return (
        template.replace("{{market_code}}", market.lower() if market is not None else "ww")
        .replace("{{origin_iata}}", flight["departureAirportIataCode"].lower())
        .replace("{{destination_iata}}", flight["arrivalAirportIataCode"].lower())
        .replace("{{template_content_value}}", "cici")
    )


def _listing(f, image="", url=""):
    return (
        f"<listing><origin_airport>{f['origin_airport']}</origin_airport>"
        f"<destination_airport>{f['destination_airport']}</destination_airport>"
        f"<origin_city>{f['origin_city']}</origin_city>"
        f"<destination_city>{f['destination_city']}</destination_city>"
        f"<price>{f['price']} {f['currency']}</price><image>{image}</image><url>{url}</url>"
        f"<description></description><departure_date>{f['departure_date']}</departure_date>"
        f"<return_date>{f['return_date']}</return_date><priority>0</priority>"
        f"<id>{f['id']}</id></listing>"
    )


def _criteo_item(f, image="", link="", title=""):
    return (
        f"<item><g:id>{f['id']}</g:id><g:title>{title}</g:title><g:description></g:description>"
        f"<g:link>{link}</g:link><g:image_link>{image}</g:image_link>"
        f"<g:price>{f['price']} {f['currency']}</g:price>"
        f"<origin_airport>{f['origin_airport']}</origin_airport>"
        f"<destination_airport>{f['destination_airport']}</destination_airport>"
        f"<origin_city>{f['origin_city']}</origin_city>"
        f"<destination_city>{f['destination_city']}</destination_city></item>"
    )


def _get_blue_row(f, image="", link="", description="", additional_image=""):
    return (
        f"<row><ID>{f['id']}</ID><PRODUCT_TYPE></PRODUCT_TYPE><PRICE>{f['price']}</PRICE>"
        f"<CURRENCY>{f['currency']}</CURRENCY><DESCRIPTION>{description}</DESCRIPTION>"
        f"<LINK>{link}</LINK><AVAILABILITY></AVAILABILITY><TITLE></TITLE>"
        f"<IMAGE_LINK>{image}</IMAGE_LINK><CONDITION></CONDITION>"
        f"<CUSTOM_LABEL_0>{f['origin_city']}</CUSTOM_LABEL_0>"
        f"<CUSTOM_LABEL_1>{f['destination_city']}</CUSTOM_LABEL_1>"
        f"<CUSTOM_LABEL_2>{f['origin_airport']}</CUSTOM_LABEL_2>"
        f"<CUSTOM_LABEL_3>{f['destination_airport']}</CUSTOM_LABEL_3><BRAND></BRAND>"
        f"<CUSTOM_LABEL_4></CUSTOM_LABEL_4>"
        f"<ADDITIONAL_IMAGE_LINK>{additional_image}</ADDITIONAL_IMAGE_LINK></row>"
    )


def _rating_text(value):
    # Ratings are short decimals: "%g" gives their shortest form, "4" for 4.0.
    return format(value, "g")


def _package_item(fare):
    flight = fare["outboundFlight"]
    hotel = fare["hotel"]
    price = fare["priceSpecification"]
    origin = flight.get("origin")
    destination = flight.get("destination")
    origin_city, origin_country = (
        (origin["city"]["name"], origin["country"]["name"]) if origin is not None else ("", ""))
    destination_city, destination_country, destination_image = (
        (destination["city"]["name"], destination["country"]["name"], destination["city"]["image"])
        if destination is not None else ("", "", ""))
    return (
        f"<item><g:product_id>{fare['tessaroId']}</g:product_id>"
        f"<g:origin_airport>{flight['departureAirportIataCode']}</g:origin_airport>"
        f"<g:destination_airport>{flight['arrivalAirportIataCode']}</g:destination_airport>"
        f"<g:flight_type>{flight['flightType']}</g:flight_type>"
        f"<g:route_type>{flight['routeType']}</g:route_type>"
        f"<g:origin_city_name>{origin_city}</g:origin_city_name>"
        f"<g:origin_country_name>{origin_country}</g:origin_country_name>"
        f"<g:destination_city_name>{destination_city}</g:destination_city_name>"
        f"<g:destination_country_name>{destination_country}</g:destination_country_name>"
        f"<g:image>{destination_image}</g:image><g:url>{fare['quonRedirectUrl']}</g:url>"
        f"<g:unique_id>{hotel['id']}</g:unique_id><g:name>{hotel['name']}</g:name>"
        f"<g:room_count>{hotel['roomCount']}</g:room_count>"
        f"<g:no_guest>{hotel['guests']['count']}</g:no_guest>"
        f"<g:hotel_rating>{_rating_text(hotel['rating']['value'])}</g:hotel_rating>"
        f"<g:price>{price['formattedTotalPrice']}</g:price>"
        f"<g:currency_code>{price['currencyCode']}</g:currency_code>"
        f"<g:image_url>{hotel['images'][0]}</g:image_url></item>"
    )


# --- single fare -----------------------------------------------------------------------------

def fare_to_facebook(fare_object, loads=json.loads):
    return _listing(_flight_fields(loads(fare_object)))


def fare_to_google_xml(fare_object, loads=json.loads):
    return _listing(_flight_fields(loads(fare_object)))


def fare_to_criteo_xml(fare_object, loads=json.loads):
    return _criteo_item(_flight_fields(loads(fare_object)))


def fare_to_get_blue_xml(fare_object, loads=json.loads):
    return _get_blue_row(_flight_fields(loads(fare_object)))


def fare_to_vp_facebook_xml(fare_object, loads=json.loads):
    return _package_item(loads(fare_object))


# --- batches ---------------------------------------------------------------------------------

def _log_missing_images(logger, with_no_images):
    if with_no_images:
        logger.info("No image url for: %s trying the DEFAULT_IMAGE_URL", ",".join(with_no_images))


def _check_city_names(with_no_city_names):
    if with_no_city_names:
        raise FeedError("No translations available for : " + ",".join(with_no_city_names))


def fares_to_facebook(fare_objects_list, feed_title, domain, image_mapping, default_image_url,
                      landing_page, loads=json.loads):
    logger = LOGGERS["facebook"]
    fares = loads(fare_objects_list)
    logger.info("Parsed %d fare objects", len(fares))
    items = []
    with_no_images = {}
    with_no_city_names = {}
    for fare in fares:
        f = _flight_fields(fare)
        image = image_mapping.get(f["destination_airport"])
        if image is None:
            with_no_images[f["destination_airport"]] = None
            image = default_image_url
        f["origin_city"] = f["origin_city"].replace("&", "&amp;")
        f["destination_city"] = f["destination_city"].replace("&", "&amp;")
        if not f["origin_city"]:
            with_no_city_names[f["origin_airport"]] = None
        if not f["destination_city"]:
            with_no_city_names[f["destination_airport"]] = None
        items.append(_listing(f, f"<url>{image}</url>", _landing_page(landing_page, fare)))
    _log_missing_images(logger, with_no_images)
    _check_city_names(with_no_city_names)
    logger.info("Processed xml feeds items: %d", len(items))
    return (f'{XML_DECLARATION}\n<listings>\n<title>{feed_title}</title>\n'
            f'<link rel="self" href="{domain}"/>\n' + "\n".join(items) + "\n</listings>")


def fares_to_google_xml(fare_objects_list, feed_title, domain, image_mapping, default_image_url,
                        landing_page, loads=json.loads):
    logger = LOGGERS["google"]
    fares = loads(fare_objects_list)
    logger.info("Parsed %d fare objects", len(fares))
    items = []
    with_no_images = {}
    for fare in fares:
        f = _flight_fields(fare)
        image = image_mapping.get(f["destination_airport"])
        if image is None:
            with_no_images[f["destination_airport"]] = None
            image = default_image_url
        items.append(_listing(f, image, _landing_page(landing_page, fare)))
    _log_missing_images(logger, with_no_images)
    logger.info("Processed xml feeds items: %d", len(items))
    return (f'{XML_DECLARATION}<listings><title>{feed_title}</title>'
            f'<link rel="self" href="{domain}"/>' + "".join(items) + "</listings>")


def fares_to_criteo_xml(fare_objects_list, feed_title, domain, image_mapping, default_image_url,
                        landing_page, loads=json.loads):
    logger = LOGGERS["criteo"]
    fares = loads(fare_objects_list)
    logger.info("Parsed %d fare objects", len(fares))
    items = []
    with_no_images = {}
    for fare in fares:
        f = _flight_fields(fare)
        image = image_mapping.get(f["destination_airport"])
        if image is None:
            with_no_images[f["destination_airport"]] = None
            image = default_image_url
        title = f"{f['origin_city']} - {f['destination_city']}"
        items.append(_criteo_item(f, image, _landing_page(landing_page, fare), title))
    _log_missing_images(logger, with_no_images)
    logger.info("Processed xml feeds items: %d", len(items))
    return (f'{RSS_START}<channel><title>{feed_title}</title>'
            f'<link rel="self" href="{domain}"/>' + "".join(items) + "</channel></rss>")


def fares_to_get_blue_xml(fare_objects_list, feed_title, domain, image_mapping,
                          default_image_url, landing_page, loads=json.loads):
    logger = LOGGERS["get_blue"]
    fares = loads(fare_objects_list)
    logger.info("Parsed %d fare objects", len(fares))
    items = []
    with_no_images = {}
    with_no_city_names = {}
    for fare in fares:
        f = _flight_fields(fare)
        description = f"{f['destination_city']} - {f['origin_city']}"
        image = image_mapping.get(f["destination_airport"])
        if image is None:
            with_no_images[description] = None
            image = default_image_url
        if not f["origin_city"]:
            with_no_city_names[f["origin_airport"]] = None
        if not f["destination_city"]:
            with_no_city_names[f["destination_airport"]] = None
        items.append(_get_blue_row(f, image, _landing_page(landing_page, fare), description,
                                   default_image_url))
    _log_missing_images(logger, with_no_images)
    _check_city_names(with_no_city_names)
    logger.info("Processed xml feeds items: %d", len(items))
    return (f'{XML_DECLARATION}\n<root>\n<title>{feed_title}</title>\n'
            f'<link rel="self" href="{domain}"/>\n' + "\n".join(items) + "\n</root>")


def fares_to_vp_facebook_xml(fare_objects_list, feed_title, domain, loads=json.loads):
    logger = LOGGERS["vp_facebook"]
    fares = loads(fare_objects_list)
    logger.info("Parsed %d fare objects", len(fares))
    items = []
    for fare in fares:
        if not fare["hotel"]["images"]:
            logger.error("Package fare `%s` cannot be converted: its hotel has no images",
                         fare["tessaroId"])
            continue
        items.append(_package_item(fare))
    logger.info("Processed xml vp_fb package feeds items: %d", len(items))
    return (f'{RSS_START}\n    <channel>\n    <title>{feed_title}</title>\n    '
            f'<link rel="self" href="{domain}"/>\n    ' + "\n".join(items)
            + "\n    </channel>\n    </rss>")
