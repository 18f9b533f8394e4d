#include "converter_vp_facebook.hpp"

#include <source_location>

#include "batch_items.hpp"
#include "envelope.hpp"
#include "log.hpp"
#include "models/item_writer.hpp"
#include "models/package_json_model.hpp"
#include "models/xml_vp_facebook_model.hpp"
#include "read_failure.hpp"

namespace vesk::converter_vp_facebook {

namespace {

constexpr std::string_view log_target = "vesk_fares_to_xml::converter_vp_facebook";

using models::package_json_model::PackageFareObject;
using models::xml_vp_facebook_model::PackageFeedItem;

// The item takes the hotel's first image, so a fare whose hotel has none cannot become an item.
std::string no_hotel_image_message(const PackageFareObject& fare) {
    return "Package fare `" + std::string(fare.tessaro_id) +
           "` cannot be converted: its hotel has no images";
}

void append_envelope_head(std::string& out, std::string_view title, std::string_view domain) {
    envelope::append_rss_start(out);
    out.append("\n    <channel>\n    ");
    envelope::append_title_element(out, title);
    out.append("\n    ");
    envelope::append_link_element(out, domain);
    out.append("\n    ");
}

void append_envelope_tail(std::string& out) { out.append("\n    </channel>\n    </rss>"); }

}  // namespace

FeedResult fare_to_vp_facebook_xml(std::string_view json_input) {
    auto fare = models::package_json_model::read_package_fare(json_input);
    if (!fare) return std::unexpected(read_failure::single_fare_error(std::move(fare.error())));
    const auto item = PackageFeedItem::from_package_fare_object(fare->value);
    if (!item) {
        return std::unexpected(FeedError{FeedErrorKind::InvalidInput, no_hotel_image_message(fare->value)});
    }
    auto xml = models::item_writer::item_to_xml(*item);
    if (!xml) return std::unexpected(FeedError{FeedErrorKind::InvalidInput, std::move(xml.error().message)});
    return std::move(*xml);
}

FeedResult fares_to_vp_facebook_xml(std::string_view json_input, std::string_view title,
                                    std::string_view domain) {
    log::HeldRecords skipped;  // follow "Parsed", which can only count the fares at the end
    std::string document;
    // Items are shorter than the package fares they come from; a quarter more spares copying the
    // document as it grows for fares with few keys the item does not use.
    document.reserve(json_input.size() + json_input.size() / 4 + 4096);
    append_envelope_head(document, title, domain);
    BatchItems items(document, "\n");

    PackageFeedItem item;  // one item reused for every fare, so its buffers are too
    // Each fare's item is written as soon as the fare is read; a read error drops the document.
    auto fare_count = models::package_json_model::read_each_package_fare(json_input, [&](const PackageFareObject& fare) {
        if (!item.assign_package_fare_object(fare)) {
            skipped.hold(log::Level::Error, std::source_location::current(), no_hotel_image_message(fare));
            return;
        }
        items.append(item, skipped);
    });
    if (!fare_count) {
        return std::unexpected(read_failure::batch_error(log_target, std::move(fare_count.error()), json_input));
    }
    log::emit(log_target, log::Level::Info, std::source_location::current(), [&] {
        return "Parsed " + std::to_string(*fare_count) + " fare objects";
    });
    skipped.emit_all(log_target);

    log::emit(log_target, log::Level::Info, std::source_location::current(), [&] {
        return "Processed xml vp_fb package feeds items: " + std::to_string(items.count());
    });
    append_envelope_tail(document);
    return document;
}

std::string complete_xml(std::string_view title, std::string_view domain, std::string_view items) {
    std::string document;
    document.reserve(items.size() + title.size() + domain.size() + 256);
    append_envelope_head(document, title, domain);
    document.append(items);
    append_envelope_tail(document);
    return document;
}

}  // namespace vesk::converter_vp_facebook
