#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file includes a header from a layer above its own, or a
# CMake target links one, or a layer below the windows includes a Qt header.
# The layers, lowest first:
#   crypto <- platform <- engine <- commands <- ui <- app;
#   cli on engine, platform and crypto.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed() { # the layers a layer may use, itself included
    case "$1" in
        crypto) echo "crypto" ;;
        platform) echo "crypto platform" ;;
        engine) echo "crypto platform engine" ;;
        commands) echo "crypto platform engine commands" ;;
        ui) echo "crypto platform engine commands ui" ;;
        app) echo "crypto platform engine commands ui app" ;;
        cli) echo "crypto platform engine cli" ;;
    esac
}

# The layers that may use Qt: the windows and what starts them.
uses_qt() {
    case "$1" in
        ui | app) return 0 ;;
        *) return 1 ;;
    esac
}

status=0
for dir in src/*; do
    [ -d "$dir" ] || continue
    layer=$(basename "$dir")
    ok=" $(allowed "$layer") "
    [ "$ok" = "  " ] && continue
    while IFS=: read -r file line used; do
        if [[ "$ok" != *" $used "* ]]; then
            echo "$file:$line: $layer includes from $used" >&2
            status=1
        fi
    done < <(grep -rnoE '^#include "(crypto|platform|engine|commands|ui|app|cli)/' "$dir" |
        sed -E 's/#include "([a-z]+)\/.*/\1/')
    while IFS=: read -r file line used; do
        if [[ "$ok" != *" $used "* ]]; then
            echo "$file:$line: $layer links kelvane_$used" >&2
            status=1
        fi
    done < <(grep -noE 'kelvane_(crypto|platform|engine|commands|ui|cli)\b' "$dir/CMakeLists.txt" |
        grep -v ':[0-9]*:kelvane_'"$layer"'$' | sed -E 's/kelvane_//' | sed "s#^#$dir/CMakeLists.txt:#")
    if ! uses_qt "$layer"; then
        while IFS= read -r hit; do
            echo "$hit: $layer includes a Qt header" >&2
            status=1
        done < <(grep -rnE '^#include <Q' "$dir" || true)
        while IFS= read -r hit; do
            echo "$dir/CMakeLists.txt:$hit: $layer links Qt" >&2
            status=1
        done < <(grep -nE 'Qt6?::' "$dir/CMakeLists.txt" || true)
    fi
done
[ $status -eq 0 ] && echo "layers: every include and link points down; no Qt below the windows"
exit $status
