"""Python extension module that turns travel fares given as JSON text into XML product feeds."""

from typing import ClassVar, SupportsIndex

__all__ = ["Converter"]

class Converter:
    XML_PROTOCOL: ClassVar[int]
    TSV_PROTOCOL: ClassVar[int]

    def __new__(cls, protocol: SupportsIndex) -> Converter: ...
    @property
    def protocol(self) -> int: ...

    # Single fare: the JSON text of one fare to the XML text of one feed item.
    def fare_to_facebook(self, fare_object: str) -> str: ...
    def fare_to_google_xml(self, fare_object: str) -> str: ...
    def fare_to_criteo_xml(self, fare_object: str) -> str: ...
    def fare_to_get_blue_xml(self, fare_object: str) -> str: ...
    def fare_to_vp_facebook_xml(self, fare_object: str) -> str: ...

    # Batch: the JSON text of an array of fares to a whole feed document.
    def fares_to_facebook(
        self,
        fare_objects_list: str,
        feed_title: str,
        domain: str,
        image_mapping: dict[str, str],
        default_image_url: str,
        landing_page: str,
    ) -> str: ...
    def fares_to_google_xml(
        self,
        fare_objects_list: str,
        feed_title: str,
        domain: str,
        image_mapping: dict[str, str],
        default_image_url: str,
        landing_page: str,
    ) -> str: ...
    def fares_to_criteo_xml(
        self,
        fare_objects_list: str,
        feed_title: str,
        domain: str,
        image_mapping: dict[str, str],
        default_image_url: str,
        landing_page: str,
    ) -> str: ...
    def fares_to_get_blue_xml(
        self,
        fare_objects_list: str,
        feed_title: str,
        domain: str,
        image_mapping: dict[str, str],
        default_image_url: str,
        landing_page: str,
    ) -> str: ...
    def fares_to_vp_facebook_xml(self, fare_objects_list: str, feed_title: str, domain: str) -> str: ...
