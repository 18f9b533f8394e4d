// Every text of a fare record, for the precondition of the XML checks: a document can be
// well-formed only when all texts that reach it are plain character data.
#pragma once

#include <string_view>
#include <vector>

#include "models/json_model.hpp"
#include "models/package_json_model.hpp"
#include "plain_text.hpp"

namespace vesk::fuzz {

inline bool all_texts_plain(const models::json_model::FareObject& fare) {
    const auto& flight = fare.outbound_flight;
    const auto city = [](const auto& place) { return !place || is_plain_character_data(place->city.name); };
    return is_plain_character_data(fare.tessaro_id) && is_plain_character_data(fare.journey_type) &&
           is_plain_character_data(fare.price_specification.currency_code) &&
           is_plain_character_data(fare.price_specification.formated_total_price) &&
           is_plain_character_data(flight.departure_airport_iata_code) &&
           is_plain_character_data(flight.arrival_airport_iata_code) && city(flight.origin) &&
           city(flight.destination) && is_plain_character_data(fare.departure_date) &&
           is_plain_character_data(fare.return_date.value_or("")) &&
           is_plain_character_data(fare.market.value_or(""));
}

inline bool all_texts_plain(const models::package_json_model::PackageFareObject& fare) {
    const auto& flight = fare.outbound_flight;
    const auto& hotel = fare.hotel;
    const auto place = [](const auto& p) { return is_plain_character_data(p.name) && is_plain_character_data(p.image); };
    const auto location = [&](const auto& l) { return !l || (place(l->country) && place(l->city)); };
    bool images = true;
    for (const auto image : hotel.images) images = images && is_plain_character_data(image);
    return images && is_plain_character_data(fare.tessaro_id) &&
           is_plain_character_data(fare.price_specification.currency_code) &&
           is_plain_character_data(fare.price_specification.formatted_total_price) &&
           is_plain_character_data(flight.departure_airport_iata_code) &&
           is_plain_character_data(flight.arrival_airport_iata_code) &&
           is_plain_character_data(flight.flight_type) && is_plain_character_data(flight.route_type) &&
           location(flight.origin) && location(flight.destination) &&
           is_plain_character_data(fare.departure_date) && is_plain_character_data(hotel.id) &&
           is_plain_character_data(hotel.name) && is_plain_character_data(fare.quon_redirect_url);
}

template <class Fare>
bool all_texts_plain(const std::vector<Fare>& fares) {
    for (const auto& fare : fares) {
        if (!all_texts_plain(fare)) return false;
    }
    return true;
}

}  // namespace vesk::fuzz
