// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DirectoryListBox.h"

#include "commands/FileListBox.h"
#include "platform/Paths.h"
#include "ui/AccessibleControls.h"
#include "ui/Keyboard.h"

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <unistd.h>
#include <vector>

namespace kelvane {
namespace {

constexpr int kDepthRole = Qt::UserRole;
constexpr int kIndent = 8;
constexpr int kItemHeight = 16;

// Indents each folder by its depth below the root.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kDepthRole).toInt() * kIndent, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(size.width() + index.data(kDepthRole).toInt() * kIndent);
        size.setHeight(kItemHeight);
        return size;
    }
};

QString Display(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
    InstallAccessibleControls();
    setItemDelegate(new IndentDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        setCurrentItem(item);
        emit OpenRequested();
    });
}

bool TDirectoryListBox::SetDirectory(const std::string& directory) {
    if (directory.empty() || ::chdir(directory.c_str()) != 0)
        return false;
    std::string entered = CurrentDirectory();
    if (entered.empty())
        entered = directory;
    const bool changed = entered != directory_;
    directory_ = std::move(entered);
    Fill(changed);
    if (changed)
        emit Changed();
    return true;
}

void TDirectoryListBox::Update() {
    Fill(false);
}

void TDirectoryListBox::Fill(bool entered) {
    clear();
    paths_.clear();
    if (openIcon_.isNull() || closedIcon_.isNull()) {
        openIcon_ = style()->standardIcon(QStyle::SP_DirOpenIcon);
        closedIcon_ = style()->standardIcon(QStyle::SP_DirClosedIcon);
    }
    const QIcon& open = openIcon_;
    const QIcon& closed = closedIcon_;

    // The folders from the root down to the current one.
    std::vector<std::string> chain{"/"};
    for (std::size_t start = 1; start < directory_.size();) {
        std::size_t slash = directory_.find('/', start);
        if (slash == std::string::npos)
            slash = directory_.size();
        if (slash > start)
            chain.push_back(directory_.substr(0, slash));
        start = slash + 1;
    }
    int depth = 0;
    for (const std::string& path : chain) {
        auto* item = new QListWidgetItem(open, Display(path == "/" ? path : NamePart(path)), this);
        item->setData(kDepthRole, depth++);
        paths_.push_back(path);
    }
    directoryRow_ = count() - 1;
    setCurrentRow(directoryRow_);

    // Its subfolders; hidden ones stay out of the list, as hidden files stay
    // out of a folder view.
    TFileListBox own(TFileListBox::Contents::Folders);
    const std::vector<std::string>* subfolders = &own.Names();
    if (entered && files_ != nullptr) {
        files_->ReadDirectory(directory_);
        subfolders = &files_->Subfolders();
    } else {
        own.ReadDirectory(directory_);
    }
    for (const std::string& name : *subfolders) {
        if (name.front() == '.')
            continue;
        auto* item = new QListWidgetItem(closed, Display(name), this);
        item->setData(kDepthRole, depth);
        paths_.push_back(JoinPath(directory_, name));
    }
}

std::string TDirectoryListBox::ItemPath(int row) const {
    if (row < 0 || row >= static_cast<int>(paths_.size()))
        return {};
    return paths_[static_cast<std::size_t>(row)];
}

int TDirectoryListBox::Depth(int row) const {
    const QListWidgetItem* folder = item(row);
    return folder != nullptr ? folder->data(kDepthRole).toInt() : 0;
}

std::string TDirectoryListBox::HighlightedPath() const {
    const int row = currentRow();
    return row >= 0 ? ItemPath(row) : directory_;
}

void TDirectoryListBox::HighlightDirectory() {
    if (directoryRow_ >= 0 && currentRow() != directoryRow_)
        setCurrentRow(directoryRow_);
}

void TDirectoryListBox::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() != QEvent::StyleChange)
        return;
    openIcon_ = style()->standardIcon(QStyle::SP_DirOpenIcon);
    closedIcon_ = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (int row = 0; row < count(); ++row)
        item(row)->setIcon(row <= directoryRow_ ? openIcon_ : closedIcon_);
}

void TDirectoryListBox::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        emit Entered();
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit OpenRequested();
        return;
    }
    if (IsContextMenuKey(*event)) {
        const QRect item = visualItemRect(currentItem());
        emit customContextMenuRequested(item.isValid() ? item.center() : QPoint(8, 8));
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace kelvane
