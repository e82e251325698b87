// A file grid: a table view over a TFileGridModel, addressed the way the
// commands think of it. Row 0 is the heading row; files start at row 1.
// Columns are reached by their logical number, whatever order the user has
// dragged the headings into.
#pragma once

#include "ui/FileGridModel.h"

#include <QTableView>
#include <string>
#include <vector>

namespace kelvane {

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
    int Col() const;
    int Row() const;
    // Moves the current cell without scrolling and reduces the selection to it.
    void SetCurrentCell(int column, int row);

    bool RowSelect() const { return selectionBehavior() == QAbstractItemView::SelectRows; }
    void SetRowSelect(bool on);

    // The first column scrolled into view.
    int LeftCol() const;
    void SetLeftCol(int column);

    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);

    // Replaces the file rows. The current cell and the selection keep their
    // place, pulled up onto the last row when the grid got shorter.
    void SetRows(std::vector<GridRow> rows);

signals:
    // The grid got the keyboard focus from another control of its window.
    void Entered();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    TFileGridModel model_;
};

} // namespace kelvane
