#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang (preset "fuzz", in build-fuzz/) and
# runs each for FUZZ_SECONDS (default 30: five targets stay within three
# minutes in CI) from the seeds in tests/fuzz/<target>/. FUZZ_TARGETS picks
# some of them, e.g. FUZZ_TARGETS="args bech32".
# Fails on any crash, hang or sanitizer report; the input that caused it is
# left in build-fuzz/artifacts/. Prints how many inputs each target ran.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-30}"
targets="${FUZZ_TARGETS:-cry reg recipients bech32 args}"
if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ is missing; scripts/deps.sh installs it" >&2
    exit 1
fi
[ -f build-fuzz/CMakeCache.txt ] || cmake --preset fuzz
cmake --build --preset fuzz

status=0
for target in $targets; do
    corpus="build-fuzz/corpus/$target"  # grows between runs; the seeds stay as committed
    artifacts="build-fuzz/artifacts/$target/"
    log="build-fuzz/fuzz-$target.log"
    mkdir -p "$corpus" "$artifacts"
    if "build-fuzz/bin/kelvane_fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -max_len=8192 -artifact_prefix="$artifacts" \
        "$corpus" "tests/fuzz/$target" >"$log" 2>&1; then
        result="no crash"
    else
        result="FAILED (see $log and $artifacts)"
        status=1
        tail -n 40 "$log" >&2
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "fuzz $target: ${executions:-?} executions in ${seconds} s, $result"
done
exit "$status"
