// The base of every dialog. Its ShowModal goes through one seam, like the
// message boxes, so a test can fill a dialog and press its button instead of
// running a nested event loop.
#pragma once

#include "platform/MessageSeam.h"

#include <QDialog>
#include <functional>

namespace kelvane {

class TModalForm : public QDialog {
    Q_OBJECT
public:
    explicit TModalForm(QWidget* parent = nullptr);

    // Shows the dialog modally and returns its numeric result: OK 1,
    // Cancel 2 (also when it is closed by its close box), Abort 3, Yes 6,
    // All 8.
    int ShowModal();

    // Ends the showing with the given result, as the dialog's buttons do.
    void SetModalResult(int result) { done(result); }

protected:
    // Runs each time the dialog is shown, before the user sees it.
    virtual void FormActivate() {}

    void showEvent(QShowEvent* event) override;

private:
    bool activatedThisShowing_ = false;
};

// Answers a ShowModal in place of the user: fills the dialog, presses a
// button (SetModalResult) and returns the dialog's result.
using ModalResponder = std::function<int(TModalForm&)>;

// Installs a responder and returns the one it replaces. With none installed,
// ShowModal runs the dialog for real.
ModalResponder SetModalResponder(ModalResponder responder);

} // namespace kelvane
