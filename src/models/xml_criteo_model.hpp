// Criteo flight feed item: one "item" element per fare, mostly under "g:" names.
#pragma once

#include <string>
#include <string_view>
#include <tuple>

#include "item_writer.hpp"
#include "json_model.hpp"

namespace vesk::models::xml_criteo_model {

struct FeedItem {
    std::string id;
    std::string title;        // "origin - destination", set by set_title
    std::string description;  // never filled
    std::string link;         // landing page, assigned by the feed assembly
    std::string image_link;
    std::string price;        // formatted total price, a space, currency code
    std::string origin_airport;
    std::string destination_airport;
    std::string origin_city;
    std::string destination_city;

    // The item of one fare, before any completion by the feed assembly.
    static FeedItem from_fare_object(const json_model::FareObject& fare);
    // Sets every field to what from_fare_object(fare) gives, reusing this item's buffers.
    void assign_fare_object(const json_model::FareObject& fare);

    void set_image_url(std::string_view url);
    // Sets `title` to o_city, " - ", d_city; the arguments may view this item's own fields.
    void set_title(std::string_view o_city, std::string_view d_city);
    void set_origin_city(std::string_view city_name);
    void set_destination_city(std::string_view city_name);
};

}  // namespace vesk::models::xml_criteo_model

template <>
struct vesk::models::item_writer::ItemTable<vesk::models::xml_criteo_model::FeedItem> {
    using FeedItem = xml_criteo_model::FeedItem;
    static constexpr std::string_view type_name = "FeedItem";
    static constexpr std::string_view root = "item";
    static constexpr std::tuple fields{
        field("id", "g:id", &FeedItem::id),
        field("title", "g:title", &FeedItem::title),
        field("description", "g:description", &FeedItem::description),
        field("link", "g:link", &FeedItem::link),
        field("image_link", "g:image_link", &FeedItem::image_link),
        field("price", "g:price", &FeedItem::price),
        field("origin_airport", &FeedItem::origin_airport),
        field("destination_airport", &FeedItem::destination_airport),
        field("origin_city", &FeedItem::origin_city),
        field("destination_city", &FeedItem::destination_city),
    };
};
