"""Times the extension against what users would write instead, on the same generated input.

    python3 -m pip install '.[bench]' && python3 bench/run.py

For 100,000 flight fares and 100,000 package fares, per feed: the extension's batch method, the
pure-Python version of the feed reading with `json` and with `orjson` (bench/python_feeds.py,
checked first to give the identical document), and the floor: one copy of the input's and one of
the output's UTF-8 bytes. Then each single-fare method against its Python twin, per call. Times
are the best of several runs, the cases taking turns; every run gets a new `str` of the same text
(so no UTF-8 form cached inside a str by an earlier run could help) and starts on memory handed
back to the system, as a call in a fresh process would. Python's garbage collector stays enabled,
as it is for users. Peak memory is the rise of the resident set's high-water mark during one call,
in a fresh process per case.

Targets: each batch feed at least 20x faster than the `json` version and 10x faster than the
`orjson` version, within 4x the floor, with a peak of at most 3x (input + output); each
single-fare method at least 8x faster than its twin.
"""

import argparse
import ctypes
import gc
import json
import os
import re
import resource
import subprocess
import sys
import tempfile
import time

import orjson

import generate
import python_feeds
import vesk_fares_to_xml

CONVERTER = vesk_fares_to_xml.Converter(vesk_fares_to_xml.Converter.XML_PROTOCOL)

LIBC = ctypes.CDLL(None)
if not hasattr(LIBC, "malloc_trim"):
    LIBC = None

# (batch method, single-fare method, input kind)
FEEDS = [
    ("fares_to_facebook", "fare_to_facebook", "flights"),
    ("fares_to_google_xml", "fare_to_google_xml", "flights"),
    ("fares_to_criteo_xml", "fare_to_criteo_xml", "flights"),
    ("fares_to_get_blue_xml", "fare_to_get_blue_xml", "flights"),
    ("fares_to_vp_facebook_xml", "fare_to_vp_facebook_xml", "packages"),
]

IMPLEMENTATIONS = {
    "extension": lambda method: getattr(CONVERTER, method),
    "python+json": lambda method: getattr(python_feeds, method),
    "python+orjson": lambda method: (
        lambda *args, **kwargs: getattr(python_feeds, method)(*args, **kwargs, loads=orjson.loads)),
}

TARGETS = {"json": 20.0, "orjson": 10.0, "floor": 4.0, "memory": 3.0, "single": 8.0}


def settings(kind):
    return generate.flight_feed_settings() if kind == "flights" else generate.package_feed_settings()


def records(kind, count):
    return (generate.flight_fares(count) if kind == "flights"
            else generate.package_fares(count))


def fresh(text):
    """An equal str that is a new object, without the UTF-8 form CPython caches inside a str."""
    return text.encode().decode()


def _release_free_memory():
    """Gives the memory the C allocator keeps for reuse back to the system (glibc), so that every
    timed case starts on memory it must fault in, as a call in a fresh process does, rather than
    on pages an earlier case happened to leave."""
    if LIBC is not None:
        LIBC.malloc_trim(0)


def time_once(prepare, call):
    """One timing of `call(prepare())`; `prepare` is not timed."""
    argument = prepare()
    gc.collect()
    _release_free_memory()
    start = time.perf_counter()
    result = call(argument)
    elapsed = time.perf_counter() - start
    del result, argument
    return elapsed


def best_times(runs, cases):
    """The shortest of `runs` timings of each (prepare, call) case of `cases`, taking turns."""
    best = {name: float("inf") for name in cases}
    for _ in range(runs):
        for name, (prepare, call) in cases.items():
            best[name] = min(best[name], time_once(prepare, call))
    return best


# --- memory, in a process of its own per case ------------------------------------------------

def _status_kib(field):
    with open("/proc/self/status") as status:
        return int(re.search(rf"^{field}:\s*(\d+)", status.read(), re.M).group(1))


def _reset_peak():
    """Sets the high-water mark to the current resident set; false where Linux does not allow."""
    try:
        with open("/proc/self/clear_refs", "w") as clear_refs:
            clear_refs.write("5")
        return True
    except OSError:
        return False


def memory_case(method, implementation, input_path):
    """Prints the bytes by which one call raises the resident set's high-water mark."""
    kind = next(kind for batch, _, kind in FEEDS if batch == method)
    with open(input_path, "rb") as source:
        text = source.read().decode()
    arguments = settings(kind)
    function = IMPLEMENTATIONS[implementation](method)
    gc.collect()
    if _reset_peak():
        baseline = _status_kib("VmRSS")
        result = function(text, **arguments)
        peak = _status_kib("VmHWM")
    else:  # the lifetime high-water mark; reading the input may have set it higher already
        baseline = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
        result = function(text, **arguments)
        peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print(max(0, peak - baseline) * 1024)
    del result


def peak_memory(method, implementation, input_path):
    output = subprocess.run(
        [sys.executable, __file__, "--memory-case", method, implementation, input_path],
        check=True, capture_output=True, text=True).stdout
    return int(output.split()[-1])


# --- the benchmark ---------------------------------------------------------------------------

def check_identical(method, text, arguments):
    expected = getattr(CONVERTER, method)(text, **arguments)
    for implementation in ("python+json", "python+orjson"):
        if IMPLEMENTATIONS[implementation](method)(text, **arguments) != expected:
            sys.exit(f"{method}: the {implementation} document differs from the extension's")
    return expected


def batch_row(method, kind, text, input_path, runs, measure_memory):
    arguments = settings(kind)
    output = check_identical(method, text, arguments)
    input_bytes = text.encode()
    output_bytes = output.encode()
    cases = {
        name: (lambda: fresh(text),
               lambda argument, f=implementation(method): f(argument, **arguments))
        for name, implementation in IMPLEMENTATIONS.items()
    }
    cases["floor"] = (lambda: None,
                      lambda _: (bytearray(input_bytes), bytearray(output_bytes)))
    times = best_times(runs, cases)
    row = {"feed": method, "input_mb": len(input_bytes) / 1e6,
           "output_mb": len(output_bytes) / 1e6, **times}
    if measure_memory:
        row["peak"] = {name: peak_memory(method, name, input_path) for name in IMPLEMENTATIONS}
    return row


def single_row(method, fare_texts, runs):
    cases = {}
    for name, implementation in IMPLEMENTATIONS.items():
        function = implementation(method)
        for fare in fare_texts:
            if function(fare) != getattr(CONVERTER, method)(fare):
                sys.exit(f"{method}: the {name} item differs from the extension's")

        def call_all(fares, function=function):
            for fare in fares:
                function(fare)

        cases[name] = (lambda: [fresh(fare) for fare in fare_texts], call_all)
    per_call = {name: total / len(fare_texts) for name, total in best_times(runs, cases).items()}
    return {"method": method, **per_call}


def verdict(value, target, higher_is_better=True):
    met = value >= target if higher_is_better else value <= target
    return "ok" if met else "MISSED"


def print_report(batch_rows, single_rows, count):
    print(f"\nBatch feeds, {count:,} fares each (best time; ratios = how many times faster "
          "the extension is; floor = one copy of the input and output UTF-8 bytes)")
    header = (f"{'feed':<26}{'in MB':>7}{'out MB':>8}{'ext ms':>9}{'MB/s':>7}"
              f"{'json ms':>9}{'x json':>8}{'orjson ms':>10}{'x orjson':>9}"
              f"{'floor ms':>9}{'/floor':>8}")
    print(header)
    for row in batch_rows:
        ext = row["extension"]
        print(f"{row['feed']:<26}{row['input_mb']:>7.1f}{row['output_mb']:>8.1f}"
              f"{ext * 1e3:>9.1f}{row['input_mb'] / ext:>7.0f}"
              f"{row['python+json'] * 1e3:>9.0f}{row['python+json'] / ext:>8.1f}"
              f"{row['python+orjson'] * 1e3:>10.0f}{row['python+orjson'] / ext:>9.1f}"
              f"{row['floor'] * 1e3:>9.1f}{ext / row['floor']:>8.2f}")
    if "peak" in batch_rows[0]:
        print("\nPeak memory of one call (rise of the RSS high-water mark, MB; ratio = "
              "extension peak / (input + output))")
        print(f"{'feed':<26}{'extension':>10}{'ratio':>7}{'py+json':>9}{'py+orjson':>11}")
        for row in batch_rows:
            peak = row["peak"]
            ratio = peak["extension"] / 1e6 / (row["input_mb"] + row["output_mb"])
            print(f"{row['feed']:<26}{peak['extension'] / 1e6:>10.1f}{ratio:>7.2f}"
                  f"{peak['python+json'] / 1e6:>9.0f}{peak['python+orjson'] / 1e6:>11.0f}")
    print("\nSingle-fare methods, per call (best run)")
    print(f"{'method':<26}{'ext us':>8}{'json us':>9}{'x json':>8}{'orjson us':>10}{'x orjson':>9}")
    for row in single_rows:
        ext = row["extension"]
        print(f"{row['method']:<26}{ext * 1e6:>8.2f}{row['python+json'] * 1e6:>9.2f}"
              f"{row['python+json'] / ext:>8.1f}{row['python+orjson'] * 1e6:>10.2f}"
              f"{row['python+orjson'] / ext:>9.1f}")

    print("\nTargets")
    for row in batch_rows:
        ext = row["extension"]
        checks = [
            f"x json {verdict(row['python+json'] / ext, TARGETS['json'])}",
            f"x orjson {verdict(row['python+orjson'] / ext, TARGETS['orjson'])}",
            f"floor {verdict(ext / row['floor'], TARGETS['floor'], higher_is_better=False)}",
        ]
        if "peak" in row:
            ratio = row["peak"]["extension"] / 1e6 / (row["input_mb"] + row["output_mb"])
            checks.append(f"memory {verdict(ratio, TARGETS['memory'], higher_is_better=False)}")
        print(f"{row['feed']:<26}" + ", ".join(checks))
    for row in single_rows:
        print(f"{row['method']:<26}x json "
              f"{verdict(row['python+json'] / row['extension'], TARGETS['single'])}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--fares", type=int, default=100_000, help="fares per batch input")
    parser.add_argument("--runs", type=int, default=5, help="timed runs per case (best counts)")
    parser.add_argument("--single-fares", type=int, default=2_000,
                        help="distinct fares per single-fare timing run")
    parser.add_argument("--no-memory", action="store_true", help="skip the memory subprocesses")
    parser.add_argument("--memory-case", nargs=3, metavar=("METHOD", "IMPLEMENTATION", "INPUT"),
                        help=argparse.SUPPRESS)
    options = parser.parse_args()
    if options.memory_case:
        memory_case(*options.memory_case)
        return

    print(f"Python {sys.version.split()[0]}, orjson {orjson.__version__}, "
          f"{os.cpu_count()} CPUs; {options.fares:,} fares, best of {options.runs} runs")
    batch_rows = []
    single_rows = []
    with tempfile.TemporaryDirectory() as directory:
        for kind in ("flights", "packages"):
            fares = records(kind, options.fares)
            text = generate.to_json(fares)
            input_path = os.path.join(directory, f"{kind}.json")
            with open(input_path, "wb") as target:
                target.write(text.encode())
            fare_texts = [json.dumps(fare, ensure_ascii=False)
                          for fare in fares[:options.single_fares]]
            del fares
            for batch, single, feed_kind in FEEDS:
                if feed_kind != kind:
                    continue
                batch_rows.append(batch_row(batch, kind, text, input_path, options.runs,
                                            not options.no_memory))
                single_rows.append(single_row(single, fare_texts, options.runs))
                print(f"  measured {batch} and {single}", file=sys.stderr)
    print_report(batch_rows, single_rows, options.fares)


if __name__ == "__main__":
    main()
