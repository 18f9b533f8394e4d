#include "xml_get_blue_model.hpp"

#include "fare_texts.hpp"
#include "text_join.hpp"

namespace vesk::models::xml_get_blue_model {

FeedItem FeedItem::from_fare_object(const json_model::FareObject& fare) {
    FeedItem item;
    item.assign_fare_object(fare);
    return item;
}

void FeedItem::assign_fare_object(const json_model::FareObject& fare) {
    const auto& flight = fare.outbound_flight;
    ID.assign(fare.tessaro_id);
    PRODUCT_TYPE.clear();
    PRICE.assign(fare.price_specification.formated_total_price);
    CURRENCY.assign(fare.price_specification.currency_code);
    DESCRIPTION.clear();
    LINK.clear();
    AVAILABILITY.clear();
    TITLE.clear();
    IMAGE_LINK.clear();
    CONDITION.clear();
    set_origin_city(fare_texts::origin_city_name(fare));
    set_destination_city(fare_texts::destination_city_name(fare));
    CUSTOM_LABEL_2.assign(flight.departure_airport_iata_code);
    CUSTOM_LABEL_3.assign(flight.arrival_airport_iata_code);
    BRAND.clear();
    CUSTOM_LABEL_4.clear();
    ADDITIONAL_IMAGE_LINK.clear();
}

void FeedItem::set_image_url(std::string_view url) { IMAGE_LINK.assign(url); }

void FeedItem::set_additional_image_link(std::string_view url) { ADDITIONAL_IMAGE_LINK.assign(url); }

void FeedItem::set_origin_city(std::string_view city_name) { CUSTOM_LABEL_0.assign(city_name); }

void FeedItem::set_destination_city(std::string_view city_name) {
    CUSTOM_LABEL_1.assign(city_name);
}

void FeedItem::set_description() {
    assign_joined(DESCRIPTION, {CUSTOM_LABEL_1, " - ", CUSTOM_LABEL_0});
}

}  // namespace vesk::models::xml_get_blue_model
