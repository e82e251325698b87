// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StringGrid.h"

#include "ui/AccessibleControls.h"
#include "ui/Keyboard.h"

#include <QAccessible>
#include <QApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <algorithm>

namespace kelvane {

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), model_(this) {
    InstallAccessibleControls();
    setModel(&model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(false);
    setWordWrap(false);
    // A long name keeps its start and its extension.
    setTextElideMode(Qt::ElideMiddle);
    setCornerButtonEnabled(false);
    // Columns that don't fit the grid scroll into view rather than being cut.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // By pixels: a grid narrower than its columns shows the last ones
    // without jumping a whole column at a time.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTabKeyNavigation(false);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    // A press on a heading arms a drag of the rows, never a column move.
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(1);
    // The column behind the last one holds nothing and parks the current
    // cell of the grid without the focus; no key or scroll may show it.
    setColumnHidden(kParkColumn, true);
    SetDefaultRowHeight(15);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { ColumnResized(column, width); });
    // Sizes further down may be wider than those read so far.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (WidestSizeDigits() != fittedDigits_)
            FitColumns();
    });
    connect(this, &QAbstractItemView::doubleClicked, this, &TStringGrid::DoubleClicked);
}

int TStringGrid::TextWidth(const QString& text) const {
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(text) + 2 * margin + 1;
}

int TStringGrid::FittingWidth(int column, const QStringList& widest) const {
    QStyleOptionHeader heading;
    heading.initFrom(horizontalHeader());
    heading.text = model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    heading.section = column;
    int width =
        style()->sizeFromContents(QStyle::CT_HeaderSection, &heading, QSize(), this).width();
    for (const QString& text : widest)
        width = std::max(width, TextWidth(text));
    return width;
}

void TStringGrid::ColumnResized(int column, int width) {
    if (fitting_ || column < 0 || column > 3 || width == 0)
        return;
    userWidths_[column] = width;
}

int TStringGrid::WidestSizeDigits() const {
    if (model_.RowCount() == 0)
        return 0;
    // Only the rows in view are read: a rebuild of a large folder stays as
    // cheap as reading its names.
    const int first = std::max(0, rowAt(0));
    int last = rowAt(std::max(0, viewport()->height() - 1));
    if (last < 0)
        last = model_.RowCount() - 1;
    return model_.WidestSizeDigits(first, last);
}

TStringGrid::MeasuredWith TStringGrid::Measures() const {
    QStringList headings;
    for (int column = 1; column < 4; ++column)
        headings << model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return {font(), horizontalHeader()->font(), logicalDpiX(), style(), style()->name(), headings};
}

const TStringGrid::FittedWidths& TStringGrid::ContentWidths(int digits) {
    MeasuredWith measuredWith = Measures();
    if (digits == fittedWidths_.digits && measuredWith == fittedWidths_.measuredWith)
        return fittedWidths_;
    // The widest each cell can be, whatever the font's digits look like.
    QStringList sizes;
    QStringList dates;
    for (char digit = '0'; digit <= '9'; ++digit) {
        if (digits > 0)
            sizes << QString(digits, QChar(digit));
        dates << QString("00.00.0000 00:00").replace('0', QChar(digit));
    }
    fittedWidths_ = {std::move(measuredWith), digits, FittingWidth(1, sizes),
                     FittingWidth(2, dates), FittingWidth(3, {"AHRS", "----"})};
    return fittedWidths_;
}

void TStringGrid::FitColumns() {
    if (width() != fittedGridWidth_) {
        fittedGridWidth_ = width();
        std::fill(std::begin(userWidths_) + 1, std::end(userWidths_), 0);
    }
    fittedDigits_ = WidestSizeDigits();
    const FittedWidths& fitting = ContentWidths(fittedDigits_);
    auto widthOf = [this](int column, int fitted) {
        return userWidths_[column] > 0 ? userWidths_[column] : fitted;
    };
    const int size = widthOf(1, fitting.size);
    const int date = widthOf(2, fitting.date);
    const int attr = widthOf(3, fitting.attr);
    const int name = userWidths_[0] > 0
                         ? std::max(1, std::min(userWidths_[0], width() - kNameMargin))
                         : std::max(designName_, viewport()->width() - size - date - attr);
    fitting_ = true;
    setColumnWidth(0, name);
    setColumnWidth(1, size);
    setColumnWidth(2, date);
    setColumnWidth(3, attr);
    fitting_ = false;
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
    // The placeholder is a name like any other to a command.
    const std::string_view file = model_.FileName(row - 1);
    return std::string(file.empty() ? model_.Name(row - 1) : file);
}

GridRect TStringGrid::Selection() const {
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
        if (!model_.FileName(row - 1).empty())
            files.emplace(model_.FileName(row - 1));
    }
    return files;
}

void TStringGrid::KeepSelectedFiles(const std::set<std::string>& files) {
    const int rows = model_.RowCount();
    if (rows == 0)
        return;
    int row = 0;
    for (int candidate = 1; candidate <= rows && row == 0; ++candidate) {
        const std::string_view file = model_.FileName(candidate - 1);
        if (!file.empty() && files.count(std::string(file)) != 0)
            row = candidate;
    }
    if (row == 0)
        row = std::clamp(Row(), 1, rows);
    // The current cell keeps its column: column 4 keeps the grid without the
    // focus free of any highlight.
    const int column = currentIndex().isValid() ? Col() : 0;
    const ScrollPlace place = Place();
    selectionModel()->setCurrentIndex(model_.index(row - 1, column), QItemSelectionModel::NoUpdate);
    const QItemSelection block(
        model_.index(row - 1, RowSelect() ? 0 : column),
        model_.index(row - 1, RowSelect() ? TFileGridModel::kColumns - 1 : column));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
    SetPlace(place);
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
    const ScrollPlace place = Place();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    SetPlace(place);
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
    return std::max(0, columnAt(0));
}

void TStringGrid::SetLeftCol(int column) {
    horizontalScrollBar()->setValue(columnViewportPosition(column) + horizontalOffset());
}

TStringGrid::ScrollPlace TStringGrid::Place() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void TStringGrid::SetPlace(ScrollPlace place) {
    horizontalScrollBar()->setValue(place.x);
    verticalScrollBar()->setValue(place.y);
}

int TStringGrid::DefaultRowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
}

void TStringGrid::SetRows(GridRows rows, std::shared_ptr<const OpenFolder> folder) {
    const bool hadCurrent = currentIndex().isValid();
    const GridRect before = Selection();
    const int currentColumn = Col();
    const int currentRow = Row();
    const ScrollPlace place = Place();

    model_.SetRows(std::move(rows), std::move(folder));
    FitColumns();
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
    SetPlace(place);
}

int TStringGrid::RowOfFile(const std::string& fileName) const {
    return model_.RowOfFile(fileName) + 1;
}

TStringGrid::SelectionAnchors TStringGrid::SelectionFiles() const {
    const GridRect rect = Selection();
    auto fileAt = [this](int row) {
        return row >= 1 && row <= model_.RowCount() ? std::string(model_.FileName(row - 1))
                                                    : std::string();
    };
    return {fileAt(rect.Top), fileAt(rect.Bottom), fileAt(Row())};
}

void TStringGrid::SelectFiles(const SelectionAnchors& files) {
    const ScrollPlace place = Place();
    const int current = RowOfFile(files.current);
    if (current > 0)
        selectionModel()->setCurrentIndex(model_.index(current - 1, Col()),
                                          QItemSelectionModel::NoUpdate);
    const int top = RowOfFile(files.top);
    const int bottom = RowOfFile(files.bottom);
    if (top > 0 && bottom > 0) {
        const GridRect before = Selection();
        const int left = RowSelect() ? 0 : before.Left;
        const int right = RowSelect() ? TFileGridModel::kColumns - 1 : before.Right;
        const QItemSelection selection(model_.index(std::min(top, bottom) - 1, left),
                                       model_.index(std::max(top, bottom) - 1, right));
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    SetPlace(place);
}

bool TStringGrid::event(QEvent* event) {
    // A view shown for the first time scrolls its current cell into view;
    // a current cell parked in column 4 must stay out of sight.
    if (event->type() != QEvent::Show)
        return QTableView::event(event);
    const int left = horizontalScrollBar()->value();
    const bool handled = QTableView::event(event);
    horizontalScrollBar()->setValue(left);
    return handled;
}

bool TStringGrid::viewportEvent(QEvent* event) {
    const bool handled = QTableView::viewportEvent(event);
    // The vertical scroll bar came or went: the names take or give its room.
    if (event->type() == QEvent::Resize)
        FitColumns();
    return handled;
}

// QTableView's own announcements number the cells with the parking column
// among them; the grid's accessible table leaves it out. They are made here
// instead, numbered as that table numbers its cells.
void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Past QTableView's, which would announce the cell by its own numbering.
    QAbstractItemView::currentChanged(current, previous); // NOLINT(bugprone-parent-virtual-call)
    // Parking the grid the user just left is no move of the user's: a
    // reader following it would leave the grid the user is in.
    if (!QAccessible::isActive() || !current.isValid() || !hasFocus())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(AccessibleGridChild(current));
    QAccessible::updateAccessibility(&focus);
}

void TStringGrid::selectionChanged(const QItemSelection& selected,
                                   const QItemSelection& deselected) {
    // NOLINTNEXTLINE(bugprone-parent-virtual-call): as in currentChanged
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    auto announce = [this](const QItemSelection& cells, QAccessible::Event change) {
        const QModelIndexList indexes = cells.indexes();
        if (indexes.isEmpty())
            return;
        QAccessibleEvent event(this, change);
        event.setChild(AccessibleGridChild(indexes.first()));
        QAccessible::updateAccessibility(&event);
    };
    announce(selected, QAccessible::SelectionAdd);
    announce(deselected, QAccessible::SelectionRemove);
}

void TStringGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        emit Entered();
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit EnterPressed();
        return;
    }
    if (plain && event->key() == Qt::Key_Delete) {
        emit DeletePressed();
        return;
    }
    if (IsContextMenuKey(*event)) {
        // Under the current row, where a right-click on it would open it.
        const int row = std::clamp(Row(), 1, std::max(1, model_.RowCount())) - 1;
        const int y = rowViewportPosition(row) + rowHeight(row) / 2;
        emit customContextMenuRequested(QPoint(std::max(0, columnViewportPosition(0)) + 8, y));
        return;
    }
    QTableView::keyPressEvent(event);
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
    // The view itself takes a double-click beside or below the rows for a
    // press; there it runs the command on the selected row as well.
    if (event->button() == Qt::LeftButton && !indexAt(event->position().toPoint()).isValid()) {
        emit DoubleClicked();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

// Home and End go to the first and last file, as in every file list; the
// table's own would go to the first and last column of the row.
QModelIndex TStringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    typed_.clear(); // letters typed after a move start a new search
    const QModelIndex current = currentIndex();
    const bool ends = action == MoveHome || action == MoveEnd;
    if (!ends || model_.RowCount() == 0 || (modifiers & Qt::ControlModifier))
        return QTableView::moveCursor(action, modifiers);
    const int column = current.isValid() ? current.column() : 0;
    return model_.index(action == MoveHome ? 0 : model_.RowCount() - 1, column);
}

void TStringGrid::keyboardSearch(const QString& search) {
    if (search.isEmpty() || model_.RowCount() == 0)
        return;
    if (!typedAt_.isValid() || typedAt_.elapsed() >= QApplication::keyboardInputInterval())
        typed_.clear();
    typedAt_.start();
    // The same letter again steps on to the next name that begins with it.
    const bool again = typed_.size() == 1 && typed_.compare(search, Qt::CaseInsensitive) == 0;
    if (!again)
        typed_ += search;
    const int current = std::max(0, Row() - 1);
    const int row = RowStartingWith(typed_, typed_.size() == 1 ? current + 1 : current);
    if (row < 0)
        return;
    const QModelIndex index = model_.index(row, currentIndex().isValid() ? Col() : 0);
    const QItemSelectionModel::SelectionFlags rows =
        RowSelect() ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | rows);
    const int left = horizontalScrollBar()->value();
    scrollTo(index);
    horizontalScrollBar()->setValue(left);
}

int TStringGrid::RowStartingWith(const QString& typed, int from) const {
    const int rows = model_.RowCount();
    for (int step = 0; step < rows; ++step) {
        const int row = (from + step) % rows;
        if (model_.FileName(row).empty())
            continue;
        const QString name = QString::fromStdString(model_.CellText(row, 0));
        if (name.startsWith(typed, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

QItemSelectionModel::SelectionFlags TStringGrid::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const {
    // A press beside or below the rows keeps the selection, so that a
    // double-click there acts on the rows still shown selected.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const bool mouse = event != nullptr && (event->type() == QEvent::MouseButtonPress ||
                                            event->type() == QEvent::MouseButtonRelease ||
                                            event->type() == QEvent::MouseMove);
    if (!mouse)
        return QTableView::selectionCommand(index, event);
    const auto* press = static_cast<const QMouseEvent*>(event);
    if (!(press->modifiers() & Qt::ControlModifier))
        return QTableView::selectionCommand(index, event);
    // The selection is one block, extended only with Shift. Ctrl picks no
    // single rows out of it: a Ctrl+click is a plain click, never a range a
    // user did not ask for.
    const QMouseEvent plain(press->type(), press->position(), press->scenePosition(),
                            press->globalPosition(), press->button(), press->buttons(),
                            press->modifiers() & ~Qt::ControlModifier);
    return QTableView::selectionCommand(index, &plain);
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
