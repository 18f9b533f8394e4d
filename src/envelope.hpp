// Pieces that the feed envelopes share.
#pragma once

#include <string>
#include <string_view>

namespace vesk::envelope {

inline constexpr std::string_view xml_declaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

// The namespace that Google's product-data feed format binds to the prefix "g" (version 1.0).
inline constexpr std::string_view google_namespace_uri = "http://base.google.com/ns/1.0";

// "<rss xmlns:g=... version="2.0">", the root of the Criteo and vacation-package feeds.
inline void append_rss_start(std::string& out) {
    out.append(R"(<rss xmlns:g=")").append(google_namespace_uri).append(R"(" version="2.0">)");
}

// Title and domain are inserted as they are: callers pass text that is fit for the document.
inline void append_title_element(std::string& out, std::string_view title) {
    out.append("<title>").append(title).append("</title>");
}

inline void append_link_element(std::string& out, std::string_view domain) {
    out.append(R"(<link rel="self" href=")").append(domain).append(R"("/>)");
}

}  // namespace vesk::envelope
