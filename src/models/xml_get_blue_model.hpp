// get_blue flight feed item: one "row" element per fare, under upper-case names.
#pragma once

#include <string>
#include <string_view>
#include <tuple>

#include "item_writer.hpp"
#include "json_model.hpp"

namespace vesk::models::xml_get_blue_model {

// The fields are named like their elements. Those without a comment on how they are filled are
// always empty.
struct FeedItem {
    std::string ID;
    std::string PRODUCT_TYPE;
    std::string PRICE;           // formatted total price, without currency
    std::string CURRENCY;
    std::string DESCRIPTION;     // "destination - origin", set by set_description
    std::string LINK;            // landing page, assigned by the feed assembly
    std::string AVAILABILITY;
    std::string TITLE;
    std::string IMAGE_LINK;      // set by set_image_url
    std::string CONDITION;
    std::string CUSTOM_LABEL_0;  // origin city name
    std::string CUSTOM_LABEL_1;  // destination city name
    std::string CUSTOM_LABEL_2;  // departure airport code
    std::string CUSTOM_LABEL_3;  // arrival airport code
    std::string BRAND;
    std::string CUSTOM_LABEL_4;
    std::string ADDITIONAL_IMAGE_LINK;  // set by set_additional_image_link

    // The item of one fare, before any completion by the feed assembly.
    static FeedItem from_fare_object(const json_model::FareObject& fare);
    // Sets every field to what from_fare_object(fare) gives, reusing this item's buffers.
    void assign_fare_object(const json_model::FareObject& fare);

    void set_image_url(std::string_view url);
    void set_additional_image_link(std::string_view url);
    // Sets CUSTOM_LABEL_0.
    void set_origin_city(std::string_view city_name);
    // Sets CUSTOM_LABEL_1.
    void set_destination_city(std::string_view city_name);
    // Sets DESCRIPTION to CUSTOM_LABEL_1, " - ", CUSTOM_LABEL_0 as they are now; later changes of
    // the labels do not reach it.
    void set_description();
};

}  // namespace vesk::models::xml_get_blue_model

template <>
struct vesk::models::item_writer::ItemTable<vesk::models::xml_get_blue_model::FeedItem> {
    using FeedItem = xml_get_blue_model::FeedItem;
    static constexpr std::string_view type_name = "FeedItem";
    static constexpr std::string_view root = "row";
    static constexpr std::tuple fields{
        field("ID", &FeedItem::ID),
        field("PRODUCT_TYPE", &FeedItem::PRODUCT_TYPE),
        field("PRICE", &FeedItem::PRICE),
        field("CURRENCY", &FeedItem::CURRENCY),
        field("DESCRIPTION", &FeedItem::DESCRIPTION),
        field("LINK", &FeedItem::LINK),
        field("AVAILABILITY", &FeedItem::AVAILABILITY),
        field("TITLE", &FeedItem::TITLE),
        field("IMAGE_LINK", &FeedItem::IMAGE_LINK),
        field("CONDITION", &FeedItem::CONDITION),
        field("CUSTOM_LABEL_0", &FeedItem::CUSTOM_LABEL_0),
        field("CUSTOM_LABEL_1", &FeedItem::CUSTOM_LABEL_1),
        field("CUSTOM_LABEL_2", &FeedItem::CUSTOM_LABEL_2),
        field("CUSTOM_LABEL_3", &FeedItem::CUSTOM_LABEL_3),
        field("BRAND", &FeedItem::BRAND),
        field("CUSTOM_LABEL_4", &FeedItem::CUSTOM_LABEL_4),
        field("ADDITIONAL_IMAGE_LINK", &FeedItem::ADDITIONAL_IMAGE_LINK),
    };
};
