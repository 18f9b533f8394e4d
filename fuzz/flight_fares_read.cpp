// Fuzz target: the list read of flight fares and the four flight items built from its records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "expected_items.hpp"
#include "models/item_writer.hpp"
#include "models/json_model.hpp"
#include "models/xml_criteo_model.hpp"
#include "models/xml_get_blue_model.hpp"
#include "models/xml_google_model.hpp"
#include "models/xml_model.hpp"
#include "plain_text.hpp"
#include "read_properties.hpp"
#include "record_texts.hpp"
#include "require.hpp"
#include "xml_tree.hpp"

namespace {

using namespace vesk;

template <class Item>
void require_item_of(fuzz::FlightFeed feed, const models::json_model::FareObject& fare) {
    const auto written = models::item_writer::item_to_xml(Item::from_fare_object(fare));
    fuzz::require(written.has_value(), "an item of valid UTF-8 texts is written",
                  written ? std::string_view() : std::string_view(written.error().message));
    const auto item = fuzz::xml::parse_document(*written);
    fuzz::require(item.has_value(), "an item of plain texts is well-formed XML",
                  item ? std::string_view() : std::string_view(item.error().reason));
    fuzz::require_item(*item, fuzz::single_fare_item(feed, fare), "item of a listed fare");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto fares = models::json_model::read_fares(input);
    if (!fares) {
        fuzz::require_read_error(fares.error(), input);
        return 0;
    }
    if (!fuzz::is_valid_utf8(input)) return 0;
    for (const auto& fare : fares->value) {
        if (!fuzz::all_texts_plain(fare)) continue;
        require_item_of<models::xml_model::FeedItem>(fuzz::FlightFeed::Facebook, fare);
        require_item_of<models::xml_google_model::FeedItem>(fuzz::FlightFeed::Google, fare);
        require_item_of<models::xml_criteo_model::FeedItem>(fuzz::FlightFeed::Criteo, fare);
        require_item_of<models::xml_get_blue_model::FeedItem>(fuzz::FlightFeed::GetBlue, fare);
    }
    return 0;
}
