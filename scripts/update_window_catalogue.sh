#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings the window's Qt Linguist catalogues (translations/kelvane_*.ts) up
# to date with the sources: new texts are added as unfinished, texts that
# are gone are dropped. With a folder argument the catalogues there are
# updated instead (the check works on a copy).
set -euo pipefail
cd "$(dirname "$0")/.."

catalogues=${1:-translations}
lupdate=$(command -v lupdate6 || true)
[ -n "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate

# The window's own layers, and the lower layers whose texts it shows. The
# command line's texts (src/cli) have their gettext catalogue.
# Tr and KELVANE_TR_NOOP are the program's own names for Qt's translate
# and QT_TRANSLATE_NOOP, and take the same arguments.
"$lupdate" -silent -locations none -no-obsolete \
    -tr-function-alias translate+=Tr,QT_TRANSLATE_NOOP+=KELVANE_TR_NOOP \
    -extensions cpp,h \
    src/app src/ui src/commands src/engine src/platform src/crypto \
    -ts "$catalogues"/kelvane_de.ts "$catalogues"/kelvane_fr.ts "$catalogues"/kelvane_es.ts
