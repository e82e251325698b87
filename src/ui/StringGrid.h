// SPDX-License-Identifier: GPL-3.0-or-later
// A file grid: a table view over a TFileGridModel, addressed the way the
// commands think of it. Row 0 is the heading row; files start at row 1.
// Columns are reached by their logical number, whatever order the user has
// dragged the headings into.
#pragma once

#include "ui/FileGridModel.h"

#include <QElapsedTimer>
#include <QFont>
#include <QStringList>
#include <QTableView>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QDropEvent;
class QMouseEvent;

namespace kelvane {

class TStringGrid;

// What the window adds to a grid's own mouse handling: drags between the
// two grids and the step after every release.
class GridMouseHooks {
public:
    virtual ~GridMouseHooks() = default;
    // After the grid's own press handling; true when the press armed a drag,
    // and the grid then ends its press at once, as if the button was let go.
    virtual bool ArmDrag(TStringGrid& grid, const QMouseEvent& press) = 0;
    // True when the move belongs to an armed drag and the grid must not see it.
    virtual bool DragMove(TStringGrid& grid, const QMouseEvent& move) = 0;
    // A press that completes a double-click: it arms nothing.
    virtual void DoubleClickPress(TStringGrid& grid) = 0;
    // Every mouse release on the grid, the one that ended an armed press
    // included; `real` is false for that one.
    virtual void MouseUp(TStringGrid& grid, bool real) = 0;
    // Drag enter, drag move and drop over the grid.
    virtual void DragOver(TStringGrid& grid, QDropEvent& event) = 0;
};

struct GridRect {
    int Left = 0;
    int Top = 1;
    int Right = 0;
    int Bottom = 1;
};

class TStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    TFileGridModel& Model() { return model_; }
    const TFileGridModel& Model() const { return model_; }

    // Rows including the heading row; never fewer than 2 once filled.
    int RowCount() const { return model_.RowCount() + 1; }
    std::string Cells(int column, int row) const;
    // The file a row stands for. A crypted file shown without ".cry" is
    // found under the name it has on disk, "NOTES.CRY" as well as "a.cry".
    std::string FileName(int row) const;

    // The selected block of rows and columns; the current cell when
    // nothing else is selected.
    GridRect Selection() const;
    // The files of the selected rows, as Selection gives them.
    std::set<std::string> SelectedFiles() const;
    // Makes one row current and selected when a run ends: the first listed
    // row whose file is among `files`, else the current row. A run's
    // rebuilds leave the selection on rows by position, and those may now
    // hold files the user never chose.
    void KeepSelectedFiles(const std::set<std::string>& files);
    int Col() const;
    int Row() const;
    // Moves the current cell without scrolling and reduces the selection to it.
    void SetCurrentCell(int column, int row);

    bool RowSelect() const { return selectionBehavior() == QAbstractItemView::SelectRows; }
    void SetRowSelect(bool on);

    // The first column scrolled into view.
    int LeftCol() const;
    void SetLeftCol(int column);

    // Name at least its design width, Size as wide as the widest size
    // listed, Date and Attr whole; what room is left goes to Name. Columns
    // that don't fit scroll sideways. A width the user dragged a heading
    // border to stays: Name's for good (within the clamp), the others' until
    // the grid's width changes.
    void FitColumns();
    void SetDesignNameWidth(int width) { designName_ = width; }
    int DesignNameWidth() const { return designName_; }
    // The Name column is kept this much narrower than the grid control.
    static constexpr int kNameMargin = 20;

    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);

    // Replaces the file rows, whose files are in `folder` (null: the working
    // directory). The current cell and the selection keep their place,
    // pulled up onto the last row when the grid got shorter.
    void SetRows(GridRows rows, std::shared_ptr<const OpenFolder> folder = {});

    // The files at the ends of the selection and under the current cell,
    // to find them again after a rebuild that moved them.
    struct SelectionAnchors {
        std::string top;
        std::string bottom;
        std::string current;
    };
    SelectionAnchors SelectionFiles() const;
    // Moves the current cell and the selection back onto those files where
    // they are still listed; the rest stays where the rebuild left it.
    void SelectFiles(const SelectionAnchors& files);

    void SetMouseHooks(GridMouseHooks* hooks) { hooks_ = hooks; }

signals:
    // The grid got the keyboard focus from another control of its window.
    void Entered();
    // Enter and Delete on the grid's rows.
    void EnterPressed();
    void DeletePressed();
    // A double-click with the left button anywhere on the rows' area, below
    // the last row too.
    void DoubleClicked();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString& search) override;

private:
    static constexpr int kParkColumn = 4;

    struct ScrollPlace {
        int x = 0;
        int y = 0;
    };
    ScrollPlace Place() const;
    void SetPlace(ScrollPlace place);
    int TextWidth(const QString& text) const;
    // The row of the file, from 1; 0 when it is not listed.
    int RowOfFile(const std::string& fileName) const;
    int FittingWidth(int column, const QStringList& widest) const;
    // What the Size, Date and Attr columns need, measured again only when
    // something they depend on changed: a walk refills the grid for every
    // folder, and measuring is text shaping.
    struct MeasuredWith {
        QFont font;
        QFont headingFont;
        int dpi = 0;
        const QStyle* style = nullptr;
        QString styleName;
        QStringList headings;
        bool operator==(const MeasuredWith&) const = default;
    };
    struct FittedWidths {
        MeasuredWith measuredWith;
        int digits = -1;
        int size = 0;
        int date = 0;
        int attr = 0;
    };
    const FittedWidths& ContentWidths(int digits);
    MeasuredWith Measures() const;

    // The number of digits of the widest size among the rows read so far,
    // after reading those in view.
    int WidestSizeDigits() const;
    void ColumnResized(int column, int width);

    // The first row from `from` on, going round, whose name begins with
    // `typed`; -1 when none does.
    int RowStartingWith(const QString& typed, int from) const;

    TFileGridModel model_;
    GridMouseHooks* hooks_ = nullptr;
    // The letters typed in a row, to find a name as in any file list.
    QString typed_;
    QElapsedTimer typedAt_;
    int designName_ = 147;
    bool fitting_ = false;
    // Widths set by the user; 0 where the layout decides.
    int userWidths_[4] = {};
    int fittedGridWidth_ = -1;
    int fittedDigits_ = 0;
    FittedWidths fittedWidths_;
};

} // namespace kelvane
