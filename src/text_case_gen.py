"""Writes text_case_tables.hpp: the tables of Unicode lower-casing (text_case.cpp).

Run with a Python whose unicodedata holds the Unicode version named below:
    /root/.pyenv/versions/3.13.0/bin/python3 src/text_case_gen.py

Everything is read from the running CPython, so the tables lower-case exactly as its str.lower():

- Lower-case mapping: chr(c).lower() for every code point. It is the full mapping (UnicodeData
  simple mappings plus the unconditional lower-case entries of SpecialCasing, e.g. U+0130 ->
  "i\u0307"). A one-character result becomes a run of (first, last, delta, stride); a longer one
  becomes an expansion.
- Cased and Case_Ignorable: unicodedata has no query for these, but str.lower() applies the
  Final_Sigma rule with them (U+03A3 becomes U+03C2 when a cased letter precedes it, skipping
  case-ignorable characters, and none follows it). Probing that rule classifies every character
  exactly as far as the rule can tell them apart:
      x + "Σ"        ends in ς  <=>  x is cased and not case-ignorable
      "A" + x + "Σ"  ends in ς  <=>  x is case-ignorable, or cased
  Whether a case-ignorable character is also cased never matters: the rule always skips it.
  The probe is checked against the derivation from general categories: Case_Ignorable is Mn, Me,
  Cf, Lm, Sk plus the Word_Break MidLetter, MidNumLet and Single_Quote characters; Cased covers
  Lu, Ll, Lt and every character with a case mapping, plus Other_Lowercase/Other_Uppercase
  characters (So, Nl, Lo) that only the probe can name.
"""

import sys
import unicodedata
from pathlib import Path

UNICODE_VERSION = "15.1.0"

OUTPUT = Path(__file__).with_name("text_case_tables.hpp")

CAPITAL_SIGMA = "\u03a3"
FINAL_SMALL_SIGMA = "\u03c2"

# Word_Break MidLetter, MidNumLet and Single_Quote of WordBreakProperty.txt (Unicode 15.1.0).
WORD_BREAK_MID = {
    0x0027, 0x002E, 0x003A, 0x00B7, 0x0387, 0x055F, 0x05F4, 0x2018, 0x2019, 0x2024, 0x2027,
    0xFE13, 0xFE52, 0xFE55, 0xFF07, 0xFF0E, 0xFF1A,
}
CASE_IGNORABLE_CATEGORIES = {"Mn", "Me", "Cf", "Lm", "Sk"}
CASED_CATEGORIES = {"Lu", "Ll", "Lt"}
# Categories of the Other_Lowercase and Other_Uppercase characters that are not Lm.
OTHER_CASED_CATEGORIES = {"So", "Nl", "Lo"}

# Names of the C++ enumerators of CaseClass.
CASED = "cased"
CASE_IGNORABLE = "case_ignorable"

LINE_WIDTH = 100


def code_points():
    """Every code point a Python str can hold apart from surrogates, which UTF-8 cannot encode."""
    return (c for c in range(sys.maxunicode + 1) if not 0xD800 <= c <= 0xDFFF)


def probe_case_class(character):
    """CASED, CASE_IGNORABLE or None (neither), as str.lower()'s Final_Sigma rule sees it."""
    if (character + CAPITAL_SIGMA).lower().endswith(FINAL_SMALL_SIGMA):
        return CASED
    if ("A" + character + CAPITAL_SIGMA).lower().endswith(FINAL_SMALL_SIGMA):
        return CASE_IGNORABLE
    return None


def has_case_mapping(character):
    return character.lower() != character or character.upper() != character or (
        character.title() != character)


def check_against_categories(classes):
    """Fails when the probe disagrees with what the general categories say."""
    for code_point in code_points():
        character = chr(code_point)
        category = unicodedata.category(character)
        probed = classes.get(code_point)
        ignorable = category in CASE_IGNORABLE_CATEGORIES or code_point in WORD_BREAK_MID
        if ignorable != (probed == CASE_IGNORABLE):
            sys.exit(f"U+{code_point:04X} ({category}): Case_Ignorable derived {ignorable}, "
                     f"probed {probed}")
        if probed is None and (category in CASED_CATEGORIES or has_case_mapping(character)):
            sys.exit(f"U+{code_point:04X} ({category}) has case but probes as uncased")
        if probed == CASED and category not in CASED_CATEGORIES | OTHER_CASED_CATEGORIES:
            sys.exit(f"U+{code_point:04X} ({category}) probes as cased")


def case_classes():
    """{code point: CASED or CASE_IGNORABLE} for every character that is either."""
    classes = {}
    for code_point in code_points():
        probed = probe_case_class(chr(code_point))
        if probed is not None:
            classes[code_point] = probed
    check_against_categories(classes)
    return classes


def case_class_ranges(classes):
    """[first, last, class] of maximal runs of one class."""
    ranges = []
    for code_point in sorted(classes):
        case_class = classes[code_point]
        if ranges and ranges[-1][1] == code_point - 1 and ranges[-1][2] == case_class:
            ranges[-1][1] = code_point
        else:
            ranges.append([code_point, code_point, case_class])
    return ranges


def lowercase_mappings():
    """({code point: lower-case code point}, {code point: lower-case text of several characters})."""
    single = {}
    expanded = {}
    for code_point in code_points():
        lower = chr(code_point).lower()
        if lower == chr(code_point):
            continue
        if len(lower) == 1:
            single[code_point] = ord(lower)
        else:
            expanded[code_point] = lower
    return single, expanded


def lowercase_runs(single):
    """[first, last, delta, stride]: first, first + stride, ... last map to code point + delta.

    A run grows only to the next mapped code point, so runs are disjoint and the code points a
    stride-2 run skips have no mapping."""
    runs = []
    for code_point in sorted(single):
        delta = single[code_point] - code_point
        if runs:
            first, last, run_delta, stride = runs[-1]
            step = code_point - last
            if run_delta == delta and step in (1, 2) and (first == last or step == stride):
                runs[-1] = [first, code_point, delta, step]
                continue
        runs.append([code_point, code_point, delta, 1])
    return runs


def wrapped(items):
    lines = []
    line = "   "
    for item in items:
        if len(line) + 1 + len(item) > LINE_WIDTH:
            lines.append(line)
            line = "   "
        line += " " + item
    lines.append(line)
    return "\n".join(lines)


def utf8_literal(text):
    return '"' + "".join(f"\\x{byte:02x}" for byte in text.encode("utf-8")) + '"'


def main():
    if unicodedata.unidata_version != UNICODE_VERSION:
        sys.exit(f"needs unicodedata {UNICODE_VERSION}, found {unicodedata.unidata_version}")
    single, expanded = lowercase_mappings()
    runs = lowercase_runs(single)
    classes = case_class_ranges(case_classes())
    run_items = [f"{{0x{first:x}, 0x{last:x}, {delta}, {stride}}}," for first, last, delta, stride
                 in runs]
    expansion_items = [f"{{0x{code_point:x}, {utf8_literal(lower)}}},"
                       for code_point, lower in sorted(expanded.items())]
    class_items = [f"{{0x{first:x}, 0x{last:x}, CaseClass::{case_class}}},"
                   for first, last, case_class in classes]
    OUTPUT.write_text(f"""\
// Generated by text_case_gen.py from Unicode {UNICODE_VERSION} (CPython's unicodedata and str.lower());
// edit the generator, not this file.
#pragma once

#include <cstdint>
#include <string_view>

namespace vesk::text_case::tables {{

// Code points first, first + stride, ... up to last, each lower-cased to itself plus `delta`.
struct LowercaseRun {{
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::uint8_t stride;  // 1, or 2 for alternating capital and small letters
}};

// Every code point whose lower-case mapping is one other code point. Sorted and disjoint.
inline constexpr LowercaseRun lowercase_runs[] = {{
{wrapped(run_items)}
}};

// A code point whose lower-case mapping is several code points.
struct LowercaseExpansion {{
    char32_t code_point;
    std::string_view utf8;
}};

// Every code point whose lower-case mapping is several code points. Sorted.
inline constexpr LowercaseExpansion lowercase_expansions[] = {{
{wrapped(expansion_items)}
}};

// What the final-sigma rule needs to know of a character. A character that is both cased and
// case-ignorable is case-ignorable here: the rule skips it either way.
enum class CaseClass : std::uint8_t {{ uncased, cased, case_ignorable }};

struct CaseClassRange {{
    char32_t first;
    char32_t last;
    CaseClass case_class;
}};

// Every cased or case-ignorable code point; any other is uncased. Sorted and disjoint.
inline constexpr CaseClassRange case_class_ranges[] = {{
{wrapped(class_items)}
}};

}}  // namespace vesk::text_case::tables
""", encoding="ascii")


if __name__ == "__main__":
    main()
