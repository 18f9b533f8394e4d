// Google flight feed item: one "listing" element per fare, its image the bare link.
#pragma once

#include <string>
#include <string_view>

#include "listing_item.hpp"

namespace vesk::models::xml_google_model {

struct BareImageLink {
    static void assign(std::string& image, std::string_view link) { image.assign(link); }
};

using FeedItem = ListingItem<BareImageLink>;

}  // namespace vesk::models::xml_google_model
