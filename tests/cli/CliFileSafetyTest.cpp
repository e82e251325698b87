// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli in-process when the files change under it: a source saved
// anew during the run, a destination that appears, a write-protected source.
#include "cli/Cli.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::cli {
namespace {

using namespace testing_support;

class NoTerminal : public PasswordPrompter {
public:
    bool Ask(const std::string&, SecretString&, std::string& problem) override {
        problem = "no terminal";
        return false;
    }
};

struct CliRun {
    int status;
    std::string err;
};

class CliFileSafety : public testing::Test {
protected:
    void SetUp() override { WriteFile(dir / "pw", "s3cret!\n"); }

    CliRun Run(std::vector<std::string> args) {
        args.insert(args.begin() + 1, {"-p", dir / "pw"});
        std::ostringstream out, err;
        NoTerminal prompter;
        // The password comes from the file, so standard input is never read.
        const CliEnvironment env{-1, out, err, false, prompter, letEventsRun};
        const int status = RunCli(args, env);
        return {status, err.str()};
    }

    // Runs `change` once, at the first chance the engine gives during the run.
    void DuringTheRun(std::function<void()> change) {
        letEventsRun = [this, change = std::move(change)]() mutable {
            if (change)
                change();
            change = nullptr;
        };
    }

    TempDir dir;
    std::function<void()> letEventsRun;
};

TEST_F(CliFileSafety, ASourceSavedAnewDuringTheRunIsKeptBesideTheNewFile) {
    const std::string original = RandomBytes(300000, 5);
    WriteFile(dir / "a", original);
    DuringTheRun([&] {
        WriteFile(dir / "a.saving", "newer");
        std::filesystem::rename(dir / "a.saving", dir / "a");
    });
    const CliRun encrypted = Run({"encrypt", dir / "a"});
    EXPECT_EQ(encrypted.status, kExitFailed);
    EXPECT_EQ(encrypted.err, "kelvane-cli: \"" + dir / "a" +
                                 "\" changed while it was being encrypted; both kept\n");
    EXPECT_EQ(ReadFile(dir / "a"), "newer");

    // The crypted file holds what was read; bytes appended to it while it
    // is decrypted keep it too.
    std::filesystem::rename(dir / "a", dir / "newer");
    DuringTheRun([&] { std::ofstream(dir / "a.cry", std::ios::app) << "more"; });
    const CliRun decrypted = Run({"decrypt", dir / "a.cry"});
    EXPECT_EQ(decrypted.status, kExitFailed);
    EXPECT_EQ(decrypted.err, "kelvane-cli: \"" + dir / "a.cry" +
                                 "\" changed while it was being decrypted; both kept\n");
    EXPECT_EQ(ReadFile(dir / "a"), original);
    EXPECT_TRUE(Exists(dir / "a.cry"));
}

TEST_F(CliFileSafety, ADestinationThatAppearsDuringTheRunIsReplacedOnlyWithForce) {
    const std::string original = RandomBytes(300000, 6);
    WriteFile(dir / "a", original);
    DuringTheRun([&] { WriteFile(dir / "a.cry", "another run's result"); });
    const CliRun refused = Run({"encrypt", dir / "a"});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_EQ(refused.err, "kelvane-cli: \"" + dir / "a.cry" +
                               "\" appeared during the run and was kept; -f replaces it\n");
    EXPECT_EQ(ReadFile(dir / "a.cry"), "another run's result");
    EXPECT_EQ(ReadFile(dir / "a"), original);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry", "pw"}));

    std::filesystem::remove(dir / "a.cry");
    DuringTheRun([&] { WriteFile(dir / "a.cry", "another run's result"); });
    ASSERT_EQ(Run({"encrypt", "-f", dir / "a"}).status, kExitDone);
    letEventsRun = nullptr;
    ASSERT_EQ(Run({"decrypt", dir / "a.cry"}).status, kExitDone);
    EXPECT_EQ(ReadFile(dir / "a"), original);
}

TEST_F(CliFileSafety, AWriteProtectedSourceIsNeverMadeWritable) {
    WriteFile(dir / "a", RandomBytes(300000, 7));
    ::chmod((dir / "a").c_str(), 0444);
    struct stat before {};
    ASSERT_EQ(::stat((dir / "a").c_str(), &before), 0);
    unsigned modeDuringTheRun = 0;
    DuringTheRun([&] { modeDuringTheRun = PermissionsOf(dir / "a"); });
    ASSERT_EQ(Run({"encrypt", "-k", "-o", dir / "elsewhere.cry", dir / "a"}).status, kExitDone);
    EXPECT_EQ(modeDuringTheRun, 0444u);
    struct stat after {};
    ASSERT_EQ(::stat((dir / "a").c_str(), &after), 0);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec) << "the mode was never touched";
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(PermissionsOf(dir / "elsewhere.cry"), 0444u);
}

TEST_F(CliFileSafety, LeftoversOfAKilledRunOnTheDestinationAreRemoved) {
    WriteFile(dir / "a", "content");
    WriteFile(dir / "a.cry", "complete from an earlier run");
    const std::string leftover = ".a.cry.999999999.0123456789abcdef.kelvane-tmp";
    WriteFile(dir / leftover, "half");
    // Even a run refused for the existing destination clears them.
    EXPECT_EQ(Run({"encrypt", dir / "a"}).status, kExitFailed);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry", "pw"}));
}

TEST_F(CliFileSafety, AFolderSwappedForALinkAfterTheListingLeadsTheRunNowhereElse) {
    TempDir outside;
    WriteFile(outside / "x", "outside the tree");
    std::filesystem::create_directories(dir / "tree/a");
    std::filesystem::create_directories(dir / "tree/b");
    WriteFile(dir / "tree/a/first", RandomBytes(300000, 8));
    WriteFile(dir / "tree/b/x", "inside the tree");
    // With one job the whole tree is listed before the first file runs; b
    // changes after. (With more, b may be listed only after it changed,
    // and is then passed over as the link it has become.)
    DuringTheRun([&] {
        std::filesystem::rename(dir / "tree/b", dir / "tree/moved");
        std::filesystem::create_directory_symlink(outside.Path(), dir / "tree/b");
    });
    Run({"encrypt", "-r", "-j", "1", dir / "tree"});
    EXPECT_EQ(outside.Names(), std::vector<std::string>{"x"});
    EXPECT_EQ(ReadFile(outside / "x"), "outside the tree");
    EXPECT_TRUE(Exists(dir / "tree/moved/x.cry")) << "the folder listed is the one worked in";
}

// Files a run over a tree must refuse, each kept as it was, with the reason.
TEST_F(CliFileSafety, ARecursiveRunRefusesWhatWouldExposeOrLoseAFile) {
    const std::string tree = dir / "tree";
    struct Case {
        const char* what;
        std::function<void()> make;
        std::vector<std::string> args;
        int status;
        std::string message; // a line of the error output; empty for none
        std::vector<std::string> namesAfter;
    };
    const std::vector<Case> cases = {
        {"a hard-linked file",
         [&] {
             WriteFile(tree + "/h1", "the secret");
             ASSERT_EQ(::link((tree + "/h1").c_str(), (tree + "/h2").c_str()), 0);
         },
         {"encrypt", "-r", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree +
             "/h1\" has 1 other name; its content would stay readable through it",
         {"h1", "h2"}},
        {"a temporary of a run that died",
         [&] {
             WriteFile(tree + "/.g.cry.999999999.0123456789abcdef.kelvane-tmp", "half");
             WriteFile(tree + "/g", "g");
         },
         {"encrypt", "-r", tree},
         kExitDone,
         "",
         {"g.cry"}},
        {"a symbolic link where the new file would go",
         [&] {
             WriteFile(dir / "three", "third");
             Run({"encrypt", "-o", tree + "/b.cry", dir / "three"});
             std::filesystem::create_symlink(dir / "pw", tree + "/b");
         },
         {"decrypt", "-r", "-f", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree +
             "/b\" is a symbolic link, never replaced by a new file; remove or rename it first",
         {"b", "b.cry"}},
        // What an earlier run did not leave: a file of the new name that
        // does not hold its source exactly is kept, and so is the source.
        {"a crypted file of other content beside its source",
         [&] {
             WriteFile(dir / "other", "other content");
             Run({"encrypt", "-o", tree + "/c.cry", dir / "other"});
             WriteFile(tree + "/c", "the source");
         },
         {"encrypt", "-r", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree + "/c.cry\" already exists; -f replaces it",
         {"c", "c.cry"}},
        {"a crypted file of its source under another password",
         [&] {
             WriteFile(tree + "/c", "the source");
             WriteFile(dir / "pw", "other!!\n");
             Run({"encrypt", "-k", tree + "/c"});
             WriteFile(dir / "pw", "s3cret!\n");
         },
         {"encrypt", "-r", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree + "/c.cry\" already exists; -f replaces it",
         {"c", "c.cry"}},
        {"a crypted file of its source cut short",
         [&] {
             WriteFile(tree + "/c", RandomBytes(100, 3));
             Run({"encrypt", "-k", tree + "/c"});
             std::filesystem::resize_file(tree + "/c.cry", 14 + 96);
         },
         {"encrypt", "-r", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree + "/c.cry\" already exists; -f replaces it",
         {"c", "c.cry"}},
        {"a plain file beside its crypted one, changed since",
         [&] {
             WriteFile(tree + "/d", "as crypted");
             Run({"encrypt", "-k", tree + "/d"});
             WriteFile(tree + "/d", "as saved later");
         },
         {"decrypt", "-r", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree + "/d\" already exists; -f replaces it",
         {"d", "d.cry"}},
        {"a symbolic link to a crypted file of its source",
         [&] {
             WriteFile(tree + "/e", "the source");
             Run({"encrypt", "-k", "-o", dir / "e.cry", tree + "/e"});
             std::filesystem::create_symlink(dir / "e.cry", tree + "/e.cry");
         },
         {"encrypt", "-r", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree +
             "/e.cry\" is a symbolic link, never replaced by a new file; remove or rename it first",
         {"e", "e.cry"}},
        {"two crypted files that become one plain file",
         [&] {
             WriteFile(dir / "one", "first");
             WriteFile(dir / "two", "second");
             Run({"encrypt", "-o", tree + "/a.CRY", dir / "one"});
             Run({"encrypt", "-o", tree + "/a.cry", dir / "two"});
         },
         {"decrypt", "-r", "-f", tree},
         kExitFailed,
         "kelvane-cli: \"" + tree + "/a.cry\" would become \"" + tree +
             "/a\", which this run writes from another file; \"" + tree + "/a.cry\" is kept",
         {"a", "a.cry"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(tree);
        std::filesystem::create_directory(tree);
        c.make();
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (!c.message.empty()) {
            EXPECT_NE(run.err.find(c.message + "\n"), std::string::npos) << run.err;
        }
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(tree))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.namesAfter);
    }
    EXPECT_EQ(ReadFile(tree + "/a"), "first");
}

// A run stopped after putting its new files in place and before deleting
// their sources leaves both; the same command run again finishes them.
TEST_F(CliFileSafety, ARerunFinishesWhatAnEarlierRunLeftBothPlainAndCrypted) {
    const std::string tree = dir / "tree";
    const auto bothWays = [&] {
        WriteFile(tree + "/a", RandomBytes(300001, 1)); // more than one piece compared
        WriteFile(tree + "/b", "");
        Run({"encrypt", "-k", "-r", tree});
    };
    struct Case {
        const char* what;
        std::function<void()> make;
        std::vector<std::string> args;
        int status;
        std::vector<std::string> messages; // lines of the error output
        std::vector<std::string> namesAfter;
    };
    const std::string a = "\"" + tree + "/a\"", aCry = "\"" + tree + "/a.cry\"";
    const std::string b = "\"" + tree + "/b\"", bCry = "\"" + tree + "/b.cry\"";
    const std::vector<Case> cases = {
        {"encryption",
         bothWays,
         {"encrypt", "-r", "-j", "2", tree},
         kExitDone,
         {"kelvane-cli: " + a + " was already encrypted as " + aCry + ", which holds it exactly; " +
              a + " is removed",
          "kelvane-cli: " + b + " was already encrypted as " + bCry + ", which holds it exactly; " +
              b + " is removed",
          "kelvane-cli: 2 files were already done by an earlier run, which left them both plain "
          "and crypted; their sources are removed"},
         {"a.cry", "b.cry"}},
        {"encryption that keeps the sources",
         bothWays,
         {"encrypt", "-k", "-r", tree},
         kExitDone,
         {"kelvane-cli: " + a + " was already encrypted as " + aCry + ", which holds it exactly; " +
              a + " is kept",
          "kelvane-cli: " + b + " was already encrypted as " + bCry + ", which holds it exactly; " +
              b + " is kept",
          "kelvane-cli: 2 files were already done by an earlier run, which left them both plain "
          "and crypted; their sources are kept"},
         {"a", "a.cry", "b", "b.cry"}},
        {"decryption, beside a file it does and one it refuses",
         [&] {
             bothWays();
             Run({"decrypt", "-r", tree});
             Run({"encrypt", "-k", tree + "/a", tree + "/b"});
             WriteFile(tree + "/b", "saved since");
             WriteFile(tree + "/c", "c");
             Run({"encrypt", tree + "/c"});
         },
         {"decrypt", "-r", tree},
         kExitFailed,
         {"kelvane-cli: " + aCry + " was already decrypted as " + a + ", which holds it exactly; " +
              aCry + " is removed",
          "kelvane-cli: " + b + " already exists; -f replaces it",
          "kelvane-cli: 1 file was already done by an earlier run, which left it both plain and "
          "crypted; its source is removed"},
         {"a", "b", "b.cry", "c"}},
        {"a named file, its own line saying it all",
         [&] {
             WriteFile(tree + "/a", "a");
             Run({"encrypt", "-k", "-o", tree + "/x.cry", tree + "/a"});
         },
         {"encrypt", "-o", tree + "/x.cry", tree + "/a"},
         kExitDone,
         {"kelvane-cli: " + a + " was already encrypted as \"" + tree +
          "/x.cry\", which holds it exactly; " + a + " is removed"},
         {"x.cry"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(tree);
        std::filesystem::create_directory(tree);
        c.make();
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        std::string expected;
        for (const std::string& line : c.messages)
            expected += line + "\n";
        EXPECT_EQ(run.err, expected);
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(tree))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.namesAfter);
    }
    EXPECT_EQ(ReadFile(tree + "/x.cry").substr(0, 4), "KZ31");
}

} // namespace
} // namespace kelvane::cli
