#include "json_model.hpp"

#include <tuple>

namespace vesk::models::json_reader {

using namespace json_model;

template <>
struct RecordDescription<City> {
    static constexpr std::string_view expecting = "struct City";
    static constexpr std::string_view length_text = "struct City with 1 element";
    static constexpr auto fields = std::tuple{field("name", &City::name)};
};

template <>
struct RecordDescription<Place> {
    static constexpr std::string_view expecting = "struct Place";
    static constexpr std::string_view length_text = "struct Place with 1 element";
    static constexpr auto fields = std::tuple{field("city", &Place::city)};
};

template <>
struct RecordDescription<OutBoundFlight> {
    static constexpr std::string_view expecting = "struct OutBoundFlight";
    static constexpr std::string_view length_text = "struct OutBoundFlight with 4 elements";
    static constexpr auto fields = std::tuple{
        field("departureAirportIataCode", &OutBoundFlight::departure_airport_iata_code),
        field("arrivalAirportIataCode", &OutBoundFlight::arrival_airport_iata_code),
        field("origin", &OutBoundFlight::origin),
        field("destination", &OutBoundFlight::destination),
    };
};

template <>
struct RecordDescription<PriceSpecification> {
    static constexpr std::string_view expecting = "struct PriceSpecification";
    static constexpr std::string_view length_text = "struct PriceSpecification with 2 elements";
    static constexpr auto fields = std::tuple{
        field("currencyCode", &PriceSpecification::currency_code),
        field("formatedTotalPrice", &PriceSpecification::formated_total_price),
    };
};

template <>
struct RecordDescription<FareObject> {
    static constexpr std::string_view expecting = "struct FareObject";
    static constexpr std::string_view length_text = "struct FareObject with 7 elements";
    static constexpr auto fields = std::tuple{
        field("tessaroId", &FareObject::tessaro_id),
        field("journeyType", &FareObject::journey_type),
        field("priceSpecification", &FareObject::price_specification),
        field("outboundFlight", &FareObject::outbound_flight),
        field("departureDate", &FareObject::departure_date),
        field("returnDate", &FareObject::return_date),
        field("market", &FareObject::market),
    };
};

}  // namespace vesk::models::json_reader

namespace vesk::models::json_model {

json_reader::ReadResult<FareObject> read_fare(std::string_view json) {
    return json_reader::read_one<FareObject>(json);
}

json_reader::ReadResult<std::vector<FareObject>> read_fares(std::string_view json) {
    return json_reader::read_list<FareObject>(json);
}

std::expected<std::size_t, json_reader::ReadError> read_each_fare(
    std::string_view json, const std::function<void(const FareObject&)>& on_fare) {
    return json_reader::read_each<FareObject>(json, on_fare);
}

}  // namespace vesk::models::json_model
