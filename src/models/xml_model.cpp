#include "xml_model.hpp"

#include "listing_fields.hpp"
#include "text_join.hpp"

namespace vesk::models::xml_model {

FeedItem FeedItem::from_fare_object(const json_model::FareObject& fare) {
    FeedItem item;
    item.assign_fare_object(fare);
    return item;
}

void FeedItem::assign_fare_object(const json_model::FareObject& fare) {
    assign_listing_fields(*this, fare);
}

void FeedItem::set_image_url(std::string_view url) { assign_joined(image, {"<url>", url, "</url>"}); }

void FeedItem::set_origin_city(std::string_view city_name) { origin_city.assign(city_name); }

void FeedItem::set_destination_city(std::string_view city_name) {
    destination_city.assign(city_name);
}

}  // namespace vesk::models::xml_model
