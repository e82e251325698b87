// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PasswordForm.h"

#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/PasswordRules.h"
#include "crypto/SecureWipe.h"
#include "crypto/Translate.h"
#include "platform/MessageSeam.h"
#include "ui/Padlock.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace kelvane {
namespace {

constexpr int kMargin = 16;
constexpr int kFieldLeft = 64;
constexpr int kFieldWidth = 170;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;

// The dialogs' only picture.
QPixmap PadlockPicture() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    DrawPadlock(painter, QRectF(5, 3, 22, 27));
    return picture;
}

} // namespace

std::u16string_view Utf16Of(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

TPasswordForm::TPasswordForm(QWidget* parent, const QString& caption, const QString& prompt,
                             int fieldsBottom)
    : TModalForm(parent) {
    setWindowTitle(caption);
    // No title-bar buttons: the dialog is left by its buttons, Enter or Escape.
    SetDialogFrame(CloseBox::No);

    Label4 = new QLabel(prompt, this);
    Label4->move(kMargin, 10);
    Label4->adjustSize();

    FName_Label = new QLabel(this);
    QFont bold = FName_Label->font();
    bold.setBold(true);
    FName_Label->setFont(bold);
    FName_Label->setTextFormat(Qt::PlainText);
    FName_Label->move(kMargin, 30);

    Image1 = new QLabel(this);
    Image1->setPixmap(PadlockPicture());
    Image1->setGeometry(kMargin, 60, 32, 32);

    MaskEdit1 = NewPasswordField(this);
    // A screen reader names the field by the line above it.
    Label4->setBuddy(MaskEdit1);
    MaskEdit1->setAccessibleName(prompt);

    QFont boldItalic = bold;
    boldItalic.setItalic(true);
    Label3 = new QLabel(QCoreApplication::translate("PasswordForm", "Note:"), this);
    Label3->setFont(boldItalic);
    Label3->move(kMargin, fieldsBottom + 8);
    Label3->adjustSize();
    Label2 = new QLabel(
        QCoreApplication::translate("PasswordForm", "Case of characters is meaningful"), this);
    Label2->setFont(boldItalic);
    // Beside the note's caption, which may be longer in another language.
    Label2->move(std::max(kFieldLeft, Label3->x() + Label3->width() + 4), fieldsBottom + 8);
    Label2->adjustSize();

    const int buttonsTop = fieldsBottom + 34;
    Button2 = new QPushButton(QCoreApplication::translate("PasswordForm", "&Submit"), this);
    Button2->setGeometry(kFieldLeft, buttonsTop, kButtonWidth, kButtonHeight);
    Button2->setDefault(true);
    Button2->setAutoDefault(true);
    Button1 = new QPushButton(QCoreApplication::translate("PasswordForm", "&Cancel"), this);
    Button1->setGeometry(kFieldLeft + kButtonWidth + 12, buttonsTop, kButtonWidth, kButtonHeight);
    Button1->setAutoDefault(false);

    CheckBox1 = new QCheckBox(
        QCoreApplication::translate("PasswordForm", "One password for a file list"), this);
    CheckBox1->move(kMargin, buttonsTop + kButtonHeight + 12);
    CheckBox1->adjustSize();
    CheckBox1->setEnabled(false);

    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
}

QLineEdit* TPasswordForm::NewPasswordField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setEchoMode(QLineEdit::Password);
    // Every character shows as "*", whatever the style would choose.
    field->setStyleSheet("lineedit-password-character: 42");
    field->setFixedWidth(kFieldWidth);
    return field;
}

void TPasswordForm::FormActivate() {
    FName_Label->adjustSize();
    const int width = std::max(FName_Label->x() + FName_Label->width() + 20,
                               Button1->x() + Button1->width() + 50);
    const int height = CheckBox1->y() + 50;
    setFixedSize(width, height);
    CentreOnScreen();

    CheckBox1->setEnabled(FirstOfList);
    if (CheckBox1->isEnabled())
        CheckBox1->setChecked(OnePerList > 0);
    MaskEdit1->setFocus();
    ClearFields();
}

void TPasswordForm::CheckBox1Click() {
    if (CheckBox1->hasFocus())
        MaskEdit1->setFocus();
}

bool TPasswordForm::OneForListChecked() const {
    return CheckBox1->isChecked();
}

void TPasswordForm::SetFileLabel(const std::string& text) {
    FName_Label->setText(QString::fromStdString(text));
    FName_Label->adjustSize();
}

void TPasswordForm::TakePassword(SecretString& password) {
    const QString text = MaskEdit1->text();
    // Only an accepted password gets here; a refused one leaves `password` empty.
    ToKeyBytes(Utf16Of(text), password.Text());
    ClearFields();
}

bool TPasswordForm::RefuseForeignCharacters(const QString& text) {
    const std::string foreign = CharactersOutsideWindows1252(Utf16Of(text));
    if (foreign.empty())
        return false;
    //: %1 lists the refused characters; the second sentence starts a new line.
    ShowError(FormatText(Tr("PasswordForm", "These characters can't be used in a password: "
                                            "%1\rUse letters, digits and signs of Western "
                                            "European languages."),
                         {foreign}));
    return true;
}

void TPasswordForm::ClearFields() {
    WipeField(MaskEdit1);
}

void WipeField(QLineEdit* field) {
    // text() shares the field's own buffer: overwriting it in place leaves no
    // copy of the password behind in the field. Text the field doesn't own
    // (a literal put there by the program) has no capacity and is read-only.
    const QString text = field->text();
    if (!text.isEmpty() && text.capacity() > 0)
        SecureWipe(const_cast<QChar*>(text.constData()),
                   static_cast<std::size_t>(text.size()) * sizeof(QChar));
    field->setText(QString());
}

} // namespace kelvane
