// SPDX-License-Identifier: GPL-3.0-or-later
// Dragging rows from one file grid onto the other. A left press on a grid
// arms a drag; it starts once the mouse has moved 5 pixels with the button
// held, and only the other grid takes the drop. What is dragged is the
// source grid's selection: a drop runs the source's command on it, wherever
// on the target it lands. The drag carries no file names, so nothing outside
// the window can take it. Files dragged in from a file manager are taken too,
// by the grid whose command suits them.
#pragma once

#include "ui/StringGrid.h"

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

class QDrag;
class QHeaderView;

namespace kelvane {

class TGridDrag : public QObject, public GridMouseHooks {
    Q_OBJECT
public:
    // The distance the mouse must move before an armed drag starts.
    static constexpr int kStartDistance = 5;
    // The data type a drag of a grid carries.
    static constexpr const char* kMimeType = "application/x-kelvane-grid-rows";

    struct Handlers {
        // Rows of the other grid were dropped on `target`.
        std::function<void(TStringGrid& target)> dropped;
        // A mouse button was released on `grid` or on its headings.
        std::function<void(TStringGrid& grid)> mouseUp;
        // Of the files dragged in from another program, those `target`
        // takes; the drag is refused when there are none.
        std::function<std::vector<std::string>(TStringGrid& target,
                                               const std::vector<std::string>& paths)>
            filesFor;
        // Files from another program were dropped on `target`: those it takes.
        std::function<void(TStringGrid& target, const std::vector<std::string>& files)>
            filesDropped;
    };

    // Must go before the grids do: it unhooks itself from them.
    TGridDrag(TStringGrid& first, TStringGrid& second, Handlers handlers);
    ~TGridDrag() override;

    bool ArmDrag(TStringGrid& grid, const QMouseEvent& press) override;
    bool DragMove(TStringGrid& grid, const QMouseEvent& move) override;
    void DoubleClickPress(TStringGrid& grid) override;
    void MouseUp(TStringGrid& grid, bool real) override;
    void DragOver(TStringGrid& grid, QDropEvent& event) override;

    // A drag of this grid is armed and waits for the mouse to move.
    bool Armed(const TStringGrid& grid) const { return armed_ == &grid; }

    // What a drag of `grid` carries: it names the grid and this process.
    static QByteArray Identity(const TStringGrid& grid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TStringGrid& Other(const TStringGrid& grid) const;
    // A drag of files from another program over `grid`.
    void FilesOver(TStringGrid& grid, QDropEvent& event);
    // A mouse event on `grid`'s headings; true when it must go no further.
    bool HeadingMouse(TStringGrid& grid, QEvent& event);
    static bool OnHeadingBorder(const QHeaderView& header, int x);
    void StartDrag(TStringGrid& source);

    TStringGrid& first_;
    TStringGrid& second_;
    Handlers handlers_;
    TStringGrid* armed_ = nullptr;
    QPoint pressedAt_;
    // The press after a double-click ends by clearing DoubleClicked.
    bool clearOnRelease_ = false;
    TStringGrid* dragging_ = nullptr;
    TStringGrid* droppedOn_ = nullptr;
};

// Runs a started drag to its end: QDrag::exec unless a test has put in a
// runner of its own, which may send drag and drop events to the grids.
using DragRunner = std::function<void(QDrag& drag)>;
DragRunner SetDragRunner(DragRunner runner);

} // namespace kelvane
