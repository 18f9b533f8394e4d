// get_blue flight feed: single-fare item, batch document and envelope.
#pragma once

#include <string>
#include <string_view>

#include "feed_result.hpp"
#include "text_map.hpp"

namespace vesk::converter_get_blue {

// The XML text of one feed item for the JSON text of one flight fare.
FeedResult fare_to_get_blue_xml(std::string_view json_input);

// The whole feed document for the JSON text of an array of flight fares.
FeedResult fares_to_get_blue_xml(std::string_view json_input, std::string_view title,
                               std::string_view domain, const TextMap& image_mapping,
                               std::string_view default_image_url, std::string_view landing_page);

// Wraps joined item texts in the feed's envelope.
std::string complete_xml(std::string_view title, std::string_view domain, std::string_view items);

}  // namespace vesk::converter_get_blue
