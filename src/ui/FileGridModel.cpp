// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileGridModel.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>

namespace kelvane {
namespace {

const char* const kHeadings[TFileGridModel::kColumns] = {
    QT_TRANSLATE_NOOP("FileGridModel", "Name"), QT_TRANSLATE_NOOP("FileGridModel", "Size"),
    QT_TRANSLATE_NOOP("FileGridModel", "Date"), QT_TRANSLATE_NOOP("FileGridModel", "Attr"), ""};

} // namespace

std::string SizeText(uint64_t size) {
    char text[32];
    static_cast<void>(
        std::snprintf(text, sizeof text, "%10llu", static_cast<unsigned long long>(size)));
    return text;
}

std::string DateText(const FileInformation& info) {
    char text[64];
    static_cast<void>(std::snprintf(text, sizeof text, "%2.2d.%2.2d.%2.2d %2.2d:%2.2d", info.day,
                                    info.month, info.year, info.hour, info.minute));
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
    if (column >= 1 && column <= 3 && !row.InfoRead)
        FillRow(row);
    switch (column) {
    case 0:
        return row.Name;
    case 1:
        return row.HaveInfo ? SizeText(row.Info.size) : std::string();
    case 2:
        return row.HaveInfo ? DateText(row.Info) : std::string();
    case 3:
        return row.HaveInfo ? AttributeText(row.Info.attributes) : std::string();
    default:
        return {};
    }
}

QVariant TFileGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    // A name cut short in its column shows whole in its tooltip.
    const bool wholeName =
        role == Qt::ToolTipRole && index.column() == 0 && !Row(index.row()).FileName.empty();
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    // A screen reader hears a size without the blanks that align it; a name
    // is heard as the file is named, blanks and all.
    const bool heard = role == Qt::AccessibleTextRole;
    if (role != Qt::DisplayRole && !wholeName && !heard)
        return {};
    std::string text = CellText(index.row(), index.column());
    if (heard && index.column() != 0)
        return QString::fromLatin1(QByteArray::fromStdString(text)).trimmed();
    // The field's leading blanks right-align the size in a column exactly
    // ten characters wide; the column is as wide as the sizes listed instead,
    // and the size stands at its right edge.
    if (index.column() == 1)
        text.erase(0, std::min(text.size(), text.find_first_not_of(' ')));
    // Names are the file system's bytes; the other cells are ASCII.
    return QFile::decodeName(QByteArray::fromStdString(text));
}

QVariant TFileGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole)
        return QCoreApplication::translate("FileGridModel", kHeadings[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void TFileGridModel::FillRow(const GridRow& row) const {
    row.InfoRead = true;
    row.HaveInfo = !row.FileName.empty() &&
                   ReadFileInformationAt(row.Folder ? row.Folder->Descriptor() : AT_FDCWD,
                                         row.FileName, row.Info);
    if (row.HaveInfo)
        widestDigits_ =
            std::max(widestDigits_, static_cast<int>(std::to_string(row.Info.size).size()));
}

int TFileGridModel::WidestSizeDigits(int first, int last) const {
    for (int dataRow = std::max(0, first); dataRow <= std::min(last, RowCount() - 1); ++dataRow)
        if (!Row(dataRow).InfoRead)
            FillRow(Row(dataRow));
    return widestDigits_;
}

void TFileGridModel::SetRows(std::vector<GridRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    widestDigits_ = 0;
    endResetModel();
}

} // namespace kelvane
