#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages render without a warning from man and groff, and each has
# the sections a reader looks for.
#   man_pages.sh PAGE...
set -euo pipefail
status=0
for page in "$@"; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || true
    if [ -n "$warnings" ]; then
        echo "$page: $warnings" >&2
        status=1
    fi
    text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION "SEE ALSO"; do
        grep -q "^$section" <<<"$text" || { echo "$page: no $section section" >&2; status=1; }
    done
    if grep -q '@' <<<"$text"; then
        echo "$page: a placeholder was left unfilled" >&2
        status=1
    fi
done
exit $status
