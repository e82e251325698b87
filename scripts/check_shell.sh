#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs shellcheck over every tracked shell script: the *.sh files, the bash
# completion and the scripts without an extension whose shebang names a
# shell (.ci/run). The zsh completion is left out: shellcheck reads no zsh.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts=()
while IFS= read -r -d '' file; do
    # The name alone decides: .ci/run has a dot in its folder, none in its name.
    case "${file##*/}" in
        *.sh | *.bash) scripts+=("$file") ;;
        *.*) ;;
        *) if [ -f "$file" ] && head -n 1 "$file" | grep -qE '^#!.*\b(ba|da)?sh\b'; then scripts+=("$file"); fi ;;
    esac
done < <(git ls-files -z)

# -x follows the files a script sources, so their variables count as set.
shellcheck -x "${scripts[@]}"
echo "shell: ${#scripts[@]} scripts pass shellcheck"
