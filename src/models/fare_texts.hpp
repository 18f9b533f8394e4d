// Texts that several flight feed items take from a flight fare.
#pragma once

#include <string>
#include <string_view>

#include "json_model.hpp"
#include "text_join.hpp"

namespace vesk::models::fare_texts {

// The origin city's name, or the empty text for a fare without origin.
inline std::string_view origin_city_name(const json_model::FareObject& fare) {
    const auto& origin = fare.outbound_flight.origin;
    return origin ? origin->city.name : std::string_view{};
}

// The destination city's name, or the empty text for a fare without destination.
inline std::string_view destination_city_name(const json_model::FareObject& fare) {
    const auto& destination = fare.outbound_flight.destination;
    return destination ? destination->city.name : std::string_view{};
}

// Sets `price` to the formatted total price, one space and the currency code, both as received.
inline void assign_price_with_currency(std::string& price, const json_model::FareObject& fare) {
    const auto& price_specification = fare.price_specification;
    assign_joined(price, {price_specification.formated_total_price, " ",
                          price_specification.currency_code});
}

}  // namespace vesk::models::fare_texts
