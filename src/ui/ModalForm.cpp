// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ModalForm.h"

#include "ui/Fonts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

// The room a control's text needs; an empty size for controls without text.
QSize TextRoom(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty())
            return {};
        if (label->wordWrap())
            return {label->width(), label->heightForWidth(label->width())};
        return label->sizeHint();
    }
    if (qobject_cast<const QCheckBox*>(&control) || qobject_cast<const QRadioButton*>(&control))
        return control.sizeHint();
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        // The style's least width for a button is no concern here: only the
        // caption, with a few pixels of border either side.
        QString caption = button->text();
        caption.replace("&&", QString(QChar(1))).remove('&').replace(QChar(1), '&');
        const QFontMetrics metrics(button->font());
        return {metrics.horizontalAdvance(caption) + 12, metrics.height() + 4};
    }
    return {};
}

// Group boxes and plain panels hold controls of their own; a spin box or a
// combo box holds parts, not controls.
bool HoldsControls(const QWidget& widget) {
    const QMetaObject* kind = widget.metaObject();
    return kind == &QGroupBox::staticMetaObject || kind == &QFrame::staticMetaObject ||
           kind == &QWidget::staticMetaObject;
}

QSize Needed(QWidget& control);

// Grows the controls inside `container` to their texts and returns the size
// the container needs to hold them with its design margins. Hidden controls
// are grown too: a dialog may show them while it is open.
QSize GrowInside(QWidget& container) {
    std::vector<QWidget*> controls;
    for (QWidget* child : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            controls.push_back(child);
    int right = 0;
    int bottom = 0;
    for (const QWidget* control : controls) {
        right = std::max(right, control->geometry().right() + 1);
        bottom = std::max(bottom, control->geometry().bottom() + 1);
    }
    const int rightMargin = std::max(0, container.width() - right);
    const int bottomMargin = std::max(0, container.height() - bottom);

    // Wider first, line by line: what stands to the right of a grown control
    // moves along by as much; what shares its place (one shown at a time)
    // stays.
    std::map<int, std::vector<QWidget*>> lines;
    for (QWidget* control : controls)
        lines[control->y()].push_back(control);
    for (auto& [top, line] : lines) {
        std::vector<std::pair<int, int>> grown; // old right edge, growth
        for (QWidget* control : line) {
            const int oldRight = control->geometry().right() + 1;
            const int grow = std::max(0, Needed(*control).width() - control->width());
            if (grow > 0) {
                control->resize(control->width() + grow, control->height());
                grown.emplace_back(oldRight, grow);
            }
        }
        for (QWidget* control : line) {
            int shift = 0;
            for (const auto& [edge, grow] : grown)
                if (control->x() >= edge)
                    shift += grow;
            control->move(control->x() + shift, control->y());
        }
    }
    // Then taller: what lies below a grown control moves down by as much.
    for (QWidget* control : controls) {
        const QSize needed = HoldsControls(*control) ? control->size() : TextRoom(*control);
        const int grow = std::max(0, needed.height() - control->height());
        if (grow == 0)
            continue;
        const int oldBottom = control->geometry().bottom();
        control->resize(control->width(), control->height() + grow);
        for (QWidget* other : controls)
            if (other != control && other->y() > oldBottom)
                other->move(other->x(), other->y() + grow);
    }

    QSize needed = container.size();
    for (const QWidget* control : controls) {
        needed.setWidth(std::max(needed.width(), control->geometry().right() + 1 + rightMargin));
        needed.setHeight(
            std::max(needed.height(), control->geometry().bottom() + 1 + bottomMargin));
    }
    if (&container != container.window() && needed != container.size())
        container.resize(needed);
    return needed;
}

QSize Needed(QWidget& control) {
    return HoldsControls(control) ? GrowInside(control) : TextRoom(control);
}

ModalResponder& Responder() {
    static ModalResponder responder;
    return responder;
}

} // namespace

TModalForm::TModalForm(QWidget* parent) : QDialog(parent) {
    // Before any control is made, so each is sized in the program's font.
    WearWindowFont(*this);
}

void TModalForm::GrowToFitTexts() {
    const QSize needed = GrowInside(*this);
    if (needed == size())
        return;
    const QPoint centre = geometry().center();
    if (minimumSize() == maximumSize())
        setFixedSize(needed);
    else
        resize(needed);
    // Grown about its centre, as it was placed.
    if (!lastPlace_)
        move(pos() + centre - geometry().center());
}

void TModalForm::Activate() {
    activatedThisShowing_ = true;
    FormActivate();
    GrowToFitTexts();
}

int TModalForm::ShowModal() {
    setResult(mrNone);
    activatedThisShowing_ = false;
    int answer;
    if (const ModalResponder& responder = Responder()) {
        Activate();
        answer = responder(*this);
        if (isVisible())
            hide();
    } else {
        answer = exec();
    }
    // Rejected (Escape, the close box) reads as Cancel.
    return answer == mrNone ? mrCancel : answer;
}

void TModalForm::SetDialogFrame(CloseBox closeBox) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                            Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox == CloseBox::Yes)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    setWindowFlags(flags);
}

void TModalForm::CentreOnScreen() {
    if (lastPlace_) {
        // The client area's own place: a frame position would be read by
        // some window managers as the client's, and each showing would
        // then move the dialog down by the height of its title bar.
        setGeometry(QRect(*lastPlace_, size()));
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TModalForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    lastPlace_ = geometry().topLeft();
}

void TModalForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activatedThisShowing_)
        Activate();
}

ModalResponder SetModalResponder(ModalResponder responder) {
    return std::exchange(Responder(), std::move(responder));
}

} // namespace kelvane
