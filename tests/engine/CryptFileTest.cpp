// SPDX-License-Identifier: GPL-3.0-or-later
#include "CryptFileFixture.h"
#include "crypto/Crc32.h"
#include "crypto/Des.h"
#include "support/FilesInTheMaking.h"

#include <functional>
#include <tuple>

namespace kelvane {
namespace {

// ---- The format ----

class CryptFileTest : public CryptFileFixture, public testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        CryptFileFixture::SetUp();
        UseMode(GetParam());
    }
};

INSTANTIATE_TEST_SUITE_P(Modes, CryptFileTest, kModes,
                         [](const auto& tested) { return ModeName(tested.param); });

class CryptedLayout : public CryptFileFixture,
                      public testing::WithParamInterface<std::tuple<int, Mode>> {
protected:
    void SetUp() override {
        CryptFileFixture::SetUp();
        UseMode(std::get<1>(GetParam()));
    }
};

TEST_P(CryptedLayout, HeaderAndLengthFollowThePlainLengthAndTheFileRoundTrips) {
    const int length = std::get<0>(GetParam());
    const auto plain =
        PatternBytes(static_cast<std::size_t>(length), static_cast<uint32_t>(length + 1));
    WriteBytes(dir / "a.txt", plain);
    ASSERT_EQ(Encrypt("a.txt", "a.txt.cry"), crOk);

    const auto crypted = ReadBytes(dir / "a.txt.cry");
    ASSERT_EQ(crypted.size(), static_cast<std::size_t>(length + 22 - length % 8));
    EXPECT_EQ(std::string(crypted.begin(), crypted.begin() + 4), "KZ31");
    EXPECT_EQ(Le32(crypted, 4), static_cast<uint32_t>(length));
    EXPECT_EQ(Le32(crypted, 8), Crc32Of(plain.data(), static_cast<uint32_t>(plain.size())));
    uint8_t key[8];
    MakeKey(kPassword, key);
    EXPECT_EQ(crypted[12] | crypted[13] << 8, KeyCheckOf(key));
    EXPECT_EQ(ReadBytes(dir / "a.txt"), plain) << "the engine leaves the source alone";

    ASSERT_EQ(Decrypt("a.txt.cry", "back.txt"), crOk);
    EXPECT_EQ(ReadBytes(dir / "back.txt"), plain);
}

INSTANTIATE_TEST_SUITE_P(PlainLengths, CryptedLayout,
                         testing::Combine(testing::Values(0, 1, 7, 8, 9, 799, 800, 10239, 10240,
                                                          10241, 1024000, 1024001,
                                                          3 * 1024000 + 17),
                                          kModes),
                         [](const auto& tested) {
                             return std::to_string(std::get<0>(tested.param)) +
                                    ModeName(std::get<1>(tested.param));
                         });

TEST_P(CryptFileTest, EachBlockIsEncipheredOnItsOwnUnderThePasswordKey) {
    std::vector<uint8_t> plain(24, 'x'); // three identical blocks, then a block of pad
    WriteBytes(dir / "a", plain);
    ASSERT_EQ(Encrypt("a", "a.cry", "pass"), crOk);
    const auto crypted = ReadBytes(dir / "a.cry");
    const uint8_t key[8] = {'p', 'a', 's', 's', 0, 0, 0, 0};
    uint8_t expected[8];
    DesBlock(plain.data(), expected, key, 1);
    for (int block = 0; block < 3; ++block)
        EXPECT_TRUE(std::equal(expected, expected + 8, crypted.begin() + 14 + 8 * block));
}

TEST_P(CryptFileTest, OnlyTheFirstEightPasswordCharactersCount) {
    WriteBytes(dir / "a", PatternBytes(100));
    ASSERT_EQ(Encrypt("a", "a.cry", "abcdefgh-one"), crOk);
    EXPECT_EQ(Decrypt("a.cry", "b", "abcdefgh-two"), crOk);
    EXPECT_EQ(ReadBytes(dir / "b"), PatternBytes(100));
}

TEST_P(CryptFileTest, PasswordsDifferingInALowBitShareTheCipherKeyButNotTheKeyCheck) {
    WriteBytes(dir / "a", PatternBytes(100));
    ASSERT_EQ(Encrypt("a", "a.cry", "abcdefgh"), crOk);
    EXPECT_EQ(Decrypt("a.cry", "b", "abcdefgi"), crBadPassword); // 'h' ^ 1 == 'i'
    EXPECT_FALSE(std::filesystem::exists(dir / "b"));
}

// ---- Refusals: the right code, the source untouched, nothing written ----

TEST_P(CryptFileTest, RefusalsLeaveTheSourceAndWriteNothing) {
    struct Case {
        const char* what;
        std::vector<uint8_t> source;
        CryptResult expected;
    };
    auto good = CryptedOf(PatternBytes(50));
    auto altered = good;
    altered[20] ^= 0x01;
    const std::vector<Case> cases = {
        {"fewer than 4 bytes", {'K', 'Z', '3'}, crReadFailed},
        {"no magic", {'K', 'Z', '3', '2', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, crNotCrypted},
        {"a plain file", PatternBytes(500), crNotCrypted},
        {"magic, short header", {'K', 'Z', '3', '1', 0, 0, 0, 0, 0}, crReadFailed},
        {"altered ciphertext", altered, crBadPassword},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(dir / "in.cry", c.source);
        EXPECT_EQ(Decrypt("in.cry", "out"), c.expected);
        EXPECT_EQ(ReadBytes(dir / "in.cry"), c.source);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"in.cry"});
    }
}

TEST_P(CryptFileTest, AMissingSourceCannotBeOpened) {
    EXPECT_EQ(Encrypt("missing", "missing.cry"), crOpenFailed);
    EXPECT_EQ(Decrypt("missing.cry", "missing"), crOpenFailed);
    EXPECT_TRUE(dir.Names().empty());
}

TEST_P(CryptFileTest, AWrongPasswordIsRefusedBeforeAnyCiphertextIsRead) {
    WriteBytes(dir / "in.cry", CryptedOf(PatternBytes(5000)));
    faults.bytesRead = 0;
    EXPECT_EQ(Decrypt("in.cry", "out", "wrongpwd"), crBadPassword);
    EXPECT_EQ(faults.bytesRead, 14);
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST_P(CryptFileTest, APlainLengthOutsideTheCiphertextIsRefusedWithoutReadingPastIt) {
    auto crypted = CryptedOf(PatternBytes(40)); // 48 bytes of ciphertext
    for (uint32_t length : {49u, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
        SCOPED_TRACE(length);
        for (std::size_t i = 0; i < 4; ++i)
            crypted[4 + i] = static_cast<uint8_t>(length >> (8 * i));
        WriteBytes(dir / "in.cry", crypted);
        EXPECT_EQ(Decrypt("in.cry", "out"), crNotCrypted);
        EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    }
    // The key check still comes first.
    EXPECT_EQ(Decrypt("in.cry", "out", "wrongpwd"), crBadPassword);
}

TEST_P(CryptFileTest, ARaggedCiphertextTailDecryptsWhileThePlainLengthStaysOutOfIt) {
    const auto plain = PatternBytes(16);
    auto crypted = CryptedOf(plain); // 24 bytes of ciphertext
    crypted.insert(crypted.end(), {1, 2, 3});
    WriteBytes(dir / "in.cry", crypted);
    ASSERT_EQ(Decrypt("in.cry", "out"), crOk);
    EXPECT_EQ(ReadBytes(dir / "out"), plain);

    // A plain length reaching into the undeciphered tail fails the data check.
    crypted[4] = 26;
    WriteBytes(dir / "in.cry", crypted);
    EXPECT_EQ(Decrypt("in.cry", "out2"), crBadPassword);
}

// ---- A crypted file that holds a plain file ----

class CryptedHoldsPlainTest : public CryptFileFixture {
protected:
    bool Holds(const std::vector<uint8_t>& crypted, const std::vector<uint8_t>& plain,
               const std::string& password = kPassword) {
        WriteBytes(dir / "a.cry", crypted);
        WriteBytes(dir / "a", plain);
        const auto cryptedFile = SystemFiles().OpenSource(dir / "a.cry");
        const auto plainFile = SystemFiles().OpenSource(dir / "a");
        return CryptedHoldsPlain(*cryptedFile, *plainFile, password);
    }
};

// Only what decrypts to the very bytes of the plain file, laid out as
// encryption writes it, holds it; a difference anywhere, the last byte and
// the checks of the header included, does not.
TEST_F(CryptedHoldsPlainTest, OnlyTheExactContentUnderThePasswordHoldsThePlainFile) {
    using Bytes = std::vector<uint8_t>;
    const auto reenciphered = [](Bytes& crypted, const std::function<void(uint8_t*)>& change) {
        uint8_t key[8];
        MakeKey(kPassword, key);
        const DesKeySchedule schedule(key);
        uint8_t* const last = crypted.data() + crypted.size() - 8;
        DesCryptBlocks(schedule, last, 1, false);
        change(last);
        DesCryptBlocks(schedule, last, 1, true);
    };
    struct Case {
        const char* what;
        std::size_t length;
        std::function<void(Bytes& crypted, Bytes& plain)> change;
        const char* password;
        bool holds;
    };
    const auto none = [](Bytes&, Bytes&) {};
    const std::vector<Case> cases = {
        {"empty", 0, none, kPassword, true},
        {"one byte short of a block", 7, none, kPassword, true},
        {"a whole block", 8, none, kPassword, true},
        {"many pieces and a ragged end", 3 * (256 << 10) + 13, none, kPassword, true},
        {"other pad bytes, as decryption ignores them", 13,
         [&](Bytes& crypted, Bytes&) { reenciphered(crypted, [](uint8_t* b) { b[7] ^= 0x5A; }); },
         kPassword, true},
        {"another password", 100, none, "secret13", false},
        {"the plain file's last byte", 3 * (256 << 10) + 13,
         [](Bytes&, Bytes& plain) { plain.back() ^= 1; }, kPassword, false},
        {"the plain file one byte longer", 100, [](Bytes&, Bytes& plain) { plain.push_back(0); },
         kPassword, false},
        {"a byte of the ciphertext", 100, [](Bytes& crypted, Bytes&) { crypted[60] ^= 1; },
         kPassword, false},
        {"the data check", 100, [](Bytes& crypted, Bytes&) { crypted[8] ^= 1; }, kPassword, false},
        {"the last block cut off", 100,
         [](Bytes& crypted, Bytes&) { crypted.resize(crypted.size() - 8); }, kPassword, false},
        {"a block more than encryption writes", 100,
         [](Bytes& crypted, Bytes&) { crypted.insert(crypted.end(), 8, 0); }, kPassword, false},
        {"the plain file where the crypted one belongs", 100,
         [](Bytes& crypted, Bytes& plain) { crypted = plain; }, kPassword, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes plain = PatternBytes(c.length, static_cast<uint32_t>(c.length));
        Bytes crypted = CryptedOf(plain);
        c.change(crypted, plain);
        EXPECT_EQ(Holds(crypted, plain, c.password), c.holds);
    }
}

TEST_F(CryptedHoldsPlainTest, ACancelledComparisonHoldsNothing) {
    const auto plain = PatternBytes(100);
    const auto crypted = CryptedOf(plain);
    ASSERT_TRUE(Holds(crypted, plain));
    CancelRequested = true;
    EXPECT_FALSE(Holds(crypted, plain));
}

TEST_P(CryptFileTest, EqualSourceAndDestinationAreRefusedWithoutTouchingTheFile) {
    const auto plain = PatternBytes(300);
    WriteBytes(dir / "a", plain);
    EXPECT_EQ(Encrypt("a", "a"), crCreateFailed);
    EXPECT_EQ(EncryptFile(dir / "a", dir.Path() + "/./a", kPassword, fill, drain, hooks),
              crCreateFailed);
    EXPECT_EQ(Decrypt("a", "a"), crCreateFailed);
    EXPECT_EQ(ReadBytes(dir / "a"), plain);
}

TEST_P(CryptFileTest, ADestinationThatCannotBeCreatedIsReported) {
    WriteBytes(dir / "a", PatternBytes(30));
    EXPECT_EQ(Encrypt("a", "no-such-dir/a.cry"), crCreateFailed);
    std::filesystem::create_directory(dir / "a.cry");
    EXPECT_EQ(Encrypt("a", "a.cry"), crCreateFailed);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a.cry"));
}

TEST_P(CryptFileTest, ReadFailuresAndShortReadsAreReported) {
    WriteBytes(dir / "a", PatternBytes(3000));
    faults.failReadAt = 0;
    EXPECT_EQ(Encrypt("a", "a.cry"), crReadFailed);
    faults = {};
    faults.shortReadAt = 0;
    EXPECT_EQ(Encrypt("a", "a.cry"), crReadFailed);
    faults = {};
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    faults = {};
    faults.shortReadAt = 1; // the header, then the ciphertext
    EXPECT_EQ(Decrypt("a.cry", "b"), crReadFailed);
    faults = {};
    faults.fakeSize = 6000; // the file is shorter than its size said
    EXPECT_EQ(Encrypt("a", "c.cry"), crReadFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "b"));
    EXPECT_FALSE(std::filesystem::exists(dir / "c.cry"));
}

TEST_P(CryptFileTest, APlainFileTooLongForTheHeaderIsRefusedAsTooBig) {
    WriteBytes(dir / "a", PatternBytes(10));
    faults.fakeSize = int64_t{1} << 31;
    EXPECT_EQ(Encrypt("a", "a.cry"), crNoMemory);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.cry"));
}

// ---- Failed writes lose nothing ----

TEST_P(CryptFileTest, EveryFailedWriteLeavesTheSourceAndNoDestination) {
    const auto plain = PatternBytes(2 * 1024000 + 5);
    WriteBytes(dir / "a", plain);
    for (int index = 0;; ++index) {
        SCOPED_TRACE(index);
        faults = {};
        faults.failWriteAt = index;
        const CryptResult result = Encrypt("a", "a.cry");
        if (result == crOk)
            break; // past the last write
        EXPECT_EQ(result, crWriteFailed);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"a"});
        EXPECT_EQ(ReadBytes(dir / "a"), plain);
        ASSERT_LT(index, 100);
    }
    faults = {};
    faults.failCommit = true;
    std::filesystem::remove(dir / "a.cry");
    EXPECT_EQ(Encrypt("a", "a.cry"), crWriteFailed);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a"});
}

TEST_P(CryptFileTest, AnExistingDestinationSurvivesAFailedWriteAndIsReplacedOnSuccess) {
    const auto plain = PatternBytes(20000);
    const std::vector<uint8_t> older = {'o', 'l', 'd'};
    WriteBytes(dir / "a", plain);
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    WriteBytes(dir / "a", older);
    hooks.onExisting = Existing::Replace; // the user agreed
    faults = {};
    faults.failWriteAt = 0;
    EXPECT_EQ(Decrypt("a.cry", "a"), crWriteFailed);
    EXPECT_EQ(ReadBytes(dir / "a"), older);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "a.cry"}));
    faults = {};
    ASSERT_EQ(Decrypt("a.cry", "a"), crOk);
    EXPECT_EQ(ReadBytes(dir / "a"), plain);
}

TEST_P(CryptFileTest, ADestinationOfTheLongestNameIsWritten) {
    const std::string longest(255, 'x');
    WriteBytes(dir / "a", PatternBytes(100));
    ASSERT_EQ(Encrypt("a", longest), crOk);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", longest}));
}

// ---- Progress reports and cancel ----

struct Report {
    int fillPosition, drainPosition, fillTag, drainTag;
};

class ProgressTest : public CryptFileTest {
protected:
    // Runs one direction over a file of `blocks` 8-byte blocks and records
    // the bars at every call that lets events run.
    std::vector<Report> Run(int blocks, bool encrypt) {
        const int plainLength = 8 * blocks - 1; // exactly `blocks` blocks with the pad
        WriteBytes(dir / "a", PatternBytes(static_cast<std::size_t>(plainLength)));
        if (!encrypt) {
            EXPECT_EQ(EncryptFile(dir / "a", dir / "a.cry", kPassword, fill, drain), crOk);
        }
        fill.SetTag(-7);
        drain.SetTag(-8);
        std::vector<Report> reports;
        hooks.eventBudget = std::chrono::hours(1); // reports only
        hooks.letEventsRun = [&] {
            reports.push_back({fill.Position(), drain.Position(), fill.Tag(), drain.Tag()});
        };
        const CryptResult r = encrypt ? Encrypt("a", "b.cry") : Decrypt("a.cry", "b");
        EXPECT_EQ(r, crOk);
        EXPECT_EQ(fill.Position(), 100);
        EXPECT_EQ(drain.Position(), 0);
        return reports;
    }
};

INSTANTIATE_TEST_SUITE_P(Modes, ProgressTest, kModes,
                         [](const auto& tested) { return ModeName(tested.param); });

TEST_P(ProgressTest, FewerThanAHundredBlocksReportNothingAndKeepTheTags) {
    EXPECT_TRUE(Run(99, true).empty());
    EXPECT_EQ(fill.Tag(), -7);
    EXPECT_EQ(drain.Tag(), -8);
}

TEST_P(ProgressTest, AHundredBlocksReportEveryBlock) {
    const auto reports = Run(100, true);
    ASSERT_EQ(reports.size(), 100u);
    for (int j = 0; j < 100; ++j) {
        const Report& report = reports[static_cast<std::size_t>(j)];
        EXPECT_EQ(report.fillPosition, j);
        EXPECT_EQ(report.drainPosition, 100 - j);
        EXPECT_EQ(report.fillTag, j) << "encryption counts blocks on the fill bar";
        EXPECT_EQ(report.drainTag, 100);
    }
}

TEST_P(ProgressTest, TheFillBarIsHeldAtAHundredPastTheHundredthBlock) {
    const auto reports = Run(150, false);
    ASSERT_EQ(reports.size(), 150u);
    EXPECT_EQ(reports[99].fillPosition, 99);
    EXPECT_EQ(reports[100].fillPosition, 100);
    EXPECT_EQ(reports[100].drainPosition, 0);
    EXPECT_EQ(reports[149].fillPosition, 100);
    EXPECT_EQ(reports[149].fillTag, 150) << "decryption holds the total on the fill bar";
    EXPECT_EQ(reports[149].drainTag, 149);
}

TEST_P(ProgressTest, ALargeFileReportsAtEveryStepFromBlockZero) {
    const int blocks = 25637; // s = 256, reports at 0, 256, ..., 25600
    const auto reports = Run(blocks, true);
    ASSERT_EQ(reports.size(), 101u);
    for (std::size_t k = 0; k < reports.size(); ++k) {
        EXPECT_EQ(reports[k].fillTag, static_cast<int>(256 * k));
        EXPECT_EQ(reports[k].fillPosition, static_cast<int>(k));
    }
    EXPECT_EQ(fill.Tag(), 25600) << "the index tag stays at the last report";
}

TEST_P(CryptFileTest, CancelAtAReportLeavesNoDestinationAndTheSourceIntact) {
    const auto plain = PatternBytes(80000);
    WriteBytes(dir / "a", plain);
    int calls = 0;
    hooks.letEventsRun = [&] {
        if (++calls == 3)
            CancelRequested = true; // the user presses "Cancel process"
    };
    EXPECT_EQ(Encrypt("a", "a.cry"), crAborted);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a"});
    EXPECT_EQ(ReadBytes(dir / "a"), plain);
    EXPECT_TRUE(CancelRequested) << "the engine never clears the flag";

    CancelRequested = false;
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    calls = 0;
    EXPECT_EQ(Decrypt("a.cry", "b"), crAborted);
    EXPECT_FALSE(std::filesystem::exists(dir / "b"));
}

TEST_P(CryptFileTest, ASmallFileCannotBeCancelled) {
    WriteBytes(dir / "a", PatternBytes(700));
    CancelRequested = true;
    EXPECT_EQ(Encrypt("a", "a.cry"), crOk);
}

TEST_P(CryptFileTest, EventsRunOnTheTimeBudgetBetweenReports) {
    const auto count = [&](std::chrono::microseconds budget) {
        int calls = 0;
        int reports = 0;
        int lastTag = fill.Tag();
        hooks.eventBudget = budget;
        hooks.letEventsRun = [&] {
            ++calls;
            reports += fill.Tag() != lastTag ? 1 : 0;
            lastTag = fill.Tag();
        };
        fill.SetTag(-1);
        lastTag = -1;
        EXPECT_EQ(Encrypt("a", "a.cry"), crOk);
        std::filesystem::remove(dir / "a.cry");
        return std::pair{calls, reports};
    };
    // No reports: a budget that never runs out lets no events run, an empty
    // one lets them run while the work goes on.
    WriteBytes(dir / "a", PatternBytes(700));
    EXPECT_EQ(count(std::chrono::hours(1)).first, 0);
    EXPECT_GT(count(std::chrono::microseconds{0}).first, 0);

    // 101 reports: events run at each, and with an empty budget between them too.
    WriteBytes(dir / "a", PatternBytes(8 * 25637 - 1));
    const auto [reportsOnly, reportCount] = count(std::chrono::hours(1));
    EXPECT_EQ(reportCount, 101);
    EXPECT_EQ(reportsOnly, 101) << "one chance per report, none between";
    const auto [everyChance, reportsAgain] = count(std::chrono::microseconds{0});
    EXPECT_EQ(reportsAgain, 101);
    EXPECT_GT(everyChance, 101) << "the budget gives chances between the reports";
}

TEST_P(CryptFileTest, TheNewFileIsBornWithTheSourcePermissions) {
    // A private file must never decrypt into a file others can read, not
    // even for the moment before its name appears: the mode is checked on
    // the unnamed file itself, under umasks that would widen or narrow it.
    for (const auto& [sourceMode, mask] :
         {std::pair{0600u, 0000u}, std::pair{0640u, 0077u}, std::pair{04755u, 0000u}}) {
        SCOPED_TRACE(std::to_string(sourceMode) + " under umask " + std::to_string(mask));
        WriteBytes(dir / "a", PatternBytes(100000));
        ::chmod((dir / "a").c_str(), sourceMode);
        std::vector<unsigned> beforeItsName;
        faults.beforeCommit = [&](const std::string&) {
            for (unsigned mode : testing_support::ModesOfFilesInTheMaking(dir.Path()))
                beforeItsName.push_back(mode);
        };
        const mode_t previous = ::umask(mask);
        const CryptResult encrypted = Encrypt("a", "a.cry");
        const CryptResult decrypted = encrypted == crOk ? Decrypt("a.cry", "b") : encrypted;
        ::umask(previous);
        ASSERT_EQ(encrypted, crOk);
        ASSERT_EQ(decrypted, crOk);
        const unsigned expected = sourceMode & 0777; // never set-id
        EXPECT_EQ(beforeItsName, (std::vector<unsigned>{expected, expected}));
        EXPECT_EQ(testing_support::ModeOf(dir / "a.cry"), expected);
        EXPECT_EQ(testing_support::ModeOf(dir / "b"), expected);
        std::filesystem::remove(dir / "a.cry");
        std::filesystem::remove(dir / "b");
    }
}

TEST_P(CryptFileTest, TheLongestStretchWithoutEventsIsRecordedForTheBenchmarks) {
    WriteBytes(dir / "a", PatternBytes(3000000));
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> chances;
    hooks.letEventsRun = [&] { chances.push_back(Clock::now()); };
    std::chrono::microseconds longest{0};
    hooks.longestEventGap = &longest;
    const auto start = Clock::now();
    ASSERT_EQ(Encrypt("a", "a.cry"), crOk);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    ASSERT_GE(chances.size(), 2u);
    std::chrono::microseconds widest{0};
    for (std::size_t i = 1; i < chances.size(); ++i)
        widest = std::max(widest, std::chrono::duration_cast<std::chrono::microseconds>(
                                      chances[i] - chances[i - 1]));
    // The engine times a stretch from the end of one call to the start of the
    // next, the test from inside one call to inside the next: the calls' own
    // few microseconds may lie between the two figures.
    EXPECT_GE(longest + std::chrono::milliseconds(1), widest)
        << "every gap between two chances counts";
    EXPECT_LE(longest, whole);

    // A longer stretch recorded by an earlier run is kept.
    longest = std::chrono::hours(1);
    ASSERT_EQ(Encrypt("a", "b.cry"), crOk);
    EXPECT_EQ(longest, std::chrono::hours(1));
}

} // namespace
} // namespace kelvane
