// SPDX-License-Identifier: GPL-3.0-or-later
// "Held open by another program" read from the processes' descriptor tables,
// and the exit codes of the processes the program starts.
#include "platform/OpenFileScan.h"

#include "platform/ShellLaunch.h"
#include "support/HoldingChild.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::HoldingChild;
using testing_support::TempDir;

FileNode IdentityOrFail(const std::string& path) {
    FileNode identity{};
    EXPECT_TRUE(IdentityOf(path, identity)) << path;
    return identity;
}

TEST(OpenFileScanTest, FileHeldByAnotherProcessIsSeenUntilItLetsGoAndOthersAreNot) {
    TempDir dir;
    const FileNode held = IdentityOrFail(dir.Write("held.txt", "a"));
    const FileNode free = IdentityOrFail(dir.Write("free.txt", "b"));
    HoldingChild child(dir / "held.txt");

    EXPECT_EQ(FilesHeldByOthers({held, free}), std::set<FileNode>{held});
    child.LetGo();
    ::waitpid(child.Pid(), nullptr, 0);
    EXPECT_TRUE(FilesHeldByOthers({held, free}).empty());
}

TEST(OpenFileScanTest, RenamedFileIsStillKnownByItsDeviceAndInode) {
    TempDir dir;
    const FileNode held = IdentityOrFail(dir.Write("before.txt", "a"));
    HoldingChild child(dir / "before.txt");
    std::filesystem::rename(dir / "before.txt", dir / "after.txt");
    EXPECT_EQ(FilesHeldByOthers({held}), std::set<FileNode>{held});
}

TEST(OpenFileScanTest, ThisProgramsOwnDescriptorsDoNotCount) {
    TempDir dir;
    const std::string path = dir.Write("mine.txt", "a");
    const int own = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(own, 0);
    EXPECT_TRUE(FilesHeldByOthers({IdentityOrFail(path)}).empty());
    ::close(own);
}

TEST(OpenFileScanTest, UnreadableOrMissingTablesCountAsNotSeen) {
    TempDir fakeProc;
    // A process whose fd directory is absent, one whose table can't be read,
    // and names that are no processes at all.
    std::filesystem::create_directories(fakeProc / "4242");
    std::filesystem::create_directories(fakeProc / "4343/fd");
    std::filesystem::create_directories(fakeProc / "self/fd");
    const std::string target = fakeProc.Write("target.txt", "x");
    std::filesystem::create_symlink(target, fakeProc / "self/fd/3");
    ::chmod((fakeProc / "4343/fd").c_str(), 0);
    const FileNode identity = IdentityOrFail(target);
    const bool root = ::geteuid() == 0; // root reads a table whatever its mode
    if (!root) {
        EXPECT_TRUE(FilesHeldByOthers({identity}, fakeProc.Path()).empty());
    }

    // A readable table that names the file is seen.
    std::filesystem::create_directories(fakeProc / "4444/fd");
    std::filesystem::create_symlink(target, fakeProc / "4444/fd/7");
    EXPECT_EQ(FilesHeldByOthers({identity}, fakeProc.Path()), std::set<FileNode>{identity});
    EXPECT_TRUE(FilesHeldByOthers({identity}, fakeProc / "absent").empty());
    ::chmod((fakeProc / "4343/fd").c_str(), 0700);
}

TEST(OpenFileScanTest, MonitorReadsTheTablesAgainOnlyWhenAFileWasOpenedOrClosed) {
    TempDir dir;
    const std::string path = dir.Write("doc.txt", "a");
    const std::string other = dir.Write("other.txt", "b");
    const FileNode identity = IdentityOrFail(path);
    const std::map<FileNode, std::string> files{{identity, path}};
    HeldFileMonitor monitor;

    EXPECT_TRUE(monitor.Held(files).empty());
    EXPECT_TRUE(monitor.Held(files).empty());
    EXPECT_EQ(monitor.Scans(), 1) << "nothing happened to the file: no second scan";

    {
        HoldingChild child(path);
        EXPECT_EQ(monitor.Held(files), std::set<FileNode>{identity});
        EXPECT_EQ(monitor.Scans(), 2);
        HoldingChild unrelated(other);
        EXPECT_EQ(monitor.Held(files), std::set<FileNode>{identity});
        EXPECT_EQ(monitor.Scans(), 2) << "another file's open is none of its business";
    }
    EXPECT_TRUE(monitor.Held(files).empty()) << "the close must be noticed";
    EXPECT_EQ(monitor.Scans(), 3);

    const std::map<FileNode, std::string> two{{identity, path}, {IdentityOrFail(other), other}};
    monitor.Held(two);
    EXPECT_EQ(monitor.Scans(), 4) << "a new file is scanned for at once";
}

TEST(ShellLaunchTest, StartedProcessReadsStillActiveUntilItEndsThenItsExitCodeForGood) {
    TempDir dir;
    const std::string path = dir.Write("held.txt", "a");
    HoldingChild child(path);
    EXPECT_EQ(ProcessExitCode(child.Pid()), kStillActive);
    child.LetGo();
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child.Pid()), &info, WEXITED | WNOWAIT), 0);
    EXPECT_EQ(ProcessExitCode(child.Pid()), 0);
    EXPECT_EQ(ProcessExitCode(child.Pid()), 0) << "a reaped process still reads as ended";
    EXPECT_EQ(ProcessExitCode(0), std::nullopt);
    EXPECT_EQ(ProcessExitCode(1), std::nullopt) << "not a process of ours";
}

TEST(ShellLaunchTest, UnknownVerbsAndEmptyNamesLaunchNothing) {
    EXPECT_FALSE(ShellLaunch("edit", "file.txt").launched);
    EXPECT_FALSE(ShellLaunch("open", "").launched);
    EXPECT_FALSE(ShellLaunchDetached("print", ""));
}

} // namespace
} // namespace kelvane
