// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileGridModel.h"

#include "crypto/AsciiCase.h"

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

void GridRows::Add(std::string_view fileName, std::size_t shown) {
    entries_.push_back({static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(fileName.size()),
                        static_cast<uint32_t>(std::min(shown, fileName.size()))});
    text_.append(fileName);
}

void GridRows::AddPlaceholder(std::string_view text) {
    entries_.push_back(
        {static_cast<uint32_t>(text_.size()), 0, static_cast<uint32_t>(text.size())});
    text_.append(text);
}

void GridRows::Reserve(std::size_t rows, std::size_t bytes) {
    entries_.reserve(rows);
    text_.reserve(bytes);
}

std::string_view GridRows::Name(int row) const {
    const Entry& entry = entries_[static_cast<std::size_t>(row)];
    return std::string_view(text_).substr(entry.offset, entry.shown);
}

std::string_view GridRows::FileName(int row) const {
    const Entry& entry = entries_[static_cast<std::size_t>(row)];
    return std::string_view(text_).substr(entry.offset, entry.size);
}

std::string TFileGridModel::CellText(int dataRow, int column) const {
    if (dataRow < 0 || dataRow >= RowCount())
        return {};
    if (column == 0)
        return std::string(Name(dataRow));
    if (column < 1 || column > 3)
        return {};
    if (read_[static_cast<std::size_t>(dataRow)] == kUnread)
        FillRow(dataRow);
    const FileInformation* info = Information(dataRow);
    if (info == nullptr)
        return {};
    switch (column) {
    case 1:
        return SizeText(info->size);
    case 2:
        return DateText(*info);
    default:
        return AttributeText(info->attributes);
    }
}

const FileInformation* TFileGridModel::Information(int dataRow) const {
    const uint32_t read = read_[static_cast<std::size_t>(dataRow)];
    return read >= kFirstRead ? &information_[read - kFirstRead] : nullptr;
}

int TFileGridModel::RowOfFile(std::string_view fileName) const {
    if (fileName.empty())
        return -1;
    for (int row = 0; row < RowCount(); ++row) {
        if (FileName(row) == fileName)
            return row;
    }
    return -1;
}

int TFileGridModel::RowShownAs(std::string_view name) const {
    for (int row = 0; row < RowCount(); ++row) {
        if (!FileName(row).empty() && Name(row) == name)
            return row;
    }
    for (int row = 0; row < RowCount(); ++row) {
        if (!FileName(row).empty() && EqualIgnoringAsciiCase(Name(row), name))
            return row;
    }
    return -1;
}

QVariant TFileGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    // A name cut short in its column shows whole in its tooltip.
    const bool wholeName =
        role == Qt::ToolTipRole && index.column() == 0 && !FileName(index.row()).empty();
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

void TFileGridModel::FillRow(int dataRow) const {
    const std::string fileName(FileName(dataRow));
    FileInformation info;
    uint32_t& read = read_[static_cast<std::size_t>(dataRow)];
    read = kNoInformation;
    if (fileName.empty() ||
        !ReadFileInformationAt(folder_ ? folder_->Descriptor() : AT_FDCWD, fileName, info))
        return;
    information_.push_back(info);
    read = static_cast<uint32_t>(information_.size() - 1) + kFirstRead;
    widestDigits_ = std::max(widestDigits_, static_cast<int>(std::to_string(info.size).size()));
}

int TFileGridModel::WidestSizeDigits(int first, int last) const {
    for (int dataRow = std::max(0, first); dataRow <= std::min(last, RowCount() - 1); ++dataRow)
        if (read_[static_cast<std::size_t>(dataRow)] == kUnread)
            FillRow(dataRow);
    return widestDigits_;
}

void TFileGridModel::SetRows(GridRows rows, std::shared_ptr<const OpenFolder> folder) {
    beginResetModel();
    rows_ = std::move(rows);
    folder_ = std::move(folder);
    read_.assign(static_cast<std::size_t>(rows_.Count()), kUnread);
    information_.clear();
    information_.shrink_to_fit();
    widestDigits_ = 0;
    endResetModel();
}

} // namespace kelvane
