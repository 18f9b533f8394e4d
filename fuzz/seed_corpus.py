"""Writes the seed corpus of every fuzz target: the inputs of the shared reading cases (when
../shared/reading-cases is beside the repository) and the bundled example fares.

    python3 fuzz/seed_corpus.py OUT_DIR

OUT_DIR/<target>/ receives one file per seed. The batch target's seeds start with the byte that
chooses the feed: 0 to 3 for the four flight feeds, 4 for the vacation-package feed.
"""

import hashlib
import json
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CASES_FILE = ROOT / ".." / "shared" / "reading-cases" / "cases.jsonl"
EXAMPLES = ROOT / "examples"

FLIGHT_FEED_BYTES = (0, 1, 2, 3)
PACKAGE_FEED_BYTE = 4


def reading_case_inputs():
    """(read, input text) of every shared reading case."""
    if not CASES_FILE.is_file():
        return []
    with CASES_FILE.open(encoding="utf-8") as lines:
        return [(case["read"], case["input"]) for case in map(json.loads, lines)]


def example_inputs():
    """(read, input text): each example file as a list, each of its fares on its own."""
    inputs = []
    for name, kind in (("flight_fares.json", "flight"), ("package_fares.json", "package")):
        text = (EXAMPLES / name).read_text(encoding="utf-8")
        inputs.append((f"{kind}_list", text))
        inputs.extend((f"{kind}_one", json.dumps(fare, ensure_ascii=False)) for fare in json.loads(text))
    return inputs


def seeds_by_target(inputs):
    seeds = {
        "flight_fare_read": [],
        "flight_fares_read": [],
        "package_fare_read": [],
        "package_fares_read": [],
        "batch_feeds": [],
    }
    for read, text in inputs:
        data = text.encode("utf-8", "surrogatepass")
        seeds[{"flight_one": "flight_fare_read", "flight_list": "flight_fares_read",
               "package_one": "package_fare_read", "package_list": "package_fares_read"}[read]].append(data)
        if read == "flight_list":
            seeds["batch_feeds"].extend(bytes([feed]) + data for feed in FLIGHT_FEED_BYTES)
        elif read == "package_list":
            seeds["batch_feeds"].append(bytes([PACKAGE_FEED_BYTE]) + data)
    return seeds


def main(out_dir):
    for target, seeds in seeds_by_target(reading_case_inputs() + example_inputs()).items():
        directory = pathlib.Path(out_dir) / target
        directory.mkdir(parents=True, exist_ok=True)
        for data in seeds:
            (directory / hashlib.sha1(data).hexdigest()).write_bytes(data)
        print(f"{target}: {len(set(seeds))} seeds")


if __name__ == "__main__":
    main(sys.argv[1])
