#include "xml_criteo_model.hpp"

#include "fare_texts.hpp"
#include "text_join.hpp"

namespace vesk::models::xml_criteo_model {

FeedItem FeedItem::from_fare_object(const json_model::FareObject& fare) {
    FeedItem item;
    item.assign_fare_object(fare);
    return item;
}

void FeedItem::assign_fare_object(const json_model::FareObject& fare) {
    const auto& flight = fare.outbound_flight;
    id.assign(fare.tessaro_id);
    title.clear();
    description.clear();
    link.clear();
    image_link.clear();
    fare_texts::assign_price_with_currency(price, fare);
    origin_airport.assign(flight.departure_airport_iata_code);
    destination_airport.assign(flight.arrival_airport_iata_code);
    set_origin_city(fare_texts::origin_city_name(fare));
    set_destination_city(fare_texts::destination_city_name(fare));
}

void FeedItem::set_image_url(std::string_view url) { image_link.assign(url); }

void FeedItem::set_title(std::string_view o_city, std::string_view d_city) {
    assign_joined(title, {o_city, " - ", d_city});
}

void FeedItem::set_origin_city(std::string_view city_name) { origin_city.assign(city_name); }

void FeedItem::set_destination_city(std::string_view city_name) {
    destination_city.assign(city_name);
}

}  // namespace vesk::models::xml_criteo_model
