// SPDX-License-Identifier: GPL-3.0-or-later
// The real message boxes: which buttons each set shows, and the number each
// button answers with.
#include "ui/MessageBoxes.h"

#include "platform/MessageSeam.h"
#include "ui/Fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace kelvane {
namespace {

// Shows a real box for `buttons` and lets `act` answer it once it is open;
// the box's standard buttons are noted.
int ShowAndAnswer(unsigned buttons, const std::function<void(QMessageBox&)>& act,
                  std::set<QMessageBox::StandardButton>* shown = nullptr,
                  const std::string& text = "Proceed?") {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (shown != nullptr)
            for (QAbstractButton* button : box->buttons())
                shown->insert(box->standardButton(button));
        act(*box);
    });
    return ShowMessageBox({MessageKind::Information, "Confirmation", text, buttons});
}

std::function<void(QMessageBox&)> Press(QMessageBox::StandardButton which) {
    return [which](QMessageBox& box) {
        QAbstractButton* button = box.button(which);
        ASSERT_NE(button, nullptr);
        button->click();
    };
}

TEST(MessageBoxesTest, EachButtonAnswersWithItsNumber) {
    using SB = QMessageBox::StandardButton;
    struct Case {
        unsigned buttons;
        SB press;
        int answer;
    };
    const Case cases[] = {
        {mbOK, SB::Ok, mrOk},
        {mbOK | mbCancel, SB::Ok, mrOk},
        {mbOK | mbCancel, SB::Cancel, mrCancel},
        {mbAbort, SB::Abort, mrAbort},
        {mbYes | mbNo, SB::Yes, mrYes},
        {mbYes | mbNo, SB::No, mrNo},
        {mbYes | mbNo | mbAll | mbCancel, SB::YesToAll, mrAll},
        {mbYes | mbNo | mbAll | mbCancel, SB::Cancel, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "buttons " << c.buttons << " press " << c.press);
        EXPECT_EQ(ShowAndAnswer(c.buttons, Press(c.press)), c.answer);
    }
    EXPECT_EQ(mrOk, 1);
    EXPECT_EQ(mrCancel, 2);
    EXPECT_EQ(mrAbort, 3);
    EXPECT_EQ(mrYes, 6);
    EXPECT_EQ(mrNo, 7);
    EXPECT_EQ(mrAll, 8);
}

TEST(MessageBoxesTest, EachSetShowsExactlyItsButtons) {
    using SB = QMessageBox::StandardButton;
    const auto shownFor = [](unsigned buttons) {
        std::set<SB> shown;
        ShowAndAnswer(
            buttons, [](QMessageBox& box) { box.buttons().front()->click(); }, &shown);
        return shown;
    };
    EXPECT_EQ(shownFor(mbOK), (std::set<SB>{SB::Ok}));
    EXPECT_EQ(shownFor(0), (std::set<SB>{SB::Ok})) << "no buttons asked: OK";
    EXPECT_EQ(shownFor(mbOK | mbCancel), (std::set<SB>{SB::Ok, SB::Cancel}));
    EXPECT_EQ(shownFor(mbYes | mbNo | mbAll | mbCancel),
              (std::set<SB>{SB::Yes, SB::No, SB::YesToAll, SB::Cancel}));
    EXPECT_EQ(shownFor(mbAbort), (std::set<SB>{SB::Abort}));

    // "All" reads as such, not as Qt's "Yes to All".
    ShowAndAnswer(mbYes | mbAll, [](QMessageBox& box) {
        EXPECT_EQ(box.button(QMessageBox::YesToAll)->text(), "&All");
        box.button(QMessageBox::Yes)->click();
    });
}

TEST(MessageBoxesTest, EscapeAndTheCloseBoxAnswerCancel) {
    const auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
    EXPECT_EQ(ShowAndAnswer(mbOK | mbCancel, escape), mrCancel);
    EXPECT_EQ(ShowAndAnswer(mbYes | mbNo | mbCancel, escape), mrCancel);
    const auto closeBox = [](QMessageBox& box) { box.close(); };
    EXPECT_EQ(ShowAndAnswer(mbOK | mbCancel, closeBox), mrCancel);
}

TEST(MessageBoxesTest, ALongFileNameWrapsInsideTheBoxAndReadsTheSame) {
    InstallWindowFont();
    const std::string text = "Cannot generate crypted file \"" + std::string(251, 'n') +
                             ".cry\".\rFile name is too long.";
    ShowAndAnswer(
        mbOK,
        [&text](QMessageBox& box) {
            auto* label = box.findChild<QLabel*>("qt_msgbox_label");
            ASSERT_NE(label, nullptr);
            const QRect needed = QFontMetrics(label->font())
                                     .boundingRect(QRect(0, 0, label->width(), 10000),
                                                   Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.width(), label->width());
            EXPECT_LE(needed.height(), label->height());
            QString shown = label->text();
            shown.remove(QChar(0x200B));
            EXPECT_EQ(shown.toStdString(), text);
            box.button(QMessageBox::Ok)->click();
        },
        nullptr, text);
    QApplication::setFont(QFont());
}

} // namespace
} // namespace kelvane
