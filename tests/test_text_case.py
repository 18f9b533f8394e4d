"""Lower-casing of the core against Python's str.lower(), for every assigned code point.

The C++ test program tests/cpp/text_case_test.cpp lower-cases lines of standard input; each
context below puts every code point into lines whose lower case Python computes too. Alone, a
character checks its full lower-case mapping; around a capital sigma, it checks whether the
final-sigma rule sees it as cased, case-ignorable or neither.
"""

import re
import shutil
import subprocess
import sys
import unicodedata
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parent.parent
TABLES = ROOT / "src" / "text_case_tables.hpp"
SOURCES = ["tests/cpp/text_case_test.cpp", "src/text_case.cpp", "src/models/utf8.cpp"]


def version_tuple(version):
    return tuple(int(part) for part in version.split("."))


def tables_unicode_version():
    match = re.search(r"from Unicode (\d+\.\d+\.\d+)", TABLES.read_text(encoding="ascii"))
    assert match, f"{TABLES.name} names no Unicode version"
    return match.group(1)


@pytest.fixture(scope="module")
def lowercase_program(tmp_path_factory):
    compiler = shutil.which("c++") or shutil.which("g++") or shutil.which("clang++")
    if compiler is None:
        pytest.skip("no C++ compiler found")
    program = tmp_path_factory.mktemp("text_case") / "test_text_case"
    build = subprocess.run(
        [compiler, "-std=c++23", "-O2", "-Wall", "-Wextra", "-Werror", "-I", "src", *SOURCES,
         "-o", str(program)],
        cwd=ROOT, capture_output=True, text=True)
    assert build.returncode == 0, f"build failed:\n{build.stdout}{build.stderr}"
    return program


@pytest.fixture(scope="module")
def assigned_characters():
    """Characters assigned both in this Python's Unicode and in that of the tables."""
    tables_version = tables_unicode_version()
    if version_tuple(unicodedata.unidata_version) > version_tuple(tables_version):
        pytest.skip(f"tables hold Unicode {tables_version}, older than this Python's "
                    f"{unicodedata.unidata_version}: which characters they know is not known here")
    # Assignments are never withdrawn, so what this Python knows the tables know too. Line feed
    # separates the lines; surrogates have no UTF-8 form.
    return [chr(code_point) for code_point in range(sys.maxunicode + 1)
            if unicodedata.category(chr(code_point)) not in ("Cn", "Cs")
            and code_point != ord("\n")]


@pytest.mark.parametrize(
    ("prefix", "suffix"),
    [
        ("", ""),              # the full lower-case mapping of the character
        ("", "\u03a3"),        # sigma is final only after a cased, not case-ignorable character
        ("A", "\u03a3"),       # ... or after a cased one followed by case-ignorable characters
        ("A\u03a3", ""),       # sigma is not final before a cased, not case-ignorable character
    ],
    ids=["alone", "before sigma", "between letter and sigma", "after letter and sigma"])
def test_lowercase_matches_python(lowercase_program, assigned_characters, prefix, suffix):
    lines = [prefix + character + suffix for character in assigned_characters]
    result = subprocess.run(
        [str(lowercase_program), "--lowercase-lines"],
        input="\n".join(lines).encode("utf-8"), capture_output=True, check=True)
    actual = result.stdout.decode("utf-8", "surrogateescape").split("\n")[:-1]
    assert len(actual) == len(lines)
    wrong = [f"{line!r} (U+{ord(character):04X}): {got!r}, expected {line.lower()!r}"
             for character, line, got in zip(assigned_characters, lines, actual)
             if got != line.lower()]
    assert not wrong, f"{len(wrong)} wrong, first ones:\n" + "\n".join(wrong[:20])
