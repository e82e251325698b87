// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/PasswordPolicy.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedMessages.h"
#include "ui/DecryptDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/WindowState.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing_support::ScriptedDialogs;
using testing_support::ScriptedMessages;

class PasswordDialogsTest : public testing::Test {
protected:
    PasswordDialogsTest() { ResetWindowState(); }
    ~PasswordDialogsTest() override { ResetWindowState(); }

    // Types into the encryption dialog and presses "Submit".
    int SubmitEncrypt(const QString& first, const QString& second) {
        dialogs.Expect("Encryption procedure", [&](TModalForm&) {
            encrypt.MaskEdit1->setText(first);
            encrypt.MaskEdit2->setText(second);
            encrypt.Button2->click();
        });
        return encrypt.ShowModal();
    }

    TEncrypt encrypt;
    TDecrypt decrypt;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
};

TEST_F(PasswordDialogsTest, FieldsShowAStarPerCharacterAndEnterSubmits) {
    for (TPasswordForm* form :
         {static_cast<TPasswordForm*>(&encrypt), static_cast<TPasswordForm*>(&decrypt)}) {
        EXPECT_EQ(form->MaskEdit1->echoMode(), QLineEdit::Password);
        EXPECT_EQ(form->MaskEdit1->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                      nullptr, form->MaskEdit1),
                  '*');
        EXPECT_TRUE(form->Button2->isDefault());
        EXPECT_FALSE(form->windowFlags() & Qt::WindowCloseButtonHint);
    }
    EXPECT_EQ(encrypt.MaskEdit2->echoMode(), QLineEdit::Password);
}

TEST_F(PasswordDialogsTest, VerificationRefusesWrongLengthsAndMismatchesAndStaysOpen) {
    struct Case {
        QString first, second;
        bool accepted;
    };
    const Case cases[] = {
        {"abcde", "abcde", false},      {"abcdEfgh", "abcdefgh", false},
        {"abcdefgh", "abcdefgh", true}, {"abcdefghi", "abcdefghi", false},
        {"abcdef", "abcdeg", false},    {u"s\u00e9same!"_qs, u"s\u00e9same!"_qs, true},
    };
    for (const Case& c : cases) {
        if (!c.accepted)
            messages.Expect("Verification failed.");
        EXPECT_EQ(SubmitEncrypt(c.first, c.second), c.accepted ? mrOk : mrCancel)
            << c.first.toStdString();
        if (!c.accepted) {
            EXPECT_EQ(messages.Shown().back().kind, MessageKind::Error);
            // The fields stay as typed while the dialog stays open.
            EXPECT_EQ(encrypt.MaskEdit1->text(), c.first);
        }
    }
}

TEST_F(PasswordDialogsTest, CharactersOutsideTheCodePageAreNamedBeforeAnyVerification) {
    const std::string hint = "\rUse letters, digits and signs of Western European languages.";
    // A wrong length and a mismatch as well: the characters come first, as
    // changing them may change the length too.
    messages.Expect("These characters can't be used in a password: \xC4\x81\xD0\x96" + hint);
    EXPECT_EQ(SubmitEncrypt(u"ab\u0101\u0416\u0101"_qs, u"other"_qs), mrCancel);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown().back().kind, MessageKind::Error);

    // The decryption dialog, silent about lengths, tells this too.
    messages.Expect("These characters can't be used in a password: \xE2\x98\x83" + hint);
    dialogs.Expect("Decryption procedure", [&](TModalForm&) {
        decrypt.MaskEdit1->setText(u"snow\u2603\u20ac"_qs);
        decrypt.Button2->click();
    });
    EXPECT_EQ(decrypt.ShowModal(), mrCancel);
    EXPECT_TRUE(messages.AllAnswered());
}

TEST_F(PasswordDialogsTest, DecryptionRefusesAWrongLengthSilently) {
    for (const QString& typed : {QString("12345"), QString("123456789")}) {
        dialogs.Expect("Decryption procedure", [&](TModalForm&) {
            decrypt.MaskEdit1->setText(typed);
            decrypt.Button2->click();
        });
        EXPECT_EQ(decrypt.ShowModal(), mrCancel);
        EXPECT_EQ(decrypt.MaskEdit1->text(), typed);
    }
    dialogs.Expect("Decryption procedure", [&](TModalForm&) {
        decrypt.MaskEdit1->setText("1234567");
        decrypt.Button2->click();
    });
    EXPECT_EQ(decrypt.ShowModal(), mrOk);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(PasswordDialogsTest, ActivationSizesTheDialogAndEmptiesTheFields) {
    dialogs.Expect("Encryption procedure", [&](TModalForm&) {
        encrypt.MaskEdit1->setText("left12");
        encrypt.MaskEdit2->setText("left12");
        encrypt.Button1->click();
    });
    encrypt.SetFileLabel("/a.txt");
    encrypt.ShowModal();
    const int narrow = encrypt.width();
    EXPECT_EQ(narrow, encrypt.Button1->x() + encrypt.Button1->width() + 50);
    EXPECT_EQ(encrypt.height(), encrypt.CheckBox1->y() + 50);
    EXPECT_EQ(encrypt.MaskEdit1->text(), "left12"); // cancelled: nothing took it yet

    encrypt.SetFileLabel("/" + std::string(120, 'w') + "/a.txt");
    dialogs.Expect("Encryption procedure", [&](TModalForm&) {
        EXPECT_EQ(encrypt.MaskEdit1->text(), "");
        EXPECT_EQ(encrypt.MaskEdit2->text(), "");
        encrypt.Button1->click();
    });
    encrypt.ShowModal();
    EXPECT_EQ(encrypt.width(), encrypt.FName_Label->x() + encrypt.FName_Label->width() + 20);
    EXPECT_GT(encrypt.width(), narrow);
}

TEST_F(PasswordDialogsTest, ListBoxIsOfferedOnlyForTheFirstFileOfAList) {
    const auto cancel = [&](TModalForm&) { decrypt.Button1->click(); };
    dialogs.Expect("Decryption procedure", cancel);
    OnePerList = 1;
    decrypt.ShowModal();
    EXPECT_FALSE(decrypt.CheckBox1->isEnabled());
    EXPECT_FALSE(decrypt.CheckBox1->isChecked());

    FirstOfList = true;
    dialogs.Expect("Decryption procedure", cancel);
    decrypt.ShowModal();
    EXPECT_TRUE(decrypt.CheckBox1->isEnabled());
    EXPECT_TRUE(decrypt.CheckBox1->isChecked());

    // Disabled again for the later files, it keeps its tick.
    FirstOfList = false;
    OnePerList = 0;
    dialogs.Expect("Decryption procedure", cancel);
    decrypt.ShowModal();
    EXPECT_FALSE(decrypt.CheckBox1->isEnabled());
    EXPECT_TRUE(decrypt.CheckBox1->isChecked());
}

TEST_F(PasswordDialogsTest, AcceptedPasswordReachesThePolicyAsCodePageBytesAndIsWiped) {
    struct Host : PasswordHost {
        std::string DirLabelText() const override { return "/data"; }
        void SetPwdTimerEnabled(bool) override {}
    } host;
    QString typed;
    dialogs.Expect("Encryption procedure", [&](TModalForm&) {
        // Text made at run time, as typing makes it.
        encrypt.MaskEdit1->setText(QString::fromUtf8("\xe2\x82\xacuro\xc3\xa9s!"));
        encrypt.MaskEdit2->setText(encrypt.MaskEdit1->text());
        typed = encrypt.MaskEdit1->text(); // shares the field's buffer
        encrypt.Button2->click();
    });
    EXPECT_EQ(ObtainPassword(host, encrypt, "sub/notes.txt"), PasswordStep::GoOn);
    EXPECT_EQ(encrypt.FName_Label->text(), "/data/notes.txt");
    EXPECT_EQ(RememberedPassword, "\x80uro\xe9s!");
    EXPECT_EQ(encrypt.MaskEdit1->text(), "");
    EXPECT_EQ(encrypt.MaskEdit2->text(), "");
    EXPECT_EQ(typed, QString(7, QChar(0)));
}

} // namespace
} // namespace kelvane
