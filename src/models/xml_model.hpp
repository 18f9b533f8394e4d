// Facebook flight feed item: one "listing" element per fare, its image wrapped in a url element.
#pragma once

#include <string>
#include <string_view>

#include "listing_item.hpp"
#include "text_join.hpp"

namespace vesk::models::xml_model {

// Facebook reads the image as "<url>", the link, "</url>".
struct WrappedImageLink {
    static void assign(std::string& image, std::string_view link) {
        assign_joined(image, {"<url>", link, "</url>"});
    }
};

using FeedItem = ListingItem<WrappedImageLink>;

}  // namespace vesk::models::xml_model
