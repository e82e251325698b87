// SPDX-License-Identifier: GPL-3.0-or-later
// The About box: its texts, the system figures it reads at every showing,
// the cursor over the web address, and how the address reaches a browser.
#include "WindowFixture.h"
#include "platform/RegistryStore.h"
#include "support/EnvironmentGuard.h"
#include "support/TempDir.h"
#include "ui/AboutDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace kelvane {
namespace {

using namespace testing_support;

class FakeSystem : public SystemInfo {
public:
    SystemVersion version{"Windows", 4, 0};
    uint64_t memory = 32ull * 1024 * 1024;

    SystemVersion Version() override { return version; }
    uint64_t TotalMemoryBytes() override { return memory; }
};

class AboutBoxTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        about = std::make_unique<TAbout>();
        About = about.get();
        about->System = &system;
    }
    void TearDown() override {
        about.reset();
        WindowTest::TearDown();
    }

    // Opens the box from the main window's menu and returns what it showed.
    std::pair<std::string, std::string> ShowFromMenu(TMainWin& w) {
        std::pair<std::string, std::string> shown;
        dialogs.Expect("About Kelvane95", [&shown](TModalForm& form) {
            auto& box = static_cast<TAbout&>(form);
            shown = {box.Label6->text().toStdString(), box.Label9->text().toStdString()};
            box.Button1->click();
        });
        w.About1->trigger();
        return shown;
    }

    FakeSystem system;
    std::unique_ptr<TAbout> about;
};

TEST_F(AboutBoxTest, TheBoxCarriesTheProductItsCipherAndItsLink) {
    EXPECT_EQ(about->windowTitle(), "About Kelvane95");
    EXPECT_EQ(about->Image1->pixmap().size(), QSize(81, 89));
    EXPECT_EQ(about->Label1->text(), "Kelvane 95");
    EXPECT_EQ(about->Label2->text(), "based on ");
    EXPECT_EQ(about->Label3->text(), "DES");
    for (const QLabel* large : {about->Label1, about->Label2, about->Label3})
        EXPECT_TRUE(large->font().bold() && large->font().pointSize() > about->font().pointSize())
            << large->text().toStdString();
    EXPECT_EQ(about->Label10->text(), "Visit our Web page:");
    EXPECT_TRUE(about->Label10->font().italic());
    EXPECT_EQ(about->Http_Label->text().toStdString(), WebAddress());
    EXPECT_TRUE(std::string(WebAddress()).starts_with("https://"));
    EXPECT_EQ(about->Http_Label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(about->Http_Label->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_TRUE(about->Http_Label->autoFillBackground());
    EXPECT_EQ(about->Label5->text(), "OS version:");
    EXPECT_EQ(about->Label7->text(), "Total memory , Kb:");
    EXPECT_EQ(about->Button1->text(), "Ok");
    EXPECT_TRUE(about->Button1->isDefault());
    EXPECT_EQ(about->minimumSize(), about->maximumSize()); // fixed size
}

TEST_F(AboutBoxTest, TheVersionReadsMajorDotTwoDigitMinor) {
    TMainWin& w = Open();
    for (const auto& [minor, text] : std::vector<std::pair<unsigned, std::string>>{
             {0, "Windows 4.00"}, {3, "Windows 4.03"}, {10, "Windows 4.10"}}) {
        system.version.minor = minor;
        EXPECT_EQ(ShowFromMenu(w).first, text);
    }
}

TEST_F(AboutBoxTest, MemoryIsShownInKibibytesWithoutSeparators) {
    TMainWin& w = Open();
    EXPECT_EQ(ShowFromMenu(w).second, "32768");
    system.memory = 4096ull * 1024 * 1024 * 1024 + 1023; // 4 TiB and a bit, truncated
    EXPECT_EQ(ShowFromMenu(w).second, "4294967296");
    system.memory = 0;
    EXPECT_EQ(ShowFromMenu(w).second, "0");
}

TEST_F(AboutBoxTest, TheFiguresAreReadAgainAtEveryShowing) {
    TMainWin& w = Open();
    EXPECT_EQ(ShowFromMenu(w), std::make_pair(std::string("Windows 4.00"), std::string("32768")));
    system.version = {"Linux", 6, 1};
    system.memory = 16ull * 1024 * 1024 * 1024;
    EXPECT_EQ(ShowFromMenu(w), std::make_pair(std::string("Linux 6.01"), std::string("16777216")));
}

// The running system, read here by other means than the box uses.
TEST_F(AboutBoxTest, TheRealSystemShowsItsUnameAndTheKernelsMemoryTotal) {
    about->System = &ThisSystem();
    struct utsname names {};
    ASSERT_EQ(::uname(&names), 0);
    unsigned major = 0, minor = 0;
    ASSERT_EQ(std::sscanf(names.release, "%u.%u", &major, &minor), 2) << names.release;
    const std::string expected = std::string(names.sysname) + " " + std::to_string(major) + "." +
                                 (minor < 10 ? "0" : "") + std::to_string(minor);

    std::ifstream meminfo("/proc/meminfo");
    std::string key, unit;
    uint64_t totalKiB = 0;
    ASSERT_TRUE(meminfo >> key >> totalKiB >> unit);
    ASSERT_EQ(key, "MemTotal:");

    TMainWin& w = Open();
    const auto [version, memory] = ShowFromMenu(w);
    EXPECT_EQ(version, expected);
    EXPECT_EQ(memory, std::to_string(totalKiB));
}

void MoveOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

bool HelpCursorShows() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor;
}

TEST_F(AboutBoxTest, TheHelpCursorShowsOverTheAddressOnly) {
    about->show();
    MoveOver(about->Http_Label);
    EXPECT_TRUE(HelpCursorShows());
    MoveOver(about->Http_Label); // staying over it stacks nothing
    MoveOver(about.get());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    MoveOver(about->Http_Label);
    MoveOver(about->Label10);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Closing the box with the help cursor up, by "Ok" or by Escape.
    MoveOver(about->Http_Label);
    about->Button1->click();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    about->show();
    MoveOver(about->Http_Label);
    QTest::keyClick(about.get(), Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A stand-in browser: a script that writes its arguments, one a line, into
// a pipe the test reads, so the test waits for it without a clock.
class StandInBrowser {
public:
    explicit StandInBrowser(const TempDir& dir)
        : script_(dir / "my browser"), pipe_(dir / "arguments") {
        EXPECT_EQ(::mkfifo(pipe_.c_str(), 0600), 0);
        std::ofstream(script_) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << pipe_ << "'\n";
        ::chmod(script_.c_str(), 0700);
        reader_ = ::open(pipe_.c_str(), O_RDONLY | O_NONBLOCK);
    }
    ~StandInBrowser() { ::close(reader_); }

    const std::string& Script() const { return script_; }

    // The arguments it was started with; empty when it did not write within
    // ten seconds.
    std::string Arguments() {
        std::string text;
        char buffer[256];
        pollfd ready{reader_, POLLIN, 0};
        while (::poll(&ready, 1, 10000) > 0) {
            const ssize_t got = ::read(reader_, buffer, sizeof buffer);
            if (got <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

private:
    std::string script_;
    std::string pipe_;
    int reader_ = -1;
};

TEST_F(AboutBoxTest, TheRegistrysBrowserGetsTheAddressAfterItsCommand) {
    TempDir dir;
    StandInBrowser browser(dir);
    // The installation's registry names the browser, quoted for the space in
    // its path and with a placeholder that stays as written.
    const std::string reg =
        dir.Write("kelvane.reg", "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CLASSES_ROOT\\HTTP\\shell\\open\\command]\n@=\"\\\"" +
                                     browser.Script() + "\\\" -osint -url %1\"\n");
    EnvironmentGuard systemRegistry("KELVANE_SYSTEM_REGISTRY"), config("XDG_CONFIG_HOME");
    ::setenv("KELVANE_SYSTEM_REGISTRY", reg.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    about->Launcher.openInDefaultBrowser = [](const std::string&) {
        ADD_FAILURE() << "the desktop's browser was asked too";
        return true;
    };

    // A click on the address, as the user makes it.
    QTest::mouseClick(about->Http_Label, Qt::LeftButton);
    EXPECT_EQ(browser.Arguments(), std::string("-osint\n-url\n%1\n") + WebAddress() + "\n");
}

TEST_F(AboutBoxTest, WithoutARegisteredBrowserTheDesktopsDefaultOneIsUsed) {
    auto registry = std::make_shared<MemoryRegistry>();
    about->Launcher.openRegistry = [registry] {
        return std::unique_ptr<Registry>(new MemoryRegistry(*registry));
    };
    about->Launcher.startProgram = [](const std::string& line) {
        ADD_FAILURE() << "started " << line;
        return true;
    };
    std::vector<std::string> opened;
    about->Launcher.openInDefaultBrowser = [&opened](const std::string& address) {
        opened.push_back(address);
        return true;
    };
    about->Http_LabelClick();
    // A key whose command is empty names no browser either.
    registry->keys["\\HTTP\\shell\\open\\command"][""] = std::string();
    about->Http_LabelClick();
    EXPECT_EQ(opened, (std::vector<std::string>{WebAddress(), WebAddress()}));

    // Neither a registered nor a default browser: the message, nothing else.
    about->Launcher.openInDefaultBrowser = [](const std::string&) { return false; };
    messages.Expect(kNoBrowserMessage);
    about->Http_LabelClick();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.Shown()[0].buttons, static_cast<unsigned>(mbOK));
}

TEST(StartCommandLine, AnEmptyCommandStartsNothing) {
    EXPECT_FALSE(StartCommandLine(""));
    EXPECT_FALSE(StartCommandLine("   "));
    EXPECT_FALSE(StartCommandLine("/nonexistent/kelvane-no-such-browser https://x"));
}

} // namespace
} // namespace kelvane
