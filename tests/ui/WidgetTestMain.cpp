// SPDX-License-Identifier: GPL-3.0-or-later
// The widget tests run on Qt's offscreen platform unless told otherwise,
// also when ctest lists them, which it does without the test environment.
#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

QtMessageHandler qtHandler = nullptr;

// The offscreen platform has no window manager to tell a minimum size to,
// and says so every time the window publishes one.
void Messages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text == "This plugin does not support propagateSizeHints()")
        return;
    if (qtHandler != nullptr)
        qtHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(Messages);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
