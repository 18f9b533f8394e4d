#!/usr/bin/env bash
# Builds the libFuzzer targets against the core sources (no Python), with AddressSanitizer and
# UndefinedBehaviorSanitizer, into OUT_DIR (default: /tmp/vesk-fuzz).
#   fuzz/build.sh [OUT_DIR]
# CXX overrides the compiler (default: clang++-19; the core needs the C++23 <expected> of
# libstdc++, which older clang releases cannot compile).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-/tmp/vesk-fuzz}"
cxx="${CXX:-clang++-19}"
targets=(flight_fare_read flight_fares_read package_fare_read package_fares_read batch_feeds)

# Undefined behaviour aborts as a memory error does, so that libFuzzer keeps the input.
sanitize=(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
flags=(-std=c++23 -O1 -g -Wall -Wextra -I "$root/src")

# The core (every source of src/ and src/models/ but the Python module entry) and the checkers
# shared by the targets: coverage instrumentation, no libFuzzer main.
sources=("$root"/src/*.cpp "$root"/src/models/*.cpp "$root"/fuzz/xml_tree.cpp "$root"/fuzz/expected_items.cpp)
mkdir -p "$out/objects"
objects=()
for source in "${sources[@]}"; do
    [[ "$source" == "$root/src/lib.cpp" ]] && continue
    relative="${source#"$root"/}"
    object="$out/objects/${relative//\//_}.o"
    objects+=("$object")
    # At most one compiler per core at a time.
    while (( $(jobs -rp | wc -l) >= $(nproc) )); do wait -n; done
    "$cxx" "${flags[@]}" "${sanitize[@]}" -fsanitize=fuzzer-no-link -c "$source" -o "$object" &
done
while (( $(jobs -rp | wc -l) > 0 )); do wait -n; done

for target in "${targets[@]}"; do
    while (( $(jobs -rp | wc -l) >= $(nproc) )); do wait -n; done
    "$cxx" "${flags[@]}" "${sanitize[@]}" -fsanitize=fuzzer -I "$root/fuzz" \
        "$root/fuzz/$target.cpp" "${objects[@]}" -o "$out/$target" &
done
while (( $(jobs -rp | wc -l) > 0 )); do wait -n; done
echo "fuzz targets in $out: ${targets[*]}"
