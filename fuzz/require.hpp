// Property checks of the fuzz targets: a violated property prints what was expected and aborts, so
// libFuzzer stops and saves the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vesk::fuzz {

[[noreturn]] inline void property_violated(std::string_view property, std::string_view detail) {
    std::fprintf(stderr, "property violated: %.*s\n  %.*s\n", static_cast<int>(property.size()),
                 property.data(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void require(bool holds, std::string_view property, std::string_view detail = {}) {
    if (!holds) property_violated(property, detail);
}

}  // namespace vesk::fuzz
