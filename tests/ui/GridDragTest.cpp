// SPDX-License-Identifier: GPL-3.0-or-later
// Rows dragged with the mouse from one grid onto the other, the highlight
// that follows the focus, and the Name column kept inside its grid.
#include "ui/GridDrag.h"

#include "SelectionFixture.h"
#include "ui/DirectoryListBox.h"

#include <QDrag>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <utility>

namespace kelvane {
namespace {

class GridDragTest : public testing_support::SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        previous_ = SetDragRunner([this](QDrag& drag) { RunDrag(drag); });
    }
    void TearDown() override {
        SetDragRunner(previous_);
        SelectionTest::TearDown();
    }

    // Where the started drag goes: enter and move over the target's middle,
    // then drop there, as the platform's drag loop would deliver them.
    void RunDrag(QDrag& drag) {
        ++dragsStarted;
        const QMimeData* data = drag.mimeData();
        carriedFormats = data->formats();
        carriedUrls = data->hasUrls() || data->hasText();
        if (target == nullptr)
            return;
        QWidget* viewport = target->viewport();
        const QPointF at = viewport->rect().center();
        QDragEnterEvent enter(at.toPoint(), Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        enterAccepted = enter.isAccepted();
        moveAccepted = move.isAccepted();
        QDropEvent drop(at, Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &drop);
        dropAccepted = drop.isAccepted();
    }

    // Shift and a press on `row` with the mouse held, then a move of `by`.
    static void ShiftPressAndMove(TStringGrid& grid, int row, QPoint by) {
        const QPoint at = CellCenter(grid, row);
        QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, at);
        QTest::mouseMove(grid.viewport(), at + by);
    }

    TStringGrid* target = nullptr;
    int dragsStarted = 0;
    QStringList carriedFormats;
    bool carriedUrls = false;
    bool enterAccepted = false;
    bool moveAccepted = false;
    bool dropAccepted = false;

private:
    DragRunner previous_;
};

TEST_F(GridDragTest, ShiftClickedRowsDroppedOnTheCryptedListAreEncryptedWithOnePassword) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt"});
    OnePerList = 1;
    target = w.StringGrid2;
    QTest::mouseClick(w.StringGrid1->viewport(), Qt::LeftButton, {}, CellCenter(*w.StringGrid1, 1));
    ExpectEncryptDialog("secret1");
    ShiftPressAndMove(*w.StringGrid1, 3, {0, 12});
    QTest::mouseRelease(w.StringGrid1->viewport(), Qt::LeftButton, {},
                        CellCenter(*w.StringGrid1, 3) + QPoint(0, 12));

    EXPECT_EQ(dragsStarted, 1);
    EXPECT_TRUE(enterAccepted && moveAccepted && dropAccepted);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        EXPECT_TRUE(Exists(std::string(name) + ".cry")) << name;
    EXPECT_TRUE(Exists("d.txt"));
    EXPECT_EQ(dialogs.Shown().size(), 1u);
}

TEST_F(GridDragTest, CryptedRowsDroppedOnThePlainListAreDecrypted) {
    TMainWin& w = OpenWithFiles({"a.txt"});
    ExpectEncryptDialog("secret1");
    w.StringGrid1DblClick();
    ASSERT_TRUE(Exists("a.txt.cry"));
    DoubleClicked = false;

    target = w.StringGrid1;
    ExpectDecryptDialog("secret1");
    QTest::mousePress(w.StringGrid2->viewport(), Qt::LeftButton, {}, CellCenter(*w.StringGrid2, 1));
    QTest::mouseMove(w.StringGrid2->viewport(), CellCenter(*w.StringGrid2, 1) + QPoint(-5, 0));
    QTest::mouseRelease(w.StringGrid2->viewport(), Qt::LeftButton);
    EXPECT_TRUE(dropAccepted);
    EXPECT_TRUE(Exists("a.txt"));
    EXPECT_FALSE(Exists("a.txt.cry"));
}

TEST_F(GridDragTest, ADropOnTheGridItCameFromIsRefusedAndDoesNothing) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt"});
    target = w.StringGrid1;
    ShiftPressAndMove(*w.StringGrid1, 2, {8, 8});
    QTest::mouseRelease(w.StringGrid1->viewport(), Qt::LeftButton);

    EXPECT_EQ(dragsStarted, 1);
    EXPECT_FALSE(enterAccepted);
    EXPECT_FALSE(moveAccepted);
    EXPECT_FALSE(dropAccepted);
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_TRUE(Exists("a.txt") && Exists("b.txt"));
}

TEST_F(GridDragTest, TheDragCarriesNoFileNamesOutOfTheWindow) {
    TMainWin& w = OpenWithFiles({"a.txt"});
    ShiftPressAndMove(*w.StringGrid1, 1, {0, 6});
    QTest::mouseRelease(w.StringGrid1->viewport(), Qt::LeftButton);
    ASSERT_EQ(dragsStarted, 1);
    EXPECT_EQ(carriedFormats, QStringList{TGridDrag::kMimeType});
    EXPECT_FALSE(carriedUrls);

    // Another program's drop of a file is not taken either.
    QMimeData foreign;
    foreign.setUrls({QUrl::fromLocalFile(QString::fromStdString(scratch / "a.txt"))});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &foreign, Qt::LeftButton, {});
    QApplication::sendEvent(w.StringGrid2->viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_TRUE(Exists("a.txt"));
}

TEST_F(GridDragTest, AMoveOfFourPixelsStartsNoDragAndFiveDo) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    QWidget* viewport = w.StringGrid1->viewport();
    const QPoint at = CellCenter(*w.StringGrid1, 1);
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    EXPECT_TRUE(w.GridDrag().Armed(*w.StringGrid1));
    QTest::mouseMove(viewport, at + QPoint(4, 4));
    QTest::mouseMove(viewport, at + QPoint(-4, 0));
    EXPECT_EQ(dragsStarted, 0);
    // The held button never extends the selection.
    EXPECT_EQ(w.StringGrid1->Selection().Bottom, 1);
    QTest::mouseMove(viewport, at + QPoint(0, 5));
    EXPECT_EQ(dragsStarted, 1);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at + QPoint(0, 5));

    // Released before the distance, nothing more happens.
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    EXPECT_FALSE(w.GridDrag().Armed(*w.StringGrid1));
    EXPECT_EQ(dragsStarted, 1);
    // Other buttons arm nothing.
    QTest::mousePress(viewport, Qt::MiddleButton, {}, at);
    EXPECT_FALSE(w.GridDrag().Armed(*w.StringGrid1));
    QTest::mouseRelease(viewport, Qt::MiddleButton, {}, at);
}

TEST_F(GridDragTest, ADoubleClickArmsNoDragUntilTheNextClick) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt"});
    QWidget* viewport = w.StringGrid1->viewport();
    const QPoint at = CellCenter(*w.StringGrid1, 1);
    ExpectCancelledDialog("Encryption procedure");
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    // The platform delivers the second press, then the double-click.
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    EXPECT_TRUE(DoubleClicked);
    QTest::mouseMove(viewport, at + QPoint(0, 20));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at + QPoint(0, 20));
    EXPECT_EQ(dragsStarted, 0);
    EXPECT_TRUE(DoubleClicked);

    // The next press is a plain one; its click ends the hold.
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    EXPECT_FALSE(w.GridDrag().Armed(*w.StringGrid1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    EXPECT_FALSE(DoubleClicked);
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    EXPECT_TRUE(w.GridDrag().Armed(*w.StringGrid1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
}

TEST_F(GridDragTest, CtrlClickPicksOneRowAndAClickBelowTheRowsKeepsTheSelection) {
    TMainWin& w = OpenWithFiles({"alpha", "beta", "delta", "gamma"});
    TStringGrid& grid = *w.StringGrid1;
    QWidget* viewport = grid.viewport();
    auto selected = [&grid] {
        const GridRect rect = grid.Selection();
        return std::pair(rect.Top, rect.Bottom);
    };
    QTest::mouseClick(viewport, Qt::LeftButton, {}, CellCenter(grid, 1));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, CellCenter(grid, 3));
    EXPECT_EQ(selected(), std::pair(3, 3));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, CellCenter(grid, 4));
    EXPECT_EQ(selected(), std::pair(4, 4));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, CellCenter(grid, 2));
    EXPECT_EQ(selected(), std::pair(2, 4));

    // Below the last row a press changes nothing, and a double-click runs
    // the command on the first selected row.
    const QPoint below(8, viewport->height() - 4);
    ASSERT_FALSE(grid.indexAt(below).isValid());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
    EXPECT_EQ(selected(), std::pair(2, 4));
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 3);
    dialogs.Expect("Encryption procedure", [](TModalForm& form) {
        EXPECT_TRUE(Encrypt->FName_Label->text().endsWith("beta"));
        form.SetModalResult(mrCancel);
    });
    QTest::mousePress(viewport, Qt::LeftButton, {}, below);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, below);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, below);
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_TRUE(DoubleClicked);
}

TEST_F(GridDragTest, APressOnAHeadingArmsADragAndMovesNoColumn) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt"});
    OnePerList = 1;
    TStringGrid& grid = *w.StringGrid1;
    target = w.StringGrid2;
    SelectRows(grid, 1, 2);
    QHeaderView& header = *grid.horizontalHeader();
    EXPECT_FALSE(header.sectionsMovable());
    const QPoint at(header.sectionViewportPosition(1) + header.sectionSize(1) / 2,
                    header.height() / 2);
    QTest::mousePress(header.viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(w.GridDrag().Armed(grid));
    EXPECT_TRUE(grid.hasFocus());
    ExpectEncryptDialog("secret1");
    QTest::mouseMove(header.viewport(), at + QPoint(40, 0));
    EXPECT_EQ(dragsStarted, 1);
    EXPECT_EQ(header.visualIndex(1), 1);
    EXPECT_TRUE(Exists("a.txt.cry") && Exists("b.txt.cry"));
}

// Files dragged in from a file manager: each grid takes the files its
// command suits, where they lie, after the drop has been answered.
TEST_F(GridDragTest, FilesDroppedFromAnotherProgramRunWhereTheyLie) {
    TMainWin& w = OpenWithFiles({"a.txt", "old.cry"});
    scratch.MakeFolder("other");
    WriteText("other/c.txt", "c");
    OnePerList = 1;
    auto drop = [](TStringGrid& grid, const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        const QPoint at = grid.viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(grid.viewport(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(grid.viewport(), &dropped);
        EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);
        QCoreApplication::processEvents();
        return dropped.isAccepted();
    };
    const QString root = QString::fromStdString(scratch.Path());
    // Nothing a grid takes: the drag is refused.
    EXPECT_FALSE(drop(*w.StringGrid2, {root + "/old.cry", root + "/other"}));
    EXPECT_FALSE(drop(*w.StringGrid1, {root + "/a.txt"}));

    ExpectEncryptDialog("secret1");
    EXPECT_TRUE(drop(*w.StringGrid2, {root + "/a.txt", root + "/old.cry", root + "/other/c.txt"}));
    EXPECT_TRUE(Exists("a.txt.cry") && Exists("other/c.txt.cry"));
    EXPECT_TRUE(Exists("old.cry"));
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(w.DirectoryListBox1->Directory(), scratch.Path());

    ExpectDecryptDialog("secret1");
    EXPECT_TRUE(drop(*w.StringGrid1, {root + "/other/c.txt.cry"}));
    EXPECT_TRUE(Exists("other/c.txt") && !Exists("other/c.txt.cry"));
}

TEST_F(GridDragTest, OnlyTheFocusedGridHighlightsAndTabMovesIt) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "x.cry", "y.cry"});
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    w.StringGrid1->setFocus(Qt::MouseFocusReason);
    SelectRows(*w.StringGrid1, 1, 3);
    ASSERT_EQ(w.StringGrid1->Selection().Bottom, 3);

    QTest::keyClick(w.StringGrid1, Qt::Key_Tab);
    ASSERT_TRUE(w.StringGrid2->hasFocus());
    EXPECT_TRUE(w.StringGrid2->RowSelect());
    EXPECT_FALSE(w.StringGrid1->RowSelect());
    EXPECT_EQ(w.StringGrid1->Col(), 4);
    EXPECT_EQ(w.StringGrid1->LeftCol(), 0);

    QTest::keyClick(w.StringGrid2, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(w.StringGrid1->hasFocus());
    EXPECT_TRUE(w.StringGrid1->RowSelect());
    EXPECT_FALSE(w.StringGrid2->RowSelect());
    // The former block is gone: only the current row is selected.
    const GridRect rect = w.StringGrid1->Selection();
    EXPECT_EQ(rect.Top, rect.Bottom);
}

TEST_F(GridDragTest, ANameColumnWiderThanItsGridSnapsBackOnRelease) {
    TMainWin& w = OpenWithFiles({"a.txt"});
    TStringGrid& grid = *w.StringGrid1;
    const int limit = grid.width() - 20;

    // Widened by its heading's border, with the mouse.
    QHeaderView* header = grid.horizontalHeader();
    const int border = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    const QPoint start(border, header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(header->viewport(), start + QPoint(limit, 0));
    EXPECT_GT(grid.columnWidth(0), limit);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, start + QPoint(limit, 0));
    EXPECT_EQ(grid.columnWidth(0), limit);

    // Any release on the rows clamps too; a narrow column stays as it is.
    grid.setColumnWidth(0, limit + 50);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, CellCenter(grid, 1));
    EXPECT_EQ(grid.columnWidth(0), limit);
    grid.setColumnWidth(0, 100);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(grid, 1));
    EXPECT_EQ(grid.columnWidth(0), 100);
}

} // namespace
} // namespace kelvane
