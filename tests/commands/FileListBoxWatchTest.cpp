// SPDX-License-Identifier: GPL-3.0-or-later
// A list read again takes only the names that came or went; whatever
// happened in between, it must read exactly as a fresh full read would.
#include "commands/FileListBox.h"
#include "platform/DirectoryWatch.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

std::vector<std::string> FreshRead(const std::string& directory, TFileListBox::Contents contents) {
    TFileListBox list(contents);
    list.SetDirectory(directory);
    return list.Items;
}

class FileListBoxWatchTest : public ::testing::Test {
protected:
    void ExpectSameAsFresh(TFileListBox& list, const char* step) {
        list.Update();
        EXPECT_EQ(list.Items, FreshRead(dir.Path(), contents)) << step;
        // The folder list of the same directory takes these.
        if (contents == TFileListBox::Contents::Files) {
            EXPECT_EQ(list.Subfolders(), FreshRead(dir.Path(), TFileListBox::Contents::Folders))
                << step;
        }
    }

    TempDir dir;
    TFileListBox::Contents contents = TFileListBox::Contents::Files;
};

TEST_F(FileListBoxWatchTest, ChangesBetweenReadsShowAsAFullReadWouldShowThem) {
    dir.Write("a.txt", "a");
    dir.Write("b.TXT", "b");
    TFileListBox list;
    list.SetDirectory(dir.Path());
    ExpectSameAsFresh(list, "read again, nothing changed");

    dir.Write("c.txt", "c");
    dir.Write("B.txt", "B");
    ExpectSameAsFresh(list, "files created");
    fs::remove(dir / "a.txt");
    ExpectSameAsFresh(list, "file deleted");
    fs::rename(dir / "c.txt", dir / "c.txt.cry");
    fs::rename(dir / "b.TXT", dir / "B.txt"); // over an existing name
    ExpectSameAsFresh(list, "files renamed");
    fs::create_directory(dir / "folder");
    ::mkfifo((dir / "pipe").c_str(), 0600);
    ExpectSameAsFresh(list, "a folder and a pipe are not files");
    fs::remove(dir / "c.txt.cry");
    dir.Write("c.txt.cry", "again");
    ExpectSameAsFresh(list, "deleted and made again");
    EXPECT_EQ(list.Items, (std::vector<std::string>{"B.txt", "c.txt.cry"}));
}

TEST_F(FileListBoxWatchTest, LinksFollowTheirTargetsWhereverTheyLive) {
    TempDir elsewhere;
    fs::create_symlink(elsewhere / "later.txt", dir / "link.txt");
    TFileListBox list;
    list.SetDirectory(dir.Path());
    ExpectSameAsFresh(list, "a dangling link is not listed");
    EXPECT_TRUE(list.Items.empty());

    // The target appears outside the watched folder.
    elsewhere.Write("later.txt", "now");
    ExpectSameAsFresh(list, "the link's target appeared");
    EXPECT_EQ(list.Items, std::vector<std::string>{"link.txt"});
    fs::remove(elsewhere / "later.txt");
    ExpectSameAsFresh(list, "the link's target went");
}

TEST_F(FileListBoxWatchTest, ManyChangesInOneUpdateKeepFilesAndLinksExact) {
    TempDir elsewhere;
    for (int i = 0; i < 200; ++i)
        dir.Write("n" + std::to_string(i), "x");
    fs::create_symlink(elsewhere / "target", dir / "n50.link");
    TFileListBox list;
    list.SetDirectory(dir.Path());
    ExpectSameAsFresh(list, "watched");

    // One update sees all of these: every other file gone, some back under
    // another case, a file turned into a link, a dangling link come alive.
    for (int i = 0; i < 200; i += 2)
        fs::remove(dir / ("n" + std::to_string(i)));
    for (int i = 0; i < 40; i += 4)
        dir.Write("N" + std::to_string(i), "y");
    fs::remove(dir / "n7");
    fs::create_symlink(dir / "n9", dir / "n7");
    elsewhere.Write("target", "t");
    ExpectSameAsFresh(list, "a burst of changes");

    // The link that was a file still follows its target afterwards.
    fs::remove(dir / "n9");
    ExpectSameAsFresh(list, "the new link's target went");
    EXPECT_EQ(std::count(list.Items.begin(), list.Items.end(), "n7"), 0);
    EXPECT_EQ(std::count(list.Items.begin(), list.Items.end(), "n50.link"), 1);
}

TEST_F(FileListBoxWatchTest, FoldersListsAndAnotherDirectoryStayExact) {
    contents = TFileListBox::Contents::FilesAndFolders;
    TFileListBox list(contents);
    list.SetDirectory(dir.Path());
    list.Update();
    fs::create_directory(dir / "sub");
    dir.Write("x", "x");
    ExpectSameAsFresh(list, "a folder and a file");

    TempDir other;
    other.Write("only-here", "o");
    list.SetDirectory(other.Path());
    EXPECT_EQ(list.Items, std::vector<std::string>{"only-here"});
    dir.Write("not-here", "n");
    list.Update();
    EXPECT_EQ(list.Items, std::vector<std::string>{"only-here"});
}

TEST_F(FileListBoxWatchTest, RandomChangesAgreeWithFullReads) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    TFileListBox list;
    list.SetDirectory(dir.Path());
    for (int round = 0; round < 40; ++round) {
        for (int change = 0; change < 8; ++change) {
            const std::string name = "f" + std::to_string(random() % 12);
            const std::string other = "F" + std::to_string(random() % 12);
            switch (random() % 4) {
            case 0:
                dir.Write(name, "x");
                break;
            case 1:
                fs::remove(dir / name);
                break;
            case 2:
                if (fs::exists(dir / name))
                    fs::rename(dir / name, dir / other);
                break;
            default:
                fs::remove(dir / other);
                break;
            }
        }
        list.Update();
        ASSERT_EQ(list.Items, FreshRead(dir.Path(), contents)) << "round " << round;
    }
}

TEST_F(FileListBoxWatchTest, TheWorkingDirectoryListFollowsAChangeOfDirectory) {
    TempDir other;
    dir.Write("here", "h");
    other.Write("there", "t");
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    TFileListBox list;
    list.Update();
    list.Update();
    EXPECT_EQ(list.Items, std::vector<std::string>{"here"});
    fs::current_path(other.Path());
    list.Update();
    EXPECT_EQ(list.Items, std::vector<std::string>{"there"});
    fs::current_path(before);
}

TEST(DirectoryWatchTest, ReportsNamesOnceAndLosesTrackWhenTheFolderGoes) {
    TempDir dir;
    const std::string watched = dir / "w";
    fs::create_directory(watched);
    DirectoryWatch watch;
    ASSERT_TRUE(watch.Start(watched));
    auto none = watch.TakeChanges();
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());

    dir.Write("w/a", "1");
    dir.Write("w/a", "2");
    fs::rename(watched + "/a", watched + "/b");
    auto names = watch.TakeChanges();
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names, (std::vector<std::string>{"a", "b"}));

    fs::rename(watched, dir / "moved");
    EXPECT_FALSE(watch.TakeChanges().has_value());
    EXPECT_FALSE(watch.Active());
    EXPECT_FALSE(watch.Start(dir / "missing"));
}

TEST(DirectoryWatchTest, AWatchMovedOnReportsOnlyItsCurrentFolder) {
    TempDir dir;
    const std::string first = dir / "first";
    const std::string second = dir / "second";
    fs::create_directory(first);
    fs::create_directory(second);
    DirectoryWatch watch;
    ASSERT_TRUE(watch.Start(first));
    dir.Write("first/pending", "p"); // never taken before the move
    ASSERT_TRUE(watch.Start(second));
    auto names = watch.TakeChanges();
    ASSERT_TRUE(names.has_value());
    EXPECT_TRUE(names->empty());

    dir.Write("first/left-behind", "l");
    dir.Write("second/here", "h");
    names = watch.TakeChanges();
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names, std::vector<std::string>{"here"});

    // The folder watched before going away tells nothing about this one.
    fs::remove_all(first);
    dir.Write("second/after", "a");
    names = watch.TakeChanges();
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names, std::vector<std::string>{"after"});
    EXPECT_TRUE(watch.Active());

    // Once it has lost track, it can still start again elsewhere.
    fs::rename(second, dir / "gone");
    EXPECT_FALSE(watch.TakeChanges().has_value());
    ASSERT_TRUE(watch.Start(dir.Path()));
    dir.Write("top", "t");
    names = watch.TakeChanges();
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names, std::vector<std::string>{"top"});
}

TEST_F(FileListBoxWatchTest, GoingBackAndForthBetweenFoldersKeepsEveryListExact) {
    TempDir other;
    TFileListBox list;
    for (int round = 0; round < 6; ++round) {
        const std::string tag = std::to_string(round);
        for (TempDir* folder : {&dir, &other}) {
            list.SetDirectory(folder->Path());
            list.Update(); // read twice, so the folder is watched
            // Changes in the folder shown and in the one just left.
            folder->Write("in-" + tag, "x");
            (folder == &dir ? other : dir).Write("away-" + tag, "y");
            if (round > 0)
                fs::remove(folder->Path() + "/in-" + std::to_string(round - 1));
            list.Update();
            ASSERT_EQ(list.Items, FreshRead(folder->Path(), contents)) << "round " << round;
        }
    }
}

} // namespace
} // namespace kelvane
