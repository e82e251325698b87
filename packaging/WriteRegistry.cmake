# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the system registry file from its template, with the data directory
# as a registry string holds it (backslashes and quotes escaped).
#   KELVANE_REG_TEMPLATE  the template
#   KELVANE_REG_OUTPUT    the file to write
#   KELVANE_DATA_DIR      where kelvane-document.svg and the help file live
string(REPLACE "\\" "\\\\" KELVANE_REG_DATADIR "${KELVANE_DATA_DIR}")
string(REPLACE "\"" "\\\"" KELVANE_REG_DATADIR "${KELVANE_REG_DATADIR}")
configure_file("${KELVANE_REG_TEMPLATE}" "${KELVANE_REG_OUTPUT}" @ONLY)
