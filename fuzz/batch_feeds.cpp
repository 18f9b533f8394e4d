// Fuzz target: the five batch feeds end to end. The first input byte chooses the feed, the rest is
// the JSON text of the fares; title, domain, image map, default image and landing-page template
// are fixed, and free of markup so that the documents can be checked as XML.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "accepting_log_sink.hpp"
#include "converter.hpp"
#include "converter_criteo.hpp"
#include "converter_get_blue.hpp"
#include "converter_google.hpp"
#include "converter_vp_facebook.hpp"
#include "expected_items.hpp"
#include "models/json_model.hpp"
#include "models/package_json_model.hpp"
#include "plain_text.hpp"
#include "read_properties.hpp"
#include "record_texts.hpp"
#include "require.hpp"
#include "xml_tree.hpp"

namespace {

using namespace vesk;
using models::json_model::FareObject;

constexpr std::string_view title = "Fuzzed offers";
constexpr std::string_view domain = "https://feeds.example/offers.xml";
constexpr std::string_view default_image_url = "https://img.example/default.jpg";
constexpr std::string_view landing_page =
    "https://travel.example/{{market_code}}/{{origin_iata}}-{{destination_iata}}/"
    "{{template_content_value}}/{{origin_iata}}";

const TextMap image_mapping{
    {"JFK", "https://img.example/new-york.jpg"},
    {"CDG", "https://img.example/paris.jpg"},
    {"BCN", "https://img.example/barcelona.jpg"},
};

const fuzz::BatchSettings settings{title, domain, image_mapping, default_image_url, landing_page};

struct BatchFeed {
    fuzz::FlightFeed feed;
    std::string_view name;
    FeedResult (*run)(std::string_view, std::string_view, std::string_view, const TextMap&,
                      std::string_view, std::string_view);
    std::string_view root;            // the document's root element
    bool items_in_channel;            // items sit in a "channel" element inside the root
    bool checks_city_names;
};

constexpr BatchFeed flight_feeds[] = {
    {fuzz::FlightFeed::Facebook, "fares_to_facebook_xml", converter::fares_to_facebook_xml, "listings", false, true},
    {fuzz::FlightFeed::Google, "fares_to_google_xml", converter_google::fares_to_google_xml, "listings", false, false},
    {fuzz::FlightFeed::Criteo, "fares_to_criteo_xml", converter_criteo::fares_to_criteo_xml, "rss", true, false},
    {fuzz::FlightFeed::GetBlue, "fares_to_get_blue_xml", converter_get_blue::fares_to_get_blue_xml, "root", false, true},
};

// The items of a well-formed document, after checking its envelope: the root (and channel), then
// the title element and the self link.
std::vector<fuzz::xml::Element> document_items(std::string_view document, std::string_view root_name,
                                               bool items_in_channel, std::string_view context) {
    auto root = fuzz::xml::parse_document(document);
    fuzz::require(root.has_value(), "a document of plain texts is well-formed XML",
                  std::string(context) + ": " + (root ? std::string() : root.error().reason + " at byte " +
                                                                           std::to_string(root.error().offset)));
    fuzz::require(root->name == root_name, "the document has its feed's root element", context);
    const fuzz::xml::Element* holder = &*root;
    if (items_in_channel) {
        fuzz::require(root->children.size() == 1 && root->children[0].name == "channel",
                      "the items sit in one channel element", context);
        holder = &root->children[0];
    }
    const auto& children = holder->children;
    fuzz::require(children.size() >= 2 && children[0].name == "title" && children[0].content == title,
                  "the document starts with the title element", context);
    const auto* href = children[1].attribute("href");
    fuzz::require(children[1].name == "link" && href != nullptr && *href == domain,
                  "the title is followed by the self link to the domain", context);
    return {children.begin() + 2, children.end()};
}

// The airport codes of the fares that lack a city name, each once.
std::set<std::string_view> codes_without_city_names(const std::vector<FareObject>& fares) {
    std::set<std::string_view> codes;
    for (const auto& fare : fares) {
        const auto& flight = fare.outbound_flight;
        if (!flight.origin || flight.origin->city.name.empty()) codes.insert(flight.departure_airport_iata_code);
        if (!flight.destination || flight.destination->city.name.empty()) codes.insert(flight.arrival_airport_iata_code);
    }
    return codes;
}

// The failure lists every code once, joined by "," in any order.
void require_city_name_failure(const FeedResult& result, const std::set<std::string_view>& codes,
                               std::string_view context) {
    constexpr std::string_view prefix = "No translations available for : ";
    fuzz::require(!result && result.error().kind == FeedErrorKind::InvalidInput &&
                      result.error().message.starts_with(prefix),
                  "a batch with fares lacking city names fails and says so", context);
    std::size_t listed_length = prefix.size() + codes.size() - 1;
    for (const auto code : codes) {
        listed_length += code.size();
        fuzz::require(result.error().message.find(code, prefix.size()) != std::string::npos,
                      "the failure names every code without a city name", result.error().message);
    }
    fuzz::require(result.error().message.size() == listed_length,
                  "the failure lists each code once", result.error().message);
}

void run_flight_feed(const BatchFeed& feed, std::string_view input) {
    const auto result = feed.run(input, title, domain, image_mapping, default_image_url, landing_page);
    const auto fares = models::json_model::read_fares(input);
    if (!fares) {
        fuzz::require_read_error(fares.error(), input);
        fuzz::require_batch_failure(result, fares.error());
        return;
    }
    if (feed.checks_city_names) {
        const auto codes = codes_without_city_names(fares->value);
        if (!codes.empty()) {
            require_city_name_failure(result, codes, feed.name);
            return;
        }
    }
    fuzz::require(result.has_value(), "a batch of readable fares gives a document", feed.name);
    if (!fuzz::is_valid_utf8(input) || !fuzz::all_texts_plain(fares->value)) return;
    const auto items = document_items(*result, feed.root, feed.items_in_channel, feed.name);
    fuzz::require(items.size() == fares->value.size(), "the document holds one item per fare", feed.name);
    for (std::size_t i = 0; i < items.size(); ++i) {
        fuzz::require_item(items[i], fuzz::batch_item(feed.feed, fares->value[i], settings), feed.name);
    }
}

void run_vacation_package_feed(std::string_view input) {
    constexpr std::string_view name = "fares_to_vp_facebook_xml";
    const auto result = converter_vp_facebook::fares_to_vp_facebook_xml(input, title, domain);
    const auto fares = models::package_json_model::read_package_fares(input);
    if (!fares) {
        fuzz::require_read_error(fares.error(), input);
        fuzz::require_batch_failure(result, fares.error());
        return;
    }
    fuzz::require(result.has_value(), "a batch of readable package fares gives a document", name);
    if (!fuzz::is_valid_utf8(input) || !fuzz::all_texts_plain(fares->value)) return;
    const auto items = document_items(*result, "rss", true, name);
    std::size_t next_item = 0;
    for (const auto& fare : fares->value) {
        if (fare.hotel.images.empty()) continue;  // skipped and logged
        fuzz::require(next_item < items.size(), "every package fare with a hotel image has an item", name);
        fuzz::require_item(items[next_item++], fuzz::single_fare_item(fare), name);
    }
    fuzz::require(next_item == items.size(), "only package fares with a hotel image have items", name);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::install_accepting_log_sink();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t choice = data[0] % 5;
    if (choice == 4) {
        run_vacation_package_feed(input);
    } else {
        run_flight_feed(flight_feeds[choice], input);
    }
    return 0;
}
