#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own, or a
# CMake target links one. The layers, lowest first:
#   crypto <- platform <- engine <- commands <- ui <- app;  cli on engine and below.
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

status=0
for dir in src/*; do
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
done
[ $status -eq 0 ] && echo "layers: every include and link points down"
exit $status
