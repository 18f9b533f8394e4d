// The vacation-package item: construction from a package fare (and its failure for a hotel
// without images), XML text with the number forms, setters and diagnostic form.
#include <string>
#include <string_view>

#include "check.hpp"
#include "models/xml_vp_facebook_model.hpp"

namespace {

namespace pm = vesk::models::package_json_model;
using vesk::models::item_writer::diagnostic_form;
using vesk::models::item_writer::item_to_xml;
using vesk::models::xml_vp_facebook_model::PackageFeedItem;

pm::PackageFareObject palma_package() {
    pm::PackageFareObject fare;
    fare.tessaro_id = "P7";
    fare.price_specification = {.currency_code = "EUR", .formatted_total_price = "1.234,50 EUR"};
    fare.outbound_flight = {
        .departure_airport_iata_code = "MUC",
        .arrival_airport_iata_code = "PMI",
        .flight_type = "charter",
        .route_type = "direct",
        .origin = pm::Location{.country = {.name = "Germany", .image = "de.jpg"},
                               .city = {.name = "Munich", .image = "muc.jpg"}},
        .destination = pm::Location{.country = {.name = "Spain", .image = "es.jpg"},
                                    .city = {.name = "Palma", .image = "pmi.jpg"}},
    };
    fare.departure_date = "2024-08-01";
    fare.hotel = {.id = "H9",
                  .name = "Hotel Sol & Mar",
                  .room_count = 255,
                  .guests = {.count = 0},
                  .rating = {.value = 4.5F},
                  .images = {"first.jpg", "second.jpg"}};
    fare.quon_redirect_url = "https://book.example/p7?a=1&b=2";
    return fare;
}

PackageFeedItem built(const pm::PackageFareObject& fare) {
    auto item = PackageFeedItem::from_package_fare_object(fare);
    CHECK(item.has_value());
    return item.value_or(PackageFeedItem{});
}

std::string xml_of(const PackageFeedItem& item) {
    const auto written = item_to_xml(item);
    CHECK(written.has_value());
    return written.value_or("<failed>");
}

void test_from_package_fare_object() {
    CHECK_EQ(xml_of(built(palma_package())),
             "<item><g:product_id>P7</g:product_id><g:origin_airport>MUC</g:origin_airport>"
             "<g:destination_airport>PMI</g:destination_airport><g:flight_type>charter"
             "</g:flight_type><g:route_type>direct</g:route_type><g:origin_city_name>Munich"
             "</g:origin_city_name><g:origin_country_name>Germany</g:origin_country_name>"
             "<g:destination_city_name>Palma</g:destination_city_name>"
             "<g:destination_country_name>Spain</g:destination_country_name><g:image>pmi.jpg"
             "</g:image><g:url>https://book.example/p7?a=1&b=2</g:url><g:unique_id>H9"
             "</g:unique_id><g:name>Hotel Sol & Mar</g:name><g:room_count>255</g:room_count>"
             "<g:no_guest>0</g:no_guest><g:hotel_rating>4.5</g:hotel_rating><g:price>"
             "1.234,50 EUR</g:price><g:currency_code>EUR</g:currency_code><g:image_url>"
             "first.jpg</g:image_url></item>");
    CHECK_EQ(diagnostic_form(built(palma_package())),
             R"(PackageFeedItem { product_id: "P7", origin_airport: "MUC", )"
             R"(destination_airport: "PMI", flight_type: "charter", route_type: "direct", )"
             R"(origin_city_name: "Munich", origin_country_name: "Germany", )"
             R"(destination_city_name: "Palma", destination_country_name: "Spain", )"
             R"(image: "pmi.jpg", url: "https://book.example/p7?a=1&b=2", unique_id: "H9", )"
             R"(hotel_name: "Hotel Sol & Mar", room_count: 255, no_guest: 0, hotel_rating: 4.5, )"
             R"(price: "1.234,50 EUR", currency_code: "EUR", hotel_image_url: "first.jpg" })");
}

void test_missing_places() {
    auto fare = palma_package();
    fare.outbound_flight.origin.reset();
    const std::string no_origin = xml_of(built(fare));
    CHECK(no_origin.find("<g:origin_city_name></g:origin_city_name><g:origin_country_name>"
                         "</g:origin_country_name><g:destination_city_name>Palma<") !=
          std::string::npos);
    fare = palma_package();
    fare.outbound_flight.destination.reset();
    const std::string no_destination = xml_of(built(fare));
    CHECK(no_destination.find("<g:origin_country_name>Germany</g:origin_country_name>"
                              "<g:destination_city_name></g:destination_city_name>"
                              "<g:destination_country_name></g:destination_country_name>"
                              "<g:image></g:image>") != std::string::npos);
}

void test_rating_forms() {
    struct RatingCase {
        float rating;
        std::string_view item;
        std::string_view diagnostic;
    };
    const RatingCase cases[] = {
        {4.0F, "<g:hotel_rating>4</g:hotel_rating>", "hotel_rating: 4.0,"},
        {4.5F, "<g:hotel_rating>4.5</g:hotel_rating>", "hotel_rating: 4.5,"},
        {1e20F, "<g:hotel_rating>100000000000000000000</g:hotel_rating>", "hotel_rating: 1e20,"},
    };
    for (const RatingCase& row : cases) {
        check::Scope scope(row.item);
        auto fare = palma_package();
        fare.hotel.rating.value = row.rating;
        const PackageFeedItem item = built(fare);
        CHECK(xml_of(item).find(row.item) != std::string::npos);
        CHECK(diagnostic_form(item).find(row.diagnostic) != std::string::npos);
    }
}

void test_hotel_without_images() {
    auto fare = palma_package();
    fare.hotel.images.clear();
    CHECK(!PackageFeedItem::from_package_fare_object(fare).has_value());

    PackageFeedItem item = built(palma_package());
    const std::string before = diagnostic_form(item);
    CHECK(!item.assign_package_fare_object(fare).has_value());
    CHECK_EQ(diagnostic_form(item), before);  // left unchanged
}

void test_default_item() {
    CHECK_EQ(xml_of(PackageFeedItem{}),
             "<item><g:product_id></g:product_id><g:origin_airport></g:origin_airport>"
             "<g:destination_airport></g:destination_airport><g:flight_type></g:flight_type>"
             "<g:route_type></g:route_type><g:origin_city_name></g:origin_city_name>"
             "<g:origin_country_name></g:origin_country_name><g:destination_city_name>"
             "</g:destination_city_name><g:destination_country_name></g:destination_country_name>"
             "<g:image></g:image><g:url></g:url><g:unique_id></g:unique_id><g:name></g:name>"
             "<g:room_count>0</g:room_count><g:no_guest>0</g:no_guest><g:hotel_rating>0"
             "</g:hotel_rating><g:price></g:price><g:currency_code></g:currency_code>"
             "<g:image_url></g:image_url></item>");
}

void test_setters() {
    PackageFeedItem item = built(palma_package());
    item.set_origin_city("Bremen");
    item.set_origin_country("Deutschland");
    item.set_destination_city("Ibiza & Formentera");
    item.set_destination_country("Espa\u00f1a");
    item.set_destination_city_image("ibz.jpg");
    CHECK_EQ(item.origin_city_name, "Bremen");
    CHECK_EQ(item.origin_country_name, "Deutschland");
    CHECK_EQ(item.destination_city_name, "Ibiza & Formentera");
    CHECK_EQ(item.destination_country_name, "Espa\u00f1a");
    CHECK_EQ(item.image, "ibz.jpg");
    CHECK_EQ(item.hotel_image_url, "first.jpg");
}

// Reusing an item for another fare gives exactly the item built fresh from that fare.
void test_assign_over_used_item() {
    auto other = palma_package();
    other.outbound_flight.origin.reset();
    other.outbound_flight.destination.reset();
    other.hotel = {.id = "H1", .name = "Inn", .room_count = 1, .guests = {.count = 2},
                   .rating = {.value = 3.0F}, .images = {"inn.jpg"}};
    PackageFeedItem item = built(palma_package());
    CHECK(item.assign_package_fare_object(other).has_value());
    CHECK_EQ(diagnostic_form(item), diagnostic_form(built(other)));
}

}  // namespace

int main() {
    test_from_package_fare_object();
    test_missing_places();
    test_rating_forms();
    test_hotel_without_images();
    test_default_item();
    test_setters();
    test_assign_over_used_item();
    return check::finish();
}
