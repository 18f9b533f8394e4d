// Unicode lower-casing of UTF-8 text, for landing-page links.
#pragma once

#include <string>
#include <string_view>

namespace vesk::text_case {

// Appends `utf8` lower-cased by the full Unicode mapping of every character (A-Z to a-z, İ to
// "i̇", final Σ to ς and other Σ to σ, ...). Bytes that are not valid UTF-8 are copied unchanged.
void append_lowercase(std::string& out, std::string_view utf8);

}  // namespace vesk::text_case
