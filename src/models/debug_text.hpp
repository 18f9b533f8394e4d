// Quoted one-line texts for diagnostics: item diagnostic forms and the JSON reader's messages.
#pragma once

#include <string>
#include <string_view>

namespace vesk::models::debug_text {

// Appends `utf8` in double quotes. A backslash or double quote gets a backslash before it; tab,
// carriage return, line feed and NUL become \t, \r, \n and \0; every other control or
// non-printable character (format characters, separators other than the space, unassigned and
// private-use code points, grapheme-extending marks) becomes \u{hex}, lowercase and without
// leading zeros. Printable non-ASCII characters and the apostrophe stay as they are. A byte that
// does not start a valid UTF-8 sequence is shown as \x and two lowercase hex digits.
void append_debug_quoted(std::string& out, std::string_view utf8);

}  // namespace vesk::models::debug_text
