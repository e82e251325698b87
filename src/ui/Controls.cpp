#include "ui/Controls.h"

#include <algorithm>

namespace kelvane {

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void TProgressBar::SetPosition(int position) {
    setValue(std::clamp(position, 0, 100));
}

} // namespace kelvane
