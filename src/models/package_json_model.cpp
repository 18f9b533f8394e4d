#include "package_json_model.hpp"

#include <tuple>

namespace vesk::models::json_reader {

using namespace package_json_model;

template <>
struct RecordDescription<PriceSpecification> {
    static constexpr std::string_view expecting = "struct PriceSpecification";
    static constexpr std::string_view length_text = "struct PriceSpecification with 2 elements";
    static constexpr auto fields = std::tuple{
        field("currencyCode", &PriceSpecification::currency_code),
        field("formattedTotalPrice", &PriceSpecification::formatted_total_price),
    };
};

template <>
struct RecordDescription<Place> {
    static constexpr std::string_view expecting = "struct Place";
    static constexpr std::string_view length_text = "struct Place with 2 elements";
    static constexpr auto fields = std::tuple{
        field("name", &Place::name),
        field("image", &Place::image),
    };
};

template <>
struct RecordDescription<Location> {
    static constexpr std::string_view expecting = "struct Location";
    static constexpr std::string_view length_text = "struct Location with 2 elements";
    static constexpr auto fields = std::tuple{
        field("country", &Location::country),
        field("city", &Location::city),
    };
};

template <>
struct RecordDescription<OutBoundFlight> {
    static constexpr std::string_view expecting = "struct OutBoundFlight";
    static constexpr std::string_view length_text = "struct OutBoundFlight with 6 elements";
    static constexpr auto fields = std::tuple{
        field("departureAirportIataCode", &OutBoundFlight::departure_airport_iata_code),
        field("arrivalAirportIataCode", &OutBoundFlight::arrival_airport_iata_code),
        field("flightType", &OutBoundFlight::flight_type),
        field("routeType", &OutBoundFlight::route_type),
        field("origin", &OutBoundFlight::origin),
        field("destination", &OutBoundFlight::destination),
    };
};

template <>
struct RecordDescription<Guest> {
    static constexpr std::string_view expecting = "struct Guest";
    static constexpr std::string_view length_text = "struct Guest with 1 element";
    static constexpr auto fields = std::tuple{field("count", &Guest::count)};
};

template <>
struct RecordDescription<Rating> {
    static constexpr std::string_view expecting = "struct Rating";
    static constexpr std::string_view length_text = "struct Rating with 1 element";
    static constexpr auto fields = std::tuple{field("value", &Rating::value)};
};

template <>
struct RecordDescription<Hotel> {
    static constexpr std::string_view expecting = "struct Hotel";
    static constexpr std::string_view length_text = "struct Hotel with 6 elements";
    static constexpr auto fields = std::tuple{
        field("id", &Hotel::id),
        field("name", &Hotel::name),
        field("roomCount", &Hotel::room_count),
        field("guests", &Hotel::guests),
        field("rating", &Hotel::rating),
        field("images", &Hotel::images),
    };
};

template <>
struct RecordDescription<PackageFareObject> {
    static constexpr std::string_view expecting = "struct PackageFareObject";
    static constexpr std::string_view length_text = "struct PackageFareObject with 6 elements";
    static constexpr auto fields = std::tuple{
        field("tessaroId", &PackageFareObject::tessaro_id),
        field("priceSpecification", &PackageFareObject::price_specification),
        field("outboundFlight", &PackageFareObject::outbound_flight),
        field("departureDate", &PackageFareObject::departure_date),
        field("hotel", &PackageFareObject::hotel),
        field("quonRedirectUrl", &PackageFareObject::quon_redirect_url),
    };
};

}  // namespace vesk::models::json_reader

namespace vesk::models::package_json_model {

json_reader::ReadResult<PackageFareObject> read_package_fare(std::string_view json) {
    return json_reader::read_one<PackageFareObject>(json);
}

json_reader::ReadResult<std::vector<PackageFareObject>> read_package_fares(std::string_view json) {
    return json_reader::read_list<PackageFareObject>(json);
}

std::expected<std::size_t, json_reader::ReadError> read_each_package_fare(
    std::string_view json, const std::function<void(const PackageFareObject&)>& on_fare) {
    return json_reader::read_each<PackageFareObject>(json, on_fare);
}

}  // namespace vesk::models::package_json_model
