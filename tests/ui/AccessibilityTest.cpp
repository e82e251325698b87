// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader hears: every control that can take the keyboard focus,
// in every window of the program, has a name, and the main window's grids,
// folder list, drive box and progress panel say what they show.
#include "WindowFixture.h"
#include "ui/AboutDialog.h"
#include "ui/AccessibleControls.h"
#include "ui/ComboChangeDialog.h"
#include "ui/Controls.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/EncryptDialog.h"
#include "ui/HelpWindow.h"
#include "ui/PasswordPromptDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

using testing_support::WindowTest;

// The focusable controls of `window` whose accessible name is empty. A
// control that hands its focus to another (a spin box's text field) is
// named by that one.
std::vector<std::string> Unnamed(QWidget& window) {
    std::vector<std::string> unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() != &window || widget->focusPolicy() == Qt::NoFocus ||
            widget->focusProxy() != nullptr)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.push_back(widget->metaObject()->className() + std::string(" at ") +
                              std::to_string(widget->x()) + "," + std::to_string(widget->y()));
    }
    return unnamed;
}

class AccessibilityTest : public WindowTest {};

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

TEST_F(AccessibilityTest, EveryFocusableControlOfEveryWindowHasAName) {
    TMainWin& main = Open();
    TEncrypt encrypt;
    TDecrypt decrypt;
    TAbout about;
    TPreferences preferences;
    TDelDialog deletion;
    TPasswordPrompt prompt;
    TComboChange drive(drives);
    THelpWindow help;
    for (QWidget* topLevel : std::initializer_list<QWidget*>{
             &main, &encrypt, &decrypt, &about, &preferences, &deletion, &prompt, &drive, &help}) {
        SCOPED_TRACE(topLevel->windowTitle().toStdString());
        EXPECT_EQ(Unnamed(*topLevel), std::vector<std::string>{});
    }
    // The grids are named by the captions over them.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(main.StringGrid2)->text(QAccessible::Name),
              "Crypted files");
}

TEST_F(AccessibilityTest, AGridShowsItsFourColumnsWithTheirTextsUnpadded) {
    scratch.Write("plain.txt", 1234);
    scratch.Write("secret.cry", 7);
    TMainWin& main = Open();
    for (TStringGrid* grid : {main.StringGrid1, main.StringGrid2}) {
        SCOPED_TRACE(grid->accessibleName().toStdString());
        QAccessibleInterface* table = Accessible(grid);
        ASSERT_NE(table->tableInterface(), nullptr);
        QAccessibleTableInterface& cells = *table->tableInterface();
        EXPECT_EQ(cells.rowCount(), 1);
        ASSERT_EQ(cells.columnCount(), 4);
        ASSERT_EQ(table->childCount(), 2 * 4); // the heading row and the file's row
        const char* const headings[] = {"Name", "Size", "Date", "Attr"};
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(cells.columnDescription(column), headings[column]);
            QAccessibleInterface* heading = table->child(column);
            ASSERT_NE(heading, nullptr);
            EXPECT_EQ(heading->role(), QAccessible::ColumnHeader);
            EXPECT_EQ(heading->text(QAccessible::Name), headings[column]);
            // Every cell is found again where it says it is.
            QAccessibleInterface* cell = cells.cellAt(0, column);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->role(), QAccessible::Cell);
            EXPECT_EQ(cell->parent(), table);
            EXPECT_EQ(table->child(table->indexOfChild(cell)), cell);
            EXPECT_EQ(table->indexOfChild(cell), 4 + column);
            EXPECT_EQ(cell->tableCellInterface()->columnIndex(), column);
            EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 0);
            EXPECT_EQ(cell->text(QAccessible::Name),
                      QString::fromStdString(grid->Cells(column, 1)).trimmed());
        }
        EXPECT_EQ(table->child(4 * 2), nullptr);
        EXPECT_EQ(cells.cellAt(0, 4), nullptr);
    }
    // A size is heard as the number, without the blanks that align it.
    EXPECT_EQ(Accessible(main.StringGrid1)->tableInterface()->cellAt(0, 1)->text(QAccessible::Name),
              "1234");
    EXPECT_EQ(Accessible(main.StringGrid2)->tableInterface()->cellAt(0, 1)->text(QAccessible::Name),
              "7");
}

TEST_F(AccessibilityTest, AGridParkedBehindItsLastColumnIsHeardOnTheRowsName) {
    scratch.Write("first.txt", 1);
    scratch.Write("second.txt", 2);
    TMainWin& main = Open();
    TStringGrid& grid = *main.StringGrid1;
    grid.SetCurrentCell(2, 2);
    QAccessibleInterface* table = Accessible(&grid);
    ASSERT_NE(table->focusChild(), nullptr);
    EXPECT_EQ(table->focusChild(), table->tableInterface()->cellAt(1, 2));

    // Parked, as the grid without the focus is: the row is still the one the
    // grid comes back to, and it is named by its file.
    grid.SetCurrentCell(4, 2);
    QAccessibleInterface* parked = table->focusChild();
    ASSERT_NE(parked, nullptr);
    EXPECT_EQ(parked, table->tableInterface()->cellAt(1, 0));
    EXPECT_EQ(parked->text(QAccessible::Name), "second.txt");
    // Whole rows selected: the hidden column is no cell of theirs.
    grid.SetRowSelect(true);
    EXPECT_EQ(table->tableInterface()->selectedCellCount(), 4);
    for (QAccessibleInterface* cell : table->tableInterface()->selectedCells())
        EXPECT_LT(cell->tableCellInterface()->columnIndex(), 4);
    EXPECT_EQ(table->tableInterface()->selectedRows(), QList<int>{1});
    EXPECT_EQ(table->tableInterface()->selectedColumnCount(), 0);

    // The grid announces its moves by child number (the view's own would
    // count the hidden column): they must point at the cells the table has.
    for (int column = 0; column < TFileGridModel::kColumns; ++column) {
        SCOPED_TRACE(column);
        const int child = AccessibleGridChild(grid.Model().index(1, column));
        EXPECT_EQ(table->child(child), table->tableInterface()->cellAt(1, column % 4));
    }
}

TEST_F(AccessibilityTest, TheFolderListIsHeardAsATreeOpenDownToTheCurrentFolder) {
    scratch.MakeFolder("inner");
    scratch.MakeFolder("other");
    TMainWin& main = Open();
    TDirectoryListBox& folders = *main.DirectoryListBox1;
    QAccessibleInterface* list = Accessible(&folders);
    EXPECT_EQ(list->role(), QAccessible::Tree);
    ASSERT_EQ(list->childCount(), folders.count());
    const int current = folders.count() - 3; // the scratch folder, then its two
    for (int row = 0; row < folders.count(); ++row) {
        SCOPED_TRACE(row);
        QAccessibleInterface* item = list->child(row);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->role(), QAccessible::TreeItem);
        EXPECT_EQ(item->parent(), list);
        EXPECT_EQ(list->indexOfChild(item), row);
        EXPECT_EQ(item->text(QAccessible::Name), folders.item(row)->text());
        const int level = row <= current ? row + 1 : current + 2;
        EXPECT_EQ(item->text(QAccessible::Description), "level " + QString::number(level));
        const QAccessible::State state = item->state();
        EXPECT_TRUE(state.expandable);
        EXPECT_EQ(bool(state.expanded), row <= current);
        EXPECT_EQ(bool(state.collapsed), row > current);
        EXPECT_EQ(bool(state.focused), row == folders.currentRow());
        EXPECT_EQ(bool(state.selected), row == folders.currentRow());
    }
    EXPECT_EQ(list->child(current + 1)->text(QAccessible::Name), "inner");
    EXPECT_EQ(list->focusChild(), list->child(current));
    // A folder entered lists again; its items are heard as they are now.
    folders.SetDirectory(scratch.Path() + "/inner");
    ASSERT_EQ(list->childCount(), current + 2);
    EXPECT_EQ(list->child(current + 1)->text(QAccessible::Name), "inner");
    EXPECT_TRUE(list->child(current + 1)->state().expanded);
}

TEST_F(AccessibilityTest, TheDriveBoxIsNamedDriveAndHoldsTheDriveAsItsValue) {
    TMainWin& main = Open();
    TComboChange change(drives);
    change.DriveComboBox1->SetVolumes(drives.volumes);
    change.DriveComboBox1->Select(0);
    for (TDriveComboBox* box : {main.DriveComboBox1, change.DriveComboBox1}) {
        QAccessibleInterface* accessible = Accessible(box);
        EXPECT_EQ(accessible->role(), QAccessible::ComboBox);
        EXPECT_EQ(accessible->text(QAccessible::Name), "Drive");
        EXPECT_FALSE(box->currentText().isEmpty());
        EXPECT_EQ(accessible->text(QAccessible::Value), box->currentText());
        // The drop-down list is the box's one child.
        ASSERT_EQ(accessible->childCount(), 1);
        EXPECT_EQ(accessible->child(0)->object(), box->view());
        EXPECT_EQ(accessible->indexOfChild(accessible->child(0)), 0);
    }
}

TEST_F(AccessibilityTest, TheProgressPanelSaysWhatEachBarAndFigureMeasures) {
    TMainWin& main = Open();
    EXPECT_EQ(Accessible(main.ProgressBar1)->text(QAccessible::Name), "Plain file");
    EXPECT_EQ(Accessible(main.ProgressBar2)->text(QAccessible::Name), "Crypted file");

    const std::pair<QLabel*, QLabel*> figures[] = {
        {main.Label11, main.Label9},  {main.Label12, main.Label10}, {main.Label14, main.Label13},
        {main.Label16, main.Label15}, {main.Label18, main.Label17}, {main.Label20, main.Label19}};
    for (const auto& [figure, caption] : figures) {
        SCOPED_TRACE(caption->text().toStdString());
        const QString name = caption->text().chopped(1);
        EXPECT_EQ(Accessible(figure)->text(QAccessible::Name), name);
        figure->setText("12 KBytes");
        EXPECT_EQ(Accessible(figure)->text(QAccessible::Name), name + ": 12 KBytes");
        EXPECT_EQ(Accessible(figure)->text(QAccessible::Value), "12 KBytes");
        // What is seen stays as it was.
        EXPECT_EQ(figure->text(), "12 KBytes");
    }
    // The captions themselves read as before.
    EXPECT_EQ(Accessible(main.Label9)->text(QAccessible::Name), "Elapsed:");
}

} // namespace
} // namespace kelvane
