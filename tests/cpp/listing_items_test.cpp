// The Facebook and Google flight listing items: construction from a fare, XML text, setters and
// diagnostic form. The two records share fields and construction and differ in the image setter.
#include <string>
#include <string_view>

#include "check.hpp"
#include "flight_fares.hpp"
#include "models/xml_google_model.hpp"
#include "models/xml_model.hpp"

namespace {

using FacebookItem = vesk::models::xml_model::FeedItem;
using GoogleItem = vesk::models::xml_google_model::FeedItem;
using vesk::models::item_writer::diagnostic_form;
using vesk::models::item_writer::item_to_xml;

template <class Item>
std::string xml_of(const Item& item) {
    const auto written = item_to_xml(item);
    CHECK(written.has_value());
    return written.value_or("<failed>");
}

// Text of a listing whose image element holds `image`.
std::string london_paris_listing(std::string_view image) {
    return "<listing><origin_airport>LHR</origin_airport><destination_airport>CDG"
           "</destination_airport><origin_city>London</origin_city><destination_city>Paris"
           "</destination_city><price>99.90 EUR</price><image>" +
           std::string(image) +
           "</image><url></url><description></description><departure_date>2024-07-01"
           "</departure_date><return_date>2024-07-08</return_date><priority>0</priority>"
           "<id>F1</id></listing>";
}

template <class Item>
void test_from_fare_object() {
    CHECK_EQ(xml_of(Item::from_fare_object(flight_fares::london_paris())),
             london_paris_listing(""));
    CHECK_EQ(xml_of(Item::from_fare_object(flight_fares::without_optionals())),
             "<listing><origin_airport>LHR</origin_airport><destination_airport>CDG"
             "</destination_airport><origin_city></origin_city><destination_city>"
             "</destination_city><price>99.90 EUR</price><image></image><url></url>"
             "<description></description><departure_date>2024-07-01</departure_date>"
             "<return_date></return_date><priority>0</priority><id>F1</id></listing>");
    CHECK_EQ(diagnostic_form(Item::from_fare_object(flight_fares::london_paris())),
             R"(FeedItem { origin_airport: "LHR", destination_airport: "CDG", )"
             R"(origin_city: "London", destination_city: "Paris", price: "99.90 EUR", )"
             R"(image: "", url: "", description: "", departure_date: "2024-07-01", )"
             R"(return_date: "2024-07-08", priority: 0, id: "F1" })");
}

template <class Item>
void test_market_and_journey_type_do_not_reach_the_item() {
    auto plain = flight_fares::london_paris();
    plain.market.reset();
    plain.journey_type = {};
    CHECK_EQ(xml_of(Item::from_fare_object(plain)),
             xml_of(Item::from_fare_object(flight_fares::london_paris())));
}

template <class Item>
void test_price_text() {
    struct PriceCase {
        std::string_view price;
        std::string_view currency;
        std::string_view expected;
    };
    const PriceCase cases[] = {
        {"1.234,50", "EUR", "1.234,50 EUR"},
        {"99", "", "99 "},
        {"", "", " "},
    };
    for (const PriceCase& row : cases) {
        check::Scope scope(row.expected);
        auto fare = flight_fares::london_paris();
        fare.price_specification = {.currency_code = row.currency,
                                    .formated_total_price = row.price};
        CHECK_EQ(Item::from_fare_object(fare).price, row.expected);
    }
}

template <class Item>
void test_default_item() {
    CHECK_EQ(xml_of(Item{}),
             "<listing><origin_airport></origin_airport><destination_airport>"
             "</destination_airport><origin_city></origin_city><destination_city>"
             "</destination_city><price></price><image></image><url></url><description>"
             "</description><departure_date></departure_date><return_date></return_date>"
             "<priority>0</priority><id></id></listing>");
}

// Reusing an item for another fare gives exactly the item built fresh from that fare.
template <class Item>
void test_assign_over_used_item() {
    Item item = Item::from_fare_object(flight_fares::london_paris());
    item.set_image_url("https://img.example/paris.jpg");
    item.url = "https://land.example/";
    item.description = "old";
    item.priority = 9;
    item.assign_fare_object(flight_fares::without_optionals());
    CHECK_EQ(diagnostic_form(item),
             diagnostic_form(Item::from_fare_object(flight_fares::without_optionals())));
}

template <class Item>
void test_city_setters() {
    Item item = Item::from_fare_object(flight_fares::london_paris());
    item.set_origin_city("Fish & Chips <Town>");
    CHECK_EQ(item.origin_city, "Fish & Chips <Town>");
    item.set_destination_city(item.origin_city);
    CHECK_EQ(item.destination_city, "Fish & Chips <Town>");
    item.set_origin_city(std::string_view(item.origin_city).substr(7, 5));  // views itself
    CHECK_EQ(item.origin_city, "Chips");
    item.set_destination_city("");
    CHECK_EQ(item.destination_city, "");
}

void test_facebook_image_is_wrapped() {
    FacebookItem item = FacebookItem::from_fare_object(flight_fares::london_paris());
    item.set_image_url("https://img.example/a.jpg?x=1&y=2");
    CHECK_EQ(xml_of(item), london_paris_listing("<url>https://img.example/a.jpg?x=1&y=2</url>"));
    item.set_image_url("https://img.example/b.jpg");
    CHECK_EQ(item.image, "<url>https://img.example/b.jpg</url>");
    item.set_image_url(item.image);  // the link views the field it replaces
    CHECK_EQ(item.image, "<url><url>https://img.example/b.jpg</url></url>");
    item.set_image_url("");
    CHECK_EQ(item.image, "<url></url>");
}

void test_google_image_is_bare() {
    GoogleItem item = GoogleItem::from_fare_object(flight_fares::london_paris());
    item.set_image_url("https://img.example/a.jpg?x=1&y=2");
    CHECK_EQ(xml_of(item), london_paris_listing("https://img.example/a.jpg?x=1&y=2"));
    item.set_image_url("https://img.example/b.jpg");
    CHECK_EQ(item.image, "https://img.example/b.jpg");
    item.set_image_url(std::string_view(item.image).substr(8));  // views the field it replaces
    CHECK_EQ(item.image, "img.example/b.jpg");
}

template <class Item>
void test_listing(const char* record) {
    check::Scope scope(record);
    test_from_fare_object<Item>();
    test_market_and_journey_type_do_not_reach_the_item<Item>();
    test_price_text<Item>();
    test_default_item<Item>();
    test_assign_over_used_item<Item>();
    test_city_setters<Item>();
}

}  // namespace

int main() {
    test_listing<FacebookItem>("Facebook");
    test_listing<GoogleItem>("Google");
    test_facebook_image_is_wrapped();
    test_google_image_is_bare();
    return check::finish();
}
