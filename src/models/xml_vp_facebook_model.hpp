// Vacation-package Facebook feed item: one "item" element per package fare, under "g:" names.
#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <tuple>

#include "item_writer.hpp"
#include "package_json_model.hpp"

namespace vesk::models::xml_vp_facebook_model {

// A package fare whose hotel has no image: the item needs the first one.
struct MissingHotelImage {};

struct PackageFeedItem {
    std::string product_id;
    std::string origin_airport;
    std::string destination_airport;
    std::string flight_type;
    std::string route_type;
    std::string origin_city_name;
    std::string origin_country_name;
    std::string destination_city_name;
    std::string destination_country_name;
    std::string image;  // the destination city's image
    std::string url;
    std::string unique_id;  // the hotel's id
    std::string hotel_name;
    std::uint8_t room_count = 0;
    std::uint8_t no_guest = 0;
    float hotel_rating = 0.0F;
    std::string price;  // the formatted total price as received
    std::string currency_code;
    std::string hotel_image_url;  // the first hotel image

    // The item of one package fare; fails for a fare whose hotel has no image.
    static std::expected<PackageFeedItem, MissingHotelImage> from_package_fare_object(
        const package_json_model::PackageFareObject& fare);
    // Sets every field to what from_package_fare_object(fare) gives, reusing this item's buffers;
    // for a fare whose hotel has no image, fails and leaves the item unchanged.
    std::expected<void, MissingHotelImage> assign_package_fare_object(
        const package_json_model::PackageFareObject& fare);

    void set_origin_city(std::string_view city);
    void set_origin_country(std::string_view country);
    void set_destination_city(std::string_view city);
    void set_destination_country(std::string_view country);
    void set_destination_city_image(std::string_view image);
};

}  // namespace vesk::models::xml_vp_facebook_model

template <>
struct vesk::models::item_writer::ItemTable<vesk::models::xml_vp_facebook_model::PackageFeedItem> {
    using PackageFeedItem = xml_vp_facebook_model::PackageFeedItem;
    static constexpr std::string_view type_name = "PackageFeedItem";
    static constexpr std::string_view root = "item";
    static constexpr std::tuple fields{
        field("product_id", "g:product_id", &PackageFeedItem::product_id),
        field("origin_airport", "g:origin_airport", &PackageFeedItem::origin_airport),
        field("destination_airport", "g:destination_airport", &PackageFeedItem::destination_airport),
        field("flight_type", "g:flight_type", &PackageFeedItem::flight_type),
        field("route_type", "g:route_type", &PackageFeedItem::route_type),
        field("origin_city_name", "g:origin_city_name", &PackageFeedItem::origin_city_name),
        field("origin_country_name", "g:origin_country_name", &PackageFeedItem::origin_country_name),
        field("destination_city_name", "g:destination_city_name",
              &PackageFeedItem::destination_city_name),
        field("destination_country_name", "g:destination_country_name",
              &PackageFeedItem::destination_country_name),
        field("image", "g:image", &PackageFeedItem::image),
        field("url", "g:url", &PackageFeedItem::url),
        field("unique_id", "g:unique_id", &PackageFeedItem::unique_id),
        field("hotel_name", "g:name", &PackageFeedItem::hotel_name),
        field("room_count", "g:room_count", &PackageFeedItem::room_count),
        field("no_guest", "g:no_guest", &PackageFeedItem::no_guest),
        field("hotel_rating", "g:hotel_rating", &PackageFeedItem::hotel_rating),
        field("price", "g:price", &PackageFeedItem::price),
        field("currency_code", "g:currency_code", &PackageFeedItem::currency_code),
        field("hotel_image_url", "g:image_url", &PackageFeedItem::hotel_image_url),
    };
};
