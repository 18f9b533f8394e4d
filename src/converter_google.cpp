#include "converter_google.hpp"

#include "envelope.hpp"
#include "flight_feed.hpp"
#include "models/xml_google_model.hpp"

namespace vesk::converter_google {

namespace {

struct GoogleFeed {
    using Item = models::xml_google_model::FeedItem;
    static constexpr std::string_view log_target = "vesk_fares_to_xml::converter_google";
    static constexpr std::string_view separator = "";
    static constexpr bool checks_city_names = false;

    static std::string& link(Item& item) { return item.url; }
    static const std::string& image_key(const Item& item) { return item.destination_airport; }
    static void before_image(Item&, std::string_view) {}
    static std::string_view missing_image_entry(const Item& item) { return item.destination_airport; }
    static void after_image(Item&) {}
    static void check_city_names(const Item&, OrderedTextSet&) {}
    static void append_envelope_head(std::string& out, std::string_view title, std::string_view domain) {
        out.append(envelope::xml_declaration).append("<listings>");
        envelope::append_title_element(out, title);
        envelope::append_link_element(out, domain);
    }
    static void append_envelope_tail(std::string& out) { out.append("</listings>"); }
};

}  // namespace

FeedResult fare_to_google_xml(std::string_view json_input) {
    return flight_feed::single_fare<GoogleFeed>(json_input);
}

FeedResult fares_to_google_xml(std::string_view json_input, std::string_view title,
                               std::string_view domain, const TextMap& image_mapping,
                               std::string_view default_image_url, std::string_view landing_page) {
    return flight_feed::batch<GoogleFeed>(json_input, title, domain, image_mapping,
                                          default_image_url, landing_page);
}

std::string complete_xml(std::string_view title, std::string_view domain, std::string_view items) {
    return flight_feed::complete<GoogleFeed>(title, domain, items);
}

}  // namespace vesk::converter_google
