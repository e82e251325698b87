// SPDX-License-Identifier: GPL-3.0-or-later
// What the window benchmarks share: the window's program on the offscreen
// platform, its engine hook paced as the program paces it, and any message
// box the run did not expect reported and refused, since such a run is not
// the one being measured.
#pragma once

#include "commands/State.h"
#include "engine/CryptFile.h"
#include "platform/MessageSeam.h"
#include "platform/ProcessLimits.h"
#include "ui/EventPacing.h"
#include "ui/WindowState.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace kelvane::bench {

// Before the QApplication exists. The open-file limit is the program's: how
// many files a walk keeps under way depends on it.
inline void PrepareOffscreenProgram() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    RaiseOpenFileLimit(kWindowOpenFiles);
    ResetWindowState();
}

// After it exists: the engine hook the program sets.
inline void StartLikeTheProgram() {
    DefaultCryptHooks().letEventsRun = [] { LetWindowEventsRun(); };
}

// Message boxes: `expected` may answer one; any other sets `unexpected`.
inline void RefuseUnexpectedMessages(bool& unexpected,
                                     std::function<int(const MessageRequest&)> expected = {}) {
    SetMessageResponder([&unexpected, expected](const MessageRequest& request) {
        if (expected)
            if (const int answer = expected(request); answer != 0)
                return answer;
        std::fprintf(stderr, "unexpected message: %s\n", request.text.c_str());
        unexpected = true;
        return mrCancel;
    });
}

} // namespace kelvane::bench
