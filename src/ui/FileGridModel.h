// The rows behind one file grid. A row keeps the file's information, not
// its text; the cells are formatted when the view asks for them, so a
// directory of many files is listed without formatting every cell.
#pragma once

#include "platform/FileAttributes.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

struct GridRow {
    std::string Name;      // column 0, as the grid shows it
    bool HaveInfo = false; // false: Size, Date and Attr stay empty
    FileInformation Info;
    std::string FileName; // the file behind the row when it is not Name itself
};

// Size: right-aligned in 10 characters; longer numbers are written whole,
// sizes of 2 GB and more included.
std::string SizeText(uint64_t size);
// Date: dd.mm.yyyy hh:mm, the last-write time in UTC.
std::string DateText(const FileInformation& info);

class TFileGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 5;
    static constexpr const char* kNoFiles = "[no files]";

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

private:
    std::vector<GridRow> rows_;
};

} // namespace kelvane
