// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every dialog. Its ShowModal goes through one seam, like the
// message boxes, so a test can fill a dialog and press its button instead of
// running a nested event loop.
#pragma once

#include "platform/MessageSeam.h"

#include <QDialog>
#include <functional>
#include <optional>

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

    // A dialog of fixed size to the window manager: no minimise, maximise or
    // resize, and a close box only when asked for.
    enum class CloseBox { No, Yes };
    void SetDialogFrame(CloseBox closeBox);
    // Centres the dialog on the screen the first time it shows; later
    // showings open it where it was last, not a title bar lower each time.
    void CentreOnScreen();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Widens (and lengthens) every control whose text is longer than its
    // box, moving the controls after it on its line along, and the dialog
    // with them; design sizes and places stay where the texts fit.
    void GrowToFitTexts();
    void Activate();

    bool activatedThisShowing_ = false;
    // Where the client area was when the dialog was last put away.
    std::optional<QPoint> lastPlace_;
};

// Answers a ShowModal in place of the user: fills the dialog, presses a
// button (SetModalResult) and returns the dialog's result.
using ModalResponder = std::function<int(TModalForm&)>;

// Installs a responder and returns the one it replaces. With none installed,
// ShowModal runs the dialog for real.
ModalResponder SetModalResponder(ModalResponder responder);

} // namespace kelvane
