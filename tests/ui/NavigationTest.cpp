// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the drive and the folder whose files the grids show.
#include "WindowFixture.h"
#include "ui/ComboChangeDialog.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/StringGrid.h"

#include <QLabel>
#include <QTest>

namespace kelvane {
namespace {

using testing_support::WindowTest;

class NavigationTest : public WindowTest {
protected:
    void TearDown() override {
        ComboChange = nullptr;
        WindowTest::TearDown();
    }

    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int row = 0; row < window->DirectoryListBox1->count(); ++row)
            items.push_back(window->DirectoryListBox1->item(row)->text().toStdString());
        return items;
    }

    int RowOfItem(const std::string& text) const {
        const auto items = Items();
        const auto it = std::find(items.begin(), items.end(), text);
        return it == items.end() ? -1 : static_cast<int>(it - items.begin());
    }

    void Highlight(const std::string& text) {
        const int row = RowOfItem(text);
        ASSERT_GE(row, 0) << text;
        window->DirectoryListBox1->setCurrentRow(row);
    }

    static std::string WorkingDirectory() { return std::filesystem::current_path().string(); }
};

TEST_F(NavigationTest, ListShowsTheWayDownAndTheSubfolders) {
    scratch.MakeFolder("Zeta");
    scratch.MakeFolder("alpha");
    scratch.MakeFolder(".cache");
    scratch.Write("file.txt");
    TMainWin& w = Open();

    const std::vector<std::string> items = Items();
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(items.front(), "/");
    const std::string own = std::filesystem::path(scratch.Path()).filename().string();
    EXPECT_EQ(items[items.size() - 3], own);
    EXPECT_EQ(items[items.size() - 2], "alpha");
    EXPECT_EQ(items.back(), "Zeta");
    EXPECT_EQ(w.DirectoryListBox1->currentRow(), static_cast<int>(items.size()) - 3);
    EXPECT_EQ(w.DirectoryListBox1->Directory(), scratch.Path());
    EXPECT_EQ(WorkingDirectory(), scratch.Path());
}

TEST_F(NavigationTest, ExploreOpensTheHighlightedFolder) {
    scratch.MakeFolder("Letters");
    scratch.Write("Letters/to-bank.doc", 3);
    scratch.Write("top.txt");
    TMainWin& w = Open();
    ASSERT_EQ(w.StringGrid1->Cells(0, 1), "top.txt");

    Highlight("Letters");
    w.Explore1Click();
    EXPECT_EQ(WorkingDirectory(), scratch / "Letters");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "to-bank.doc");
    EXPECT_EQ(w.DirLabel->text().toStdString(), scratch / "Letters");

    // The current folder's own entry: nothing changes.
    w.Explore1Click();
    EXPECT_EQ(WorkingDirectory(), scratch / "Letters");

    // One up.
    Highlight(std::filesystem::path(scratch.Path()).filename().string());
    w.Explore1Click();
    EXPECT_EQ(WorkingDirectory(), scratch.Path());
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "top.txt");
}

TEST_F(NavigationTest, DoubleClickOrEnterOpensAFolder) {
    scratch.MakeFolder("Letters/Old");
    TMainWin& w = Open();
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();

    const int row = RowOfItem("Letters");
    ASSERT_GE(row, 0);
    TDirectoryListBox& list = *w.DirectoryListBox1;
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    EXPECT_EQ(WorkingDirectory(), scratch / "Letters");

    Highlight("Old");
    QTest::keyClick(&list, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(WorkingDirectory(), scratch / "Letters/Old");
}

TEST_F(NavigationTest, UserCannotMoveAwayWhileACommandRuns) {
    scratch.MakeFolder("sub");
    TMainWin& w = Open();
    for (bool* flag : {&EncryptBusy, &DecryptBusy, &TreeBusy, &DeleteBusy}) {
        *flag = true;
        Highlight("sub");
        w.Explore1Click();
        EXPECT_EQ(WorkingDirectory(), scratch.Path());
        EXPECT_EQ(w.Status_Label->text(), "Wait till process is finished.");
        *flag = false;
        w.Status_Label->setText("Idle");
    }

    // A tree walk moves the folder list itself.
    TreeBusy = true;
    EXPECT_TRUE(w.ChangeDirectory(scratch / "sub", false));
    EXPECT_EQ(WorkingDirectory(), scratch / "sub");
    EXPECT_EQ(w.DirectoryListBox1->Directory(), scratch / "sub");
}

TEST_F(NavigationTest, FolderThatVanishedIsNotEntered) {
    scratch.MakeFolder("gone");
    TMainWin& w = Open();
    Highlight("gone");
    std::filesystem::remove(scratch / "gone");
    w.Explore1Click();
    EXPECT_EQ(WorkingDirectory(), scratch.Path());
    EXPECT_EQ(RowOfItem("gone"), -1);
}

TEST_F(NavigationTest, LongPathIsShortenedFromTheFront) {
    const std::string deep = "a rather long folder name/another long folder name/Projects/Letters";
    scratch.MakeFolder(deep);
    std::filesystem::current_path(scratch / deep);
    TMainWin& w = Open();

    const std::string label = w.DirLabel->text().toStdString();
    EXPECT_TRUE(label.starts_with("/.../") || label.starts_with(".../")) << label;
    EXPECT_TRUE(label.ends_with("/Projects/Letters") || label.ends_with("/Letters")) << label;
    EXPECT_LE(QFontMetrics(w.DirLabel->font()).horizontalAdvance(w.DirLabel->text()), 185);
    EXPECT_TRUE(w.DirLabel->isHidden());
}

TEST_F(NavigationTest, GainingFocusPicksUpFilesFromOtherPrograms) {
    TMainWin& w = Open();
    w.show();
    QApplication::setActiveWindow(&w);
    w.StringGrid1->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(w.StringGrid1->Cells(0, 1), "[no files]");

    scratch.Write("new.txt");
    w.DirectoryListBox1->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "new.txt");
}

class DriveTest : public NavigationTest {
protected:
    void SetUp() override {
        NavigationTest::SetUp();
        scratch.MakeFolder("usb/photos");
        scratch.MakeFolder("cdrom");
        scratch.Write("usb/holiday.jpg");
        drives.volumes = {{"/", "", "/dev/root", "ext4"},
                          {scratch / "cdrom", "DISC", "/dev/sr0", "iso9660"},
                          {scratch / "usb", "STICK", "/dev/sdb1", "vfat"}};
        drives.notReady = {scratch / "cdrom"};
        Open();
        combo_ = std::make_unique<TComboChange>(drives);
        ComboChange = combo_.get();
    }

    void TearDown() override {
        combo_.reset();
        NavigationTest::TearDown();
    }

    // The user picks an item of the main selector.
    void Pick(int index) {
        window->DriveComboBox1->setCurrentIndex(index);
        window->DriveComboBox1Click(index);
    }

    static constexpr int kRoot = 0;
    static constexpr int kCdrom = 1;
    static constexpr int kUsb = 2;

private:
    std::unique_ptr<TComboChange> combo_;
};

TEST_F(DriveTest, ReadyDriveOpensItsFolder) {
    EXPECT_EQ(window->DriveComboBox1->currentIndex(), kRoot);
    EXPECT_EQ(window->DriveComboBox1->itemText(kUsb).toStdString(), scratch / "usb" + " [STICK]");
    Pick(kUsb);
    EXPECT_EQ(WorkingDirectory(), scratch / "usb");
    EXPECT_EQ(window->StringGrid1->Cells(0, 1), "holiday.jpg");
    EXPECT_EQ(window->DriveComboBox1->currentIndex(), kUsb);
}

TEST_F(DriveTest, SameDriveAgainStaysInItsFolder) {
    scratch.MakeFolder("deeper");
    window->ChangeDirectory(scratch / "deeper", true);
    Pick(kRoot);
    EXPECT_EQ(WorkingDirectory(), scratch / "deeper");
}

TEST_F(DriveTest, DriveReturnsToWhereTheUserLastWasOnIt) {
    Pick(kUsb);
    window->ChangeDirectory(scratch / "usb/photos", true);
    Pick(kRoot);
    EXPECT_EQ(WorkingDirectory(), scratch.Path());
    Pick(kUsb);
    EXPECT_EQ(WorkingDirectory(), scratch / "usb/photos");
}

TEST_F(DriveTest, DriveNotReadyHoldsTheUserUntilAReadyOneIsPicked) {
    dialogs.Expect("Invalid device", [](TModalForm& form) {
        auto& dialog = static_cast<TComboChange&>(form);
        ASSERT_EQ(dialog.DriveComboBox1->count(), 3);
        EXPECT_EQ(dialog.Label1->text(),
                  "Device you have selected isn't ready. Please specify another one.");
        dialog.DriveComboBox1Click(kCdrom); // not ready either: nothing happens
        EXPECT_EQ(dialog.result(), mrNone);
        dialog.DriveComboBox1Click(kUsb);
    });
    Pick(kCdrom);
    EXPECT_EQ(WorkingDirectory(), scratch / "usb");
    EXPECT_EQ(window->DriveComboBox1->currentIndex(), kUsb);
}

TEST_F(DriveTest, InvalidDeviceClosedOtherwiseLeavesEverythingAsItWas) {
    dialogs.Expect("Invalid device", [](TModalForm& form) { form.reject(); });
    Pick(kCdrom);
    EXPECT_EQ(WorkingDirectory(), scratch.Path());
    EXPECT_EQ(window->DriveComboBox1->currentIndex(), kRoot);
}

TEST_F(DriveTest, NoDriveChangeWhileACommandRuns) {
    DecryptBusy = true;
    Pick(kUsb);
    EXPECT_EQ(WorkingDirectory(), scratch.Path());
    EXPECT_EQ(window->DriveComboBox1->currentIndex(), kRoot);
    EXPECT_EQ(window->Status_Label->text(), "Wait till process is finished.");
}

TEST_F(NavigationTest, OnlyTheFocusedGridSelectsWholeRows) {
    scratch.Write("a.txt");
    scratch.Write("b.txt");
    scratch.Write("c.cry");
    TMainWin& w = Open();
    EXPECT_TRUE(w.StringGrid1->RowSelect());
    EXPECT_FALSE(w.StringGrid2->RowSelect());
    EXPECT_EQ(w.StringGrid2->Col(), 4);

    w.StringGrid1->SetCurrentCell(0, 2);
    w.StringGrid2Enter();
    EXPECT_TRUE(w.StringGrid2->RowSelect());
    EXPECT_FALSE(w.StringGrid1->RowSelect());
    EXPECT_EQ(w.StringGrid1->Col(), 4);
    EXPECT_EQ(w.StringGrid1->Row(), 2);
    EXPECT_EQ(w.StringGrid1->LeftCol(), 0);
    const GridRect parked = w.StringGrid1->Selection();
    EXPECT_EQ(parked.Left, 4);
    EXPECT_EQ(parked.Top, 2);
    EXPECT_EQ(parked.Bottom, 2);

    w.StringGrid1Enter();
    EXPECT_TRUE(w.StringGrid1->RowSelect());
    EXPECT_EQ(w.StringGrid2->Col(), 4);
}

} // namespace
} // namespace kelvane
