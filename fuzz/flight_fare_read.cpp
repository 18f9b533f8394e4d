// Fuzz target: the single-fare read of a flight fare and the four single-fare flight operations.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "converter.hpp"
#include "converter_criteo.hpp"
#include "converter_get_blue.hpp"
#include "converter_google.hpp"
#include "expected_items.hpp"
#include "models/json_model.hpp"
#include "plain_text.hpp"
#include "read_properties.hpp"
#include "record_texts.hpp"
#include "require.hpp"
#include "xml_tree.hpp"

namespace {

using namespace vesk;

struct SingleFareOperation {
    fuzz::FlightFeed feed;
    std::string_view name;
    FeedResult (*run)(std::string_view);
};

constexpr SingleFareOperation operations[] = {
    {fuzz::FlightFeed::Facebook, "fare_to_facebook_xml", converter::fare_to_facebook_xml},
    {fuzz::FlightFeed::Google, "fare_to_google_xml", converter_google::fare_to_google_xml},
    {fuzz::FlightFeed::Criteo, "fare_to_criteo_xml", converter_criteo::fare_to_criteo_xml},
    {fuzz::FlightFeed::GetBlue, "fare_to_get_blue_xml", converter_get_blue::fare_to_get_blue_xml},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto fare = models::json_model::read_fare(input);
    if (!fare) fuzz::require_read_error(fare.error(), input);
    const bool checkable = fare && fuzz::is_valid_utf8(input) && fuzz::all_texts_plain(fare->value);

    for (const auto& operation : operations) {
        const FeedResult result = operation.run(input);
        if (!fare) {
            fuzz::require_single_fare_failure(result, fare.error());
            continue;
        }
        if (!fuzz::is_valid_utf8(input)) continue;  // item texts may then be refused as UTF-8
        fuzz::require(result.has_value(), "a fare that reads gives an item", operation.name);
        if (!checkable) continue;
        const auto item = fuzz::xml::parse_document(*result);
        fuzz::require(item.has_value(), "an item of plain texts is well-formed XML",
                      item ? std::string_view() : std::string_view(item.error().reason));
        fuzz::require_item(*item, fuzz::single_fare_item(operation.feed, fare->value), operation.name);
    }
    return 0;
}
