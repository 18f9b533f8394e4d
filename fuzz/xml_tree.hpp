// A checker for the XML that the feeds write: parses a document of XML 1.0 restricted to what
// feeds use (an optional declaration, elements with double-quoted attributes, character data and
// references; no comments, CDATA sections, processing instructions or DOCTYPE) into a tree, or
// reports the first place where the text is not well-formed.
#pragma once

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk::fuzz::xml {

struct Element {
    std::string_view name;
    std::vector<std::pair<std::string_view, std::string_view>> attributes;
    std::vector<Element> children;
    std::string_view content;  // everything between the start tag and the end tag, as written

    // The value of the attribute `name`, or nullptr.
    const std::string_view* attribute(std::string_view name) const;
};

struct NotWellFormed {
    std::size_t offset;
    std::string reason;
};

// The root element of `document`. Elements nest at most `max_depth` levels.
std::expected<Element, NotWellFormed> parse_document(std::string_view document,
                                                     std::size_t max_depth = 64);

}  // namespace vesk::fuzz::xml
