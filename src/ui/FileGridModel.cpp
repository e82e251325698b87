#include "ui/FileGridModel.h"

#include <QFile>

#include <cstdio>
#include <ctime>

namespace kelvane {
namespace {

const char* const kHeadings[TFileGridModel::kColumns] = {"Name", "Size", "Date", "Attr", ""};

} // namespace

std::string SizeText(int64_t size) {
    char text[32];
    std::snprintf(text, sizeof text, "%10lld", static_cast<long long>(size));
    return text;
}

std::string DateText(int64_t writeTime) {
    const std::time_t t = static_cast<std::time_t>(writeTime);
    std::tm fields{};
    if (gmtime_r(&t, &fields) == nullptr)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%2.2d.%2.2d.%2.2d %2.2d:%2.2d", fields.tm_mday,
                  fields.tm_mon + 1, fields.tm_year + 1900, fields.tm_hour, fields.tm_min);
    return text;
}

std::string AttrText(unsigned attributes) {
    std::string text = "----";
    if (attributes & kAttrArchive)
        text[0] = 'A';
    if (attributes & kAttrHidden)
        text[1] = 'H';
    if (attributes & kAttrReadOnly)
        text[2] = 'R';
    if (attributes & kAttrSystem)
        text[3] = 'S';
    return text;
}

int TFileGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int TFileGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

std::string TFileGridModel::CellText(int dataRow, int column) const {
    if (dataRow < 0 || dataRow >= RowCount())
        return {};
    const GridRow& row = Row(dataRow);
    switch (column) {
    case 0:
        return row.Name;
    case 1:
        return row.HaveInfo ? SizeText(row.Size) : std::string();
    case 2:
        return row.HaveInfo ? DateText(row.WriteTime) : std::string();
    case 3:
        return row.HaveInfo ? AttrText(row.Attributes) : std::string();
    default:
        return {};
    }
}

QVariant TFileGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const std::string text = CellText(index.row(), index.column());
    // Names are the file system's bytes; the other cells are ASCII.
    return QFile::decodeName(QByteArray::fromStdString(text));
}

QVariant TFileGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeadings[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void TFileGridModel::SetRows(std::vector<GridRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

} // namespace kelvane
