// SPDX-License-Identifier: GPL-3.0-or-later
// What the selection and deletion tests share: a shown window over a few
// files, its password and delete dialogs, and rows picked with the mouse.
#pragma once

#include "WindowFixture.h"
#include "commands/FileCommands.h"
#include "commands/PasswordPolicy.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/StringGrid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <initializer_list>

namespace kelvane::testing_support {

class SelectionTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Encrypt = new TEncrypt;
        Decrypt = new TDecrypt;
        DelDialog = new TDelDialog;
    }
    void TearDown() override {
        for (TModalForm* form : std::initializer_list<TModalForm*>{Encrypt, Decrypt, DelDialog})
            delete form;
        Encrypt = nullptr;
        Decrypt = nullptr;
        DelDialog = nullptr;
        WindowTest::TearDown();
    }

    // Writes the files, each holding its own name, and shows them.
    TMainWin& OpenWithFiles(std::initializer_list<std::string> names, int32_t showCry = 0) {
        for (const std::string& name : names)
            WriteText(name, name);
        TMainWin& w = Open(showCry);
        ShowSized(640, 480);
        w.RefreshLists();
        return w;
    }

    void WriteText(const std::string& name, const std::string& text) const {
        std::ofstream(scratch / name, std::ios::binary) << text;
    }

    bool Exists(const std::string& name) const {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(scratch / name, ignored));
    }

    static QPoint CellCenter(TStringGrid& grid, int row) {
        return grid.visualRect(grid.model()->index(row - 1, 0)).center();
    }

    // A click on `top`, then Shift and a click on `bottom`, as a user picks
    // a block of rows.
    static void SelectRows(TStringGrid& grid, int top, int bottom) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(grid, top));
        if (bottom != top)
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                              CellCenter(grid, bottom));
    }

    // The password dialog of an encryption: fills both fields and leaves the
    // list box as `keepList` says, then presses "Submit".
    void ExpectEncryptDialog(const QString& password, bool keepList = true) {
        dialogs.Expect("Encryption procedure", [password, keepList](TModalForm&) {
            if (!keepList)
                Encrypt->CheckBox1->setChecked(false);
            Encrypt->MaskEdit1->setText(password);
            Encrypt->MaskEdit2->setText(password);
            Encrypt->Button2->click();
        });
    }
    void ExpectDecryptDialog(const QString& password) {
        dialogs.Expect("Decryption procedure", [password](TModalForm&) {
            Decrypt->MaskEdit1->setText(password);
            Decrypt->Button2->click();
        });
    }
    void ExpectCancelledDialog(const std::string& title) {
        dialogs.Expect(title, [](TModalForm& form) { form.SetModalResult(mrCancel); });
    }
};

} // namespace kelvane::testing_support
