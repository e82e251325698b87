// SPDX-License-Identifier: GPL-3.0-or-later
// The rows behind one file grid. A rebuild takes the names only; a row reads
// its file's size, date and attributes the first time one of those cells is
// wanted (drawn on screen or asked for by a command), so a rebuild costs no
// more than reading the directory, however many rows sit out of view. The
// cells are read in the folder the names were read from, held open, so they
// describe the listed files wherever the working directory has gone since.
// Every rebuild starts again from the disk.
#pragma once

#include "platform/FileAttributes.h"
#include "platform/FolderEntries.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvane {

struct GridRow {
    std::string Name;     // column 0, as the grid shows it
    std::string FileName; // the file behind the row; empty for the placeholder
    // The folder FileName is in; null: the working directory.
    std::shared_ptr<const OpenFolder> Folder;
    mutable bool InfoRead = false;
    mutable bool HaveInfo = false; // false: Size, Date and Attr stay empty
    mutable FileInformation Info;
};

// Size: right-aligned in 10 characters; longer numbers are written whole,
// sizes of 2 GB and more included.
std::string SizeText(uint64_t size);
// Date: dd.mm.yyyy hh:mm, the last-write time in local time.
std::string DateText(const FileInformation& info);

class TFileGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 5;
    static constexpr const char* kNoFiles = QT_TRANSLATE_NOOP("FileGridModel", "[no files]");

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of a cell; dataRow counts the file rows from 0.
    std::string CellText(int dataRow, int column) const;
    const GridRow& Row(int dataRow) const { return rows_[static_cast<std::size_t>(dataRow)]; }
    int RowCount() const { return static_cast<int>(rows_.size()); }

    // Replaces every row at once.
    void SetRows(std::vector<GridRow> rows);

    // Reads the size, date and attributes of the row's file. A file that
    // can't be opened keeps them empty.
    void FillRow(const GridRow& row) const;

    // Reads the rows first to last (from 0) where not read yet, and gives the
    // number of digits of the widest size among all rows read since the
    // last rebuild; 0 when none has a size.
    int WidestSizeDigits(int first, int last) const;

private:
    std::vector<GridRow> rows_;
    mutable int widestDigits_ = 0;
};

} // namespace kelvane
