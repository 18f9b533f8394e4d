// Fuzz target: the single-fare read of a package fare and the single-fare vacation-package
// operation.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "converter_vp_facebook.hpp"
#include "expected_items.hpp"
#include "models/package_json_model.hpp"
#include "plain_text.hpp"
#include "read_properties.hpp"
#include "record_texts.hpp"
#include "require.hpp"
#include "xml_tree.hpp"

using namespace vesk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto fare = models::package_json_model::read_package_fare(input);
    const FeedResult result = converter_vp_facebook::fare_to_vp_facebook_xml(input);
    if (!fare) {
        fuzz::require_read_error(fare.error(), input);
        fuzz::require_single_fare_failure(result, fare.error());
        return 0;
    }
    if (fare->value.hotel.images.empty()) {
        fuzz::require(!result && result.error().kind == FeedErrorKind::InvalidInput,
                      "a fare whose hotel has no image fails as InvalidInput");
        return 0;
    }
    if (!fuzz::is_valid_utf8(input)) return 0;
    fuzz::require(result.has_value(), "a fare with a hotel image gives an item");
    if (!fuzz::all_texts_plain(fare->value)) return 0;
    const auto item = fuzz::xml::parse_document(*result);
    fuzz::require(item.has_value(), "an item of plain texts is well-formed XML",
                  item ? std::string_view() : std::string_view(item.error().reason));
    fuzz::require_item(*item, fuzz::single_fare_item(fare->value), "fare_to_vp_facebook_xml");
    return 0;
}
