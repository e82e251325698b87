// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Settings.h"

#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "support/EnvironmentGuard.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

namespace kelvane {
namespace {

using testing_support::EnvironmentGuard;
using testing_support::ScriptedMessages;
using testing_support::TempDir;

const std::string kHeader = "Windows Registry Editor Version 5.00\n";
const std::string kIconKey = "[HKEY_CLASSES_ROOT\\crypt file\\DefaultIcon]\n";
const std::string kOptionsKey = "[HKEY_CLASSES_ROOT\\crypt file\\Settings\\Options]\n";
const std::string kIcon = kIconKey + "@=\"/opt/kelvane/share/kelvane/kelvane-document.svg\"\n";

std::string Options(int32_t onePassword, int32_t onePerList, int32_t showCry, int32_t expire) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "\"OnePassword\"=dword:%08x\n\"OnePerList\"=dword:%08x\n"
                  "\"ShowCry\"=dword:%08x\n\"Expire\"=dword:%08x\n",
                  static_cast<uint32_t>(onePassword), static_cast<uint32_t>(onePerList),
                  static_cast<uint32_t>(showCry), static_cast<uint32_t>(expire));
    return kOptionsKey + text;
}

std::array<int32_t, 4> Preferences() {
    return {OnePassword, OnePerList, ShowCry, Expire};
}

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() { ResetSharedState(); }
    ~SettingsTest() override { ResetSharedState(); }

    // Loads from a registry whose system layer is `system` and user layer `user`.
    std::unique_ptr<Registry> Load(const std::string& system, const std::string& user = "") {
        paths = {dir.Write("kelvane.reg", system), dir / "config/registry.reg"};
        if (!user.empty())
            dir.Write("config/registry.reg", user);
        auto registry = std::make_unique<LayeredRegistry>(paths);
        LoadSettings(*registry);
        return registry;
    }

    TempDir dir;
    RegistryPaths paths;
    ScriptedMessages messages; // any box not expected fails the test
};

TEST_F(SettingsTest, AProperInstallationLoadsQuietly) {
    Load(kHeader + kIcon + Options(1, 1, 1, 600));
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{1, 1, 1, 600}));
    EXPECT_EQ(HelpFile, "/opt/kelvane/share/kelvane/help/index.html");
}

TEST_F(SettingsTest, WithoutTheOptionsKeyAllStayZeroAfterOneMessage) {
    messages.Expect(kNotInstalledMessage);
    Load(kHeader + kIcon);
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{0, 0, 0, 0}));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.Shown()[0].buttons, static_cast<unsigned>(mbOK));
}

TEST_F(SettingsTest, LoadingStopsAtTheFirstMissingValue) {
    messages.Expect(kNotInstalledMessage);
    Load(kHeader + kIcon + kOptionsKey +
         "\"OnePassword\"=dword:00000001\n\"ShowCry\"=dword:00000001\n\"Expire\"=dword:00000005\n");
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{1, 0, 0, 0}));
}

TEST_F(SettingsTest, AStringWhereANumberBelongsIsAFailureAtThatValue) {
    messages.Expect(kNotInstalledMessage);
    Load(kHeader + kIcon + kOptionsKey +
         "\"OnePassword\"=dword:00000001\n\"OnePerList\"=dword:00000001\n"
         "\"ShowCry\"=\"1\"\n\"Expire\"=dword:00000005\n");
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{1, 1, 0, 0}));
}

TEST_F(SettingsTest, ADefaultIconThatIsNoStringStopsBeforeTheOptions) {
    messages.Expect(kNotInstalledMessage);
    Load(kHeader + kIconKey + "@=dword:00000001\n" + Options(1, 1, 1, 1));
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(HelpFile, "help/index.html");
}

TEST_F(SettingsTest, AMissingDefaultIconMeansAHelpFileWithoutDirectory) {
    Load(kHeader + Options(0, 0, 1, 0));
    EXPECT_EQ(HelpFile, "help/index.html");
    EXPECT_EQ(ShowCry, 1);

    Load(kHeader + kIconKey + "\"Other\"=\"x\"\n" + Options(0, 0, 1, 0));
    EXPECT_EQ(HelpFile, "help/index.html");
}

TEST_F(SettingsTest, AnExpandableDefaultIconCountsAsAString) {
    Load(kHeader + kIconKey + "@=hex(2):2f,00,6b,00,2f,00,69,00,00,00\n" + Options(0, 0, 0, 0));
    EXPECT_EQ(HelpFile, "/k/help/index.html");
}

TEST(HelpFile, TheDirectoryOfTheIconHoldsTheHelpFile) {
    EXPECT_EQ(HelpFileFor("C:\\Prog\\kelvane.exe,0"), "C:\\Prog\\help/index.html");
    EXPECT_EQ(HelpFileFor("C:kelvane.exe,0"), "C:help/index.html");
    EXPECT_EQ(HelpFileFor("/usr/share/kelvane/kelvane-document.svg"),
              "/usr/share/kelvane/help/index.html");
    EXPECT_EQ(HelpFileFor("/opt/a\\b/icon.svg,0"), "/opt/a\\b/help/index.html");
    EXPECT_EQ(HelpFileFor("kelvane.exe,0"), "help/index.html");
    EXPECT_EQ(HelpFileFor(""), "help/index.html");
}

TEST_F(SettingsTest, TheUserLayerIsReadOverTheSystemLayer) {
    Load(kHeader + kIcon + Options(0, 0, 0, 0),
         kHeader + kOptionsKey + "\"Expire\"=dword:0000002d\n");
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{0, 0, 0, 45}));
}

TEST_F(SettingsTest, ValuesOutOfTheDialogsRangeAreKeptAndSavedUnchanged) {
    auto registry = Load(kHeader + kIcon + Options(-3, 7, -1, 100000));
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{-3, 7, -1, 100000}));
    OnePassword = 1; // edited in the dialog; the rest were never touched

    SaveSettings(*registry);
    ResetSharedState();
    Load(TempDir::Read(paths.system)); // the user layer is still there
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{1, 7, -1, 100000}));
}

TEST_F(SettingsTest, TheSaveWritesOnlyTheUserLayer) {
    const std::string system = kHeader + kIcon + Options(0, 0, 0, 0);
    auto registry = Load(system);
    ShowCry = 1;
    Expire = 30;
    SaveSettings(*registry);

    EXPECT_EQ(TempDir::Read(paths.system), system);
    const RegistryDocument user = LoadRegistryDocument(paths.user);
    ASSERT_EQ(user.Keys().size(), 1u);
    EXPECT_EQ(user.Keys()[0].path, "crypt file\\Settings\\Options");
    EXPECT_EQ(*user.Find(user.Keys()[0].path, "ShowCry"), RegValue::Integer(1));
    EXPECT_EQ(*user.Find(user.Keys()[0].path, "Expire"), RegValue::Integer(30));
}

// Two windows open at once, closed one after the other: the later one keeps
// what the earlier one saved, and saves only its own change. ShowCry is
// saved after Expire, so the later save's first write must not make the
// earlier window's ShowCry look like a change of its own.
TEST_F(SettingsTest, TwoWindowsClosedOneAfterTheOtherKeepEachOthersChanges) {
    const std::string system = kHeader + kIcon + Options(0, 0, 0, 10);
    auto first = Load(system);
    auto second = std::make_unique<LayeredRegistry>(paths); // loads the same values
    LoadSettings(*second);

    ShowCry = 1; // in the first window
    SaveSettings(*first);
    ShowCry = 0; // the second window's own run never changed it
    Expire = 30;
    SaveSettings(*second);

    ResetSharedState();
    Load(system);
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{0, 0, 1, 30}));
}

// The user hears once, at the start, that changes will not be kept; the save
// leaves the file alone and says nothing more.
TEST_F(SettingsTest, ASettingsFileNotReadInFullIsToldOnceAndKept) {
    const std::string user = "no header line\n" + kOptionsKey + "\"ShowCry\"=dword:00000000\n";
    messages.Expect(SettingsNotKeptMessage(dir / "config/registry.reg"));
    auto registry = Load(kHeader + kIcon + Options(0, 0, 0, 0), user);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Information);
    ShowCry = 1;
    SaveSettings(*registry);
    EXPECT_EQ(TempDir::Read(paths.user), user);
    EXPECT_EQ(ShowCry, 1) << "in force for this run";
}

TEST_F(SettingsTest, WithoutTheOptionsKeyTheSaveWritesNothing) {
    messages.Expect(kNotInstalledMessage);
    auto registry = Load(kHeader + kIcon);
    ShowCry = OnePassword = OnePerList = Expire = 1;
    SaveSettings(*registry);
    EXPECT_FALSE(std::filesystem::exists(paths.user));
}

// Records what the settings routines ask of the registry.
class RecordingRegistry : public Registry {
public:
    explicit RecordingRegistry(bool hasOptions) : hasOptions_(hasOptions) {}
    bool OpenKey(const std::string& path) override {
        calls.push_back("open " + path);
        return hasOptions_;
    }
    void CloseKey() override { calls.push_back("close"); }
    RegDataType GetDataType(const std::string&) const override { return RegDataType::None; }
    std::optional<std::string> ReadString(const std::string&) const override { return {}; }
    std::optional<int32_t> ReadInteger(const std::string&) const override { return 0; }
    bool WriteInteger(const std::string& name, int32_t value) override {
        calls.push_back("write " + name + "=" + std::to_string(value));
        return true;
    }
    std::vector<std::string> calls;

private:
    bool hasOptions_;
};

// Values that no two preferences share and that no narrower or unsigned
// type would keep, so a value written under the wrong name or cut short shows.
void SetDistinctPreferences() {
    ShowCry = std::numeric_limits<int32_t>::min();
    OnePassword = -2;
    OnePerList = 70000;
    Expire = 601;
}

TEST_F(SettingsTest, TheSaveWritesTheFourValuesInItsOrderThenClosesTheKey) {
    RecordingRegistry registry(true);
    SetDistinctPreferences();
    SaveSettings(registry);
    EXPECT_EQ(registry.calls,
              (std::vector<std::string>{"open \\crypt file\\Settings\\Options", "write Expire=601",
                                        "write OnePerList=70000", "write OnePassword=-2",
                                        "write ShowCry=-2147483648", "close"}));
}

// The same order and values in the user's file: a fresh user layer lists the
// values as they were written.
TEST_F(SettingsTest, TheSavedFileHoldsTheFourValuesInTheSaveOrder) {
    auto registry = Load(kHeader + kIcon + Options(0, 0, 0, 0));
    SetDistinctPreferences();
    SaveSettings(*registry);
    EXPECT_EQ(TempDir::Read(paths.user), kHeader + "\n" + kOptionsKey +
                                             "\"Expire\"=dword:00000259\n"
                                             "\"OnePerList\"=dword:00011170\n"
                                             "\"OnePassword\"=dword:fffffffe\n"
                                             "\"ShowCry\"=dword:80000000\n");
}

TEST_F(SettingsTest, TheSaveOpensOnlyTheOptionsKey) {
    RecordingRegistry registry(false);
    SaveSettings(registry);
    EXPECT_EQ(registry.calls, (std::vector<std::string>{"open \\crypt file\\Settings\\Options"}));
}

// The program's own registry: the build tree's system layer, and a user
// layer in a fresh configuration directory.
TEST_F(SettingsTest, TheBuildTreeIsAProperInstallation) {
    EnvironmentGuard system("KELVANE_SYSTEM_REGISTRY"), config("XDG_CONFIG_HOME");
    ::unsetenv("KELVANE_SYSTEM_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);

    std::unique_ptr<Registry> registry = LoadSettings();
    EXPECT_EQ(Preferences(), (std::array<int32_t, 4>{0, 1, 1, 10}));
    EXPECT_TRUE(std::filesystem::exists(DirectoryPart(HelpFile) + "../kelvane-document.svg"))
        << HelpFile;
    EXPECT_TRUE(std::filesystem::is_regular_file(HelpFile)) << HelpFile;
    ShowCry = 0;
    SaveSettings(*registry);
    EXPECT_TRUE(std::filesystem::exists(dir / "kelvane/registry.reg"));
}

} // namespace
} // namespace kelvane
