// Facebook flight feed item: one "listing" element per fare.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "item_writer.hpp"
#include "json_model.hpp"

namespace vesk::models::xml_model {

struct FeedItem {
    std::string origin_airport;
    std::string destination_airport;
    std::string origin_city;
    std::string destination_city;
    std::string price;        // formatted total price, a space, currency code
    std::string image;        // "<url>" link "</url>", set by set_image_url
    std::string url;          // landing page, assigned by the feed assembly
    std::string description;
    std::string departure_date;
    std::string return_date;  // empty for a one-way fare
    std::uint8_t priority = 0;
    std::string id;

    // The item of one fare, before any completion by the feed assembly.
    static FeedItem from_fare_object(const json_model::FareObject& fare);
    // Sets every field to what from_fare_object(fare) gives, reusing this item's buffers.
    void assign_fare_object(const json_model::FareObject& fare);

    // Sets `image` to "<url>", the link, "</url>".
    void set_image_url(std::string_view url);
    void set_origin_city(std::string_view city_name);
    void set_destination_city(std::string_view city_name);
};

}  // namespace vesk::models::xml_model

template <>
struct vesk::models::item_writer::ItemTable<vesk::models::xml_model::FeedItem> {
    using FeedItem = xml_model::FeedItem;
    static constexpr std::string_view type_name = "FeedItem";
    static constexpr std::string_view root = "listing";
    static constexpr std::tuple fields{
        field("origin_airport", &FeedItem::origin_airport),
        field("destination_airport", &FeedItem::destination_airport),
        field("origin_city", &FeedItem::origin_city),
        field("destination_city", &FeedItem::destination_city),
        field("price", &FeedItem::price),
        field("image", &FeedItem::image),
        field("url", &FeedItem::url),
        field("description", &FeedItem::description),
        field("departure_date", &FeedItem::departure_date),
        field("return_date", &FeedItem::return_date),
        field("priority", &FeedItem::priority),
        field("id", &FeedItem::id),
    };
};
