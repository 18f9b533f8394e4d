// The get_blue flight item: construction from a fare, XML text, setters and diagnostic form.
#include <string>
#include <string_view>

#include "check.hpp"
#include "flight_fares.hpp"
#include "models/xml_get_blue_model.hpp"

namespace {

using vesk::models::item_writer::diagnostic_form;
using vesk::models::item_writer::item_to_xml;
using vesk::models::xml_get_blue_model::FeedItem;

std::string xml_of(const FeedItem& item) {
    const auto written = item_to_xml(item);
    CHECK(written.has_value());
    return written.value_or("<failed>");
}

void test_from_fare_object() {
    CHECK_EQ(xml_of(FeedItem::from_fare_object(flight_fares::london_paris())),
             "<row><ID>F1</ID><PRODUCT_TYPE></PRODUCT_TYPE><PRICE>99.90</PRICE><CURRENCY>EUR"
             "</CURRENCY><DESCRIPTION></DESCRIPTION><LINK></LINK><AVAILABILITY></AVAILABILITY>"
             "<TITLE></TITLE><IMAGE_LINK></IMAGE_LINK><CONDITION></CONDITION><CUSTOM_LABEL_0>"
             "London</CUSTOM_LABEL_0><CUSTOM_LABEL_1>Paris</CUSTOM_LABEL_1><CUSTOM_LABEL_2>LHR"
             "</CUSTOM_LABEL_2><CUSTOM_LABEL_3>CDG</CUSTOM_LABEL_3><BRAND></BRAND>"
             "<CUSTOM_LABEL_4></CUSTOM_LABEL_4><ADDITIONAL_IMAGE_LINK></ADDITIONAL_IMAGE_LINK>"
             "</row>");
    const std::string bare = xml_of(FeedItem::from_fare_object(flight_fares::without_optionals()));
    CHECK(bare.find("<CUSTOM_LABEL_0></CUSTOM_LABEL_0><CUSTOM_LABEL_1></CUSTOM_LABEL_1>") !=
          std::string::npos);
    CHECK_EQ(diagnostic_form(FeedItem::from_fare_object(flight_fares::london_paris())),
             R"(FeedItem { ID: "F1", PRODUCT_TYPE: "", PRICE: "99.90", CURRENCY: "EUR", )"
             R"(DESCRIPTION: "", LINK: "", AVAILABILITY: "", TITLE: "", IMAGE_LINK: "", )"
             R"(CONDITION: "", CUSTOM_LABEL_0: "London", CUSTOM_LABEL_1: "Paris", )"
             R"(CUSTOM_LABEL_2: "LHR", CUSTOM_LABEL_3: "CDG", BRAND: "", CUSTOM_LABEL_4: "", )"
             R"(ADDITIONAL_IMAGE_LINK: "" })");
}

void test_default_item() {
    CHECK_EQ(xml_of(FeedItem{}),
             "<row><ID></ID><PRODUCT_TYPE></PRODUCT_TYPE><PRICE></PRICE><CURRENCY></CURRENCY>"
             "<DESCRIPTION></DESCRIPTION><LINK></LINK><AVAILABILITY></AVAILABILITY><TITLE>"
             "</TITLE><IMAGE_LINK></IMAGE_LINK><CONDITION></CONDITION><CUSTOM_LABEL_0>"
             "</CUSTOM_LABEL_0><CUSTOM_LABEL_1></CUSTOM_LABEL_1><CUSTOM_LABEL_2></CUSTOM_LABEL_2>"
             "<CUSTOM_LABEL_3></CUSTOM_LABEL_3><BRAND></BRAND><CUSTOM_LABEL_4></CUSTOM_LABEL_4>"
             "<ADDITIONAL_IMAGE_LINK></ADDITIONAL_IMAGE_LINK></row>");
}

void test_set_description() {
    struct DescriptionCase {
        std::string_view origin;
        std::string_view destination;
        std::string_view expected;
    };
    const DescriptionCase cases[] = {
        {"London", "Paris", "Paris - London"},
        {"", "", " - "},
        {"", "Paris", "Paris - "},
        {"London", "", " - London"},
    };
    for (const DescriptionCase& row : cases) {
        check::Scope scope(row.expected);
        FeedItem item = FeedItem::from_fare_object(flight_fares::london_paris());
        item.set_origin_city(row.origin);
        item.set_destination_city(row.destination);
        item.set_description();
        CHECK_EQ(item.DESCRIPTION, row.expected);
    }
}

void test_description_keeps_labels_of_its_call() {
    FeedItem item = FeedItem::from_fare_object(flight_fares::london_paris());
    item.set_description();
    item.set_origin_city("Oxford");
    CHECK_EQ(item.CUSTOM_LABEL_0, "Oxford");
    CHECK_EQ(item.DESCRIPTION, "Paris - London");
}

void test_link_setters() {
    FeedItem item = FeedItem::from_fare_object(flight_fares::london_paris());
    item.set_image_url("https://img.example/a.jpg");
    item.set_image_url("https://img.example/b.jpg");
    item.set_additional_image_link("https://img.example/default.jpg?a=1&b=2");
    CHECK_EQ(item.IMAGE_LINK, "https://img.example/b.jpg");
    CHECK_EQ(item.ADDITIONAL_IMAGE_LINK, "https://img.example/default.jpg?a=1&b=2");
    item.set_additional_image_link(item.IMAGE_LINK);
    CHECK_EQ(item.ADDITIONAL_IMAGE_LINK, "https://img.example/b.jpg");
}

// Reusing an item for another fare gives exactly the item built fresh from that fare.
void test_assign_over_used_item() {
    FeedItem item = FeedItem::from_fare_object(flight_fares::london_paris());
    item.set_description();
    item.set_image_url("https://img.example/a.jpg");
    item.set_additional_image_link("https://img.example/default.jpg");
    item.LINK = "https://land.example/";
    item.PRODUCT_TYPE = item.AVAILABILITY = item.TITLE = item.CONDITION = item.BRAND =
        item.CUSTOM_LABEL_4 = "stale";
    item.assign_fare_object(flight_fares::without_optionals());
    CHECK_EQ(diagnostic_form(item),
             diagnostic_form(FeedItem::from_fare_object(flight_fares::without_optionals())));
}

}  // namespace

int main() {
    test_from_fare_object();
    test_default_item();
    test_set_description();
    test_description_keeps_labels_of_its_call();
    test_link_setters();
    test_assign_over_used_item();
    return check::finish();
}
