#include "converter.hpp"

#include "envelope.hpp"
#include "flight_feed.hpp"
#include "models/xml_model.hpp"

namespace vesk::converter {

namespace {

// Every "&" becomes "&amp;", also one that already starts an entity.
void escape_ampersands(std::string& text) {
    std::size_t found = text.find('&');
    while (found != std::string::npos) {
        text.insert(found + 1, "amp;");
        found = text.find('&', found + 1);
    }
}

struct FacebookFeed {
    using Item = models::xml_model::FeedItem;
    static constexpr std::string_view log_target = "vesk_fares_to_xml::converter";
    static constexpr std::string_view separator = "\n";
    static constexpr bool checks_city_names = true;

    static std::string& link(Item& item) { return item.url; }
    static const std::string& image_key(const Item& item) { return item.destination_airport; }
    static void before_image(Item&, std::string_view) {}
    static std::string_view missing_image_entry(const Item& item) { return item.destination_airport; }
    static void after_image(Item& item) {
        escape_ampersands(item.origin_city);
        escape_ampersands(item.destination_city);
    }
    static void check_city_names(const Item& item, OrderedTextSet& codes) {
        if (item.origin_city.empty()) codes.insert(item.origin_airport);
        if (item.destination_city.empty()) codes.insert(item.destination_airport);
    }
    static void append_envelope_head(std::string& out, std::string_view title, std::string_view domain) {
        out.append(envelope::xml_declaration).append("\n<listings>\n");
        envelope::append_title_element(out, title);
        out.push_back('\n');
        envelope::append_link_element(out, domain);
        out.push_back('\n');
    }
    static void append_envelope_tail(std::string& out) { out.append("\n</listings>"); }
};

}  // namespace

FeedResult fare_to_facebook_xml(std::string_view json_input) {
    return flight_feed::single_fare<FacebookFeed>(json_input);
}

FeedResult fares_to_facebook_xml(std::string_view json_input, std::string_view title,
                                 std::string_view domain, const TextMap& image_mapping,
                                 std::string_view default_image_url, std::string_view landing_page) {
    return flight_feed::batch<FacebookFeed>(json_input, title, domain, image_mapping,
                                            default_image_url, landing_page);
}

std::string complete_xml(std::string_view title, std::string_view domain, std::string_view items) {
    return flight_feed::complete<FacebookFeed>(title, domain, items);
}

}  // namespace vesk::converter
