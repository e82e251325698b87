// SPDX-License-Identifier: GPL-3.0-or-later
// A file grid as a screen reader sees it: a table of the four columns on
// screen. The model's fifth column only parks the current cell of the grid
// without the focus; Qt's own table would list it as a fifth, nameless
// column and, while parked, read its empty cell as the current one.
#include "ui/AccessibleGrid.h"

#include "ui/AccessibleControls.h"
#include "ui/StringGrid.h"

#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <algorithm>

namespace kelvane {
namespace {

constexpr int kShownColumns = 4; // Name, Size, Date, Attr

// The column a reader is told about: a cell parked behind the last column
// stands for its row, and a row is named by its file. The empty hidden cell
// would be read as "blank", and no cell at all would lose the row the grid
// comes back to (in row mode the whole row is highlighted, parked or not).
int ShownColumn(int column) {
    return column < kShownColumns ? column : 0;
}

QPoint ScreenOrigin(const QWidget& widget) {
    return widget.mapToGlobal(QPoint(0, 0));
}

// A heading (row -1) or a file's cell, found by its place, so it reads the
// grid as it is now however often the rows were replaced.
class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(TStringGrid* grid, int row, int column) : grid_(grid), row_(row), column_(column) {}

    bool isValid() const override { return grid_ != nullptr && row_ < grid_->Model().rowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return grid_ != nullptr ? grid_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(grid_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override {
        return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QString text(QAccessible::Text type) const override {
        if (!isValid() || type != QAccessible::Name)
            return {};
        if (row_ < 0)
            return grid_->Model().headerData(column_, Qt::Horizontal, Qt::DisplayRole).toString();
        return grid_->Model().data(Index(), Qt::AccessibleTextRole).toString();
    }

    QRect rect() const override {
        if (!isValid())
            return {};
        if (row_ < 0) {
            const QHeaderView& header = *grid_->horizontalHeader();
            return QRect(header.sectionViewportPosition(column_), 0, header.sectionSize(column_),
                         header.height())
                .translated(ScreenOrigin(*header.viewport()));
        }
        return grid_->visualRect(Index()).translated(ScreenOrigin(*grid_->viewport()));
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        if (!rect().intersects(QRect(ScreenOrigin(*grid_->viewport()), grid_->viewport()->size())))
            state.invisible = true;
        if (row_ < 0)
            return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        const QModelIndex current = grid_->currentIndex();
        state.focused = current.row() == row_ && ShownColumn(current.column()) == column_;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface && row_ >= 0)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override {
        return isValid() && grid_->selectionModel()->isSelected(Index());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return {table()->child(column_)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int Row() const { return row_; }
    int Column() const { return column_; }

private:
    QModelIndex Index() const { return grid_->Model().index(row_, column_); }

    QPointer<TStringGrid> grid_;
    int row_;
    int column_;
};

} // namespace

int AccessibleGridChild(const QModelIndex& index) {
    return (index.row() + 1) * kShownColumns + ShownColumn(index.column());
}

AccessibleGrid::AccessibleGrid(TStringGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

AccessibleGrid::~AccessibleGrid() {
    ForgetCells();
}

TStringGrid& AccessibleGrid::Grid() const {
    return *static_cast<TStringGrid*>(widget());
}

void AccessibleGrid::ForgetCells() {
    for (QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}

void* AccessibleGrid::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int AccessibleGrid::childCount() const {
    return (rowCount() + 1) * kShownColumns;
}

QAccessibleInterface* AccessibleGrid::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto known = cells_.constFind(index); known != cells_.constEnd())
        return QAccessible::accessibleInterface(*known);
    auto* cell = new GridCell(&Grid(), index / kShownColumns - 1, index % kShownColumns);
    cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int AccessibleGrid::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const GridCell*>(child);
    if (cell == nullptr || cell->parent() != this)
        return -1;
    return (cell->Row() + 1) * kShownColumns + cell->Column();
}

QAccessibleInterface* AccessibleGrid::childAt(int x, int y) const {
    const QHeaderView& header = *Grid().horizontalHeader();
    const QPoint inHeader = header.viewport()->mapFromGlobal(QPoint(x, y));
    if (header.viewport()->rect().contains(inHeader)) {
        const int column = header.logicalIndexAt(inHeader);
        return column >= 0 && column < kShownColumns ? child(column) : nullptr;
    }
    const QModelIndex index = Grid().indexAt(Grid().viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() && index.column() < kShownColumns ? child(AccessibleGridChild(index))
                                                             : nullptr;
}

QAccessibleInterface* AccessibleGrid::focusChild() const {
    const QModelIndex current = Grid().currentIndex();
    return current.isValid() ? child(AccessibleGridChild(current)) : nullptr;
}

QAccessibleInterface* AccessibleGrid::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kShownColumns)
        return nullptr;
    return child((row + 1) * kShownColumns + column);
}

int AccessibleGrid::selectedCellCount() const {
    return static_cast<int>(selectedCells().size());
}

QList<QAccessibleInterface*> AccessibleGrid::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : Grid().selectionModel()->selectedIndexes()) {
        if (index.column() < kShownColumns)
            cells.append(child(AccessibleGridChild(index)));
    }
    return cells;
}

QString AccessibleGrid::columnDescription(int column) const {
    if (column < 0 || column >= kShownColumns)
        return {};
    return Grid().Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

int AccessibleGrid::columnCount() const {
    return kShownColumns;
}

int AccessibleGrid::rowCount() const {
    return Grid().Model().rowCount();
}

QList<int> AccessibleGrid::selectedColumns() const {
    QList<int> columns;
    for (int column = 0; column < kShownColumns; ++column) {
        if (isColumnSelected(column))
            columns.append(column);
    }
    return columns;
}

QList<int> AccessibleGrid::selectedRows() const {
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row) {
        if (isRowSelected(row))
            rows.append(row);
    }
    return rows;
}

bool AccessibleGrid::isColumnSelected(int column) const {
    return column >= 0 && column < kShownColumns &&
           Grid().selectionModel()->isColumnSelected(column);
}

bool AccessibleGrid::isRowSelected(int row) const {
    const QItemSelectionModel& selection = *Grid().selectionModel();
    for (int column = 0; column < kShownColumns; ++column) {
        if (!selection.isSelected(Grid().Model().index(row, column)))
            return false;
    }
    return row >= 0 && row < rowCount();
}

void AccessibleGrid::modelChange(QAccessibleTableModelChangeEvent*) {
    // The rows are only ever replaced all at once; cells are made again
    // as they are asked for.
    ForgetCells();
}

} // namespace kelvane
