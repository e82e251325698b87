#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Kelvane 95 and runs the whole test suite.
#   scripts/test.sh          the default build (build/)
#   scripts/test.sh asan     the same suite under AddressSanitizer and UBSan (build-asan/)
#   scripts/test.sh ci       the default build with warnings as errors (build-ci/)
#   scripts/test.sh ci-asan  the sanitizer build with warnings as errors (build-ci-asan/)
#   scripts/test.sh tsan     the engine, platform and CLI tests under ThreadSanitizer (build-tsan/)
#   scripts/test.sh ci-tsan  the same with warnings as errors (build-ci-tsan/)
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
scripts/deps.sh
# KELVANE_WERROR=ON or OFF in the environment overrides the preset's choice
# for a local build; CI takes the ci presets, which turn warnings into errors.
werror=()
if [ -n "${KELVANE_WERROR:-}" ]; then
    werror=(-DKELVANE_WERROR="$KELVANE_WERROR")
fi
cmake --preset "$preset" "${werror[@]}" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
