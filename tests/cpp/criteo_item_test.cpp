// The Criteo flight item: construction from a fare, XML text, setters (aliasing included) and
// diagnostic form.
#include <string>
#include <string_view>

#include "check.hpp"
#include "flight_fares.hpp"
#include "models/xml_criteo_model.hpp"

namespace {

using vesk::models::item_writer::diagnostic_form;
using vesk::models::item_writer::item_to_xml;
using vesk::models::xml_criteo_model::FeedItem;

std::string xml_of(const FeedItem& item) {
    const auto written = item_to_xml(item);
    CHECK(written.has_value());
    return written.value_or("<failed>");
}

void test_from_fare_object() {
    CHECK_EQ(xml_of(FeedItem::from_fare_object(flight_fares::london_paris())),
             "<item><g:id>F1</g:id><g:title></g:title><g:description></g:description><g:link>"
             "</g:link><g:image_link></g:image_link><g:price>99.90 EUR</g:price><origin_airport>"
             "LHR</origin_airport><destination_airport>CDG</destination_airport><origin_city>"
             "London</origin_city><destination_city>Paris</destination_city></item>");
    const FeedItem bare = FeedItem::from_fare_object(flight_fares::without_optionals());
    CHECK_EQ(bare.origin_city, "");
    CHECK_EQ(bare.destination_city, "");
    CHECK(xml_of(bare).ends_with("<origin_city></origin_city><destination_city></destination_city>"
                                 "</item>"));
    CHECK_EQ(diagnostic_form(FeedItem::from_fare_object(flight_fares::london_paris())),
             R"(FeedItem { id: "F1", title: "", description: "", link: "", image_link: "", )"
             R"(price: "99.90 EUR", origin_airport: "LHR", destination_airport: "CDG", )"
             R"(origin_city: "London", destination_city: "Paris" })");
}

void test_empty_price_is_one_blank() {
    auto fare = flight_fares::london_paris();
    fare.price_specification = {};
    CHECK_EQ(FeedItem::from_fare_object(fare).price, " ");
}

void test_default_item() {
    CHECK_EQ(xml_of(FeedItem{}),
             "<item><g:id></g:id><g:title></g:title><g:description></g:description><g:link>"
             "</g:link><g:image_link></g:image_link><g:price></g:price><origin_airport>"
             "</origin_airport><destination_airport></destination_airport><origin_city>"
             "</origin_city><destination_city></destination_city></item>");
}

void test_set_title() {
    FeedItem item = FeedItem::from_fare_object(flight_fares::london_paris());
    item.set_title(item.origin_city, item.destination_city);  // as the feed assembly calls it
    CHECK_EQ(item.title, "London - Paris");
    item.set_title("", "");
    CHECK_EQ(item.title, " - ");
    item.title = "Rome";
    item.set_title(item.destination_city, item.title);  // the second part views the title itself
    CHECK_EQ(item.title, "Paris - Rome");
    item.set_title(item.title, item.title);
    CHECK_EQ(item.title, "Paris - Rome - Paris - Rome");
    CHECK_EQ(item.origin_city, "London");
    CHECK_EQ(item.destination_city, "Paris");
}

void test_image_and_city_setters() {
    FeedItem item = FeedItem::from_fare_object(flight_fares::london_paris());
    item.set_image_url("https://img.example/a.jpg");
    item.set_image_url("https://img.example/b.jpg?w=1&h=2");
    CHECK_EQ(item.image_link, "https://img.example/b.jpg?w=1&h=2");
    item.set_origin_city("Fish & Chips");
    item.set_destination_city(item.origin_city);
    CHECK_EQ(item.origin_city, "Fish & Chips");
    CHECK_EQ(item.destination_city, "Fish & Chips");
}

// Reusing an item for another fare gives exactly the item built fresh from that fare.
void test_assign_over_used_item() {
    FeedItem item = FeedItem::from_fare_object(flight_fares::london_paris());
    item.set_title(item.origin_city, item.destination_city);
    item.set_image_url("https://img.example/a.jpg");
    item.link = "https://land.example/";
    item.description = "old";
    item.assign_fare_object(flight_fares::without_optionals());
    CHECK_EQ(diagnostic_form(item),
             diagnostic_form(FeedItem::from_fare_object(flight_fares::without_optionals())));
}

}  // namespace

int main() {
    test_from_fare_object();
    test_empty_price_is_one_blank();
    test_default_item();
    test_set_title();
    test_image_and_city_setters();
    test_assign_over_used_item();
    return check::finish();
}
