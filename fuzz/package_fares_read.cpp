// Fuzz target: the list read of package fares and the vacation-package items built from its
// records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "expected_items.hpp"
#include "models/item_writer.hpp"
#include "models/package_json_model.hpp"
#include "models/xml_vp_facebook_model.hpp"
#include "plain_text.hpp"
#include "read_properties.hpp"
#include "record_texts.hpp"
#include "require.hpp"
#include "xml_tree.hpp"

using namespace vesk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto fares = models::package_json_model::read_package_fares(input);
    if (!fares) {
        fuzz::require_read_error(fares.error(), input);
        return 0;
    }
    const bool valid_utf8 = fuzz::is_valid_utf8(input);
    for (const auto& fare : fares->value) {
        const auto built = models::xml_vp_facebook_model::PackageFeedItem::from_package_fare_object(fare);
        fuzz::require(built.has_value() == !fare.hotel.images.empty(),
                      "a package fare gives an item exactly when its hotel has an image");
        if (!built || !valid_utf8) continue;
        const auto written = models::item_writer::item_to_xml(*built);
        fuzz::require(written.has_value(), "an item of valid UTF-8 texts is written");
        if (!fuzz::all_texts_plain(fare)) continue;
        const auto item = fuzz::xml::parse_document(*written);
        fuzz::require(item.has_value(), "an item of plain texts is well-formed XML",
                      item ? std::string_view() : std::string_view(item.error().reason));
        fuzz::require_item(*item, fuzz::single_fare_item(fare), "item of a listed package fare");
    }
    return 0;
}
