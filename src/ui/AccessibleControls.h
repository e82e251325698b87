// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told about the program's own controls, where Qt's
// own accessible interfaces would tell it something else: the file grids
// without their hidden parking column, the folder list as the tree it
// draws, the drive box by its name, the progress figures by their captions.
#pragma once

#include <QModelIndex>

class QLabel;

namespace kelvane {

// Installs the interfaces once; each control of ours calls it when made, so
// they are in place before anything asks for one.
void InstallAccessibleControls();

// The child number a file grid's accessible table gives the cell at `index`:
// its heading row first, four columns a row. A cell of the parking column
// counts as its row's Name cell.
int AccessibleGridChild(const QModelIndex& index);

// The figure is heard as "Elapsed: 00:01:05": its caption, then what it shows.
void TieFigureToCaption(QLabel& figure, const QLabel& caption);

} // namespace kelvane
