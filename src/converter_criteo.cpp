#include "converter_criteo.hpp"

#include "envelope.hpp"
#include "flight_feed.hpp"
#include "models/xml_criteo_model.hpp"

namespace vesk::converter_criteo {

namespace {

struct CriteoFeed {
    using Item = models::xml_criteo_model::FeedItem;
    static constexpr std::string_view log_target = "vesk_fares_to_xml::converter_criteo";
    static constexpr std::string_view separator = "";
    static constexpr bool checks_city_names = false;

    static std::string& link(Item& item) { return item.link; }
    static const std::string& image_key(const Item& item) { return item.destination_airport; }
    static void before_image(Item&, std::string_view) {}
    static std::string_view missing_image_entry(const Item& item) { return item.destination_airport; }
    static void after_image(Item& item) { item.set_title(item.origin_city, item.destination_city); }
    static void check_city_names(const Item&, OrderedTextSet&) {}
    static void append_envelope_head(std::string& out, std::string_view title, std::string_view domain) {
        envelope::append_rss_start(out);
        out.append("<channel>");
        envelope::append_title_element(out, title);
        envelope::append_link_element(out, domain);
    }
    static void append_envelope_tail(std::string& out) { out.append("</channel></rss>"); }
};

}  // namespace

FeedResult fare_to_criteo_xml(std::string_view json_input) {
    return flight_feed::single_fare<CriteoFeed>(json_input);
}

FeedResult fares_to_criteo_xml(std::string_view json_input, std::string_view title,
                               std::string_view domain, const TextMap& image_mapping,
                               std::string_view default_image_url, std::string_view landing_page) {
    return flight_feed::batch<CriteoFeed>(json_input, title, domain, image_mapping,
                                          default_image_url, landing_page);
}

std::string complete_xml(std::string_view title, std::string_view domain, std::string_view items) {
    return flight_feed::complete<CriteoFeed>(title, domain, items);
}

}  // namespace vesk::converter_criteo
