// Facebook vacation-package feed: single-fare item, batch document and envelope.
#pragma once

#include <string>
#include <string_view>

#include "feed_result.hpp"

namespace vesk::converter_vp_facebook {

// The XML text of one feed item for the JSON text of one package fare.
FeedResult fare_to_vp_facebook_xml(std::string_view json_input);

// The whole feed document for the JSON text of an array of package fares.
FeedResult fares_to_vp_facebook_xml(std::string_view json_input, std::string_view title,
                                    std::string_view domain);

// Wraps joined item texts in the feed's envelope.
std::string complete_xml(std::string_view title, std::string_view domain, std::string_view items);

}  // namespace vesk::converter_vp_facebook
