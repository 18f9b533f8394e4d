// Flight fares built by hand for the item record tests.
#pragma once

#include "models/json_model.hpp"

namespace flight_fares {

namespace jm = vesk::models::json_model;

// F1, 99.90 EUR, London (LHR) to Paris (CDG), with return date, market and journey type.
inline jm::FareObject london_paris() {
    jm::FareObject fare;
    fare.tessaro_id = "F1";
    fare.journey_type = "RETURN";
    fare.price_specification = {.currency_code = "EUR", .formated_total_price = "99.90"};
    fare.outbound_flight.departure_airport_iata_code = "LHR";
    fare.outbound_flight.arrival_airport_iata_code = "CDG";
    fare.outbound_flight.origin = jm::Place{.city = {.name = "London"}};
    fare.outbound_flight.destination = jm::Place{.city = {.name = "Paris"}};
    fare.departure_date = "2024-07-01";
    fare.return_date = "2024-07-08";
    fare.market = "uk";
    return fare;
}

// london_paris() without origin, destination, return date, market and journey type.
inline jm::FareObject without_optionals() {
    jm::FareObject fare = london_paris();
    fare.journey_type = {};
    fare.outbound_flight.origin.reset();
    fare.outbound_flight.destination.reset();
    fare.return_date.reset();
    fare.market.reset();
    return fare;
}

}  // namespace flight_fares
