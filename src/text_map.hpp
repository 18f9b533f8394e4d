// Map from text to text with lookups by std::string_view (the image map of the flight feeds).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vesk {

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

using TextMap = std::unordered_map<std::string, std::string, TextHash, std::equal_to<>>;

}  // namespace vesk
