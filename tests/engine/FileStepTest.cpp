// SPDX-License-Identifier: GPL-3.0-or-later
// Which refusal a file's step gives when several would hold, and which
// questions it asks before one: both front ends take their words from the
// end it names, so a wrong order puts the wrong words on a file, and a
// question asked before a refusal asks the user for nothing.
#include "engine/FileStep.h"

#include "crypto/CryptNames.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::TempDir;

// Answers as told and notes what it was asked; the engine must never run.
class ScriptedFrontEnd final : public StepFrontEnd {
public:
    explicit ScriptedFrontEnd(WhenTaken answer) : answer_(answer) {}

    WhenTaken DestinationTaken() override {
        askedTaken = true;
        return answer_;
    }
    bool ReadyToRun(const NameLook&, bool) override {
        askedReady = true;
        return false;
    }
    FileAccess& Files(const FolderFacts&) override { return SystemFiles(); }
    CryptResult Run(const StepHooks&) override {
        ADD_FAILURE() << "the engine ran";
        return crAborted;
    }
    const std::string& Password() override { return password_; }
    bool Batched() override { return false; }
    void Defer(std::unique_ptr<DestinationFile>, Existing, int64_t, Settle) override {}

    bool askedTaken = false, askedReady = false;

private:
    WhenTaken answer_;
    std::string password_ = "secret";
};

struct StepCase {
    const char* what;
    std::function<void(const TempDir&)> make; // "a" is the source, "a.cry" the destination
    StepEnd end;
    bool asksTaken = false;
    Direction direction = Direction::Encrypt;
    bool listed = false, claimed = false;
    StepFrontEnd::WhenTaken answer = StepFrontEnd::WhenTaken::Decline;
};

void File(const TempDir& dir, const char* name) {
    dir.Write(name, "text");
}

using When = StepFrontEnd::WhenTaken;
namespace fs = std::filesystem;

const StepCase kCases[] = {
    {"a link to a folder is a folder first",
     [](const TempDir& d) {
         fs::create_directory(d / "dir");
         fs::create_symlink("dir", d / "a");
     },
     StepEnd::SourceIsFolder},
    {"a link leading nowhere is a link",
     [](const TempDir& d) { fs::create_symlink("none", d / "a"); }, StepEnd::SourceIsLink},
    {"one file under both names is that before its other names",
     [](const TempDir& d) {
         File(d, "a");
         fs::create_hard_link(d / "a", d / "a.cry");
     },
     StepEnd::SameFile},
    {"other names before a folder in the way",
     [](const TempDir& d) {
         File(d, "a");
         fs::create_hard_link(d / "a", d / "b");
         fs::create_directory(d / "a.cry");
     },
     StepEnd::SourceHasOtherNames},
    {"a link in the destination's place is asked nothing",
     [](const TempDir& d) {
         File(d, "a");
         File(d, "b");
         fs::create_symlink("b", d / "a.cry");
     },
     StepEnd::DestinationIsLink},
    {"a folder in the way is asked nothing",
     [](const TempDir& d) {
         File(d, "a");
         fs::create_directory(d / "a.cry");
     },
     StepEnd::DestinationInTheWay},
    {"a listed name is asked about though the disk has none",
     [](const TempDir& d) { File(d, "a"); }, StepEnd::Declined, true, Direction::Encrypt, true},
    {"another file's claim is no earlier run's work",
     [](const TempDir& d) {
         File(d, "a");
         File(d, "a.cry");
     },
     StepEnd::DestinationTaken, true, Direction::Encrypt, false, true, When::LookForEarlierRun},
    {"a conversion leaves no work to finish",
     [](const TempDir& d) {
         File(d, "a");
         File(d, "a.cry");
     },
     StepEnd::DestinationTaken, true, Direction::Convert, false, false, When::LookForEarlierRun},
    {"a claimed free name is refused before the password", [](const TempDir& d) { File(d, "a"); },
     StepEnd::DestinationClaimed, false, Direction::Encrypt, false, true},
};

TEST(FileStepTest, TheFirstRefusalInOrderEndsTheStepBeforeAnyLaterQuestion) {
    for (const StepCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const TempDir dir;
        c.make(dir);
        const int folder = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(folder, 0);
        ScriptedFrontEnd frontEnd(c.answer);
        const auto ended =
            RunFileStep({c.direction, folder, "a", "a.cry", c.listed, false, c.claimed}, frontEnd);
        ::close(folder);
        ASSERT_TRUE(ended.has_value());
        EXPECT_EQ(ended->end, c.end);
        EXPECT_EQ(frontEnd.askedTaken, c.asksTaken);
        EXPECT_FALSE(frontEnd.askedReady);
        EXPECT_TRUE(fs::exists(fs::symlink_status(dir / "a"))) << "the source stays";
    }
}

TEST(FileStepTest, ATemporaryOfARunIsNoSourceAndItsOwnLeftoversGo) {
    const TempDir dir;
    const std::string temporary = TemporaryNameFor("a.cry", 999999999, "0123456789abcdef");
    File(dir, "a");
    dir.Write(temporary, "half written");
    ScriptedFrontEnd frontEnd(When::Decline);
    EXPECT_EQ(
        RunFileStep({Direction::Decrypt, AT_FDCWD, dir / temporary, dir / "x"}, frontEnd)->end,
        StepEnd::SourceIsTemporary);
    EXPECT_EQ(RunFileStep({Direction::Encrypt, AT_FDCWD, dir / "a", dir / "a.cry"}, frontEnd)->end,
              StepEnd::Declined);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a"})) << "the dead run's temporary is gone";
}

} // namespace
} // namespace kelvane
