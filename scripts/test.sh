#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Kelvane 95 and runs the whole test suite.
#   scripts/test.sh          the default build (build/)
#   scripts/test.sh asan     the same suite under AddressSanitizer and UBSan (build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
scripts/deps.sh
# KELVANE_WERROR=ON in the environment turns warnings into errors (CI does).
cmake --preset "$preset" -DKELVANE_WERROR="${KELVANE_WERROR:-OFF}" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
