#include "ui/AboutDialog.h"

namespace kelvane {

TAbout* About = nullptr;

TAbout::TAbout(QWidget* parent) : TModalForm(parent) {
    setWindowTitle("About Kelvane95");
}

} // namespace kelvane
