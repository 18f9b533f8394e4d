// Package fare records: the input of the vacation-package feed.
//
// Texts are views into the JSON text that was read, or into the text store of the read for
// strings that held escapes (see json_reader.hpp); they live as long as both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "json_reader.hpp"

namespace vesk::models::package_json_model {

struct PriceSpecification {
    std::string_view currency_code;
    std::string_view formatted_total_price;
};

struct Place {
    std::string_view name;
    std::string_view image;
};

struct Location {
    Place country;
    Place city;
};

struct OutBoundFlight {
    std::string_view departure_airport_iata_code;
    std::string_view arrival_airport_iata_code;
    std::string_view flight_type;
    std::string_view route_type;
    std::optional<Location> origin;
    std::optional<Location> destination;
};

struct Guest {
    std::uint8_t count = 0;
};

struct Rating {
    float value = 0.0F;
};

struct Hotel {
    std::string_view id;
    std::string_view name;
    std::uint8_t room_count = 0;
    Guest guests;
    Rating rating;
    std::vector<std::string_view> images;
};

struct PackageFareObject {
    std::string_view tessaro_id;
    PriceSpecification price_specification;
    OutBoundFlight outbound_flight;
    std::string_view departure_date;
    Hotel hotel;
    std::string_view quon_redirect_url;
};

// Single-fare read: the text holds one PackageFareObject.
json_reader::ReadResult<PackageFareObject> read_package_fare(std::string_view json);
// List read: the text holds one array of PackageFareObject values.
json_reader::ReadResult<std::vector<PackageFareObject>> read_package_fares(std::string_view json);
// List read without keeping the list: calls `on_fare` with each PackageFareObject as soon as it is read
// (its views are valid during that call only) and returns the number of fares. Reads like
// read_package_fares; on an error the fares before it have been handed over.
std::expected<std::size_t, json_reader::ReadError> read_each_package_fare(
    std::string_view json, const std::function<void(const PackageFareObject&)>& on_fare);

}  // namespace vesk::models::package_json_model
