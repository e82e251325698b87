// SPDX-License-Identifier: GPL-3.0-or-later
// How a run ends on disk: the destination appears only complete, never in
// the place of a file the user did not agree to replace, the source is only
// read, and nothing is left behind, with or without unnamed files.
#include "CryptFileFixture.h"
#include "engine/CommitBatch.h"
#include "platform/TreeWalk.h"
#include "support/FilesInTheMaking.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::TemporariesIn;
using testing_support::UnnamedFilesIn;

// Every case runs in the three engine modes, with unnamed files and with the
// named temporaries that stand in for them where the file system has none.
class DestinationTest : public CryptFileFixture,
                        public testing::WithParamInterface<std::tuple<Mode, bool>> {
protected:
    void SetUp() override {
        CryptFileFixture::SetUp();
        UseMode(std::get<0>(GetParam()));
        UseNamedTemporaries(std::get<1>(GetParam()));
    }
    void TearDown() override {
        UseNamedTemporaries(false);
        CryptFileFixture::TearDown();
    }
};

INSTANTIATE_TEST_SUITE_P(Modes, DestinationTest, testing::Combine(kModes, testing::Bool()),
                         [](const auto& tested) {
                             return ModeName(std::get<0>(tested.param)) +
                                    (std::get<1>(tested.param) ? "Named" : "Unnamed");
                         });

TEST_P(DestinationTest, TheNewFileExistsOnlyUnnamedOrUnderATemporaryNameUntilTheEnd) {
    const auto plain = PatternBytes(200000);
    WriteBytes(dir / "a", plain);
    std::vector<std::string> namesBefore;
    std::size_t unnamed = 0;
    faults.beforeCommit = [&](const std::string&) {
        namesBefore = dir.Names();
        unnamed = UnnamedFilesIn(dir.Path()).size();
    };
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    if (std::get<1>(GetParam())) {
        ASSERT_EQ(namesBefore.size(), 2u);
        EXPECT_TRUE(IsTemporaryName(namesBefore[0])) << namesBefore[0];
        EXPECT_EQ(namesBefore[0].rfind(".a.cry.", 0), 0u);
    } else {
        EXPECT_EQ(namesBefore, std::vector<std::string>{"a"});
        EXPECT_EQ(unnamed, 1u);
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry"}));
    ASSERT_EQ(Decrypt("a.cry", "b"), crOk);
    EXPECT_EQ(ReadBytes(dir / "b"), plain);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry", "b"}));
}

TEST_P(DestinationTest, AFileThatAppearsDuringTheRunIsNeverReplacedUnasked) {
    const auto plain = PatternBytes(50000);
    WriteBytes(dir / "a", plain);
    // Another run, or another program, makes the destination after the
    // up-front test has found none.
    faults.beforeCommit = [](const std::string& path) { std::ofstream(path) << "theirs"; };
    EXPECT_EQ(Encrypt("a", "a.cry"), crDestinationExists);
    EXPECT_EQ(TempDir::Read(dir / "a.cry"), "theirs");
    EXPECT_EQ(ReadBytes(dir / "a"), plain);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry"})) << "no temporary left";

    // With the user's consent the newer file takes its place.
    std::filesystem::remove(dir / "a.cry");
    hooks.onExisting = Existing::Replace;
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry"}));
    faults.beforeCommit = nullptr;
    ASSERT_EQ(Decrypt("a.cry", "a"), crOk) << "an existing plain file, replaced with consent";
    EXPECT_EQ(ReadBytes(dir / "a"), plain);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry"}));
}

TEST_P(DestinationTest, AnExistingDestinationIsKeptWithoutConsent) {
    WriteBytes(dir / "a", PatternBytes(3000));
    WriteBytes(dir / "a.cry", {'o', 'l', 'd'});
    EXPECT_EQ(Encrypt("a", "a.cry"), crDestinationExists);
    EXPECT_EQ(ReadBytes(dir / "a.cry"), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry"}));
}

TEST_P(DestinationTest, ADestinationInPlaceButUnconfirmedIsSaidToBeSo) {
    const auto plain = PatternBytes(30000);
    WriteBytes(dir / "a", plain);
    faults.unconfirmedCommit = true;
    EXPECT_EQ(Encrypt("a", "a.cry"), crUnconfirmed);
    faults.unconfirmedCommit = false;
    ASSERT_EQ(Decrypt("a.cry", "b"), crOk) << "the file in place is complete";
    EXPECT_EQ(ReadBytes(dir / "b"), plain);
}

TEST_P(DestinationTest, TemporariesOfRunsThatDiedAreRemovedByTheNextRunOnTheDestination) {
    const std::string dead = ".a.cry.999999999.0123456789abcdef.kelvane-tmp";
    const std::string running =
        ".a.cry." + std::to_string(::getppid()) + ".0123456789abcdef.kelvane-tmp";
    const std::string otherDestination = ".b.cry.999999999.0123456789abcdef.kelvane-tmp";
    const std::string notOurs = ".a.cry.999999999.not-ours.kelvane-tmp";
    for (const std::string& name : {dead, running, otherDestination, notOurs})
        WriteBytes(dir / name, {'x'});
    WriteBytes(dir / "a", PatternBytes(100));
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    std::vector<std::string> kept = {otherDestination, notOurs, running, "a", "a.cry"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(dir.Names(), kept);
}

TEST_P(DestinationTest, FailuresLeaveNoTemporary) {
    WriteBytes(dir / "a", PatternBytes(100000));
    faults.failWriteAt = 0;
    EXPECT_EQ(Encrypt("a", "a.cry"), crWriteFailed);
    faults = {};
    faults.failCommit = true;
    EXPECT_EQ(Encrypt("a", "a.cry"), crWriteFailed);
    faults = {};
    int calls = 0;
    hooks.eventBudget = std::chrono::microseconds{0};
    hooks.letEventsRun = [&] {
        if (++calls == 2)
            CancelRequested = true;
    };
    EXPECT_EQ(Encrypt("a", "a.cry"), crAborted);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a"});
    EXPECT_TRUE(UnnamedFilesIn(dir.Path()).empty());
}

TEST_P(DestinationTest, TheSourceIsOnlyReadAndItsOpeningIsRecorded) {
    WriteBytes(dir / "a", PatternBytes(300000));
    ::chmod((dir / "a").c_str(), 0400);
    struct stat before {};
    ASSERT_EQ(::stat((dir / "a").c_str(), &before), 0);
    std::vector<int> accessModes;
    hooks.eventBudget = std::chrono::microseconds{0};
    hooks.letEventsRun = [&] {
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            if (std::filesystem::read_symlink(entry.path(), error) != dir / "a")
                continue;
            const int fd = std::stoi(entry.path().filename().string());
            accessModes.push_back(::fcntl(fd, F_GETFL) & O_ACCMODE);
        }
    };
    FileIdentity opened;
    hooks.sourceOpened = &opened;
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    ASSERT_FALSE(accessModes.empty());
    EXPECT_EQ(accessModes, std::vector<int>(accessModes.size(), O_RDONLY));

    struct stat after {};
    ASSERT_EQ(::stat((dir / "a").c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0400u);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec) << "no chmod, not even undone";
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_TRUE(opened.known);
    EXPECT_EQ(opened.node.inode, before.st_ino);
    EXPECT_EQ(opened.size, 300000);
    EXPECT_EQ(opened.modifiedNanoseconds, before.st_mtim.tv_nsec);
}

// ---- Worker threads that can't be had ----

TEST(WorkerThreads, ARunWhoseThreadsCannotAllStartStopsWithNoMemory) {
    TempDir dir;
    const auto plain = PatternBytes(6 << 20);
    WriteBytes(dir / "a", plain);
    ProgressCounter fill, drain;
    for (std::size_t failing : {0u, 1u, 2u}) {
        SCOPED_TRACE(failing);
        CryptHooks hooks;
        hooks.parallelFrom = 0;
        hooks.ringBytes = 1 << 20; // the started threads fill the ring and wait
        hooks.threadMayStart = [failing](std::size_t thread) { return thread != failing; };
        EXPECT_EQ(EncryptFile(dir / "a", dir / "a.cry", "secret1", fill, drain, hooks), crNoMemory);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"a"});
        EXPECT_EQ(ReadBytes(dir / "a"), plain);
    }
    // Nothing is left of the failures: the next run goes through.
    CryptHooks hooks;
    hooks.parallelFrom = 0;
    ASSERT_EQ(EncryptFile(dir / "a", dir / "a.cry", "secret1", fill, drain, hooks), crOk);
    hooks.threadMayStart = [](std::size_t thread) { return thread < 2; };
    EXPECT_EQ(DecryptFile(dir / "a.cry", dir / "b", "secret1", fill, drain, hooks), crNoMemory);
    EXPECT_FALSE(std::filesystem::exists(dir / "b"));
}

// ---- A batch whose outcomes its filler is told ----

// The window's widgets may only be touched by its own thread: a batch
// committed behind the walk tells each file's outcome there, in the order
// the files came, and only within a call the walk makes.
TEST(CommitBehind, OutcomesAreToldOnTheFillingThreadInOrder) {
    TempDir dir;
    BatchLimits limits;
    limits.files = 2;
    std::vector<std::pair<std::string, std::thread::id>> told;
    {
        CommitBatch batch(limits, CommitBatch::Where::BackgroundSettledByFiller);
        for (const std::string name : {"a", "b", "c", "d", "e"}) {
            auto file = SystemFiles().CreateDestination(dir / name, 0600);
            ASSERT_TRUE(file);
            ASSERT_TRUE(file->WriteAt(0, name.data(), name.size()));
            const std::size_t toldBefore = told.size();
            batch.Add(std::move(file), Existing::Keep, 1,
                      [&told, name](CommitOutcome outcome, int) {
                          EXPECT_EQ(outcome, CommitOutcome::Done);
                          told.emplace_back(name, std::this_thread::get_id());
                      });
            EXPECT_EQ(batch.Settled(), told.size());
            EXPECT_GE(told.size(), toldBefore);
        }
        batch.Commit();
        EXPECT_EQ(batch.Added(), 5u);
        EXPECT_EQ(batch.Settled(), 5u);
    }
    ASSERT_EQ(told.size(), 5u);
    std::string order;
    for (const auto& [name, thread] : told) {
        order += name;
        EXPECT_EQ(thread, std::this_thread::get_id());
    }
    EXPECT_EQ(order, "abcde");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

// A disk whose write-back fails tells the failure to one flush only, and
// the data of files written meanwhile, waiting for the next batch, went down
// with it: the next flush passing proves nothing for them.
TEST(CommitBehind, AFailedFlushFailsEveryFileMadeBeforeItWhicheverBatchItWaitsIn) {
    TempDir dir;
    BatchLimits limits;
    limits.files = 2;
    static int flushes;
    flushes = 0;
    FlushFileSystemForTesting([](int) {
        if (++flushes > 1)
            return true;
        errno = ENOSPC;
        return false;
    });
    std::map<std::string, std::pair<CommitOutcome, int>> outcomes;
    {
        CommitBatch batch(limits, CommitBatch::Where::Inline);
        std::map<std::string, std::unique_ptr<DestinationFile>> files;
        const auto make = [&](const std::string& name) {
            files[name] = SystemFiles().CreateDestination(dir / name, 0600);
            ASSERT_TRUE(files[name]);
            ASSERT_TRUE(files[name]->WriteAt(0, name.data(), name.size()));
        };
        const auto add = [&](const std::string& name) {
            batch.Add(std::move(files[name]), Existing::Keep, 1,
                      [&outcomes, name](CommitOutcome outcome, int error) {
                          outcomes[name] = {outcome, error};
                      });
        };
        make("a");
        make("b");
        make("c"); // written before the first batch's flush fails
        add("a");
        add("b");
        make("d");
        add("c");
        add("d");
        batch.Commit();
    }
    ResetEngineState();
    const auto failed = std::make_pair(CommitOutcome::Failed, ENOSPC);
    EXPECT_EQ(outcomes["a"], failed);
    EXPECT_EQ(outcomes["b"], failed);
    EXPECT_EQ(outcomes["c"], failed);
    EXPECT_EQ(outcomes["d"], std::make_pair(CommitOutcome::Done, 0));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"d"});
}

// What a run may hold at once, one batch committed and one more waiting
// with each filler besides the file each has under way, fits the limit
// whatever the number of jobs.
TEST(CommitBehind, BatchesAreSizedSoThatEveryFillersFilesFitTheOpenFileLimit) {
    for (const std::size_t openFiles : {256u, 1024u, 8192u, 65536u}) {
        for (const unsigned fillers : {1u, 2u, 8u, 64u}) {
            for (const unsigned perFile : {3u, 4u}) {
                SCOPED_TRACE(testing::Message() << openFiles << " files, " << fillers
                                                << " fillers, " << perFile << " each");
                const std::size_t batch = SizedForOpenFiles({}, openFiles, fillers, perFile).files;
                EXPECT_GE(batch, 1u);
                EXPECT_LE(batch, BatchLimits{}.files);
                const std::size_t held = ((fillers + 1) * batch + fillers) * perFile;
                if (batch > 1) {
                    EXPECT_LE(held + IdleWalkFoldersKept() + 64, openFiles);
                }
            }
        }
    }
}

} // namespace
} // namespace kelvane
