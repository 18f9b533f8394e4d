// The flow shared by the four flight feeds: the single-fare item and the batch document.
//
// A feed takes part through a policy type that says only what differs between the feeds:
//
//   struct Feed {
//       using Item = ...;                                  // the feed's item record
//       static constexpr std::string_view log_target;      // "vesk_fares_to_xml::converter..."
//       static constexpr std::string_view separator;       // between two item texts
//       static std::string& link(Item&);                   // receives the landing-page link
//       static const std::string& image_key(const Item&);  // looked up in the image map
//       static void before_image(Item&, std::string_view default_image_url);
//       static std::string_view missing_image_entry(const Item&);
//       static void after_image(Item&);
//       static void check_city_names(const Item&, OrderedTextSet& codes);
//       static constexpr bool checks_city_names;            // Facebook and get_blue
//       static void append_envelope_head(std::string& out, std::string_view title,
//                                        std::string_view domain);
//       static void append_envelope_tail(std::string& out);
//   };
#pragma once

#include <source_location>
#include <string>
#include <string_view>

#include "batch_items.hpp"
#include "feed_result.hpp"
#include "landing_page.hpp"
#include "log.hpp"
#include "models/item_writer.hpp"
#include "models/json_model.hpp"
#include "ordered_text_set.hpp"
#include "read_failure.hpp"
#include "text_map.hpp"

namespace vesk::flight_feed {

// The item of one fare, written just as the feed's item record builds it.
template <class Feed>
FeedResult single_fare(std::string_view json_input) {
    auto fare = models::json_model::read_fare(json_input);
    if (!fare) return std::unexpected(read_failure::single_fare_error(std::move(fare.error())));
    const auto item = Feed::Item::from_fare_object(fare->value);
    auto xml = models::item_writer::item_to_xml(item);
    if (!xml) return std::unexpected(FeedError{FeedErrorKind::InvalidInput, std::move(xml.error().message)});
    return std::move(*xml);
}

// The whole document for a list of fares: every item completed with its landing-page link and
// image, written straight into the one output buffer inside the feed's envelope.
template <class Feed>
FeedResult batch(std::string_view json_input, std::string_view title, std::string_view domain,
                 const TextMap& image_mapping, std::string_view default_image_url,
                 std::string_view landing_page) {
    constexpr std::string_view target = Feed::log_target;
    OrderedTextSet with_no_images;
    OrderedTextSet with_no_city_names;
    log::HeldRecords skipped;  // follow "Parsed", which can only count the fares at the end

    std::string document;
    // A flight feed writes about as many bytes as it reads (up to a third more for get_blue):
    // room for half as much again spares copying the document as it grows.
    document.reserve(json_input.size() + json_input.size() / 2 + 4096);
    Feed::append_envelope_head(document, title, domain);
    BatchItems items(document, Feed::separator);

    LandingPage links(landing_page);
    typename Feed::Item item;  // one item reused for every fare, so its buffers are too
    // Each fare's item is written as soon as the fare is read; a read error drops the document.
    auto fare_count = models::json_model::read_each_fare(json_input, [&](const models::json_model::FareObject& fare) {
        item.assign_fare_object(fare);
        links.fill(Feed::link(item), fare);  // the link is made straight in the item
        const auto image = image_mapping.find(std::string_view(Feed::image_key(item)));
        Feed::before_image(item, default_image_url);
        if (image != image_mapping.end()) {
            item.set_image_url(image->second);
        } else {
            with_no_images.insert(Feed::missing_image_entry(item));
            item.set_image_url(default_image_url);
        }
        Feed::after_image(item);
        if constexpr (Feed::checks_city_names) Feed::check_city_names(item, with_no_city_names);

        items.append(item, skipped);
    });
    if (!fare_count) return std::unexpected(read_failure::batch_error(target, std::move(fare_count.error()), json_input));
    log::emit(target, log::Level::Info, std::source_location::current(), [&] {
        return "Parsed " + std::to_string(*fare_count) + " fare objects";
    });
    skipped.emit_all(target);

    if (!with_no_images.empty()) {
        log::emit(target, log::Level::Info, std::source_location::current(), [&] {
            return "No image url for: " + with_no_images.join(",") + " trying the DEFAULT_IMAGE_URL";
        });
    }
    if (!with_no_city_names.empty()) {
        return std::unexpected(FeedError{FeedErrorKind::InvalidInput,
                                         "No translations available for : " + with_no_city_names.join(",")});
    }
    log::emit(target, log::Level::Info, std::source_location::current(), [&] {
        return "Processed xml feeds items: " + std::to_string(items.count());
    });
    Feed::append_envelope_tail(document);
    return document;
}

// The envelope of `Feed` around already joined item texts.
template <class Feed>
std::string complete(std::string_view title, std::string_view domain, std::string_view items) {
    std::string document;
    document.reserve(items.size() + title.size() + domain.size() + 256);
    Feed::append_envelope_head(document, title, domain);
    document.append(items);
    Feed::append_envelope_tail(document);
    return document;
}

}  // namespace vesk::flight_feed
