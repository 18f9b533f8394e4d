#include "converter_get_blue.hpp"

#include "envelope.hpp"
#include "flight_feed.hpp"
#include "models/xml_get_blue_model.hpp"

namespace vesk::converter_get_blue {

namespace {

struct GetBlueFeed {
    using Item = models::xml_get_blue_model::FeedItem;
    static constexpr std::string_view log_target = "vesk_fares_to_xml::converter_get_blue";
    static constexpr std::string_view separator = "\n";
    static constexpr bool checks_city_names = true;

    static std::string& link(Item& item) { return item.LINK; }
    static const std::string& image_key(const Item& item) { return item.CUSTOM_LABEL_3; }
    // Every row carries the default image as its additional image, found in the map or not.
    static void before_image(Item& item, std::string_view default_image_url) {
        item.set_additional_image_link(default_image_url);
        item.set_description();
    }
    static std::string_view missing_image_entry(const Item& item) { return item.DESCRIPTION; }
    static void after_image(Item&) {}
    static void check_city_names(const Item& item, OrderedTextSet& codes) {
        if (item.CUSTOM_LABEL_0.empty()) codes.insert(item.CUSTOM_LABEL_2);
        if (item.CUSTOM_LABEL_1.empty()) codes.insert(item.CUSTOM_LABEL_3);
    }
    static void append_envelope_head(std::string& out, std::string_view title, std::string_view domain) {
        out.append(envelope::xml_declaration).append("\n<root>\n");
        envelope::append_title_element(out, title);
        out.push_back('\n');
        envelope::append_link_element(out, domain);
        out.push_back('\n');
    }
    static void append_envelope_tail(std::string& out) { out.append("\n</root>"); }
};

}  // namespace

FeedResult fare_to_get_blue_xml(std::string_view json_input) {
    return flight_feed::single_fare<GetBlueFeed>(json_input);
}

FeedResult fares_to_get_blue_xml(std::string_view json_input, std::string_view title,
                                 std::string_view domain, const TextMap& image_mapping,
                                 std::string_view default_image_url, std::string_view landing_page) {
    return flight_feed::batch<GetBlueFeed>(json_input, title, domain, image_mapping,
                                           default_image_url, landing_page);
}

std::string complete_xml(std::string_view title, std::string_view domain, std::string_view items) {
    return flight_feed::complete<GetBlueFeed>(title, domain, items);
}

}  // namespace vesk::converter_get_blue
