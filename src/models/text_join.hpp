// Assignment of a concatenation that reuses the target's buffer.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace vesk::models {

// Sets `target` to `parts` one after another, keeping its capacity. Also correct when a part
// views `target` itself: that result is built aside, since writing in place would overwrite the
// part before it is read.
inline void assign_joined(std::string& target, std::initializer_list<std::string_view> parts) {
    const char* const begin = target.data();
    const char* const end = begin + target.size();
    bool views_target = false;
    for (const std::string_view part : parts) {
        views_target = views_target || (!part.empty() && std::less_equal<>{}(begin, part.data()) &&
                                        std::less<>{}(part.data(), end));
    }
    if (views_target) {
        std::string joined;
        for (const std::string_view part : parts) joined.append(part);
        target = std::move(joined);
        return;
    }
    target.clear();
    for (const std::string_view part : parts) target.append(part);
}

}  // namespace vesk::models
