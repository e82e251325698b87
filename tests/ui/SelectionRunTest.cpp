// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypting and decrypting the selected rows from the grids' context menus:
// one password for the list or one per file, cancels, refusals, and every
// command refused while another one runs.
#include "SelectionFixture.h"
#include "ui/AgePassphraseDialog.h"
#include "ui/EventPacing.h"
#include "ui/GridDrag.h"

#include <QAction>
#include <QLabel>

namespace kelvane {
namespace {

using SelectionRunTest = testing_support::SelectionTest;

TEST_F(SelectionRunTest, OnePasswordForTheListEncryptsThreeRowsWithOneDialog) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 3);
    bool offered = false;
    dialogs.Expect("Encryption procedure", [&](TModalForm&) {
        // The box is offered, ticked beforehand as the preference says.
        offered = Encrypt->CheckBox1->isEnabled() && Encrypt->CheckBox1->isChecked();
        EXPECT_TRUE(FirstOfList);
        Encrypt->MaskEdit1->setText("secret1");
        Encrypt->MaskEdit2->setText("secret1");
        Encrypt->Button2->click();
    });
    w.Encrypt1->trigger();

    EXPECT_TRUE(offered);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        EXPECT_FALSE(Exists(name)) << name;
        EXPECT_TRUE(Exists(std::string(name) + ".cry")) << name;
    }
    EXPECT_TRUE(Exists("d.txt"));
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "d.txt");
    EXPECT_EQ(w.StringGrid2->RowCount(), 4);
    // The next single file asks again, and the list's password is gone.
    EXPECT_FALSE(Encrypt->CheckBox1->isChecked());
    EXPECT_FALSE(FirstOfList);
    EXPECT_FALSE(CancelRequested);
    EXPECT_TRUE(RememberedPassword.empty());
}

TEST_F(SelectionRunTest, AnUntickedBoxAsksForEveryFileAndCancellingOneSkipsOnlyIt) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectEncryptDialog("secret1", false);
    dialogs.Expect("Encryption procedure", [](TModalForm& form) {
        // Later files of the list can't change the choice.
        EXPECT_FALSE(Encrypt->CheckBox1->isEnabled());
        form.SetModalResult(mrCancel);
    });
    messages.Expect(StopRunQuestion("b.txt"), mrNo);
    ExpectEncryptDialog("secret2");
    w.Encrypt1->trigger();

    EXPECT_TRUE(Exists("a.txt.cry"));
    EXPECT_TRUE(Exists("b.txt"));
    EXPECT_FALSE(Exists("b.txt.cry"));
    EXPECT_TRUE(Exists("c.txt.cry"));
    EXPECT_EQ(dialogs.Shown().size(), 3u);
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "b.txt");
}

TEST_F(SelectionRunTest, CancellingALaterDialogOffersToEndTheWholeRun) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectEncryptDialog("secret1", false);
    ExpectCancelledDialog("Encryption procedure");
    messages.Expect(StopRunQuestion("b.txt"), mrYes);
    w.Encrypt1->trigger();

    EXPECT_TRUE(Exists("a.txt.cry"));
    EXPECT_TRUE(Exists("b.txt") && Exists("c.txt"));
    EXPECT_FALSE(Exists("c.txt.cry"));
    EXPECT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_FALSE(CancelRequested);
    // The first file left that was chosen is the one selected.
    EXPECT_EQ(w.StringGrid1->Selection().Top, 1);
    EXPECT_EQ(w.StringGrid1->Selection().Bottom, 1);
    EXPECT_EQ(w.StringGrid1->FileName(1), "b.txt");
}

TEST_F(SelectionRunTest, ARefusedListPasswordIsAskedForAgainAndCancelThereEndsTheRun) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectEncryptDialog("secret1");
    w.Encrypt1->trigger();
    ASSERT_TRUE(Exists("c.txt.cry"));

    w.StringGrid2->setFocus(Qt::TabFocusReason);
    SelectRows(*w.StringGrid2, 1, 3);
    ExpectDecryptDialog("wrong12");
    messages.Expect("Invalid password for the file \"a.txt\"!");
    ExpectCancelledDialog("Decryption procedure");
    w.Decrypt1->trigger();

    for (const char* name : {"a.txt.cry", "b.txt.cry", "c.txt.cry"})
        EXPECT_TRUE(Exists(name)) << name;
    EXPECT_EQ(dialogs.Shown().size(), 3u);
    EXPECT_FALSE(CancelRequested);
}

TEST_F(SelectionRunTest, CancelProcessStaysUpBetweenFilesAndAMouseClickEndsTheRun) {
    SetWindowEventBudget(std::chrono::microseconds(0));
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 4);
    ExpectEncryptDialog("secret1");
    PressCancelProcessWhen([this] { return Exists("a.txt.cry"); },
                           [this] { return Exists("b.txt.cry"); });
    w.Encrypt1->trigger();

    EXPECT_TRUE(cancelPressed);
    EXPECT_TRUE(Exists("c.txt") && Exists("d.txt"));
    EXPECT_FALSE(Exists("c.txt.cry"));
    EXPECT_FALSE(w.Button1->isVisible());
    EXPECT_FALSE(CancelRequested);
}

TEST_F(SelectionRunTest, CancellingTheFirstDialogProcessesNothing) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectCancelledDialog("Encryption procedure");
    w.Encrypt1->trigger();

    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        EXPECT_TRUE(Exists(name)) << name;
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "[no files]");
    EXPECT_FALSE(CancelRequested);
    EXPECT_FALSE(Encrypt->CheckBox1->isChecked());
}

TEST_F(SelectionRunTest, ARefusedMiddleRowKeepsItsPlaceAndTheRunGoesOn) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    WriteText("b.txt.cry", "keep me");
    w.RefreshLists();
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectEncryptDialog("secret1");
    messages.Expect("File \"b.txt\" already exist in the list of crypted files. Overwrite one?",
                    mrCancel);
    w.Encrypt1->trigger();

    EXPECT_TRUE(Exists("a.txt.cry"));
    EXPECT_TRUE(Exists("c.txt.cry"));
    EXPECT_TRUE(Exists("b.txt"));
    std::ifstream kept(scratch / "b.txt.cry");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "b.txt");
    // Only the chosen file left is selected, not d.txt and e.txt, which
    // moved up into the rows the run emptied.
    EXPECT_EQ(w.StringGrid1->Selection().Top, 1);
    EXPECT_EQ(w.StringGrid1->Selection().Bottom, 1);
}

TEST_F(SelectionRunTest, ASingleRowNeverOffersOnePasswordForTheList) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 2, 2);
    dialogs.Expect("Encryption procedure", [](TModalForm&) {
        EXPECT_FALSE(Encrypt->CheckBox1->isEnabled());
        EXPECT_FALSE(FirstOfList);
        Encrypt->MaskEdit1->setText("secret1");
        Encrypt->MaskEdit2->setText("secret1");
        Encrypt->Button2->click();
    });
    w.Encrypt1->trigger();
    EXPECT_TRUE(Exists("a.txt"));
    EXPECT_TRUE(Exists("b.txt.cry"));
}

TEST_F(SelectionRunTest, DecryptOnCryptedRowsBringsThemBackWithTheListPassword) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 2);
    ExpectEncryptDialog("secret1");
    w.Encrypt1->trigger();
    ASSERT_TRUE(Exists("a.txt.cry"));

    w.StringGrid2->setFocus(Qt::TabFocusReason);
    SelectRows(*w.StringGrid2, 1, 2);
    dialogs.Expect("Decryption procedure", [](TModalForm&) {
        EXPECT_TRUE(Decrypt->CheckBox1->isEnabled());
        Decrypt->MaskEdit1->setText("secret1");
        Decrypt->Button2->click();
    });
    w.Decrypt1->trigger();

    for (const char* name : {"a.txt", "b.txt"}) {
        std::ifstream in(scratch / name);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), name);
    }
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "[no files]");
    EXPECT_FALSE(Decrypt->CheckBox1->isChecked());
}

// The passphrase is asked once, after the first file's password; cancelling
// it converts nothing.
TEST_F(SelectionRunTest, ConvertToAgeAsksThePassphraseOnceForTheSelection) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectEncryptDialog("secret1");
    w.Encrypt1->trigger();
    ASSERT_TRUE(Exists("c.txt.cry"));

    w.StringGrid2->setFocus(Qt::TabFocusReason);
    SelectRows(*w.StringGrid2, 1, 1);
    ExpectDecryptDialog("secret1");
    ExpectCancelledDialog("Convert to age");
    w.ConvertToAge1->trigger();
    EXPECT_TRUE(Exists("a.txt.cry"));
    EXPECT_FALSE(Exists("a.txt.age"));
    EXPECT_FALSE(CancelRequested);

    SelectRows(*w.StringGrid2, 1, 2);
    dialogs.Expect("Decryption procedure", [](TModalForm&) {
        Decrypt->MaskEdit1->setText("secret1");
        Decrypt->CheckBox1->setChecked(true);
        Decrypt->Button2->click();
    });
    dialogs.Expect("Convert to age", [](TModalForm& form) {
        auto& dialog = static_cast<TAgePassphrase&>(form);
        dialog.Edit1->setText("correct horse");
        dialog.Edit2->setText("correct horse");
        dialog.OK->click();
    });
    w.ConvertToAge1->trigger();

    for (const char* name : {"a.txt", "b.txt"}) {
        EXPECT_FALSE(Exists(std::string(name) + ".cry")) << name;
        std::ifstream in(scratch / (std::string(name) + ".age"));
        std::string first, second;
        std::getline(in, first);
        std::getline(in, second);
        EXPECT_EQ(first, "age-encryption.org/v1") << name;
        EXPECT_EQ(second.rfind("-> scrypt ", 0), 0u) << name;
    }
    EXPECT_TRUE(Exists("c.txt.cry"));
}

TEST_F(SelectionRunTest, WithOnePasswordForTheSessionTheListIsNeverOffered) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt"});
    OnePassword = 1;
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 2);
    dialogs.Expect("Encryption procedure", [](TModalForm&) {
        EXPECT_FALSE(Encrypt->CheckBox1->isEnabled());
        Encrypt->MaskEdit1->setText("secret1");
        Encrypt->MaskEdit2->setText("secret1");
        Encrypt->Button2->click();
    });
    w.Encrypt1->trigger();
    EXPECT_TRUE(Exists("a.txt.cry"));
    EXPECT_TRUE(Exists("b.txt.cry"));
}

TEST_F(SelectionRunTest, EveryNewCommandIsRefusedWhileAnotherRuns) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt.cry"});
    SelectRows(*w.StringGrid1, 1, 1);
    for (bool* flag : {&EncryptBusy, &DecryptBusy, &TreeBusy, &DeleteBusy, &SelectionBusy}) {
        *flag = true;
        for (QAction* item : {w.Encrypt1, w.Decrypt1, w.Delete1, w.Delete2}) {
            w.Status_Label->setText("Idle");
            item->trigger();
            EXPECT_EQ(w.Status_Label->text(), "Wait till process is finished.")
                << item->text().toStdString();
        }
        w.Status_Label->setText("Idle");
        w.StringGrid2DragDrop();
        EXPECT_EQ(w.Status_Label->text(), "Wait till process is finished.");
        *flag = false;
    }
    // Nothing was asked and nothing changed.
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_TRUE(Exists("a.txt"));
    EXPECT_TRUE(Exists("b.txt.cry"));
    EXPECT_FALSE(DeleteBusy);
}

} // namespace
} // namespace kelvane
