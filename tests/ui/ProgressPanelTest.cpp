// SPDX-License-Identifier: GPL-3.0-or-later
// The timing figures of a run and the "Cancel process" button.
#include "WindowFixture.h"
#include "ui/Controls.h"

#include <QLabel>
#include <QPushButton>

namespace kelvane {
namespace {

using testing_support::WindowTest;

class ProgressPanelTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open();
    }

    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            window->Timer1Timer();
    }

    // The engine's report: done blocks of total.
    void Report(int done, int total) {
        window->ProgressBar2->SetTag(done);
        window->ProgressBar1->SetTag(total);
    }

    std::string Text(const QLabel* label) const { return label->text().toStdString(); }
};

TEST_F(ProgressPanelTest, IdleWindowShowsNothingOfARun) {
    TMainWin& w = *window;
    EXPECT_EQ(Text(w.Status_Label), "Idle");
    EXPECT_TRUE(w.ProgressBar1->isHidden());
    EXPECT_TRUE(w.ProgressBar2->isHidden());
    EXPECT_TRUE(w.Button1->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_FALSE(w.PwdTimer->isActive());
    for (const QLabel* figure : {w.Label11, w.Label12, w.Label14, w.Label16, w.Label18, w.Label20})
        EXPECT_EQ(Text(figure), "");
}

TEST_F(ProgressPanelTest, ElapsedCountsTicks) {
    window->ProgressStart();
    EXPECT_TRUE(window->Timer1->isActive());
    Tick(65);
    EXPECT_EQ(Text(window->Label11), "00:01:05");
    Tick(3600 - 65);
    EXPECT_EQ(Text(window->Label11), "01:00:00");
    Tick(360000 - 3600);
    EXPECT_EQ(Text(window->Label11), "100:00:00");
    window->ProgressStop();
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(ProgressPanelTest, FiguresFromTheEngineReport) {
    window->ProgressStart();
    Report(1200, 3000);
    Tick(10);
    EXPECT_EQ(Text(window->Label11), "00:00:10");
    EXPECT_EQ(Text(window->Label12), "00:00:15");
    EXPECT_EQ(Text(window->Label14), "00:00:25");
    EXPECT_EQ(Text(window->Label16), "960 bytes per second");
    EXPECT_EQ(Text(window->Label18), "9 KBytes");
    EXPECT_EQ(Text(window->Label20), "23 Kbytes");

    window->ProgressStop();
    window->ProgressClear();
    for (const QLabel* figure : {window->Label11, window->Label12, window->Label14, window->Label16,
                                 window->Label18, window->Label20})
        EXPECT_EQ(Text(figure), "");
}

TEST_F(ProgressPanelTest, BeforeTheFirstBlockOnlyElapsedMoves) {
    window->ProgressStart();
    Report(0, 3000);
    Tick(3);
    EXPECT_EQ(Text(window->Label11), "00:00:03");
    EXPECT_EQ(Text(window->Label12), "");
    EXPECT_EQ(Text(window->Label20), "");
}

TEST_F(ProgressPanelTest, NewRunShowsNoFiguresOfThePreviousOne) {
    window->ProgressStart();
    Report(1200, 3000);
    Tick(10);
    window->ProgressStop();

    // The next file's engine has not reported yet.
    window->ProgressStart();
    Tick(1);
    EXPECT_EQ(Text(window->Label11), "00:00:01");
    for (const QLabel* figure :
         {window->Label12, window->Label14, window->Label16, window->Label18, window->Label20})
        EXPECT_EQ(Text(figure), "");
}

TEST_F(ProgressPanelTest, LargeFilesDoNotOverflowTheFigures) {
    // 2 GB in 8-byte blocks, most of it done after an hour.
    window->ProgressStart();
    Report(268000000, 268435455);
    Tick(3600);
    EXPECT_EQ(Text(window->Label16), "595555 bytes per second");
    EXPECT_EQ(Text(window->Label12), "00:00:05");
}

TEST_F(ProgressPanelTest, CancelDuringAFileAsksFirst) {
    for (bool* flag : {&EncryptBusy, &DecryptBusy}) {
        *flag = true;
        messages.Expect("Do you really want to cancel process?", mrCancel);
        window->Button1Click();
        EXPECT_FALSE(CancelRequested);
        EXPECT_EQ(Text(window->Status_Label), "Idle");

        messages.Expect("Do you really want to cancel process?", mrOk);
        window->Button1Click();
        EXPECT_TRUE(CancelRequested);
        EXPECT_EQ(Text(window->Status_Label), "Wait while finishing process the last file...");

        *flag = false;
        CancelRequested = false;
        window->Status_Label->setText("Idle");
    }
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(messages.Shown()[0].buttons, unsigned(mbOK | mbCancel));
}

TEST_F(ProgressPanelTest, CancelBetweenFilesStopsAtOnce) {
    TreeBusy = true;
    window->Button1Click();
    EXPECT_TRUE(CancelRequested);
    EXPECT_TRUE(messages.Shown().empty());
}

} // namespace
} // namespace kelvane
