#include "ui/Controls.h"

#include <algorithm>

namespace kelvane {

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void TProgressBar::SetPosition(int position) {
    // QProgressBar repaints on the spot when its value moves far enough,
    // at every report of the engine; painted with the window's other
    // changes instead, a run over many small files is not held up by
    // drawing bars nobody has time to see.
    setUpdatesEnabled(false);
    setValue(std::clamp(position, 0, 100));
    setUpdatesEnabled(true);
}

} // namespace kelvane
