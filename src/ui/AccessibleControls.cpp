// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AccessibleControls.h"

#include "ui/AccessibleGrid.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/StringGrid.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QPointer>

namespace kelvane {
namespace {

// The property that marks a label as a figure, holding its caption.
constexpr const char* kCaptionProperty = "kelvaneFigureCaption";

// A folder of the folder list as the tree item it is drawn as: its level
// below the root, and open down to the current folder while the current
// folder's subfolders are closed. Qt 6.4 passes no level of an item on to
// a screen reader, so the level is the item's description, spoken with the
// item ("tmp, expanded, level 2"); the root is level 1, as in a tree view.
class FolderItem : public QAccessibleInterface {
public:
    FolderItem(TDirectoryListBox* folders, int row) : folders_(folders), row_(row) {}

    bool isValid() const override { return folders_ != nullptr && row_ < folders_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return folders_ != nullptr ? folders_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(folders_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::TreeItem; }

    QString text(QAccessible::Text type) const override {
        if (!isValid())
            return {};
        if (type == QAccessible::Name)
            return folders_->item(row_)->text();
        if (type == QAccessible::Description)
            //: how deep a folder lies in the folder list; %1 is a number.
            return QCoreApplication::translate("AccessibleControls", "level %1")
                .arg(folders_->Depth(row_) + 1);
        return {};
    }

    QRect rect() const override {
        if (!isValid())
            return {};
        return folders_->visualItemRect(folders_->item(row_))
            .translated(folders_->viewport()->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = folders_->item(row_)->isSelected();
        state.focused = folders_->currentRow() == row_;
        // Any folder may hold others; whether it does is only read on entering it.
        state.expandable = true;
        const bool open = row_ <= folders_->DirectoryRow();
        state.expanded = open;
        state.collapsed = !open;
        if (!folders_->viewport()->rect().intersects(
                folders_->visualItemRect(folders_->item(row_))))
            state.invisible = true;
        return state;
    }

    int Row() const { return row_; }

private:
    QPointer<TDirectoryListBox> folders_;
    int row_;
};

// The folder list, a tree of its items numbered by their rows, as the list's
// own announcements of the current item number them.
class FolderTree : public QAccessibleWidget {
public:
    explicit FolderTree(TDirectoryListBox* folders)
        : QAccessibleWidget(folders, QAccessible::Tree) {}
    ~FolderTree() override {
        for (QAccessible::Id id : std::as_const(items_))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return Folders().count(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = items_.constFind(index); known != items_.constEnd())
            return QAccessible::accessibleInterface(*known);
        auto* item = new FolderItem(&Folders(), index);
        items_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const FolderItem*>(child);
        return item != nullptr && item->parent() == this ? item->Row() : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QModelIndex index =
            Folders().indexAt(Folders().viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }

    QAccessibleInterface* focusChild() const override { return child(Folders().currentRow()); }

private:
    TDirectoryListBox& Folders() const { return *static_cast<TDirectoryListBox*>(widget()); }

    mutable QHash<int, QAccessible::Id> items_; // by row
};

// The drive box: named "Drive" as its label says, its value the drive
// shown. Qt's own combo box on Linux gives the value as the name, leaving
// the name to a label relation the box has none of.
class DriveBox : public QAccessibleWidget {
public:
    explicit DriveBox(TDriveComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value)
            return Box().currentText();
        return QAccessibleWidget::text(type);
    }

    // The drop-down list, to be read while open.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Box().view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == Box().view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction())
            Box().showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    // As a combo box: opening the list is public there.
    QComboBox& Box() const { return *static_cast<QComboBox*>(widget()); }
};

// A figure of the progress panel, heard with its caption. The caption is a
// label of its own beside it. A reader like Orca speaks a label by its
// name, and speaks a label relation only for the control with the focus,
// which a figure never has; a name of the caption alone would hide the
// figure. So the name is both, and the value the figure alone.
class Figure : public QAccessibleWidget {
public:
    explicit Figure(QLabel* figure) : QAccessibleWidget(figure, QAccessible::StaticText) {}

    QString text(QAccessible::Text type) const override {
        QString shown = static_cast<QLabel*>(widget())->text();
        if (type == QAccessible::Value)
            return shown;
        if (type != QAccessible::Name)
            return QAccessibleWidget::text(type);
        const QString caption = widget()->property(kCaptionProperty).toString();
        return shown.isEmpty() ? caption : caption + QStringLiteral(": ") + shown;
    }
};

bool Is(const QString& className, const QMetaObject& type) {
    return className == QLatin1String(type.className());
}

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
    if (Is(className, TStringGrid::staticMetaObject))
        return new AccessibleGrid(static_cast<TStringGrid*>(object));
    if (Is(className, TDirectoryListBox::staticMetaObject))
        return new FolderTree(static_cast<TDirectoryListBox*>(object));
    if (Is(className, TDriveComboBox::staticMetaObject))
        return new DriveBox(static_cast<TDriveComboBox*>(object));
    // Any other label is left to Qt.
    if (Is(className, QLabel::staticMetaObject) && object->property(kCaptionProperty).isValid())
        return new Figure(static_cast<QLabel*>(object));
    return nullptr;
}

} // namespace

void InstallAccessibleControls() {
    static const bool installed = [] {
        QAccessible::installFactory(&MakeAccessible);
        return true;
    }();
    (void)installed;
}

void TieFigureToCaption(QLabel& figure, const QLabel& caption) {
    InstallAccessibleControls();
    QString name = caption.text();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    name = name.trimmed(); // French sets a space before the colon
    figure.setProperty(kCaptionProperty, name);
}

} // namespace kelvane
