// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, activation and the rule that decides whether the window closes.
#include "WindowFixture.h"
#include "ui/AboutDialog.h"
#include "ui/ComboChangeDialog.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/Forms.h"
#include "ui/PasswordPromptDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QTimer>

namespace kelvane {
namespace {

using testing_support::MemoryRegistry;
using testing_support::WindowTest;

// Hands every call to a registry the test keeps, so it can look at what was
// saved after the window that owned the accessor is gone.
class ForwardingRegistry : public Registry {
public:
    explicit ForwardingRegistry(Registry& target) : target_(target) {}
    bool OpenKey(const std::string& path) override { return target_.OpenKey(path); }
    void CloseKey() override { target_.CloseKey(); }
    RegDataType GetDataType(const std::string& name) const override {
        return target_.GetDataType(name);
    }
    std::optional<std::string> ReadString(const std::string& name) const override {
        return target_.ReadString(name);
    }
    std::optional<int32_t> ReadInteger(const std::string& name) const override {
        return target_.ReadInteger(name);
    }
    bool WriteInteger(const std::string& name, int32_t value) override {
        return target_.WriteInteger(name, value);
    }

private:
    Registry& target_;
};

// Lets dialogs run for real (a nested event loop) while it lives.
class RealDialogs {
public:
    RealDialogs() : previous_(SetModalResponder({})) {}
    ~RealDialogs() { SetModalResponder(previous_); }

private:
    ModalResponder previous_;
};

class LifecycleTest : public WindowTest {};

TEST_F(LifecycleTest, EveryWindowIsCreatedOnceWithItsTitle) {
    MemoryRegistry installed = MemoryRegistry::Installed();
    CreateForms(drives, std::make_unique<ForwardingRegistry>(installed));
    ASSERT_NE(MainWin, nullptr);
    EXPECT_EQ(MainWin->windowTitle(), "Kelvane 95");
    EXPECT_EQ(Encrypt->windowTitle(), "Encryption procedure");
    EXPECT_EQ(Decrypt->windowTitle(), "Decryption procedure");
    EXPECT_EQ(About->windowTitle(), "About Kelvane95");
    EXPECT_EQ(Preferences->windowTitle(), "Preferences");
    EXPECT_EQ(DelDialog->windowTitle(), "Confirmation");
    EXPECT_EQ(PasswordPrompt->windowTitle(), "Confirmation");
    EXPECT_EQ(ComboChange->windowTitle(), "Invalid device");
    for (const QWidget* dialog : std::initializer_list<const QWidget*>{
             Encrypt, Decrypt, About, Preferences, DelDialog, PasswordPrompt, ComboChange})
        EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(MainWin->width(), 533);
    EXPECT_EQ(MainWin->height(), 492);
    DestroyForms();
    EXPECT_EQ(MainWin, nullptr);
    EXPECT_EQ(ComboChange, nullptr);
}

TEST_F(LifecycleTest, PreferencesAreLoadedBeforeTheFirstListingAndSavedAtTheEnd) {
    scratch.Write("a.txt.cry");
    MemoryRegistry installed = MemoryRegistry::Installed(/*showCry=*/1, 0, 1, 30);
    CreateForms(drives, std::make_unique<ForwardingRegistry>(installed));
    EXPECT_EQ(MainWin->StringGrid2->Cells(0, 1), "a.txt.cry");
    EXPECT_EQ(Expire, 30);

    ShowCry = 0;
    Expire = 600;
    // Nothing reaches the registry before the window is gone.
    EXPECT_EQ(std::get<int32_t>(installed.keys["\\crypt file\\Settings\\Options"]["Expire"]), 30);
    DestroyForms();
    auto& options = installed.keys["\\crypt file\\Settings\\Options"];
    EXPECT_EQ(std::get<int32_t>(options["ShowCry"]), 0);
    EXPECT_EQ(std::get<int32_t>(options["Expire"]), 600);
    EXPECT_EQ(std::get<int32_t>(options["OnePerList"]), 1);
}

TEST_F(LifecycleTest, BrokenInstallationIsReportedOnceAndStartUpGoesOn) {
    messages.Expect("Program haven't been properly installed.");
    window = std::make_unique<TMainWin>(drives, std::make_unique<MemoryRegistry>());
    EXPECT_EQ(ShowCry, 0);
    EXPECT_EQ(window->StringGrid1->RowCount(), 2);
    EXPECT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Error);
}

TEST_F(LifecycleTest, CloseIsRefusedSilentlyWhileAnythingRuns) {
    TMainWin& w = Open();
    w.show();
    for (bool* flag : {&EncryptBusy, &DecryptBusy, &TreeBusy, &DeleteBusy}) {
        *flag = true;
        OpenCount = 1; // a running command wins over the watch
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(w.isVisible());
        *flag = false;
        OpenCount = 0;
    }
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_FALSE(CancelRequested);
}

TEST_F(LifecycleTest, CloseWhileFilesAreWatchedWarnsAndNeverCloses) {
    const std::string warning =
        "Check out all your crypted files that was open now are closed. Close all applications, "
        "associated with them.Ensure that all files in the disk that should be protected,have "
        "been encrypted. Click cancel if you're not sure of it.";
    TMainWin& w = Open();
    w.show();
    OpenCount = 2;

    messages.Expect(warning, mrCancel);
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(CancelRequested);

    messages.Expect(warning, mrOk);
    w.Exit1->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(CancelRequested);
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Information);
    EXPECT_EQ(messages.Shown()[0].buttons, unsigned(mbOK | mbCancel));

    // The watch then lets go of its files and asks again.
    OpenCount = 0;
    EXPECT_TRUE(w.close());
}

TEST_F(LifecycleTest, ExitClosesLikeTheCloseBox) {
    TMainWin& w = Open();
    w.show();
    w.Exit1Click();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(LifecycleTest, ActivationLaysOutEveryTimeButRunsTheCommandLineOnce) {
    TMainWin& w = Open();
    int runs = 0;
    w.SetCommandLineStep([&runs] { ++runs; });
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
    EXPECT_EQ(runs, 1);

    // A modal dialog of ours comes and goes; the window is activated again.
    {
        RealDialogs real;
        TAbout about;
        QTimer::singleShot(0, &about, [&about] { about.SetModalResult(mrOk); });
        EXPECT_EQ(about.ShowModal(), mrOk);
    }
    w.StringGrid1->resize(10, 10);
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(w.StringGrid1->width(), w.OuterWidth() - 210);
}

TEST_F(LifecycleTest, FirstShowingStandsInForAnActivationThatNeverComes) {
    TMainWin& w = Open();
    int runs = 0;
    w.SetCommandLineStep([&runs] { ++runs; });
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(runs, 1);
}

TEST_F(LifecycleTest, ClosedDialogAnswersCancel) {
    RealDialogs real;
    TAbout about;
    QTimer::singleShot(0, &about, [&about] { about.reject(); });
    EXPECT_EQ(about.ShowModal(), mrCancel);
}

} // namespace
} // namespace kelvane
