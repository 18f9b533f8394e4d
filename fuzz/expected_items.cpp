#include "expected_items.hpp"

#include <bit>
#include <charconv>
#include <cstdint>
#include <utility>

#include "require.hpp"

namespace vesk::fuzz {

namespace {

using models::json_model::FareObject;
using models::package_json_model::PackageFareObject;

std::string text(std::string_view value) { return std::string(value); }

template <class Place>
std::string city_name(const std::optional<Place>& place) {
    return place ? text(place->city.name) : std::string();
}

ExpectedElement exact(std::string name, std::string content) {
    return {std::move(name), std::move(content), std::nullopt};
}

ExpectedElement& element(ExpectedItem& item, std::string_view name) {
    for (auto& candidate : item.elements) {
        if (candidate.name == name) return candidate;
    }
    property_violated("the expected item has this element", name);
}

bool is_ascii(std::string_view value) {
    for (const char c : value) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::string ascii_lower(std::string_view value) {
    std::string lowered(value);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

std::string replaced(std::string text, std::string_view placeholder, std::string_view value) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t found = text.find(placeholder); found != std::string::npos;
         found = text.find(placeholder, from)) {
        out.append(text, from, found - from).append(value);
        from = found + placeholder.size();
    }
    out.append(text, from);
    return out;
}

std::optional<std::string> landing_page_link(const FareObject& fare, std::string_view landing_page) {
    const std::string_view market = fare.market.value_or("ww");
    const auto& flight = fare.outbound_flight;
    if (!is_ascii(market) || !is_ascii(flight.departure_airport_iata_code) ||
        !is_ascii(flight.arrival_airport_iata_code)) {
        return std::nullopt;
    }
    std::string link = replaced(std::string(landing_page), "{{market_code}}", ascii_lower(market));
    link = replaced(std::move(link), "{{origin_iata}}", ascii_lower(flight.departure_airport_iata_code));
    link = replaced(std::move(link), "{{destination_iata}}", ascii_lower(flight.arrival_airport_iata_code));
    return replaced(std::move(link), "{{template_content_value}}", "cici");
}

// Shortest or not, the text must be plain positional notation that reads back to the same float.
bool is_item_form_of(std::string_view content, float value) {
    if (content.find_first_of("eE") != std::string_view::npos) return false;
    float read = 0.0F;
    const auto [end, error] = std::from_chars(content.data(), content.data() + content.size(), read);
    if (error != std::errc() || end != content.data() + content.size()) return false;
    return std::bit_cast<std::uint32_t>(read) == std::bit_cast<std::uint32_t>(value);
}

}  // namespace

ExpectedItem single_fare_item(FlightFeed feed, const FareObject& fare) {
    const auto& flight = fare.outbound_flight;
    const auto& price = fare.price_specification;
    const std::string origin = city_name(flight.origin);
    const std::string destination = city_name(flight.destination);
    const std::string price_text = text(price.formated_total_price) + " " + text(price.currency_code);
    switch (feed) {
        case FlightFeed::Facebook:
        case FlightFeed::Google:
            return {"listing",
                    {exact("origin_airport", text(flight.departure_airport_iata_code)),
                     exact("destination_airport", text(flight.arrival_airport_iata_code)),
                     exact("origin_city", origin), exact("destination_city", destination),
                     exact("price", price_text), exact("image", ""), exact("url", ""),
                     exact("description", ""), exact("departure_date", text(fare.departure_date)),
                     exact("return_date", text(fare.return_date.value_or(""))),
                     exact("priority", "0"), exact("id", text(fare.tessaro_id))}};
        case FlightFeed::Criteo:
            return {"item",
                    {exact("g:id", text(fare.tessaro_id)), exact("g:title", ""),
                     exact("g:description", ""), exact("g:link", ""), exact("g:image_link", ""),
                     exact("g:price", price_text),
                     exact("origin_airport", text(flight.departure_airport_iata_code)),
                     exact("destination_airport", text(flight.arrival_airport_iata_code)),
                     exact("origin_city", origin), exact("destination_city", destination)}};
        case FlightFeed::GetBlue:
            return {"row",
                    {exact("ID", text(fare.tessaro_id)), exact("PRODUCT_TYPE", ""),
                     exact("PRICE", text(price.formated_total_price)),
                     exact("CURRENCY", text(price.currency_code)), exact("DESCRIPTION", ""),
                     exact("LINK", ""), exact("AVAILABILITY", ""), exact("TITLE", ""),
                     exact("IMAGE_LINK", ""), exact("CONDITION", ""),
                     exact("CUSTOM_LABEL_0", origin), exact("CUSTOM_LABEL_1", destination),
                     exact("CUSTOM_LABEL_2", text(flight.departure_airport_iata_code)),
                     exact("CUSTOM_LABEL_3", text(flight.arrival_airport_iata_code)),
                     exact("BRAND", ""), exact("CUSTOM_LABEL_4", ""),
                     exact("ADDITIONAL_IMAGE_LINK", "")}};
    }
    property_violated("a known flight feed", "");
}

ExpectedItem single_fare_item(const PackageFareObject& fare) {
    const auto& flight = fare.outbound_flight;
    const auto& hotel = fare.hotel;
    const auto& origin = flight.origin;
    const auto& destination = flight.destination;
    return {"item",
            {exact("g:product_id", text(fare.tessaro_id)),
             exact("g:origin_airport", text(flight.departure_airport_iata_code)),
             exact("g:destination_airport", text(flight.arrival_airport_iata_code)),
             exact("g:flight_type", text(flight.flight_type)),
             exact("g:route_type", text(flight.route_type)),
             exact("g:origin_city_name", origin ? text(origin->city.name) : ""),
             exact("g:origin_country_name", origin ? text(origin->country.name) : ""),
             exact("g:destination_city_name", destination ? text(destination->city.name) : ""),
             exact("g:destination_country_name", destination ? text(destination->country.name) : ""),
             exact("g:image", destination ? text(destination->city.image) : ""),
             exact("g:url", text(fare.quon_redirect_url)), exact("g:unique_id", text(hotel.id)),
             exact("g:name", text(hotel.name)), exact("g:room_count", std::to_string(hotel.room_count)),
             exact("g:no_guest", std::to_string(hotel.guests.count)),
             {"g:hotel_rating", std::nullopt, hotel.rating.value},
             exact("g:price", text(fare.price_specification.formatted_total_price)),
             exact("g:currency_code", text(fare.price_specification.currency_code)),
             exact("g:image_url", text(hotel.images.front()))}};
}

ExpectedItem batch_item(FlightFeed feed, const FareObject& fare, const BatchSettings& settings) {
    ExpectedItem item = single_fare_item(feed, fare);
    const auto& flight = fare.outbound_flight;
    const auto found = settings.image_mapping.find(flight.arrival_airport_iata_code);
    const std::string image =
        text(found != settings.image_mapping.end() ? std::string_view(found->second) : settings.default_image_url);
    const std::optional<std::string> link = landing_page_link(fare, settings.landing_page);
    const std::string origin = city_name(flight.origin);
    const std::string destination = city_name(flight.destination);
    switch (feed) {
        case FlightFeed::Facebook:
            element(item, "image").content = "<url>" + image + "</url>";
            element(item, "url").content = link;
            break;
        case FlightFeed::Google:
            element(item, "image").content = image;
            element(item, "url").content = link;
            break;
        case FlightFeed::Criteo:
            element(item, "g:title").content = origin + " - " + destination;
            element(item, "g:link").content = link;
            element(item, "g:image_link").content = image;
            break;
        case FlightFeed::GetBlue:
            element(item, "DESCRIPTION").content = destination + " - " + origin;
            element(item, "LINK").content = link;
            element(item, "IMAGE_LINK").content = image;
            element(item, "ADDITIONAL_IMAGE_LINK").content = text(settings.default_image_url);
            break;
    }
    return item;
}

void require_item(const xml::Element& item, const ExpectedItem& expected, std::string_view context) {
    const std::string where = std::string(context) + ": <" + std::string(item.name) + ">";
    require(item.name == expected.root, "the item has its feed's root element", where);
    require(item.attributes.empty(), "an item has no attributes", where);
    require(item.children.size() == expected.elements.size(), "the item has every element once", where);
    for (std::size_t i = 0; i < expected.elements.size(); ++i) {
        const auto& written = item.children[i];
        const auto& wanted = expected.elements[i];
        const std::string field = where + " <" + wanted.name + ">";
        require(written.name == wanted.name, "the item's elements come in their order",
                field + " found <" + std::string(written.name) + ">");
        if (wanted.content) {
            require(written.content == *wanted.content, "the element gives back the fare's value",
                    field + " holds \"" + std::string(written.content) + "\", expected \"" +
                        *wanted.content + "\"");
        }
        if (wanted.f32) {
            require(is_item_form_of(written.content, *wanted.f32),
                    "the element is the item form of the fare's 32-bit float",
                    field + " holds \"" + std::string(written.content) + "\"");
        }
    }
}

}  // namespace vesk::fuzz
