// The sorted name lists behind the grids, and the shared state's reset.
#include "commands/FileListBox.h"

#include "commands/State.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(FileListBox, SortsIgnoringCaseWithATotalOrder) {
    TFileListBox list;
    for (const char* name : {"b", "B", "a", "_x", "A"})
        list.Add(name);
    EXPECT_EQ(list.Items, (std::vector<std::string>{"_x", "A", "a", "B", "b"}));
    EXPECT_EQ(list.IndexOf("b"), 3); // the first of the names equal but for case
    EXPECT_EQ(list.IndexOf("c"), -1);
    list.Delete(0);
    list.Delete(99);
    EXPECT_EQ(list.Count(), 4);
}

TEST(FileListBox, ReadsFilesFoldersOrBoth) {
    const auto root = std::filesystem::temp_directory_path() / "kelvane-listbox-test";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "Folder");
    std::ofstream(root / "file.txt") << "x";
    std::ofstream(root / ".hidden") << "x";

    TFileListBox files;
    files.SetDirectory(root.string());
    EXPECT_EQ(files.Items, (std::vector<std::string>{".hidden", "file.txt"}));
    TFileListBox folders(TFileListBox::Contents::Folders);
    folders.SetDirectory(root.string());
    EXPECT_EQ(folders.Items, (std::vector<std::string>{"Folder"}));
    TFileListBox both(TFileListBox::Contents::FilesAndFolders);
    both.SetDirectory(root.string());
    EXPECT_EQ(both.Count(), 3);

    TFileListBox missing;
    missing.SetDirectory((root / "nowhere").string());
    EXPECT_EQ(missing.Count(), 0);
    std::filesystem::remove_all(root);
}

TEST(SharedState, ResetClearsEveryFlagAndThePassword) {
    EncryptBusy = TreeBusy = true;
    FirstOfList = HavePassword = true;
    CancelRequested = true;
    RememberedPassword = "secret12";
    OpenFiles[3].InUse = true;
    OpenFiles[3].Name = "a.doc";
    OpenCount = 1;
    EXPECT_TRUE(Busy());

    ResetSharedState();
    EXPECT_FALSE(Busy());
    EXPECT_FALSE(FirstOfList || HavePassword || CancelRequested);
    EXPECT_TRUE(RememberedPassword.empty());
    EXPECT_FALSE(OpenFiles[3].InUse);
    EXPECT_TRUE(OpenFiles[3].Name.empty());
    EXPECT_EQ(OpenCount, 0);
}

} // namespace
} // namespace kelvane
