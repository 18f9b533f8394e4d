// Quoted diagnostic texts: escapes, printable and non-printable characters, invalid bytes, and
// the shape of the generated table of non-printable code points.
#include <iterator>
#include <string>
#include <string_view>

#include "check.hpp"
#include "models/debug_text.hpp"
#include "models/unicode_tables.hpp"

namespace {

std::string quoted(std::string_view text) {
    std::string out;
    vesk::models::debug_text::append_debug_quoted(out, text);
    return out;
}

struct QuoteCase {
    const char* label;
    std::string_view text;
    std::string_view expected;
};

using namespace std::string_view_literals;

const QuoteCase quote_cases[] = {
    {"empty", "", R"("")"},
    {"plain ASCII with apostrophe", "O'Hare & <Co>", R"("O'Hare & <Co>")"},
    {"quote and backslash", R"(say "hi" \o/)", R"("say \"hi\" \\o/")"},
    {"named control escapes", "a\tb\rc\nd\0e"sv, R"("a\tb\rc\nd\0e")"},
    {"other C0 controls", "\x01\x1b\x1f", R"("\u{1}\u{1b}\u{1f}")"},
    {"DEL", "\x7f", R"("\u{7f}")"},
    {"C1 control U+0085", "\u0085", R"("\u{85}")"},
    {"no-break space U+00A0", "a\u00a0b", R"("a\u{a0}b")"},
    {"ideographic space U+3000", "\u3000", R"("\u{3000}")"},
    {"line separator U+2028", "\u2028", R"("\u{2028}")"},
    {"zero width space U+200B", "a\u200bb", R"("a\u{200b}b")"},
    {"soft hyphen U+00AD", "\u00ad", R"("\u{ad}")"},
    {"private use U+E000", "\ue000", R"("\u{e000}")"},
    {"unassigned U+0378", "\xcd\xb8", R"("\u{378}")"},
    {"unassigned U+10FFFF", "\xf4\x8f\xbf\xbf", R"("\u{10ffff}")"},
    {"combining acute after e", "e\u0301", R"("e\u{301}")"},
    {"enclosing circle U+20DD", "\u20dd", R"("\u{20dd}")"},
    {"spacing mark that extends graphemes U+09BE", "\u09be", R"("\u{9be}")"},
    {"printable non-ASCII", "Z\u00fcrich \u5317\u4eac \U0001F600", "\"Z\u00fcrich \u5317\u4eac \U0001F600\""},
    {"precomposed letter", "\u00e9", "\"\u00e9\""},
    {"invalid byte", "a\xff" "b", R"("a\xffb")"},
    {"sequence cut short", "\xe2\x82", R"("\xe2\x82")"},
    {"encoded surrogate", "\xed\xa0\x80", R"("\xed\xa0\x80")"},
};

void test_quoting() {
    for (const QuoteCase& row : quote_cases) {
        check::Scope scope(row.label);
        CHECK_EQ(quoted(row.text), row.expected);
    }
}

void test_appends_after_existing_text() {
    std::string out = "name: ";
    vesk::models::debug_text::append_debug_quoted(out, "x\n");
    CHECK_EQ(out, R"(name: "x\n")");
}

// The lookup is a binary search over the ranges: they must be sorted, disjoint and merged.
void test_table_shape() {
    const auto& ranges = vesk::models::unicode_tables::non_printable;
    for (std::size_t index = 0; index < std::size(ranges); ++index) {
        check::Scope scope("range " + std::to_string(index));
        CHECK(ranges[index].first <= ranges[index].last);
        CHECK(ranges[index].last <= 0x10FFFF);
        if (index > 0) CHECK(ranges[index - 1].last + 1 < ranges[index].first);
    }
}

}  // namespace

int main() {
    test_quoting();
    test_appends_after_existing_text();
    test_table_shape();
    return check::finish();
}
