// SPDX-License-Identifier: GPL-3.0-or-later
// The rows behind one file grid. A rebuild takes the names only; a row reads
// its file's size, date and attributes the first time one of those cells is
// wanted (drawn on screen or asked for by a command), so a rebuild costs no
// more than reading the directory, however many rows sit out of view. The
// cells are read in the folder the names were read from, held open, so they
// describe the listed files wherever the working directory has gone since.
// Every rebuild starts again from the disk. A folder of a hundred thousand
// files makes as many rows: each keeps its name and a few bytes, and the
// texts of its cells are made only when they are drawn or asked for.
#pragma once

#include "platform/FileAttributes.h"
#include "platform/FolderEntries.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The rows of one grid as a rebuild hands them over: the files' names one
// after another in one block, with a few bytes per row beside it. A row is
// shown under its file's name or under the start of it (a crypted file
// without ".cry"); the placeholder of an empty grid is a text with no file.
class GridRows {
public:
    // A file, shown under the first `shown` bytes of its name.
    void Add(std::string_view fileName, std::size_t shown);
    void Add(std::string_view fileName) { Add(fileName, fileName.size()); }
    void AddPlaceholder(std::string_view text);
    void Reserve(std::size_t rows, std::size_t bytes);

    int Count() const { return static_cast<int>(entries_.size()); }
    bool Empty() const { return entries_.empty(); }
    // Column 0, as the grid shows it.
    std::string_view Name(int row) const;
    // The file behind the row; empty for the placeholder.
    std::string_view FileName(int row) const;

private:
    struct Entry {
        uint32_t offset;
        uint32_t size;  // of the file's name; 0 for the placeholder
        uint32_t shown; // of the shown name
    };
    std::string text_;
    std::vector<Entry> entries_;
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
    int RowCount() const { return rows_.Count(); }
    std::string_view Name(int dataRow) const { return rows_.Name(dataRow); }
    // Empty for the placeholder.
    std::string_view FileName(int dataRow) const { return rows_.FileName(dataRow); }
    // The row of the file, from 0; -1 when none is.
    int RowOfFile(std::string_view fileName) const;
    // The file row shown exactly as `name`, else the first shown so when
    // case is ignored; -1 when none is.
    int RowShownAs(std::string_view name) const;

    // Replaces every row at once; the files are in `folder`, or in the
    // working directory when it is null.
    void SetRows(GridRows rows, std::shared_ptr<const OpenFolder> folder = {});

    // Reads the size, date and attributes of the row's file. A file that
    // can't be opened keeps them empty.
    void FillRow(int dataRow) const;

    // Reads the rows first to last (from 0) where not read yet, and gives the
    // number of digits of the widest size among all rows read since the
    // last rebuild; 0 when none has a size.
    int WidestSizeDigits(int first, int last) const;

private:
    // What FillRow found for a row: kUnread, kNoInformation, or the
    // information's place in information_ plus kFirstRead.
    static constexpr uint32_t kUnread = 0;
    static constexpr uint32_t kNoInformation = 1;
    static constexpr uint32_t kFirstRead = 2;
    // Null when the row has none.
    const FileInformation* Information(int dataRow) const;

    GridRows rows_;
    std::shared_ptr<const OpenFolder> folder_;
    mutable std::vector<uint32_t> read_;
    mutable std::vector<FileInformation> information_;
    mutable int widestDigits_ = 0;
};

} // namespace kelvane
