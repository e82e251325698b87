// SPDX-License-Identifier: GPL-3.0-or-later
// What the two grids and the name lists behind them show for a directory.
#include "WindowFixture.h"
#include "ui/DirectoryListBox.h"
#include "ui/StringGrid.h"

#include <QTest>
#include <QTimer>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::WindowTest;

class FileListsTest : public WindowTest {
protected:
    // A command runs while it lives.
    struct BusyGuard {
        BusyGuard() { DeleteBusy = true; }
        ~BusyGuard() { DeleteBusy = false; }
    };

    // Column 0 of every file row.
    static std::vector<std::string> Names(const TStringGrid& grid) {
        std::vector<std::string> names;
        for (int row = 1; row < grid.RowCount(); ++row)
            names.push_back(grid.Cells(0, row));
        return names;
    }

    static void ExpectOnlyPlaceholder(const TStringGrid& grid) {
        ASSERT_EQ(grid.RowCount(), 2);
        EXPECT_EQ(grid.Cells(0, 1), "[no files]");
        for (int column = 1; column <= 4; ++column)
            EXPECT_EQ(grid.Cells(column, 1), "") << "column " << column;
    }

    // The row of a shown name in a grid, or -1.
    static int RowOf(const TStringGrid& grid, const std::string& name) {
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (grid.Cells(0, row) == name)
                return row;
        }
        return -1;
    }
};

TEST_F(FileListsTest, EmptyDirectoryShowsThePlaceholderInBothGrids) {
    scratch.MakeFolder("sub"); // folders are not files
    TMainWin& w = Open();
    ExpectOnlyPlaceholder(*w.StringGrid1);
    ExpectOnlyPlaceholder(*w.StringGrid2);
    EXPECT_EQ(w.StringGrid1->Cells(0, 0), "Name");
    EXPECT_EQ(w.StringGrid1->Cells(1, 0), "Size");
    EXPECT_EQ(w.StringGrid2->Cells(2, 0), "Date");
    EXPECT_EQ(w.StringGrid2->Cells(3, 0), "Attr");
    EXPECT_EQ(w.FileListBox1.Count(), 0);
    EXPECT_EQ(w.FileListBox2.Count(), 0);
}

TEST_F(FileListsTest, FilesAreSplitByTheirLastExtensionOnly) {
    scratch.Write("only.cry", 10);
    scratch.Write("NOTES.CRY", 20);
    scratch.Write("archive.cry.txt", 30);
    scratch.Write("cry", 1);
    TMainWin& w = Open(); // ShowCry off

    EXPECT_EQ(Names(*w.StringGrid1), (std::vector<std::string>{"archive.cry.txt", "cry"}));
    EXPECT_EQ(Names(*w.StringGrid2), (std::vector<std::string>{"NOTES", "only"}));
    EXPECT_EQ(w.FileListBox1.Items, Names(*w.StringGrid1));
    EXPECT_TRUE(w.FileListBox2.Contains("notes"));
    EXPECT_FALSE(w.FileListBox2.Contains("NOTES.CRY"));

    // The upper-case file's information comes from the file as it is named
    // on disk, and so does the name a command needs.
    EXPECT_EQ(w.StringGrid2->Cells(1, 1), "        20");
    EXPECT_EQ(w.StringGrid2->FileName(1), "NOTES.CRY");
    EXPECT_EQ(w.StringGrid2->FileName(2), "only.cry");
}

TEST_F(FileListsTest, OnlyCryptedFilesLeaveThePlainGridEmpty) {
    scratch.Write("a.doc.cry", 1);
    scratch.Write("b.cry", 2);
    TMainWin& w = Open();
    ExpectOnlyPlaceholder(*w.StringGrid1);
    EXPECT_EQ(Names(*w.StringGrid2), (std::vector<std::string>{"a.doc", "b"}));
}

TEST_F(FileListsTest, NameThatIsOnlyTheExtensionShowsEmptyWithoutCry) {
    scratch.Write(".cry", 7);
    TMainWin& w = Open();
    ASSERT_EQ(w.StringGrid2->RowCount(), 2);
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "");
    EXPECT_EQ(w.StringGrid2->Cells(1, 1), "         7");
    EXPECT_EQ(w.StringGrid2->Cells(3, 1), "AH--");
}

TEST_F(FileListsTest, SizeIsRightAlignedInTenCharacters) {
    scratch.Write("a.bin", 1234);
    scratch.Write("b.bin", 0);
    // Sizes of 2 GB and more are written in full, not cut to 32 bits.
    const std::string huge = scratch / "c.bin";
    ASSERT_EQ(::truncate((scratch.Write("c.bin"), huge.c_str()), 5368709120LL), 0);
    TMainWin& w = Open();
    EXPECT_EQ(w.StringGrid1->Cells(1, 1), "      1234");
    EXPECT_EQ(w.StringGrid1->Cells(1, 2), "         0");
    EXPECT_EQ(w.StringGrid1->Cells(1, 3), "5368709120");
}

TEST_F(FileListsTest, DateIsTheLastWriteTimeInLocalTime) {
    scratch.Write("letter.doc", 5);
    std::tm when{};
    when.tm_year = 1997 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 14;
    when.tm_min = 5;
    when.tm_sec = 59;
    const timespec times[2] = {{timegm(&when), 0}, {timegm(&when), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (scratch / "letter.doc").c_str(), times, 0), 0);

    // Written as POSIX rules, so no time-zone database is needed.
    const testing_support::EnvironmentGuard zone("TZ");
    for (const auto& [tz, shown] :
         {std::pair{"UTC0", "07.12.1997 14:05"}, std::pair{"JST-9", "07.12.1997 23:05"},
          std::pair{"EST5", "07.12.1997 09:05"}, std::pair{"NZDT-13", "08.12.1997 03:05"}}) {
        ::setenv("TZ", tz, 1);
        ::tzset();
        TMainWin& w = Open();
        EXPECT_EQ(w.StringGrid1->Cells(2, 1), shown) << tz;
    }
    ::unsetenv("TZ");
    ::tzset();
}

// The cells describe the files listed, read in the folder their names came
// from: not in a folder the working directory has moved to meanwhile, as a
// walk over subfolders moves it, nor in a folder put in the place of the one
// shown; and the commands then work where the lists show.
TEST_F(FileListsTest, CellsComeFromTheFolderTheNamesCameFrom) {
    scratch.Write("shown/a.txt", 10);
    scratch.Write("shown/sub/other.bin", 3);
    TMainWin& w = Open();
    ASSERT_TRUE(w.DirectoryListBox1->SetDirectory(scratch / "shown"));
    ASSERT_EQ(::chdir((scratch / "shown/sub").c_str()), 0);
    EXPECT_EQ(Names(*w.StringGrid1), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(w.StringGrid1->Cells(1, 1), "        10");
    ASSERT_EQ(::chdir((scratch / "shown").c_str()), 0);

    std::filesystem::rename(scratch / "shown", scratch / "moved");
    scratch.Write("shown/a.txt", 2000);
    scratch.Write("shown/b.txt", 300);
    w.ReadListsAgain();
    EXPECT_EQ(Names(*w.StringGrid1), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(w.StringGrid1->Cells(1, 1), "      2000");
    EXPECT_EQ(w.StringGrid1->Cells(1, 2), "       300");
    EXPECT_EQ(w.StringGrid1->Cells(3, 2), "A---");
    struct stat working {};
    struct stat listed {};
    ASSERT_EQ(::stat(".", &working), 0);
    ASSERT_EQ(::stat((scratch / "shown").c_str(), &listed), 0);
    EXPECT_EQ(working.st_ino, listed.st_ino);
}

TEST_F(FileListsTest, AttributesShowArchiveHiddenAndReadOnly) {
    scratch.Write("plain.txt");
    scratch.Write("locked.txt");
    scratch.Write(".hidden");
    ASSERT_EQ(::chmod((scratch / "locked.txt").c_str(), 0444), 0);
    TMainWin& w = Open();
    EXPECT_EQ(w.StringGrid1->Cells(3, RowOf(*w.StringGrid1, "plain.txt")), "A---");
    EXPECT_EQ(w.StringGrid1->Cells(3, RowOf(*w.StringGrid1, "locked.txt")), "A-R-");
    EXPECT_EQ(w.StringGrid1->Cells(3, RowOf(*w.StringGrid1, ".hidden")), "AH--");
}

TEST_F(FileListsTest, UnreadableFileIsListedWithEmptyCells) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    scratch.Write("secret.txt", 3);
    ASSERT_EQ(::chmod((scratch / "secret.txt").c_str(), 0), 0);
    TMainWin& w = Open();
    ASSERT_EQ(w.StringGrid1->Cells(0, 1), "secret.txt");
    EXPECT_EQ(w.StringGrid1->Cells(1, 1), "");
    EXPECT_EQ(w.StringGrid1->Cells(2, 1), "");
    EXPECT_EQ(w.StringGrid1->Cells(3, 1), "");
}

TEST_F(FileListsTest, RowsFollowTheNamesIgnoringCase) {
    for (const char* name : {"beta.txt", "Alpha.txt", "gamma.TXT", "Delta.cry", "charlie.cry"})
        scratch.Write(name);
    TMainWin& w = Open();
    EXPECT_EQ(Names(*w.StringGrid1),
              (std::vector<std::string>{"Alpha.txt", "beta.txt", "gamma.TXT"}));
    EXPECT_EQ(Names(*w.StringGrid2), (std::vector<std::string>{"charlie", "Delta"}));
}

TEST_F(FileListsTest, OnlyRegularFilesAreListed) {
    scratch.Write("target.txt", 4);
    ASSERT_EQ(::symlink("target.txt", (scratch / "link.txt").c_str()), 0);
    ASSERT_EQ(::symlink("missing", (scratch / "dangling.txt").c_str()), 0);
    ASSERT_EQ(::mkfifo((scratch / "pipe").c_str(), 0600), 0);
    scratch.MakeFolder("folder.cry");
    TMainWin& w = Open();
    EXPECT_EQ(Names(*w.StringGrid1), (std::vector<std::string>{"link.txt", "target.txt"}));
    EXPECT_EQ(w.StringGrid1->Cells(1, 1), "         4");
    ExpectOnlyPlaceholder(*w.StringGrid2);
}

TEST_F(FileListsTest, FileNamedLikeThePlaceholderIsStillListed) {
    scratch.Write("[no files]", 1);
    scratch.Write("zeta.txt", 2);
    TMainWin& w = Open();
    EXPECT_EQ(Names(*w.StringGrid1), (std::vector<std::string>{"[no files]", "zeta.txt"}));
    EXPECT_EQ(w.StringGrid1->Cells(1, 1), "         1");
}

TEST_F(FileListsTest, SwitchingShowCryChangesOnlyTheCryptedNames) {
    scratch.Write("report.doc.cry", 100);
    scratch.Write("plain.txt", 5);
    TMainWin& w = Open();
    const std::string size = w.StringGrid2->Cells(1, 1);
    const std::string date = w.StringGrid2->Cells(2, 1);
    const std::vector<std::string> plain = Names(*w.StringGrid1);
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "report.doc");

    ShowCry = 1;
    w.RefreshLists();
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "report.doc.cry");
    EXPECT_EQ(w.StringGrid2->Cells(1, 1), size);
    EXPECT_EQ(w.StringGrid2->Cells(2, 1), date);
    EXPECT_EQ(w.FileListBox2.Items, (std::vector<std::string>{"report.doc.cry"}));
    EXPECT_EQ(Names(*w.StringGrid1), plain);
    EXPECT_EQ(w.StringGrid2->FileName(1), "report.doc.cry");
}

TEST_F(FileListsTest, RefreshPicksUpChangesAndKeepsTheCurrentRowOnTheGrid) {
    for (const char* name : {"a", "b", "c", "d"})
        scratch.Write(name);
    TMainWin& w = Open();
    w.StringGrid1->SetCurrentCell(0, 4);
    ASSERT_EQ(w.StringGrid1->Row(), 4);

    for (const char* name : {"b", "c", "d"})
        std::filesystem::remove(scratch / name);
    scratch.Write("e.cry");
    w.RefreshLists();
    EXPECT_EQ(Names(*w.StringGrid1), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Names(*w.StringGrid2), (std::vector<std::string>{"e"}));
    EXPECT_EQ(w.StringGrid1->Row(), 1);
    EXPECT_EQ(w.StringGrid1->Selection().Bottom, 1);
}

// A change made by another program reaches the lists through the folder's
// watch and the timer it starts (driven here by hand), or through F5; the
// selection stays on the same files.
TEST_F(FileListsTest, ChangesMadeElsewhereAreListedWithTheSelectionKeptOnItsFiles) {
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "F5" : "the folder's watch");
        for (const auto& entry : std::filesystem::directory_iterator(scratch.Path()))
            std::filesystem::remove(entry.path());
        for (const char* name : {"b", "c", "d"})
            scratch.Write(name);
        TMainWin& w = Open();
        w.show();
        w.StringGrid1->SetCurrentCell(0, 2); // c
        QTest::keyClick(w.StringGrid1, Qt::Key_Down, Qt::ShiftModifier);
        ASSERT_EQ(w.StringGrid1->Selection().Top, 2);

        scratch.Write("a");
        scratch.Write("a.cry");
        std::filesystem::remove(scratch / "b");
        if (byKey) {
            QApplication::setActiveWindow(&w);
            QTest::keyClick(w.StringGrid1, Qt::Key_F5);
        } else {
            QApplication::processEvents(); // the watch reports, the timer starts
            ASSERT_TRUE(w.DiskTimer->isActive());
            EXPECT_EQ(Names(*w.StringGrid1), (std::vector<std::string>{"b", "c", "d"}));
            w.DiskTimerTimer();
        }
        EXPECT_EQ(Names(*w.StringGrid1), (std::vector<std::string>{"a", "c", "d"}));
        EXPECT_EQ(Names(*w.StringGrid2), (std::vector<std::string>{"a"}));
        EXPECT_EQ(w.StringGrid1->Selection().Top, 2);
        EXPECT_EQ(w.StringGrid1->Selection().Bottom, 3);
        EXPECT_FALSE(w.DiskTimer->isActive());

        // Changes while a command runs wait for its end.
        BusyGuard busy;
        scratch.Write("e");
        QApplication::processEvents();
        w.DiskTimerTimer();
        EXPECT_EQ(Names(*w.StringGrid1).size(), 3u);
        EXPECT_TRUE(w.DiskTimer->isActive());
    }
}

TEST_F(FileListsTest, HiddenNameListsAreMembershipTestsIgnoringCase) {
    scratch.Write("Letter.DOC");
    scratch.Write("Budget.xls.cry");
    TMainWin& w = Open();
    EXPECT_TRUE(w.FileListBox1.Contains("letter.doc"));
    EXPECT_FALSE(w.FileListBox1.Contains("Budget.xls.cry")); // moved to the crypted list
    EXPECT_TRUE(w.FileListBox2.Contains("BUDGET.XLS"));
}

} // namespace
} // namespace kelvane
