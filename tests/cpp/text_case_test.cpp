// Unicode lower-casing: a table of cases (ASCII, full mappings, the final-sigma rule, bytes that
// are not UTF-8). With --lowercase-lines it instead lower-cases each line of standard input to
// standard output, so tests/test_text_case.py can compare every code point with Python.
#include <cstdio>
#include <string>
#include <string_view>

#include "check.hpp"
#include "text_case.hpp"

namespace {

struct LowercaseCase {
    const char* label;
    std::string_view text;
    std::string_view lowercase;
};

const LowercaseCase lowercase_cases[] = {
    {"empty", "", ""},
    {"ASCII code", "LHR", "lhr"},
    {"ASCII already lower", "ww", "ww"},
    {"ASCII mixed case", "eN-Gb_x9", "en-gb_x9"},
    // Longer than one 8-byte block; '@' and '[' border the capitals, '`' and '{' the small letters.
    {"ASCII alphabet and neighbours", "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`az{",
     "@abcdefghijklmnopqrstuvwxyz[`az{"},
    {"ASCII after non-ASCII", "\u00C4BC", "\u00E4bc"},
    {"Latin-1 umlauts", "\u00C4\u00D6\u00DC", "\u00E4\u00F6\u00FC"},
    {"sharp s has no single lower case", "STRA\u00DFE", "stra\u00DFe"},
    {"alternating capital and small Latin", "\u0100\u0101\u0102", "\u0101\u0101\u0103"},
    {"Y with diaeresis maps below itself", "\u0178", "\u00FF"},
    {"title-case digraph", "\u01C5", "\u01C6"},
    {"Kelvin sign to ASCII k", "\u212A", "k"},
    {"dotted capital I expands", "\u0130stanbul", "i\u0307stanbul"},
    {"dotted capital I alone", "\u0130", "i\u0307"},
    {"Georgian Mtavruli", "\u1C90\u1C91\u1C92", "\u10D0\u10D1\u10D2"},
    {"Georgian Asomtavruli", "\u10A0\u10A1", "\u2D00\u2D01"},
    {"Cherokee capitals", "\u13A0\u13A1\u13A2", "\uAB70\uAB71\uAB72"},
    {"Cherokee small letter range", "\u13F0\u13F8", "\u13F8\u13F8"},
    {"Deseret, four bytes", "\U00010400\U00010401", "\U00010428\U00010429"},
    {"Roman numeral", "\u216B", "\u217B"},
    {"uncased CJK unchanged", "\u6771\u4EAC", "\u6771\u4EAC"},

    {"sigma word-final", "\u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF\u03C2"},
    {"sigma word-initial", "\u03A3\u0391", "\u03C3\u03B1"},
    {"sigma alone", "\u03A3", "\u03C3"},
    {"sigma twice", "\u03A3\u03A3", "\u03C3\u03C2"},
    {"sigma before full stop", "A\u03A3.", "a\u03C2."},
    {"sigma before apostrophe and letter", "A\u03A3'B", "a\u03C3'b"},
    {"sigma before space and letter", "A\u03A3 B", "a\u03C2 b"},
    {"sigma before right quote", "\u0391\u03A3\u2019", "\u03B1\u03C2\u2019"},
    {"sigma before soft hyphen and letter", "\u0391\u03A3\u00AD\u0391",
     "\u03B1\u03C3\u00AD\u03B1"},
    {"sigma before combining mark", "\u0391\u03A3\u0301", "\u03B1\u03C2\u0301"},
    {"sigma after combining mark", "\u0391\u0301\u03A3", "\u03B1\u0301\u03C2"},
    {"sigma after full stop only", ".\u03A3", ".\u03C3"},
    {"sigma after digit", "1\u03A3", "1\u03C3"},
    // Modifier letters are cased and case-ignorable: the rule skips them.
    {"sigma after modifier letter only", "\u02B0\u03A3", "\u02B0\u03C3"},
    {"sigma before modifier letter and letter", "A\u03A3\u02B0B", "a\u03C3\u02B0b"},
    {"sigma before modifier letter", "A\u03A3\u02B0", "a\u03C2\u02B0"},
    // Roman numerals and circled letters are cased without being letters.
    {"sigma after Roman numeral", "\u216B\u03A3", "\u217B\u03C2"},
    {"sigma before circled letter", "A\u03A3\u24B6", "a\u03C3\u24D0"},

    {"invalid lead byte", "AB\xFF" "CD", "ab\xFF" "cd"},
    {"truncated sequence at the end", "A\xC3", "a\xC3"},
    {"truncated sequence before ASCII", "\xC3(Q", "\xC3(q"},
    {"overlong form", "\xC0\xAF" "A", "\xC0\xAF" "a"},
    {"encoded surrogate", "\xED\xA0\x80" "A", "\xED\xA0\x80" "a"},
    {"above U+10FFFF", "\xF4\x90\x80\x80" "A", "\xF4\x90\x80\x80" "a"},
    {"continuation byte alone", "\x80\u00C4", "\x80\u00E4"},
    {"sigma before invalid byte", "A\u03A3\xFF", "a\u03C2\xFF"},
    {"sigma after invalid byte", "\xFF\u03A3", "\xFF\u03C3"},
    {"sigma before truncated sequence", "A\u03A3\xC3", "a\u03C2\xC3"},
};

void check_lowercase_cases() {
    for (const LowercaseCase& c : lowercase_cases) {
        check::Scope scope(c.label);
        std::string out;
        vesk::text_case::append_lowercase(out, c.text);
        CHECK_EQ(out, c.lowercase);
    }
}

void check_appends_to_existing_text() {
    std::string out = "https://x/ABC/";
    vesk::text_case::append_lowercase(out, "LHR");
    vesk::text_case::append_lowercase(out, "\u03A3");
    CHECK_EQ(out, "https://x/ABC/lhr\u03C3");
}

// Lower-cases every line of standard input (lines end at '\n') to standard output.
int lowercase_lines() {
    std::string input;
    char buffer[1 << 16];
    std::size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) input.append(buffer, read);

    std::string output;
    std::string_view rest = input;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        vesk::text_case::append_lowercase(output, rest.substr(0, end));
        output.push_back('\n');
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return std::fwrite(output.data(), 1, output.size(), stdout) == output.size() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--lowercase-lines") return lowercase_lines();
    check_lowercase_cases();
    check_appends_to_existing_text();
    return check::finish();
}
