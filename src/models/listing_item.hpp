// The "listing" item that the Facebook and Google flight feeds share field for field. The two
// feeds differ only in how the image link is stored, which `ImageLink` decides, and remain
// distinct types.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "fare_texts.hpp"
#include "item_writer.hpp"
#include "json_model.hpp"

namespace vesk::models {

// ImageLink::assign(std::string& image, std::string_view url) stores the link in `image`.
template <class ImageLink>
struct ListingItem {
    std::string origin_airport;
    std::string destination_airport;
    std::string origin_city;
    std::string destination_city;
    std::string price;        // formatted total price, a space, currency code
    std::string image;        // set by set_image_url
    std::string url;          // landing page, assigned by the feed assembly
    std::string description;
    std::string departure_date;
    std::string return_date;  // empty for a one-way fare
    std::uint8_t priority = 0;
    std::string id;

    // The item of one fare, before any completion by the feed assembly.
    static ListingItem from_fare_object(const json_model::FareObject& fare) {
        ListingItem item;
        item.assign_fare_object(fare);
        return item;
    }

    // Sets every field to what from_fare_object(fare) gives, reusing this item's buffers: codes,
    // cities, price, dates and id from the fare; image, url and description empty; priority 0.
    void assign_fare_object(const json_model::FareObject& fare) {
        const auto& flight = fare.outbound_flight;
        origin_airport.assign(flight.departure_airport_iata_code);
        destination_airport.assign(flight.arrival_airport_iata_code);
        set_origin_city(fare_texts::origin_city_name(fare));
        set_destination_city(fare_texts::destination_city_name(fare));
        fare_texts::assign_price_with_currency(price, fare);
        image.clear();
        url.clear();
        description.clear();
        departure_date.assign(fare.departure_date);
        return_date.assign(fare.return_date.value_or(std::string_view{}));
        priority = 0;
        id.assign(fare.tessaro_id);
    }

    void set_image_url(std::string_view link) { ImageLink::assign(image, link); }
    void set_origin_city(std::string_view city_name) { origin_city.assign(city_name); }
    void set_destination_city(std::string_view city_name) { destination_city.assign(city_name); }
};

}  // namespace vesk::models

template <class ImageLink>
struct vesk::models::item_writer::ItemTable<vesk::models::ListingItem<ImageLink>> {
    using FeedItem = ListingItem<ImageLink>;
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
