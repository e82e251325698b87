// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryStore.h"

#include "support/EnvironmentGuard.h"
#include "support/FaultyFiles.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace kelvane {
namespace {

using testing_support::EnvironmentGuard;
using testing_support::TempDir;

constexpr const char* kOptions = "crypt file\\Settings\\Options";

const char* const kInstalled = R"(Windows Registry Editor Version 5.00

[HKEY_CLASSES_ROOT\crypt file\DefaultIcon]
@="/opt/kelvane/share/kelvane/kelvane-document.svg"

[HKEY_CLASSES_ROOT\crypt file\Settings\Options]
"ShowCry"=dword:00000001
"OnePassword"=dword:00000000
"OnePerList"=dword:00000001
"Expire"=dword:0000000a
)";

// ---- the file format -------------------------------------------------------

TEST(RegistryFile, EveryValueKindSurvivesWriteAndRead) {
    RegistryDocument document;
    document.Set("crypt file", "", RegValue::String("Kelvane 95 crypted file"));
    document.Set("crypt file", "Quoted", RegValue::String(R"(say "hi" C:\dir\)"));
    document.Set("crypt file", "Lines", RegValue::String("one\r\ntwo"));
    document.Set("crypt file", "Path", RegValue::ExpandString("%HOME%\\Dokumente\xC3\xBC"));
    document.Set("crypt file", "Emoji", RegValue::ExpandString("\xF0\x9F\x94\x92"));
    document.Set(kOptions, "Expire", RegValue::Integer(0xFFFFFFFF));
    document.Set(kOptions, "Zero", RegValue::Integer(0));
    RegValue binary;
    binary.type = RegDataType::Binary;
    binary.rawType = "hex(b)";
    binary.bytes.assign(60, 0xA5); // long enough to wrap onto continuation lines
    document.Set(kOptions, "Blob", binary);

    const RegistryDocument reread = RegistryDocument::Parse(document.Serialize());

    for (const auto& key : document.Keys())
        for (const auto& entry : key.entries) {
            const RegValue* value = reread.Find(key.path, entry.name);
            ASSERT_NE(value, nullptr) << entry.name;
            EXPECT_EQ(*value, entry.value) << entry.name;
        }
}

TEST(RegistryFile, ReadsWhatRegeditWrites) {
    const std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "; a comment\r\n"
                             "[HKEY_CLASSES_ROOT\\crypt file\\DefaultIcon]\r\n"
                             "@=\"C:\\\\Program Files\\\\Kelvane\\\\kelvane.exe,0\"\r\n"
                             "\r\n"
                             "[HKEY_CLASSES_ROOT\\Crypt File\\Settings\\Options]\r\n"
                             "  \"Say \\\"when\\\"\"=\"a \\\"b\\\" c\"\r\n"
                             "\"EXPIRE\"=DWORD:0000001E\r\n"
                             "\"Home\"=hex(2):25,00,48,00,4f,00,4d,00,\\\r\n"
                             "  45,00,25,00,00,00\r\n";
    const RegistryDocument document = RegistryDocument::Parse(text);

    const RegValue* icon = document.Find("crypt file\\DefaultIcon", "");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->text, "C:\\Program Files\\Kelvane\\kelvane.exe,0");
    // Keys and value names compare without regard to case.
    const RegValue* expire = document.Find(kOptions, "Expire");
    ASSERT_NE(expire, nullptr);
    EXPECT_EQ(*expire, RegValue::Integer(30));
    const RegValue* quoted = document.Find(kOptions, "say \"WHEN\"");
    ASSERT_NE(quoted, nullptr);
    EXPECT_EQ(quoted->text, "a \"b\" c");
    const RegValue* home = document.Find(kOptions, "Home");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(*home, RegValue::ExpandString("%HOME%"));
}

TEST(RegistryFile, ReadsRegeditsUtf16Export) {
    const std::string ascii = "Windows Registry Editor Version 5.00\r\n\r\n"
                              "[HKEY_CLASSES_ROOT\\crypt file\\Settings\\Options]\r\n"
                              "\"ShowCry\"=dword:00000001\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : ascii) {
        utf16 += c;
        utf16 += '\0';
    }
    const RegistryDocument document = RegistryDocument::Parse(utf16);
    const RegValue* value = document.Find(kOptions, "ShowCry");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, RegValue::Integer(1));
}

TEST(RegistryFile, KeysAboveAWrittenKeyExistButNotTheirNamesakes) {
    const RegistryDocument document = RegistryDocument::Parse(kInstalled);
    EXPECT_TRUE(document.HasKey("crypt file"));
    EXPECT_TRUE(document.HasKey("CRYPT FILE\\settings"));
    EXPECT_TRUE(document.HasKey("\\crypt file\\Settings\\Options\\"));
    EXPECT_FALSE(document.HasKey("crypt fil"));
    EXPECT_FALSE(document.HasKey("crypt file\\Settings\\Options\\More"));
}

TEST(RegistryFile, ATextWithoutTheHeaderHasNoKeys) {
    EXPECT_TRUE(RegistryDocument::Parse("").Keys().empty());
    EXPECT_TRUE(
        RegistryDocument::Parse("[HKEY_CLASSES_ROOT\\crypt file]\n@=\"x\"\n").Keys().empty());
}

TEST(RegistryFile, ValuesUnderABrokenOrForeignKeyLineGoNowhere) {
    const RegistryDocument document = RegistryDocument::Parse(
        "REGEDIT4\n"
        "[HKEY_CLASSES_ROOT\\crypt file]\n\"Kept\"=dword:00000001\n"
        "[HKEY_CLASSES_ROOT\\crypt file\\Settings\n\"Lost\"=dword:00000002\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"Foreign\"=dword:00000003\n"
        "[-HKEY_CLASSES_ROOT\\crypt file]\n\"Deleted\"=dword:00000004\n");
    EXPECT_NE(document.Find("crypt file", "Kept"), nullptr);
    for (const char* name : {"Lost", "Foreign", "Deleted"})
        EXPECT_EQ(document.Find("crypt file", name), nullptr) << name;
    EXPECT_FALSE(document.HasKey("crypt file\\Settings"));
}

TEST(RegistryFile, MalformedValuesAreSkippedOneByOne) {
    const RegistryDocument document = RegistryDocument::Parse(
        "Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\k]\n"
        "\"Short\"=dword:1e\n\"Long\"=dword:000000001\n\"Letters\"=dword:0000001g\n"
        "\"Open\"=\"no end\n\"Tail\"=\"x\" y\n\"Cut\"=hex:01,02,\n\"Gone\"=-\n"
        "\"NoEquals\" dword:00000001\n\"Good\"=dword:00000007\n");
    ASSERT_EQ(document.Keys().size(), 1u);
    ASSERT_EQ(document.Keys()[0].entries.size(), 1u);
    EXPECT_EQ(document.Keys()[0].entries[0].name, "Good");
}

// A file cut anywhere must still read, and whatever it still yields must be
// what the whole file says: a cut value is dropped, never shortened.
TEST(RegistryFile, ATruncatedFileYieldsOnlyCompleteValues) {
    const std::string text = std::string(kInstalled);
    const RegistryDocument whole = RegistryDocument::Parse(text);
    for (std::size_t length = 0; length <= text.size(); ++length) {
        const RegistryDocument cut = RegistryDocument::Parse(text.substr(0, length));
        for (const auto& key : cut.Keys())
            for (const auto& entry : key.entries) {
                const RegValue* full = whole.Find(key.path, entry.name);
                ASSERT_NE(full, nullptr);
                EXPECT_EQ(entry.value, *full) << "cut at " << length << ": " << entry.name;
            }
    }
}

// Random bytes between good lines: nothing crashes, every good value is read
// exactly whatever garbage stands before it, what the garbage yields is well
// formed and survives a save, and a text without the header yields nothing.
TEST(RegistryFile, GarbageNeverCrashes) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    // No "v" in it, so garbage can never name a good value.
    const std::string alphabet = "[]\\\"=@:,-;hexdword()0123456789abcdef\r\n HKEY_CLASSES_ROOT\xFF";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    auto garbage = [&](int length) {
        std::string text;
        for (int i = 0; i < length; ++i)
            text += alphabet[pick(random)];
        return text;
    };
    for (uint32_t round = 0; round < 300; ++round) {
        std::string text = "Windows Registry Editor Version 5.00\n";
        for (uint32_t n = 0; n < 20; ++n) {
            char good[64];
            std::snprintf(good, sizeof good, "\"v%u\"=dword:%08x\n", n, n * 0x01010101u + round);
            // The blank line ends any continuation the garbage left open.
            text += garbage(60) + "\n\n[HKEY_CLASSES_ROOT\\good]\n" + good;
        }
        const RegistryDocument document = RegistryDocument::Parse(text);
        for (uint32_t n = 0; n < 20; ++n) {
            const RegValue* value = document.Find("good", "v" + std::to_string(n));
            ASSERT_NE(value, nullptr) << text;
            EXPECT_EQ(*value, RegValue::Integer(n * 0x01010101u + round)) << text;
        }
        for (const auto& key : document.Keys()) {
            EXPECT_EQ(key.path, NormalizeKeyPath(key.path));
            for (const auto& entry : key.entries)
                EXPECT_NE(entry.value.type, RegDataType::None) << entry.name;
        }
        EXPECT_EQ(RegistryDocument::Parse(document.Serialize()).Keys(), document.Keys()) << text;
        EXPECT_TRUE(RegistryDocument::Parse("\xFF\xFE" + garbage(400)).Keys().empty());
        if (HasFailure())
            return;
    }
}

// ---- the two layers ----------------------------------------------------------

class LayeredRegistryTest : public ::testing::Test {
protected:
    LayeredRegistryTest()
        : paths{dir.Write("share/kelvane/kelvane.reg", kInstalled),
                dir / "config/kelvane/registry.reg"} {}

    TempDir dir;
    RegistryPaths paths;
};

TEST_F(LayeredRegistryTest, KeysOpenWithoutBeingCreated) {
    LayeredRegistry registry(paths);
    EXPECT_TRUE(registry.OpenKey("\\crypt file"));
    EXPECT_TRUE(registry.OpenKey("Settings\\Options")); // below the open key
    EXPECT_EQ(registry.ReadInteger("Expire"), 10);
    EXPECT_FALSE(registry.OpenKey("\\crypt file\\Missing"));
    EXPECT_EQ(registry.GetDataType("Expire"), RegDataType::None);
    EXPECT_FALSE(registry.WriteInteger("Expire", 5));
    EXPECT_FALSE(std::filesystem::exists(paths.user));
}

TEST_F(LayeredRegistryTest, ReadsReportTheTypeAndRefuseTheWrongOne) {
    LayeredRegistry registry(paths);
    ASSERT_TRUE(registry.OpenKey("\\crypt file\\DefaultIcon"));
    EXPECT_EQ(registry.GetDataType(""), RegDataType::String);
    EXPECT_FALSE(registry.ReadInteger(""));
    ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
    EXPECT_EQ(registry.GetDataType("ShowCry"), RegDataType::Integer);
    EXPECT_FALSE(registry.ReadString("ShowCry"));
    EXPECT_EQ(registry.GetDataType("Nothing"), RegDataType::None);
}

TEST_F(LayeredRegistryTest, TheUserLayerIsReadOverTheSystemLayer) {
    dir.Write("config/kelvane/registry.reg", "Windows Registry Editor Version 5.00\n"
                                             "[HKEY_CLASSES_ROOT\\crypt file\\Settings\\Options]\n"
                                             "\"Expire\"=dword:ffffffff\n");
    LayeredRegistry registry(paths);
    ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
    EXPECT_EQ(registry.ReadInteger("Expire"), -1);
    EXPECT_EQ(registry.ReadInteger("ShowCry"), 1);
}

TEST_F(LayeredRegistryTest, WritesGoToTheUserLayerOnly) {
    const std::string systemBefore = TempDir::Read(paths.system);
    {
        LayeredRegistry registry(paths);
        ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
        EXPECT_TRUE(registry.WriteInteger("Expire", -600));
        EXPECT_EQ(registry.ReadInteger("Expire"), -600);
    }
    EXPECT_EQ(TempDir::Read(paths.system), systemBefore);
    const RegistryDocument user = LoadRegistryDocument(paths.user);
    ASSERT_NE(user.Find(kOptions, "Expire"), nullptr);
    EXPECT_EQ(*user.Find(kOptions, "Expire"), RegValue::Integer(static_cast<uint32_t>(-600)));

    LayeredRegistry again(paths);
    ASSERT_TRUE(again.OpenKey("\\crypt file\\Settings\\Options"));
    EXPECT_EQ(again.ReadInteger("Expire"), -600);
}

TEST_F(LayeredRegistryTest, AnUnchangedValueLeavesTheUserFileAlone) {
    LayeredRegistry registry(paths);
    ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
    EXPECT_TRUE(registry.WriteInteger("Expire", 10));
    EXPECT_FALSE(std::filesystem::exists(paths.user));
}

TEST_F(LayeredRegistryTest, AWriteKeepsWhatAnotherRunWroteMeanwhile) {
    LayeredRegistry first(paths);
    LayeredRegistry second(paths);
    ASSERT_TRUE(first.OpenKey("\\crypt file\\Settings\\Options"));
    ASSERT_TRUE(second.OpenKey("\\crypt file\\Settings\\Options"));
    ASSERT_TRUE(first.WriteInteger("ShowCry", 0));
    ASSERT_TRUE(second.WriteInteger("Expire", 30));
    // The value the second loaded: unchanged by it, so the first one's stays.
    ASSERT_TRUE(second.WriteInteger("ShowCry", 1));

    LayeredRegistry reader(paths);
    ASSERT_TRUE(reader.OpenKey("\\crypt file\\Settings\\Options"));
    EXPECT_EQ(reader.ReadInteger("ShowCry"), 0);
    EXPECT_EQ(reader.ReadInteger("Expire"), 30);
}

// Files whose destinations fail at the chosen step, like a full disk or a
// crash before the rename.
// A failed create, a write that fails with half its data on disk, a failed commit.
std::vector<testing_support::FaultyFiles> FailingFiles() {
    std::vector<testing_support::FaultyFiles> failures(3);
    failures[0].failCreate = true;
    failures[1].failWriteAt = 0;
    failures[1].halfOfFailedWrite = true;
    failures[2].failCommit = true;
    return failures;
}

TEST_F(LayeredRegistryTest, AFailedWriteLeavesTheOldUserFile) {
    const std::string userBefore = dir.Write("config/kelvane/registry.reg",
                                             "Windows Registry Editor Version 5.00\n"
                                             "[HKEY_CLASSES_ROOT\\crypt file\\Settings\\Options]\n"
                                             "\"ShowCry\"=dword:00000000\n");
    const std::string oldText = TempDir::Read(userBefore);
    for (testing_support::FaultyFiles& files : FailingFiles()) {
        LayeredRegistry registry(paths, files);
        ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
        EXPECT_FALSE(registry.WriteInteger("ShowCry", 1));
        EXPECT_EQ(registry.ReadInteger("ShowCry"), 0);
    }
    EXPECT_EQ(TempDir::Read(paths.user), oldText);
    // Nothing half-written is left beside it either.
    const auto entries =
        std::distance(std::filesystem::directory_iterator(dir / "config/kelvane"), {});
    EXPECT_EQ(entries, 1);
}

TEST_F(LayeredRegistryTest, MissingAndOversizedFilesReadAsNoKeys) {
    dir.Write("huge.reg", std::string(kInstalled) + std::string(kMaxRegistryFileBytes, ';'));
    for (const std::string& system : {dir / "absent.reg", dir / "huge.reg", dir.Path()}) {
        LayeredRegistry registry({system, dir / "absent-too.reg"});
        EXPECT_FALSE(registry.OpenKey("\\crypt file")) << system;
    }
}

// A user's file as a desktop leaves it: CRLF line ends, a comment, keys under
// other roots, a hex value, a deletion line and more than a MiB of file-type
// keys. Changing one preference changes that value's digits and no other byte.
TEST_F(LayeredRegistryTest, AWriteChangesTheValueAndKeepsEveryOtherByte) {
    std::string before = "Windows Registry Editor Version 5.00\r\n\r\n; kept by hand\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Mine\"=dword:00000007\r\n"
                         "[-HKEY_CLASSES_ROOT\\old]\r\n"
                         "[HKEY_CLASSES_ROOT\\HTTP\\shell\\open\\command]\r\n@=\"browser %1\"\r\n";
    for (int n = 0; n < 11456; ++n)
        before += "\r\n[HKEY_CLASSES_ROOT\\.type" + std::to_string(n) + "]\r\n@=\"type file " +
                  std::to_string(n) + "\"\r\n\"Content Type\"=\"application/x-kelvane-type\"\r\n";
    before += "[HKEY_CLASSES_ROOT\\crypt file\\Settings\\Options]\r\n"
              "\"Blob\"=hex:01,02,\\\r\n  03\r\n\"ShowCry\"=DWORD:00000000\r\nnot a value line\r\n";
    ASSERT_GT(before.size(), std::size_t{1} << 20);
    dir.Write("config/kelvane/registry.reg", before);
    {
        LayeredRegistry registry(paths);
        ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
        EXPECT_EQ(registry.UnreadableFile(), "");
        ASSERT_TRUE(registry.WriteInteger("ShowCry", 1));
        ASSERT_TRUE(registry.WriteInteger("Expire", 10)); // as the system layer has it
        ASSERT_TRUE(registry.WriteInteger("OnePerList", 0));
    }
    std::string expected = before;
    const std::string old = "\"ShowCry\"=DWORD:00000000\r\n";
    expected.replace(expected.find(old), old.size(),
                     "\"ShowCry\"=dword:00000001\r\n\"OnePerList\"=dword:00000000\r\n");
    EXPECT_TRUE(TempDir::Read(paths.user) == expected) << "the file differs beyond the values";
}

// A file the program could not read in full would lose what it did not read;
// it is left as it is, and the registry names it for the user.
TEST_F(LayeredRegistryTest, AFileNotReadInFullIsNeverReplaced) {
    const std::string options = "[HKEY_CLASSES_ROOT\\crypt file\\Settings\\Options]\n";
    const std::vector<std::string> unreadable = {
        std::string(kInstalled) + std::string(kMaxRegistryFileBytes, ';'), // over the limit
        options + "\"ShowCry\"=dword:00000000\n",                          // no header line
        std::string("\xFF\xFEW\0") + '\0' + "\x01", // UTF-16 with an odd byte
    };
    for (const std::string& text : unreadable) {
        dir.Write("config/kelvane/registry.reg", text);
        LayeredRegistry registry(paths);
        ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
        EXPECT_FALSE(registry.WriteInteger("ShowCry", 0));
        EXPECT_EQ(registry.UnreadableFile(), paths.user);
        EXPECT_TRUE(TempDir::Read(paths.user) == text) << text.size();
    }
    // A file that can't be opened at all is not replaced either.
    std::filesystem::remove(paths.user);
    std::filesystem::create_directory(paths.user);
    LayeredRegistry registry(paths);
    ASSERT_TRUE(registry.OpenKey("\\crypt file\\Settings\\Options"));
    EXPECT_FALSE(registry.WriteInteger("ShowCry", 0));
    EXPECT_TRUE(std::filesystem::is_directory(paths.user));
}

// ---- where the layers are --------------------------------------------------

TEST(RegistryPlaces, EnvironmentChoosesBothLayers) {
    EnvironmentGuard system("KELVANE_SYSTEM_REGISTRY"), config("XDG_CONFIG_HOME"), home("HOME");
    ::setenv("KELVANE_SYSTEM_REGISTRY", "/etc/test.reg", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(DefaultRegistryPaths().system, "/etc/test.reg");
    EXPECT_EQ(DefaultRegistryPaths().user, "/tmp/cfg/kelvane/registry.reg");

    // A relative XDG_CONFIG_HOME is no place at all; the default stands.
    ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(DefaultRegistryPaths().user, "/home/ann/.config/kelvane/registry.reg");
}

// Test binaries live in build/bin like the program, so this is the file a
// program started from the build tree reads.
TEST(RegistryPlaces, TheBuildTreeHasItsSystemLayerBesideTheProgram) {
    EnvironmentGuard system("KELVANE_SYSTEM_REGISTRY");
    ::unsetenv("KELVANE_SYSTEM_REGISTRY");
    const std::string path = DefaultRegistryPaths().system;
    EXPECT_TRUE(path.ends_with("/share/kelvane/kelvane.reg")) << path;
    EXPECT_TRUE(LoadRegistryDocument(path).HasKey("crypt file\\Settings\\Options")) << path;
}

} // namespace
} // namespace kelvane
