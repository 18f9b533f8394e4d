// Flight fare records: the input of the four flight feeds.
//
// Texts are views into the JSON text that was read, or into the text store of the read for
// strings that held escapes (see json_reader.hpp); they live as long as both.
#pragma once

#include <cstddef>
#include <expected>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "json_reader.hpp"

namespace vesk::models::json_model {

struct City {
    std::string_view name;
};

struct Place {
    City city;
};

struct OutBoundFlight {
    std::string_view departure_airport_iata_code;
    std::string_view arrival_airport_iata_code;
    std::optional<Place> origin;
    std::optional<Place> destination;
};

struct PriceSpecification {
    std::string_view currency_code;
    std::string_view formated_total_price;
};

struct FareObject {
    std::string_view tessaro_id;
    std::string_view journey_type;
    PriceSpecification price_specification;
    OutBoundFlight outbound_flight;
    std::string_view departure_date;
    std::optional<std::string_view> return_date;
    std::optional<std::string_view> market;
};

// Single-fare read: the text holds one FareObject.
json_reader::ReadResult<FareObject> read_fare(std::string_view json);
// List read: the text holds one array of FareObject values.
json_reader::ReadResult<std::vector<FareObject>> read_fares(std::string_view json);
// List read without keeping the list: calls `on_fare` with each FareObject as soon as it is read
// (its views are valid during that call only) and returns the number of fares. Reads like
// read_fares; on an error the fares before it have been handed over.
std::expected<std::size_t, json_reader::ReadError> read_each_fare(
    std::string_view json, const std::function<void(const FareObject&)>& on_fare);

}  // namespace vesk::models::json_model
