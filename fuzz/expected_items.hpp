// The items the feeds must write for the records that were read: root element and every child
// element with its content, derived from the records field by field, and the check of a parsed
// item against them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/json_model.hpp"
#include "models/package_json_model.hpp"
#include "text_map.hpp"
#include "xml_tree.hpp"

namespace vesk::fuzz {

enum class FlightFeed { Facebook, Google, Criteo, GetBlue };

struct ExpectedElement {
    std::string name;
    std::optional<std::string> content;  // exact content as written; nullopt: not predicted
    std::optional<float> f32;            // content is the item form of this 32-bit float
};

struct ExpectedItem {
    std::string root;
    std::vector<ExpectedElement> elements;
};

// The settings of a batch call that reach the items.
struct BatchSettings {
    std::string_view title;
    std::string_view domain;
    const TextMap& image_mapping;
    std::string_view default_image_url;
    std::string_view landing_page;
};

// The item of the single-fare operation: the record written as its constructor builds it.
ExpectedItem single_fare_item(FlightFeed feed, const models::json_model::FareObject& fare);
// A package fare has an item only when its hotel has an image.
ExpectedItem single_fare_item(const models::package_json_model::PackageFareObject& fare);

// The item of the batch operation, completed with landing-page link and image. The link is
// predicted only where market and airport codes are ASCII (lower-casing beyond ASCII is not
// modelled here).
ExpectedItem batch_item(FlightFeed feed, const models::json_model::FareObject& fare,
                        const BatchSettings& settings);

// Aborts unless `item` is exactly `expected`: root name, child names in order, no attribute and
// every predicted content. `context` names the call in the report.
void require_item(const xml::Element& item, const ExpectedItem& expected, std::string_view context);

}  // namespace vesk::fuzz
