// The rows behind one file grid. A row keeps the file's information, not
// its text; the cells are formatted when the view asks for them, so a
// directory of many files is listed without formatting every cell.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

// Attribute bits of a file, as the Attr column shows them.
constexpr unsigned kAttrReadOnly = 0x01;
constexpr unsigned kAttrHidden = 0x02;
constexpr unsigned kAttrSystem = 0x04;
constexpr unsigned kAttrArchive = 0x20;

struct GridRow {
    std::string Name; // column 0, as the grid shows it
    bool HaveInfo = false; // false: Size, Date and Attr stay empty
    int64_t Size = 0;
    int64_t WriteTime = 0; // seconds since 1970, UTC
    unsigned Attributes = 0;
};

// Size: right-aligned in 10 characters; longer numbers are written whole.
std::string SizeText(int64_t size);
// Date: dd.mm.yyyy hh:mm of the time in UTC.
std::string DateText(int64_t writeTime);
// Attr: "----" with A, H, R, S in positions 1 to 4 when set.
std::string AttrText(unsigned attributes);

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
