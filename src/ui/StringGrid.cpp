#include "ui/StringGrid.h"

#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace kelvane {

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), model_(this) {
    setModel(&model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTabKeyNavigation(false);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(1);
    SetDefaultRowHeight(15);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    nothing_ = false;
            });
}

std::string TStringGrid::Cells(int column, int row) const {
    if (row == 0) {
        return model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString();
    }
    return model_.CellText(row - 1, column);
}

std::string TStringGrid::FileName(int row) const {
    if (row < 1 || row > model_.RowCount())
        return {};
    const GridRow& entry = model_.Row(row - 1);
    // The placeholder is a name like any other to a command.
    return entry.FileName.empty() ? entry.Name : entry.FileName;
}

GridRect TStringGrid::Selection() const {
    if (nothing_)
        return {0, 1, 0, 0};
    GridRect rect;
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        rect = {current.column(), current.row() + 1, current.column(), current.row() + 1};
    }
    const QItemSelection selection = selectionModel()->selection();
    bool first = true;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid())
            continue;
        if (first) {
            rect = {range.left(), range.top() + 1, range.right(), range.bottom() + 1};
            first = false;
        } else {
            rect.Left = std::min(rect.Left, range.left());
            rect.Top = std::min(rect.Top, range.top() + 1);
            rect.Right = std::max(rect.Right, range.right());
            rect.Bottom = std::max(rect.Bottom, range.bottom() + 1);
        }
    }
    return rect;
}

std::set<std::string> TStringGrid::SelectedFiles() const {
    std::set<std::string> files;
    const GridRect rect = Selection();
    for (int row = std::max(rect.Top, 1); row <= std::min(rect.Bottom, model_.RowCount()); ++row) {
        if (!model_.Row(row - 1).FileName.empty())
            files.insert(model_.Row(row - 1).FileName);
    }
    return files;
}

void TStringGrid::KeepSelectedFiles(const std::set<std::string>& files) {
    int top = 0;
    int bottom = 0;
    for (int row = 1; row <= model_.RowCount(); ++row) {
        const std::string& file = model_.Row(row - 1).FileName;
        const bool chosen = !file.empty() && files.count(file) != 0;
        if (chosen && top == 0)
            top = row;
        if (chosen)
            bottom = row;
        else if (top != 0)
            break;
    }
    if (top == 0) {
        SelectNothing();
        return;
    }
    // The current cell keeps its column: column 4 keeps the grid without the
    // focus free of any highlight.
    const int column = currentIndex().isValid() ? Col() : 0;
    const int left = LeftCol();
    const int scrolled = verticalScrollBar()->value();
    selectionModel()->setCurrentIndex(model_.index(top - 1, column), QItemSelectionModel::NoUpdate);
    const QItemSelection block(
        model_.index(top - 1, RowSelect() ? 0 : column),
        model_.index(bottom - 1, RowSelect() ? TFileGridModel::kColumns - 1 : column));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
    SetLeftCol(left);
    verticalScrollBar()->setValue(scrolled);
}

void TStringGrid::SelectNothing() {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    nothing_ = true;
}

int TStringGrid::Col() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

int TStringGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void TStringGrid::SetCurrentCell(int column, int row) {
    const QModelIndex index = model_.index(row - 1, column);
    if (!index.isValid())
        return;
    const int left = LeftCol();
    const int top = verticalScrollBar()->value();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    SetLeftCol(left);
    verticalScrollBar()->setValue(top);
}

void TStringGrid::SetRowSelect(bool on) {
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    // The behaviour only applies to later selections; widen or narrow the
    // one in place so it matches.
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    const GridRect rect = Selection();
    const int left = on ? 0 : current.column();
    const int right = on ? TFileGridModel::kColumns - 1 : current.column();
    const int top = on ? rect.Top : current.row() + 1;
    const int bottom = on ? rect.Bottom : current.row() + 1;
    QItemSelection selection(model_.index(top - 1, left), model_.index(bottom - 1, right));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

int TStringGrid::LeftCol() const {
    return horizontalScrollBar()->value();
}

void TStringGrid::SetLeftCol(int column) {
    horizontalScrollBar()->setValue(column);
}

int TStringGrid::DefaultRowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
}

void TStringGrid::SetRows(std::vector<GridRow> rows) {
    const bool hadCurrent = currentIndex().isValid();
    const GridRect before = Selection();
    const int currentColumn = Col();
    const int currentRow = Row();
    const int leftCol = LeftCol();
    const int top = verticalScrollBar()->value();

    model_.SetRows(std::move(rows));
    if (!hadCurrent || model_.RowCount() == 0)
        return;

    const int last = model_.RowCount();
    auto clampRow = [last](int row) { return std::clamp(row, 1, last); };
    selectionModel()->setCurrentIndex(model_.index(clampRow(currentRow) - 1, currentColumn),
                                      QItemSelectionModel::NoUpdate);
    const int left = RowSelect() ? 0 : before.Left;
    const int right = RowSelect() ? TFileGridModel::kColumns - 1 : before.Right;
    const QItemSelection selection(model_.index(clampRow(before.Top) - 1, left),
                                   model_.index(clampRow(before.Bottom) - 1, right));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    SetLeftCol(leftCol);
    verticalScrollBar()->setValue(top);
}

bool TStringGrid::event(QEvent* event) {
    // A view shown for the first time scrolls its current cell into view;
    // a current cell parked in column 4 must stay out of sight.
    if (event->type() != QEvent::Show)
        return QTableView::event(event);
    const int left = LeftCol();
    const bool handled = QTableView::event(event);
    SetLeftCol(left);
    return handled;
}

void TStringGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        emit Entered();
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (hooks_ == nullptr || !hooks_->ArmDrag(*this, *event))
        return;
    // The selection is final now; moves with the button held drag it.
    QMouseEvent release(QEvent::MouseButtonRelease, event->position(), event->scenePosition(),
                        event->globalPosition(), event->button(), Qt::NoButton, event->modifiers());
    QTableView::mouseReleaseEvent(&release);
    hooks_->MouseUp(*this, false);
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event) {
    if (hooks_ == nullptr || !hooks_->DragMove(*this, *event))
        QTableView::mouseMoveEvent(event);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (hooks_ != nullptr)
        hooks_->MouseUp(*this, true);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (hooks_ != nullptr)
        hooks_->DoubleClickPress(*this);
    QTableView::mouseDoubleClickEvent(event);
}

void TStringGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (hooks_ != nullptr)
        hooks_->DragOver(*this, *event);
    else
        QTableView::dragEnterEvent(event);
}

void TStringGrid::dragMoveEvent(QDragMoveEvent* event) {
    if (hooks_ != nullptr)
        hooks_->DragOver(*this, *event);
    else
        QTableView::dragMoveEvent(event);
}

void TStringGrid::dropEvent(QDropEvent* event) {
    if (hooks_ != nullptr)
        hooks_->DragOver(*this, *event);
    else
        QTableView::dropEvent(event);
}

} // namespace kelvane
