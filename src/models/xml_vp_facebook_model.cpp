#include "xml_vp_facebook_model.hpp"

namespace vesk::models::xml_vp_facebook_model {

std::expected<PackageFeedItem, MissingHotelImage> PackageFeedItem::from_package_fare_object(
    const package_json_model::PackageFareObject& fare) {
    PackageFeedItem item;
    if (auto assigned = item.assign_package_fare_object(fare); !assigned) {
        return std::unexpected(assigned.error());
    }
    return item;
}

std::expected<void, MissingHotelImage> PackageFeedItem::assign_package_fare_object(
    const package_json_model::PackageFareObject& fare) {
    const auto& hotel = fare.hotel;
    if (hotel.images.empty()) return std::unexpected(MissingHotelImage{});
    const auto& flight = fare.outbound_flight;

    product_id.assign(fare.tessaro_id);
    origin_airport.assign(flight.departure_airport_iata_code);
    destination_airport.assign(flight.arrival_airport_iata_code);
    flight_type.assign(flight.flight_type);
    route_type.assign(flight.route_type);
    if (flight.origin) {
        set_origin_city(flight.origin->city.name);
        set_origin_country(flight.origin->country.name);
    } else {
        set_origin_city({});
        set_origin_country({});
    }
    if (flight.destination) {
        set_destination_city(flight.destination->city.name);
        set_destination_country(flight.destination->country.name);
        set_destination_city_image(flight.destination->city.image);
    } else {
        set_destination_city({});
        set_destination_country({});
        set_destination_city_image({});
    }
    url.assign(fare.quon_redirect_url);
    unique_id.assign(hotel.id);
    hotel_name.assign(hotel.name);
    room_count = hotel.room_count;
    no_guest = hotel.guests.count;
    hotel_rating = hotel.rating.value;
    price.assign(fare.price_specification.formatted_total_price);
    currency_code.assign(fare.price_specification.currency_code);
    hotel_image_url.assign(hotel.images.front());
    return {};
}

void PackageFeedItem::set_origin_city(std::string_view city) { origin_city_name.assign(city); }

void PackageFeedItem::set_origin_country(std::string_view country) {
    origin_country_name.assign(country);
}

void PackageFeedItem::set_destination_city(std::string_view city) {
    destination_city_name.assign(city);
}

void PackageFeedItem::set_destination_country(std::string_view country) {
    destination_country_name.assign(country);
}

void PackageFeedItem::set_destination_city_image(std::string_view image) {
    this->image.assign(image);
}

}  // namespace vesk::models::xml_vp_facebook_model
