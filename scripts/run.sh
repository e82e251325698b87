#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Kelvane 95 and starts it on its built-in defaults.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

if [ -x build/bin/kelvane ]; then
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "kelvane: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
        exit 1
    fi
    exec build/bin/kelvane "$@"
fi
exec build/bin/kelvane-cli --help
