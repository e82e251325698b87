// SPDX-License-Identifier: GPL-3.0-or-later
// "Delete" in the grids' context menus: one question per file, "Delete All",
// "Cancel All", read-only files, names shown without ".cry", and files that
// cannot be deleted.
#include "SelectionFixture.h"
#include "commands/SelectionCommands.h"

#include <QAction>
#include <QLabel>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

class DeleteSelectionTest : public testing_support::SelectionTest {
protected:
    // Expects the question for `shown` and answers it with `button`.
    void ExpectQuestion(const std::string& shown, QPushButton* TDelDialog::*button,
                        std::function<void()> meanwhile = {}) {
        dialogs.Expect("Confirmation", [shown, button, meanwhile](TModalForm&) {
            EXPECT_EQ(DelDialog->Label2->text().toStdString(), shown);
            EXPECT_TRUE(DeleteBusy);
            if (meanwhile)
                meanwhile();
            (DelDialog->*button)->click();
        });
    }

    mode_t ModeOf(const std::string& name) const {
        struct stat st {};
        EXPECT_EQ(::lstat((scratch / name).c_str(), &st), 0) << name;
        return st.st_mode & 07777;
    }
};

TEST_F(DeleteSelectionTest, EachFileIsAskedForAndTheListsFollowEveryDeletion) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt"});
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectQuestion("a.txt", &TDelDialog::Button1);
    ExpectQuestion("b.txt", &TDelDialog::Button1,
                   [&] { EXPECT_EQ(w.StringGrid1->Cells(0, 1), "b.txt"); });
    ExpectQuestion("c.txt", &TDelDialog::Button1,
                   [&] { EXPECT_EQ(w.StringGrid1->Cells(0, 1), "c.txt"); });
    w.Delete1->trigger();

    EXPECT_FALSE(Exists("a.txt") || Exists("b.txt") || Exists("c.txt"));
    EXPECT_TRUE(Exists("d.txt"));
    EXPECT_EQ(w.StringGrid1->RowCount(), 2);
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "d.txt");
    EXPECT_FALSE(DeleteBusy);
}

TEST_F(DeleteSelectionTest, DeleteAllAsksOnceAndCancelAllStopsAtOnce) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectQuestion("a.txt", &TDelDialog::Button3);
    w.Delete1->trigger();
    EXPECT_FALSE(Exists("a.txt") || Exists("b.txt") || Exists("c.txt"));
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    // d.txt and e.txt moved up into the emptied rows but were never chosen:
    // the current row alone is selected, and shown so.
    const int current = w.StringGrid1->Row();
    EXPECT_EQ(w.StringGrid1->Selection().Top, current);
    EXPECT_EQ(w.StringGrid1->Selection().Bottom, current);
    EXPECT_EQ(w.StringGrid1->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(w.StringGrid1->selectionModel()->isRowSelected(current - 1));

    // The next run asks again; "Ca&ncel All" on the first keeps everything.
    SelectRows(*w.StringGrid1, 1, 2);
    ExpectQuestion("d.txt", &TDelDialog::Button4);
    w.Delete1->trigger();
    EXPECT_TRUE(Exists("d.txt") && Exists("e.txt"));
    EXPECT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_FALSE(DeleteBusy);
}

TEST_F(DeleteSelectionTest, CancelKeepsOnlyThatFile) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectQuestion("a.txt", &TDelDialog::Button1);
    ExpectQuestion("b.txt", &TDelDialog::Button2);
    ExpectQuestion("c.txt", &TDelDialog::Button1);
    w.Delete1->trigger();
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_TRUE(Exists("b.txt"));
    EXPECT_FALSE(Exists("c.txt"));
}

TEST_F(DeleteSelectionTest, AReadOnlyFileIsAskedForEvenAfterDeleteAll) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    ::chmod((scratch / "b.txt").c_str(), 0444);
    w.RefreshLists();
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectQuestion("a.txt", &TDelDialog::Button3);
    messages.Expect("File \"b.txt\" is marked as read only.Proceed?", mrCancel);
    w.Delete1->trigger();
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(Exists("c.txt"));
    ASSERT_TRUE(Exists("b.txt"));
    EXPECT_EQ(ModeOf("b.txt"), 0444u);

    // Confirmed, it goes; its other name keeps the file read-only.
    std::filesystem::create_directory(scratch / "elsewhere");
    ASSERT_EQ(::link((scratch / "b.txt").c_str(), (scratch / "elsewhere/b.txt").c_str()), 0);
    SelectRows(*w.StringGrid1, 1, 1);
    ExpectQuestion("b.txt", &TDelDialog::Button1);
    messages.Expect("File \"b.txt\" is marked as read only.Proceed?", mrOk);
    w.Delete1->trigger();
    EXPECT_FALSE(Exists("b.txt"));
    EXPECT_EQ(ModeOf("elsewhere/b.txt"), 0444u);
}

TEST_F(DeleteSelectionTest, CryptedRowsShownWithoutCryDeleteTheCryFileOnly) {
    TMainWin& w = OpenWithFiles({"x", "x.cry", "NOTES.CRY"}, 0);
    w.StringGrid2->setFocus(Qt::TabFocusReason);
    SelectRows(*w.StringGrid2, 1, 2);
    ExpectQuestion("NOTES", &TDelDialog::Button1);
    ExpectQuestion("x", &TDelDialog::Button1);
    w.Delete2->trigger();
    EXPECT_FALSE(Exists("NOTES.CRY"));
    EXPECT_FALSE(Exists("x.cry"));
    EXPECT_TRUE(Exists("x"));
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "[no files]");
}

TEST_F(DeleteSelectionTest, AFileThatCannotGoIsReportedKeepsItsAttributesAndTheRunGoesOn) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt"});
    SelectRows(*w.StringGrid1, 1, 3);
    ExpectQuestion("a.txt", &TDelDialog::Button1);
    // Something else puts a read-only folder in b.txt's place meanwhile;
    // no one, not even the superuser, unlinks a folder.
    ExpectQuestion("b.txt", &TDelDialog::Button1, [&] {
        std::filesystem::remove(scratch / "b.txt");
        std::filesystem::create_directory(scratch / "b.txt");
        ::chmod((scratch / "b.txt").c_str(), 0555);
    });
    messages.Expect("File \"b.txt\" is marked as read only.Proceed?", mrOk);
    messages.Expect("Couldn't delete file \"b.txt\".");
    ExpectQuestion("c.txt", &TDelDialog::Button1);
    w.Delete1->trigger();
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(Exists("c.txt"));
    EXPECT_EQ(ModeOf("b.txt"), 0555u);
    ::chmod((scratch / "b.txt").c_str(), 0755);
}

TEST_F(DeleteSelectionTest, AFileInAFolderWithoutWritePermissionStaysAsItWas) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser deletes in any folder";
    TMainWin& w = OpenWithFiles({"a.txt"});
    ::chmod((scratch / "a.txt").c_str(), 0444);
    ::chmod(scratch.Path().c_str(), 0555);
    SelectRows(*w.StringGrid1, 1, 1);
    ExpectQuestion("a.txt", &TDelDialog::Button1);
    messages.Expect("File \"a.txt\" is marked as read only.Proceed?", mrOk);
    messages.Expect("Couldn't delete file \"a.txt\".");
    w.Delete1->trigger();
    ::chmod(scratch.Path().c_str(), 0755);
    EXPECT_TRUE(Exists("a.txt"));
    EXPECT_EQ(ModeOf("a.txt"), 0444u);
}

TEST_F(DeleteSelectionTest, ALinkIsDeletedAsALinkAndItsTargetIsNotTouched) {
    std::filesystem::create_directory(scratch / "elsewhere");
    WriteText("elsewhere/target.txt", "precious");
    ::chmod((scratch / "elsewhere/target.txt").c_str(), 0444);
    std::filesystem::create_symlink(scratch / "elsewhere/target.txt", scratch / "link.txt");
    TMainWin& w = OpenWithFiles({});
    ASSERT_EQ(w.StringGrid1->Cells(0, 1), "link.txt");
    SelectRows(*w.StringGrid1, 1, 1);
    ExpectQuestion("link.txt", &TDelDialog::Button1);
    w.Delete1->trigger();
    EXPECT_FALSE(Exists("link.txt"));
    EXPECT_TRUE(Exists("elsewhere/target.txt"));
    EXPECT_EQ(ModeOf("elsewhere/target.txt"), 0444u);
}

TEST_F(DeleteSelectionTest, ThePlaceholderRowNamesNoFile) {
    // With ".cry" shown, a plain file named like the placeholder must not be
    // what "[no files]" of the crypted list deletes.
    TMainWin& w = OpenWithFiles({"[no files]"}, 1);
    ASSERT_EQ(w.StringGrid2->Cells(0, 1), "[no files]");
    w.StringGrid2->setFocus(Qt::TabFocusReason);
    SelectRows(*w.StringGrid2, 1, 1);
    ExpectQuestion("[no files]", &TDelDialog::Button1);
    messages.Expect("Couldn't delete file \"[no files]\".");
    w.Delete2->trigger();
    EXPECT_TRUE(Exists("[no files]"));
}

TEST_F(DeleteSelectionTest, ACancelLeftFromEarlierEndsTheRunAfterItsFirstDeletion) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt"});
    SelectRows(*w.StringGrid1, 1, 2);
    CancelRequested = true;
    ExpectQuestion("a.txt", &TDelDialog::Button1);
    w.Delete1->trigger();
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_TRUE(Exists("b.txt"));
    EXPECT_FALSE(CancelRequested);
}

TEST_F(DeleteSelectionTest, TheQuestionHasItsFourAnswersAndOkHasTheFocus) {
    TDelDialog& d = *DelDialog;
    EXPECT_EQ(d.windowTitle(), "Confirmation");
    EXPECT_EQ(d.size(), QSize(243, 168));
    EXPECT_EQ(d.Label1->text(), "Are you sure to delete the file");
    const std::pair<QPushButton*, QRect> buttons[] = {
        {d.Button1, {40, 80, 75, 25}},
        {d.Button2, {120, 80, 75, 25}},
        {d.Button3, {40, 108, 75, 25}},
        {d.Button4, {120, 108, 75, 25}},
    };
    for (const auto& [button, geometry] : buttons)
        EXPECT_EQ(button->geometry(), geometry) << button->text().toStdString();
    EXPECT_EQ(d.Button1->text(), "&Ok");
    EXPECT_EQ(d.Button2->text(), "&Cancel");
    EXPECT_EQ(d.Button3->text(), "Delete &All");
    EXPECT_EQ(d.Button4->text(), "Ca&ncel All");

    const std::pair<QPushButton*, int> answers[] = {
        {d.Button1, mrOk}, {d.Button2, mrCancel}, {d.Button3, mrAll}, {d.Button4, mrAbort}};
    for (const auto& [button, result] : answers) {
        dialogs.Expect("Confirmation", [button = button](TModalForm&) { button->click(); });
        EXPECT_EQ(d.Ask("a.txt"), result);
    }
    dialogs.Expect("Confirmation", [&](TModalForm& form) {
        form.show();
        EXPECT_EQ(form.focusWidget(), d.Button1);
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_EQ(d.Ask("a.txt"), mrCancel);
    // Enter presses the focused button, "&Ok" at first.
    dialogs.Expect("Confirmation", [&](TModalForm& form) {
        form.show();
        QTest::keyClick(d.Button1, Qt::Key_Return);
    });
    EXPECT_EQ(d.Ask("a.txt"), mrOk);
    dialogs.Expect("Confirmation", [](TModalForm& form) {
        form.show();
        form.close();
    });
    EXPECT_EQ(d.Ask("a.txt"), mrCancel);
    EXPECT_EQ(d.Label2->text(), "a.txt");
}

} // namespace
} // namespace kelvane
