#include "ui/PreferencesDialog.h"

namespace kelvane {

TPreferences* Preferences = nullptr;

TPreferences::TPreferences(QWidget* parent) : TModalForm(parent) {
    setWindowTitle("Preferences");
}

} // namespace kelvane
