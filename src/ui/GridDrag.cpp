// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GridDrag.h"

#include "commands/FileCommands.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QUrl>
#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace kelvane {
namespace {

DragRunner& Runner() {
    static DragRunner runner;
    return runner;
}

} // namespace

DragRunner SetDragRunner(DragRunner runner) {
    return std::exchange(Runner(), std::move(runner));
}

TGridDrag::TGridDrag(TStringGrid& first, TStringGrid& second, Handlers handlers)
    : first_(first), second_(second), handlers_(std::move(handlers)) {
    for (TStringGrid* grid : {&first_, &second_}) {
        grid->SetMouseHooks(this);
        grid->setAcceptDrops(true);
        grid->viewport()->setAcceptDrops(true);
        // The end of a column resize is a release on the headings.
        grid->horizontalHeader()->viewport()->installEventFilter(this);
    }
}

TGridDrag::~TGridDrag() {
    first_.SetMouseHooks(nullptr);
    second_.SetMouseHooks(nullptr);
}

QByteArray TGridDrag::Identity(const TStringGrid& grid) {
    return QByteArray::number(static_cast<qlonglong>(::getpid())) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(&grid), 16);
}

TStringGrid& TGridDrag::Other(const TStringGrid& grid) const {
    return &grid == &first_ ? second_ : first_;
}

bool TGridDrag::ArmDrag(TStringGrid& grid, const QMouseEvent& press) {
    armed_ = nullptr;
    if (press.button() != Qt::LeftButton)
        return false;
    if (DoubleClicked) {
        // Right after a double-click the press is a plain grid press.
        clearOnRelease_ = true;
        return false;
    }
    armed_ = &grid;
    pressedAt_ = press.position().toPoint();
    // Ending the press raises the grid's click, which ends a double-click's
    // hold on the next press.
    DoubleClicked = false;
    return true;
}

bool TGridDrag::DragMove(TStringGrid& grid, const QMouseEvent& move) {
    if (armed_ != &grid)
        return false;
    if (!(move.buttons() & Qt::LeftButton)) {
        armed_ = nullptr;
        return false;
    }
    const QPoint moved = move.position().toPoint() - pressedAt_;
    if (std::abs(moved.x()) >= kStartDistance || std::abs(moved.y()) >= kStartDistance) {
        armed_ = nullptr;
        StartDrag(grid);
    }
    return true;
}

void TGridDrag::DoubleClickPress(TStringGrid&) {
    armed_ = nullptr;
}

void TGridDrag::MouseUp(TStringGrid& grid, bool real) {
    if (real) {
        armed_ = nullptr;
        if (std::exchange(clearOnRelease_, false))
            DoubleClicked = false;
    }
    if (handlers_.mouseUp)
        handlers_.mouseUp(grid);
}

void TGridDrag::DragOver(TStringGrid& grid, QDropEvent& event) {
    const QMimeData* data = event.mimeData();
    const bool fromOther = data != nullptr && data->hasFormat(kMimeType) &&
                           data->data(kMimeType) == Identity(Other(grid));
    if (data != nullptr && !data->hasFormat(kMimeType) && data->hasUrls()) {
        FilesOver(grid, event);
        return;
    }
    if (!fromOther) {
        event.ignore();
        return;
    }
    event.setDropAction(Qt::MoveAction);
    event.accept();
    if (event.type() != QEvent::Drop)
        return;
    // The command runs once the drag has ended, not inside the drag's own
    // event loop, where the dialogs it shows would compete with the drag.
    if (dragging_ != nullptr)
        droppedOn_ = &grid;
    else if (handlers_.dropped)
        handlers_.dropped(grid);
}

void TGridDrag::FilesOver(TStringGrid& grid, QDropEvent& event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event.mimeData()->urls()) {
        if (url.isLocalFile())
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    const std::vector<std::string> taken =
        handlers_.filesFor ? handlers_.filesFor(grid, paths) : std::vector<std::string>{};
    if (taken.empty()) {
        event.ignore();
        return;
    }
    // A copy to the other program: its files stay where they lie until the
    // run has replaced each of them.
    event.setDropAction(Qt::CopyAction);
    event.accept();
    if (event.type() != QEvent::Drop || !handlers_.filesDropped)
        return;
    // After the drop has been answered: the other program waits for that
    // answer, and the run's dialogs would keep it waiting.
    QMetaObject::invokeMethod(
        this, [this, target = &grid, taken] { handlers_.filesDropped(*target, taken); },
        Qt::QueuedConnection);
}

void TGridDrag::StartDrag(TStringGrid& source) {
    auto* data = new QMimeData;
    data->setData(kMimeType, Identity(source));
    QPointer<QDrag> drag = new QDrag(&source);
    drag->setMimeData(data);

    dragging_ = &source;
    droppedOn_ = nullptr;
    if (const DragRunner& runner = Runner())
        runner(*drag);
    else
        drag->exec(Qt::MoveAction, Qt::MoveAction);
    dragging_ = nullptr;
    if (drag)
        drag->deleteLater();

    if (TStringGrid* target = std::exchange(droppedOn_, nullptr); target && handlers_.dropped)
        handlers_.dropped(*target);
}

bool TGridDrag::eventFilter(QObject* watched, QEvent* event) {
    for (TStringGrid* grid : {&first_, &second_}) {
        if (watched == grid->horizontalHeader()->viewport() && HeadingMouse(*grid, *event))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

// A press on a heading selects nothing and moves no column: it gives the grid
// the focus and arms a drag of its selected rows, as a press on a row does.
// A press on a border between headings stays the header's: it resizes.
bool TGridDrag::HeadingMouse(TStringGrid& grid, QEvent& event) {
    QHeaderView& header = *grid.horizontalHeader();
    switch (event.type()) {
    case QEvent::MouseButtonPress: {
        const auto& press = static_cast<QMouseEvent&>(event);
        if (OnHeadingBorder(header, press.position().toPoint().x()))
            return false;
        grid.setFocus(Qt::MouseFocusReason);
        // The moves that follow come to the headings too, in the same
        // coordinates as this press.
        if (!ArmDrag(grid, press))
            return false;
        if (handlers_.mouseUp)
            handlers_.mouseUp(grid);
        return true;
    }
    case QEvent::MouseMove: {
        if (armed_ != &grid)
            return false;
        return DragMove(grid, static_cast<QMouseEvent&>(event));
    }
    case QEvent::MouseButtonRelease: {
        // The end of a column resize, or of a press that armed a drag.
        const bool armed = armed_ == &grid;
        MouseUp(grid, true);
        return armed;
    }
    default:
        return false;
    }
}

bool TGridDrag::OnHeadingBorder(const QHeaderView& header, int x) {
    const int grip = header.style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, &header);
    const int section = header.logicalIndexAt(x);
    if (section < 0)
        return false;
    const int left = header.sectionViewportPosition(section);
    const int right = left + header.sectionSize(section);
    // The first heading's left edge borders nothing.
    return (x - left < grip && header.visualIndex(section) > 0) || right - x <= grip;
}

} // namespace kelvane
