#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy with the repository's .clang-tidy over every source file of
# the program, two at a time, with the compile commands of a configured build
# (default build-ci/). Any finding fails: the checks treat warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-ci}"
if ! command -v clang-tidy >/dev/null; then
    echo "tidy.sh: clang-tidy is missing; scripts/deps.sh installs it" >&2
    exit 1
fi
[ -f "$build/compile_commands.json" ] || {
    echo "tidy.sh: $build/compile_commands.json is missing; configure the build first" >&2
    exit 1
}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
started=$(date +%s)
if ! git ls-files 'src/*.cpp' | xargs -P 2 -n 4 clang-tidy -p "$build" --quiet >"$log" 2>&1; then
    grep -E -A 4 '(error|warning):' "$log" | grep -v 'warnings generated' >&2 || cat "$log" >&2
    echo "tidy: clang-tidy found faults" >&2
    exit 1
fi
echo "tidy: $(git ls-files 'src/*.cpp' | wc -l) files clean in $(($(date +%s) - started)) s"
