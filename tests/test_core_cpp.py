"""Builds and runs the C++ test programs of tests/cpp against the core sources they need.

The core is plain C++ without Python, so these programs reach number texts, quoting, the UTF-8
check and item records directly. Each program exits with status 0 when all its checks pass.
"""

import shutil
import subprocess
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parent.parent
COMPILER = shutil.which("c++") or shutil.which("g++") or shutil.which("clang++")
FLAGS = ["-std=c++23", "-O1", "-Wall", "-Wextra", "-Werror", "-I", "src"]

ITEM_WRITER = [
    "src/models/item_writer.cpp",
    "src/models/number_text.cpp",
    "src/models/debug_text.cpp",
    "src/models/utf8.cpp",
]

# Test program (tests/cpp/<name>.cpp) -> the core sources it links.
PROGRAMS = {
    "number_text_test": ["src/models/number_text.cpp"],
    "debug_text_test": ["src/models/debug_text.cpp", "src/models/utf8.cpp"],
    "item_writer_test": ITEM_WRITER,
    "listing_items_test": ITEM_WRITER,
    "criteo_item_test": [*ITEM_WRITER, "src/models/xml_criteo_model.cpp"],
    "get_blue_item_test": [*ITEM_WRITER, "src/models/xml_get_blue_model.cpp"],
    "vp_item_test": [*ITEM_WRITER, "src/models/xml_vp_facebook_model.cpp"],
    "text_case_test": ["src/text_case.cpp", "src/models/utf8.cpp"],
}


@pytest.mark.skipif(COMPILER is None, reason="no C++ compiler found")
@pytest.mark.parametrize("program", sorted(PROGRAMS))
def test_core_program(program, tmp_path):
    executable = tmp_path / program
    build = subprocess.run(
        [COMPILER, *FLAGS, f"tests/cpp/{program}.cpp", *PROGRAMS[program], "-o", str(executable)],
        cwd=ROOT,
        capture_output=True,
        text=True,
    )
    assert build.returncode == 0, f"build failed:\n{build.stdout}{build.stderr}"
    run = subprocess.run([str(executable)], capture_output=True, text=True, timeout=300)
    assert run.returncode == 0, f"{program} failed:\n{run.stdout}{run.stderr}"
