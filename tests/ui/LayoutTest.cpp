// SPDX-License-Identifier: GPL-3.0-or-later
// Where the main window puts its controls for a given size.
#include "WindowFixture.h"
#include "ui/Controls.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/StringGrid.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <initializer_list>
#include <string>

namespace kelvane {
namespace {

using testing_support::WindowTest;

class LayoutTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open();
    }

    // The width of columns first to last.
    static int Sum(const TStringGrid& grid, int first, int last) {
        int sum = 0;
        for (int column = first; column <= last; ++column)
            sum += grid.columnWidth(column);
        return sum;
    }

    // Name is at least its design width, Size holds the widest size listed,
    // Date and Attr their widest texts; the empty column behind them takes
    // no room.
    static void ExpectColumnsFit(const TStringGrid& grid, const QString& widestSize = "Size") {
        const QFontMetrics metrics(grid.font());
        EXPECT_GE(grid.columnWidth(0), grid.DesignNameWidth());
        EXPECT_GT(grid.columnWidth(1), metrics.horizontalAdvance(widestSize));
        EXPECT_GT(grid.columnWidth(2), metrics.horizontalAdvance("28.08.2026 23:58"));
        EXPECT_GT(grid.columnWidth(3), metrics.horizontalAdvance("AHRS"));
        EXPECT_TRUE(grid.isColumnHidden(4));
    }

    // What holds at any size: every control the user works with is whole
    // inside the client area, the folder side stays left of the file lists,
    // the lists stay apart, and the panel below them all.
    static void ExpectNothingCutOffOrOverlapping(const TMainWin& w) {
        for (const QWidget* control : std::initializer_list<const QWidget*>{
                 w.DriveComboBox1, w.DirectoryListBox1, w.StringGrid1, w.StringGrid2, w.Panel1}) {
            EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()))
                << control->objectName().toStdString() << " is cut off";
        }
        const QRect list = w.DirectoryListBox1->geometry(), grid1 = w.StringGrid1->geometry(),
                    grid2 = w.StringGrid2->geometry(), panel = w.Panel1->geometry();
        EXPECT_LT(w.DriveComboBox1->geometry().right(), grid1.left());
        EXPECT_LT(list.right(), grid1.left());
        EXPECT_LT(grid1.bottom(), grid2.top());
        EXPECT_LT(std::max(list.bottom(), grid2.bottom()), panel.top());
    }
};

TEST_F(LayoutTest, FirstShownAtTheStartingSizeWithItsMinimumPublished) {
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->OuterWidth(), 533);
    EXPECT_EQ(window->OuterHeight(), 492);
    EXPECT_EQ(window->StringGrid1->width(), 323); // W - 200 - 10
    // The minimum the window manager is told is that of the client area.
    EXPECT_EQ(window->minimumSize() + window->FrameSize(), QSize(420, 420));
}

TEST_F(LayoutTest, StartingSizePlacesEveryControl) {
    for (const char* name : {"notes.txt", "report.doc", "photo.jpg.cry"})
        scratch.Write(name, 800);
    scratch.Write("budget-26.xls", 12345);
    scratch.Write("tax.pdf.cry", 54321);
    window->RefreshLists();
    ShowSized(533, 446);
    TMainWin& w = *window;
    ASSERT_EQ(w.OuterWidth(), 533);
    ASSERT_EQ(w.ClientHeight(), 446);

    // What the size decides.
    EXPECT_EQ(w.StringGrid1->geometry(), QRect(200, 24, 323, 159));
    EXPECT_EQ(w.StringGrid2->geometry(), QRect(200, 219, 323, 159));
    EXPECT_EQ(w.ProgressBar1->geometry(), QRect(200, 173, 323, 9));
    EXPECT_EQ(w.ProgressBar2->geometry(), QRect(200, 368, 323, 9));
    EXPECT_EQ(w.Panel1->geometry(), QRect(4, 387, 523, 49));
    EXPECT_EQ(w.Bevel5->geometry(), QRect(236, 16, 283, 16));
    EXPECT_EQ(w.Bevel6->geometry(), QRect(236, 32, 283, 16));
    EXPECT_EQ(w.Bevel7->geometry(), QRect(0, 0, 519, 15));
    EXPECT_EQ(w.DirectoryListBox1->geometry(), QRect(4, 28, 185, 351));
    EXPECT_EQ(w.Image2->geometry(), QRect(200, 195, 19, 23));
    EXPECT_EQ(w.Label21->pos(), QPoint(224, 199));
    EXPECT_EQ(w.Button1->geometry(), QRect(414, 195, 109, 17));

    // What no size moves.
    EXPECT_EQ(w.DriveComboBox1->geometry(), QRect(4, 4, 181, 19));
    EXPECT_EQ(w.Image1->geometry(), QRect(200, 0, 19, 24));
    EXPECT_EQ(w.Label8->pos(), QPoint(224, 4));
    EXPECT_EQ(w.Bevel1->geometry(), QRect(0, 16, 104, 16));
    EXPECT_EQ(w.Bevel2->geometry(), QRect(0, 32, 104, 16));
    EXPECT_EQ(w.Bevel3->geometry(), QRect(104, 32, 132, 16));
    EXPECT_EQ(w.Bevel4->geometry(), QRect(104, 16, 132, 16));
    // Names come first: at the starting size they read in full, Size is as
    // wide as the sizes listed, and the columns that no longer fit scroll
    // into view.
    for (TStringGrid* grid : {w.StringGrid1, w.StringGrid2}) {
        ExpectColumnsFit(*grid, "12345");
        EXPECT_LT(grid->columnWidth(1), QFontMetrics(grid->font()).horizontalAdvance("4294967295"));
        EXPECT_GT(Sum(*grid, 0, 3), grid->viewport()->width());
        EXPECT_TRUE(grid->horizontalScrollBar()->isVisible());
        for (int row = 1; row < grid->RowCount(); ++row) {
            const QString name = QString::fromStdString(grid->Cells(0, row));
            EXPECT_LT(QFontMetrics(grid->font()).horizontalAdvance(name), grid->columnWidth(0))
                << name.toStdString();
        }
    }
    EXPECT_EQ(w.StringGrid1->columnWidth(0), 147);
    EXPECT_EQ(w.StringGrid2->columnWidth(0), 146);
    // The panel ends 10 pixels above the bottom, the grids 10 pixels short
    // of the outer right edge.
    EXPECT_EQ(w.Panel1->geometry().bottom(), 446 - 10 - 1);
    EXPECT_EQ(w.StringGrid1->geometry().right(), 533 - 10 - 1);
    ExpectNothingCutOffOrOverlapping(w);
}

TEST_F(LayoutTest, RunningGridsMakeRoomForTheBars) {
    EncryptBusy = true;
    ShowSized(533, 446);
    TMainWin& w = *window;
    EXPECT_EQ(w.StringGrid1->height(), 146);
    EXPECT_EQ(w.StringGrid2->height(), 147);
    EXPECT_EQ(w.StringGrid2->y(), 219);
    EXPECT_EQ(w.ProgressBar1->y(), 173); // 3 pixels below its grid
    EXPECT_EQ(w.ProgressBar2->y(), 369);
    EXPECT_EQ(w.Button1->pos(), QPoint(414, 195));

    // Resized while running: the bars stay 3 pixels under their grids and
    // the button on the caption's line, flush with the grids' right edge.
    ShowSized(633, 546);
    EXPECT_EQ(w.ProgressBar1->y(), w.StringGrid1->geometry().bottom() + 1 + 3);
    EXPECT_EQ(w.ProgressBar2->y(), w.StringGrid2->geometry().bottom() + 1 + 3);
    EXPECT_EQ(w.Button1->y(), w.Image2->y());
    EXPECT_EQ(w.Button1->geometry().right(), w.StringGrid1->geometry().right());

    // A tree walk or a deletion is no single-file run.
    EncryptBusy = false;
    TreeBusy = DeleteBusy = true;
    ShowSized(533, 446);
    EXPECT_EQ(w.StringGrid1->height(), 159);
    EXPECT_EQ(w.ProgressBar2->y(), 368);
}

TEST_F(LayoutTest, TooSmallSnapsBackToTheMinimum) {
    window->show();
    QApplication::processEvents();
    ResizeOuter(300, 250);
    EXPECT_EQ(window->OuterWidth(), 420);
    EXPECT_EQ(window->OuterHeight(), 420);
    ExpectNothingCutOffOrOverlapping(*window);

    // Only the direction that is too small changes.
    ResizeOuter(600, 250);
    EXPECT_EQ(window->OuterWidth(), 600);
    EXPECT_EQ(window->OuterHeight(), 420);
}

TEST_F(LayoutTest, WiderWindowWidensTheRightSideOnly) {
    ShowSized(533, 446);
    TMainWin& w = *window;
    ShowSized(633, 446);
    EXPECT_EQ(w.StringGrid1->width(), 423);
    EXPECT_EQ(w.StringGrid2->width(), 423);
    EXPECT_EQ(w.ProgressBar1->width(), 423);
    EXPECT_EQ(w.ProgressBar2->width(), 423);
    EXPECT_EQ(w.Panel1->width(), 623);
    EXPECT_EQ(w.Bevel5->width(), 383);
    EXPECT_EQ(w.Bevel7->width(), 619);
    EXPECT_EQ(w.DirectoryListBox1->width(), 185);
    EXPECT_EQ(w.DirectoryListBox1->height(), 351);
    ExpectNothingCutOffOrOverlapping(w);
    // Every gained pixel goes to the names.
    for (TStringGrid* grid : {w.StringGrid1, w.StringGrid2}) {
        ExpectColumnsFit(*grid);
        EXPECT_EQ(Sum(*grid, 0, 3), grid->viewport()->width());
    }
}

TEST_F(LayoutTest, TallerWindowSharesTheGainBetweenTheGrids) {
    ShowSized(533, 546);
    TMainWin& w = *window;
    EXPECT_EQ(w.DirectoryListBox1->height(), 451);
    EXPECT_EQ(w.StringGrid1->height(), 209);
    EXPECT_EQ(w.StringGrid2->height(), 209);
    EXPECT_EQ(w.StringGrid2->y(), 28 + 209 + 32);
    EXPECT_EQ(w.Panel1->geometry().bottom() + 1, w.ClientHeight() - 10);
    ExpectNothingCutOffOrOverlapping(w);
}

TEST_F(LayoutTest, ResizeWidensANarrowedAttrColumnAgain) {
    ShowSized(533, 446);
    TStringGrid& grid = *window->StringGrid1;
    grid.setColumnWidth(3, 20);
    ShowSized(540, 446);
    ExpectColumnsFit(grid);

    // A Name width the user chose stays when the bars come and go and when
    // the window is resized, never wider than the grid less 20 pixels.
    grid.setColumnWidth(0, 100);
    EncryptBusy = true;
    window->LayoutWindow();
    EncryptBusy = false;
    window->LayoutWindow();
    ShowSized(633, 446);
    EXPECT_EQ(grid.columnWidth(0), 100);
    grid.setColumnWidth(0, 1000);
    ShowSized(540, 446);
    EXPECT_EQ(grid.columnWidth(0), grid.width() - 20);
}

// The columns' measures are kept between fits; a new font must still be
// measured at the next one. The headings keep a font of their own.
TEST_F(LayoutTest, ALargerFontWidensTheColumnsAtTheNextFit) {
    ShowSized(533, 446);
    TStringGrid& grid = *window->StringGrid1;
    QFont large = grid.font();
    large.setPixelSize(3 * QFontInfo(large).pixelSize());
    grid.setFont(large);
    grid.FitColumns();
    const QFontMetrics metrics(large);
    EXPECT_GT(grid.columnWidth(2), metrics.horizontalAdvance("28.08.2026 23:58"));
    EXPECT_GT(grid.columnWidth(3), metrics.horizontalAdvance("AHRS"));
}

TEST_F(LayoutTest, NoKeyScrollsPastTheAttrColumn) {
    for (int i = 0; i < 30; ++i)
        scratch.Write("file-with-a-long-name-" + std::to_string(i) + ".txt");
    window->RefreshLists();
    // However narrow the grid, it scrolls only as far as the Attr column's
    // right edge, never onto the empty column behind it.
    for (const int outerWidth : {533, 420}) {
        ShowSized(outerWidth, 446);
        TStringGrid& grid = *window->StringGrid1;
        grid.setFocus();
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End),
              QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_Down)}) {
            SCOPED_TRACE(keys.toString().toStdString() + " at " + std::to_string(outerWidth));
            QTest::keySequence(&grid, keys);
            const int attrRight = grid.columnViewportPosition(3) + grid.columnWidth(3);
            EXPECT_GE(attrRight, grid.viewport()->width());
        }
    }
}

TEST_F(LayoutTest, ParkedCellStaysOutOfSightWhenTheWindowShows) {
    ShowSized(533, 446);
    EXPECT_EQ(window->StringGrid2->Col(), 4);
    EXPECT_EQ(window->StringGrid2->LeftCol(), 0);
    EXPECT_EQ(window->StringGrid1->LeftCol(), 0);
}

} // namespace
} // namespace kelvane
