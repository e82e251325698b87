// SPDX-License-Identifier: GPL-3.0-or-later
// The main window from the keyboard: Enter and Delete on the grids' rows and
// the keys that open a control's context menu.
#include "SelectionFixture.h"
#include "ui/DirectoryListBox.h"

#include <QLabel>
#include <QMenu>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelvane {
namespace {

class KeyboardTest : public testing_support::SelectionTest {};

TEST_F(KeyboardTest, EnterOnARowDoesWhatADoubleClickDoes) {
    TMainWin& w = OpenWithFiles({"plan.txt"});
    ExpectEncryptDialog("secret1");
    w.StringGrid1->setFocus();
    QTest::keyClick(w.StringGrid1, Qt::Key_Return);
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "plan.txt");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "[no files]");
    // No double-click took place, so the next press may start a drag.
    EXPECT_FALSE(DoubleClicked);

    ExpectDecryptDialog("secret1");
    w.StringGrid2->setFocus();
    QTest::keyClick(w.StringGrid2, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "plan.txt");
    EXPECT_EQ(dialogs.Shown().size(), 2u);
}

TEST_F(KeyboardTest, TheDeleteKeyAsksForTheSelectedFilesLikeTheMenuItem) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    SelectRows(*w.StringGrid1, 2, 3);
    for (std::string name : {"b.txt", "c.txt"})
        dialogs.Expect("Confirmation", [name](TModalForm&) {
            EXPECT_EQ(DelDialog->Label2->text().toStdString(), name);
            DelDialog->Button1->click();
        });
    QTest::keyClick(w.StringGrid1, Qt::Key_Delete);
    EXPECT_TRUE(Exists("a.txt"));
    EXPECT_FALSE(Exists("b.txt") || Exists("c.txt"));
}

TEST_F(KeyboardTest, MenuKeyAndShiftF10OpenTheFocusedControlsContextMenu) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.cry"});
    struct Case {
        QWidget* control;
        QMenu* menu;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {w.StringGrid1, w.PopupMenu2, Qt::Key_Menu, Qt::NoModifier},
        {w.StringGrid1, w.PopupMenu2, Qt::Key_F10, Qt::ShiftModifier},
        {w.StringGrid2, w.PopupMenu3, Qt::Key_Menu, Qt::NoModifier},
        {w.StringGrid2, w.PopupMenu3, Qt::Key_F10, Qt::ShiftModifier},
        {w.DirectoryListBox1, w.PopupMenu1, Qt::Key_Menu, Qt::NoModifier},
        {w.DirectoryListBox1, w.PopupMenu1, Qt::Key_F10, Qt::ShiftModifier},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control->accessibleName().toStdString());
        c.control->setFocus();
        QTest::keyClick(c.control, c.key, c.modifiers);
        QCoreApplication::processEvents();
        EXPECT_TRUE(c.menu->isVisible());
        // Next to the control, not wherever the mouse happens to be.
        const QRect control(c.control->mapToGlobal(QPoint()), c.control->size());
        EXPECT_TRUE(control.contains(c.menu->pos()))
            << c.menu->pos().x() << "," << c.menu->pos().y();
        c.menu->hide();
    }
    // F10 alone is no context-menu key.
    w.StringGrid1->setFocus();
    QTest::keyClick(w.StringGrid1, Qt::Key_F10);
    EXPECT_FALSE(w.PopupMenu2->isVisible());
}

TEST_F(KeyboardTest, HomeEndAndLettersFindARowAndTheFocusedPaneIsMarked) {
    TMainWin& w = OpenWithFiles({"apple", "banana", "berry", "cherry", "x.cry"});
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    TStringGrid& grid = *w.StringGrid1;
    grid.setFocus(Qt::TabFocusReason);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int top;
        int bottom;
    };
    const Step steps[] = {
        {Qt::Key_End, Qt::NoModifier, 4, 4},    {Qt::Key_Home, Qt::NoModifier, 1, 1},
        {Qt::Key_End, Qt::ShiftModifier, 1, 4}, {Qt::Key_B, Qt::NoModifier, 2, 2},
        {Qt::Key_B, Qt::NoModifier, 3, 3},      {Qt::Key_C, Qt::NoModifier, 4, 4},
        {Qt::Key_Z, Qt::NoModifier, 4, 4},      {Qt::Key_Home, Qt::NoModifier, 1, 1},
    };
    // Each letter a search of its own, as if typed after a pause.
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(0);
    for (const Step& step : steps) {
        QTest::keyClick(&grid, step.key, step.modifiers);
        SCOPED_TRACE(QKeySequence(step.key | step.modifiers).toString().toStdString());
        EXPECT_EQ(grid.Selection().Top, step.top);
        EXPECT_EQ(grid.Selection().Bottom, step.bottom);
        EXPECT_EQ(grid.Row(), step.key == Qt::Key_End && step.modifiers ? 4 : step.top);
        EXPECT_EQ(grid.selectionModel()->selectedRows().size(), step.bottom - step.top + 1);
    }
    // Letters typed in a row find the name that begins with all of them.
    QApplication::setKeyboardInputInterval(interval);
    QTest::keyClicks(&grid, "be");
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);

    // Exactly one pane carries the mark: the one keys go to.
    auto marked = [&w] {
        std::vector<std::string> panes;
        for (QWidget* pane :
             std::initializer_list<QWidget*>{w.DirectoryListBox1, w.StringGrid1, w.StringGrid2}) {
            const auto* ring = pane->findChild<QWidget*>("FocusRing");
            if (ring != nullptr && ring->isVisible())
                panes.push_back(pane->accessibleName().toStdString());
        }
        return panes;
    };
    EXPECT_EQ(marked(), std::vector<std::string>{"Available for encryption"});
    w.DirectoryListBox1->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(marked(), std::vector<std::string>{"Folders"});
    w.StringGrid2->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(marked(), std::vector<std::string>{"Crypted files"});
}

} // namespace
} // namespace kelvane
