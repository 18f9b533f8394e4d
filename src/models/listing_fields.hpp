// Construction shared by the Facebook and Google listing items, which have the same fields.
#pragma once

#include <string_view>

#include "fare_texts.hpp"
#include "json_model.hpp"

namespace vesk::models {

// Sets every field of a listing item to its value for `fare`: codes, cities, price, dates and
// id from the fare; image, url and description empty; priority 0.
template <class Listing>
void assign_listing_fields(Listing& item, const json_model::FareObject& fare) {
    const auto& flight = fare.outbound_flight;
    item.origin_airport.assign(flight.departure_airport_iata_code);
    item.destination_airport.assign(flight.arrival_airport_iata_code);
    item.set_origin_city(fare_texts::origin_city_name(fare));
    item.set_destination_city(fare_texts::destination_city_name(fare));
    fare_texts::assign_price_with_currency(item.price, fare);
    item.image.clear();
    item.url.clear();
    item.description.clear();
    item.departure_date.assign(fare.departure_date);
    item.return_date.assign(fare.return_date.value_or(std::string_view{}));
    item.priority = 0;
    item.id.assign(fare.tessaro_id);
}

}  // namespace vesk::models
