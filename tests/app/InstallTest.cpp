// SPDX-License-Identifier: GPL-3.0-or-later
// Installs the build into a scratch prefix the way a packager would and
// checks what the desktop and the program will find there.
#include "commands/Settings.h"
#include "platform/RegistryStore.h"
#include "support/EnvironmentGuard.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing_support::EnvironmentGuard;
using testing_support::ScriptedMessages;
using testing_support::TempDir;

const std::string kAppId = KELVANE_APP_ID;
const std::string kMimeType = "application/x-kelvane-crypted";

int RunCommand(const std::string& command, const std::string& log) {
    return std::system((command + " >" + log + " 2>&1").c_str());
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void ExpectInstalledFiles(const std::string& share) {
    for (const std::string& file : std::vector<std::string>{
             "applications/" + kAppId + ".desktop", "mime/packages/" + kAppId + ".xml",
             "icons/hicolor/scalable/apps/" + kAppId + ".svg",
             "icons/hicolor/scalable/mimetypes/application-x-kelvane-crypted.svg",
             std::string("kelvane/kelvane.reg"), std::string("kelvane/kelvane-document.svg"),
             std::string("kelvane/help/index.html"), "metainfo/" + kAppId + ".metainfo.xml",
             std::string("man/man1/kelvane.1.gz"), std::string("man/man1/kelvane-cli.1.gz"),
             "icons/hicolor/16x16/apps/" + kAppId + ".png",
             "icons/hicolor/256x256/apps/" + kAppId + ".png",
             std::string("icons/hicolor/48x48/mimetypes/application-x-kelvane-crypted.png")})
        EXPECT_TRUE(std::filesystem::is_regular_file(share + "/" + file)) << file;
}

void ExpectDesktopFileValidates(const std::string& entry, const std::string& log) {
    ASSERT_NE(std::string(DESKTOP_FILE_VALIDATE), "") << "desktop-file-validate not found";
    EXPECT_EQ(RunCommand(std::string(DESKTOP_FILE_VALIDATE) + " " + Quoted(entry), log), 0)
        << TempDir::Read(log);
    EXPECT_FALSE(Contains(TempDir::Read(log), "error")) << TempDir::Read(log);
}

void ExpectValidDesktopEntry(const std::string& entry, const std::string& log) {
    ExpectDesktopFileValidates(entry, log);
    const std::string text = TempDir::Read(entry);
    for (const std::string& line :
         std::vector<std::string>{"Exec=kelvane %f\n", "MimeType=" + kMimeType + ";\n",
                                  "Icon=" + kAppId + "\n", std::string("StartupWMClass=kelvane\n")})
        EXPECT_TRUE(Contains(text, line)) << line;
    // The menu's launcher has no file to give a verb: those live on the
    // hidden per-verb entries only.
    EXPECT_FALSE(Contains(text, "Actions=")) << text;
    EXPECT_FALSE(Contains(text, "Exec=kelvane /")) << text;
}

void ExpectMimeTypeByNameAndContent(const std::string& share, const std::string& log) {
    ASSERT_NE(std::string(UPDATE_MIME_DATABASE), "") << "update-mime-database not found";
    ASSERT_EQ(RunCommand(std::string(UPDATE_MIME_DATABASE) + " " + Quoted(share + "/mime"), log), 0)
        << TempDir::Read(log);
    EXPECT_TRUE(Contains(TempDir::Read(share + "/mime/globs2"), kMimeType + ":*.cry"));
    const std::string magic = TempDir::Read(share + "/mime/magic");
    EXPECT_TRUE(Contains(magic, kMimeType));
    EXPECT_TRUE(Contains(magic, std::string(">0=\0\4KZ31", 9)));
}

// The installed registry loads without the installation message and finds
// the help file's directory inside the installation.
void ExpectRegistryForPrefix(const std::string& registryFile, const std::string& prefix,
                             const TempDir& dir) {
    ScriptedMessages messages;
    LayeredRegistry registry({registryFile, dir / "user/registry.reg"});
    ResetSharedState();
    LoadSettings(registry);
    EXPECT_EQ(HelpFile, prefix + "/share/kelvane/help/index.html");
    EXPECT_EQ(Expire, 10);
    ResetSharedState();
}

TEST(Installation, APrefixGetsEveryFileAndTheyAreValid) {
    TempDir dir;
    const std::string prefix = dir / "prefix";
    const std::string log = dir / "log";
    const std::string install =
        std::string(CMAKE_COMMAND) + " --install " + Quoted(KELVANE_BUILD_DIR) + " --prefix ";
    ASSERT_EQ(RunCommand(install + Quoted(prefix), log), 0) << TempDir::Read(log);

    const std::string share = prefix + "/share";
    ExpectInstalledFiles(share);
    ExpectValidDesktopEntry(share + "/applications/" + kAppId + ".desktop", log);
    // File managers hand a crypted file to each verb through an entry of its own.
    for (const std::string verb : {"open", "print", "decrypt"}) {
        const std::string entry = share + "/applications/" + kAppId + ".verb-" + verb + ".desktop";
        ExpectDesktopFileValidates(entry, log);
        const std::string text = TempDir::Read(entry);
        EXPECT_TRUE(Contains(text, "\nExec=kelvane /" + verb + " %f\n")) << text;
        EXPECT_TRUE(Contains(text, "\nMimeType=" + kMimeType + ";\n")) << text;
        EXPECT_TRUE(Contains(text, "\nNoDisplay=true\n")) << text;
    }
    ExpectMimeTypeByNameAndContent(share, log);
    ExpectRegistryForPrefix(share + "/kelvane/kelvane.reg", prefix, dir);
    EXPECT_TRUE(std::filesystem::exists(prefix + "/share/kelvane/kelvane-document.svg"));

    // A staged installation names the final prefix, not the staging area.
    EnvironmentGuard destdir("DESTDIR");
    ::setenv("DESTDIR", (dir / "stage").c_str(), 1);
    ASSERT_EQ(RunCommand(install + "/usr", log), 0) << TempDir::Read(log);
    ExpectRegistryForPrefix(dir / "stage/usr/share/kelvane/kelvane.reg", "/usr", dir);
}

} // namespace
} // namespace kelvane
