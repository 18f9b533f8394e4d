"""The parameters of every Converter method, in class declaration order."""

SINGLE_FARE = ["fare_object"]
FLIGHT_BATCH = ["fare_objects_list", "feed_title", "domain", "image_mapping", "default_image_url", "landing_page"]
PACKAGE_BATCH = ["fare_objects_list", "feed_title", "domain"]

METHOD_PARAMETERS = {
    "fare_to_facebook": SINGLE_FARE,
    "fare_to_google_xml": SINGLE_FARE,
    "fare_to_criteo_xml": SINGLE_FARE,
    "fare_to_get_blue_xml": SINGLE_FARE,
    "fare_to_vp_facebook_xml": SINGLE_FARE,
    "fares_to_facebook": FLIGHT_BATCH,
    "fares_to_google_xml": FLIGHT_BATCH,
    "fares_to_criteo_xml": FLIGHT_BATCH,
    "fares_to_get_blue_xml": FLIGHT_BATCH,
    "fares_to_vp_facebook_xml": PACKAGE_BATCH,
}
