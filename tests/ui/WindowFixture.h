// SPDX-License-Identifier: GPL-3.0-or-later
// What the main-window tests share: a scratch folder that is the working
// directory while a test runs, a volume list of our own, an installed
// registry in memory, and scripted answers for every box and dialog.
#pragma once

#include "commands/Settings.h"
#include "commands/State.h"
#include "support/EnvironmentGuard.h"
#include "support/MemoryRegistry.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"
#include "ui/WindowState.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

namespace kelvane::testing_support {

class FakeDrives : public DriveList {
public:
    std::vector<Volume> volumes;
    std::set<std::string> notReady; // mount points whose free-space query fails

    std::vector<Volume> MountedVolumes() override { return volumes; }
    bool IsReady(const Volume& volume) override { return notReady.count(volume.mountPoint) == 0; }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWindowState();
        previousDirectory_ = std::filesystem::current_path().string();
        std::filesystem::current_path(scratch.Path());
        drives.volumes = {{"/", "", "/dev/root", "ext4"}};
        // The record of files out for their applications stays the test's own.
        ::setenv("XDG_STATE_HOME", stateHome.Path().c_str(), 1);
    }

    void TearDown() override {
        window.reset();
        std::filesystem::current_path(previousDirectory_);
        ResetWindowState();
    }

    TMainWin& Open(int32_t showCry = 0) {
        auto registry = std::make_unique<MemoryRegistry>(MemoryRegistry::Installed(showCry));
        window = std::make_unique<TMainWin>(drives, std::move(registry));
        return *window;
    }

    // Shows the window with the given outer width and client height.
    void ShowSized(int outerWidth, int clientHeight) {
        window->show();
        QApplication::processEvents();
        const int frameWidth = window->OuterWidth() - window->width();
        const int aboveClient = window->height() - window->ClientHeight();
        window->resize(outerWidth - frameWidth, clientHeight + aboveClient);
        QApplication::processEvents();
    }

    // Resizes the window to the given outer size.
    void ResizeOuter(int outerWidth, int outerHeight) {
        const int frameWidth = window->OuterWidth() - window->width();
        const int frameHeight = window->OuterHeight() - window->height();
        window->resize(outerWidth - frameWidth, outerHeight - frameHeight);
        QApplication::processEvents();
    }

    EnvironmentGuard stateGuard{"XDG_STATE_HOME"};
    TempDir stateHome;
    // From the first turn of the event loop at which `from` holds, checks at
    // every turn that "Cancel process" can be seen, as the screen shows the
    // window once every event queued so far has run; at the first turn at
    // which `press` holds, presses it with the mouse where it sits. Needs the
    // window shown, and the run letting events run at every call.
    void PressCancelProcessWhen(std::function<bool()> from, std::function<bool()> press) {
        cancelWatch_.setInterval(0);
        QObject::connect(&cancelWatch_, &QTimer::timeout, [this, from, press] {
            if (cancelPressed || !from())
                return;
            QCoreApplication::sendPostedEvents();
            ++cancelTurnsSeen;
            if (!window->Button1->isVisible()) {
                ADD_FAILURE() << "\"Cancel process\" is hidden between two files";
                return;
            }
            if (!press())
                return;
            const QPoint at =
                window->Button1->mapTo(window.get(), window->Button1->rect().center());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
            cancelPressed = true;
        });
        cancelWatch_.start();
    }
    bool cancelPressed = false;
    int cancelTurnsSeen = 0;

    TempDir scratch;
    FakeDrives drives;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainWin> window;

private:
    std::string previousDirectory_;
    QTimer cancelWatch_;
};

} // namespace kelvane::testing_support
