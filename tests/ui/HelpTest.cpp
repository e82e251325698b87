// SPDX-License-Identifier: GPL-3.0-or-later
// The help: "&Contents", F1 in the windows that have a help context, the
// message for a missing help file, and the links between the pages.
#include "WindowFixture.h"
#include "support/TempDir.h"
#include "ui/DriveComboBox.h"
#include "ui/EncryptDialog.h"
#include "ui/HelpWindow.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <set>

namespace kelvane {
namespace {

using namespace testing_support;

// The help pages of the build tree, which mirrors an installation.
const std::string kHelpDirectory = KELVANE_BUILD_DIR "/share/kelvane/help/";

class HelpTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CloseHelpWindow();
    }
    void TearDown() override {
        CloseHelpWindow();
        WindowTest::TearDown();
    }

    // Opens the main window with the installed help file.
    TMainWin& OpenWithHelp() {
        TMainWin& w = Open();
        HelpFile = kHelpDirectory + "index.html";
        return w;
    }

    // The page the help window shows, or "" when there is no help window.
    static std::string ShownPage() {
        const THelpWindow* help = CurrentHelpWindow();
        if (help == nullptr || !help->isVisible())
            return {};
        return help->Browser->source().toLocalFile().toStdString();
    }

    static void PressF1(QWidget& window, QWidget& focus) {
        window.show();
        QApplication::setActiveWindow(&window);
        focus.setFocus();
        QApplication::processEvents();
        QTest::keyClick(&focus, Qt::Key_F1);
        QApplication::processEvents();
    }
};

TEST_F(HelpTest, ContentsOpensTheContentsPageInTheProgramsOwnWindow) {
    TMainWin& w = OpenWithHelp();
    w.Contents1->trigger();
    EXPECT_EQ(ShownPage(), kHelpDirectory + "index.html");
    EXPECT_TRUE(CurrentHelpWindow()->Browser->toPlainText().contains("Contents"));

    // A link between pages opens in the same window (the first link of the
    // contents, taken from the keyboard), and "Back" returns.
    THelpWindow& help = *CurrentHelpWindow();
    QApplication::setActiveWindow(&help);
    help.Browser->setFocus();
    QTest::keyClick(help.Browser, Qt::Key_Tab);
    QTest::keyClick(help.Browser, Qt::Key_Return);
    EXPECT_EQ(ShownPage(), kHelpDirectory + "main-window.html");
    EXPECT_TRUE(help.Back_Button->isEnabled());
    help.Back_Button->click();
    EXPECT_EQ(ShownPage(), kHelpDirectory + "index.html");
    // Escape puts it away.
    QTest::keyClick(help.Browser, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
}

TEST_F(HelpTest, F1InTheMainWindowOpensItsPageWhereverTheFocusIs) {
    TMainWin& w = OpenWithHelp();
    PressF1(w, *w.StringGrid2);
    EXPECT_EQ(ShownPage(), kHelpDirectory + "main-window.html");
    CloseHelpWindow();
    PressF1(w, *w.DriveComboBox1);
    EXPECT_EQ(ShownPage(), kHelpDirectory + "main-window.html");
}

TEST_F(HelpTest, F1InThePreferencesOpensTheirPage) {
    OpenWithHelp();
    TPreferences preferences;
    PressF1(preferences, *preferences.ShowCry_CheckBox);
    EXPECT_EQ(ShownPage(), kHelpDirectory + "preferences.html");
}

TEST_F(HelpTest, HelpAskedForFromAModalDialogIsNotBlockedByIt) {
    OpenWithHelp();
    TPreferences preferences;
    preferences.setWindowModality(Qt::ApplicationModal);
    PressF1(preferences, *preferences.OnePwd_CheckBox);
    EXPECT_EQ(ShownPage(), kHelpDirectory + "preferences.html");
    EXPECT_EQ(CurrentHelpWindow()->parentWidget(), &preferences);
    EXPECT_TRUE(CurrentHelpWindow()->isWindow());

    // Without a modal dialog the help window stands on its own again.
    preferences.hide();
    ShowHelpContents();
    EXPECT_EQ(CurrentHelpWindow()->parentWidget(), nullptr);
    EXPECT_EQ(ShownPage(), kHelpDirectory + "index.html");
}

TEST_F(HelpTest, F1InTheOtherDialogsDoesNothing) {
    OpenWithHelp();
    TEncrypt encrypt;
    PressF1(encrypt, *encrypt.Button1);
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
    EXPECT_EQ(HelpPageFor(0), "");
    EXPECT_EQ(HelpPageFor(30), "");
}

TEST_F(HelpTest, AMissingHelpFolderIsReportedAndNothingElseHappens) {
    TMainWin& w = Open();
    TempDir empty;
    HelpFile = empty / "help/index.html";
    messages.Expect("Cannot find the help file \"" + HelpFile +
                    "\". Reinstall Kelvane 95 to get its help back.");
    w.Contents1->trigger();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);

    messages.Expect("Cannot find the help file \"" + empty / "help/preferences.html" +
                    "\". Reinstall Kelvane 95 to get its help back.");
    EXPECT_FALSE(ShowHelpContext(kPreferencesHelpContext));
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Error);
}

// The names a document defines as link targets, and the links it makes.
void CollectAnchors(const QTextDocument& document, std::set<QString>& names,
                    std::vector<QString>& links) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                names.insert(name);
            if (!format.anchorHref().isEmpty())
                links.push_back(format.anchorHref());
        }
    }
}

// Every link of every page, read as the help window reads it, leads to a
// page of the help (and to a place that page defines), never off the machine.
TEST_F(HelpTest, EveryLinkOfTheHelpLeadsToAPageThatExists) {
    const QStringList pages =
        QDir(QString::fromStdString(kHelpDirectory)).entryList({"*.html"}, QDir::Files);
    ASSERT_GE(pages.size(), 5);
    std::map<QString, std::set<QString>> targets;
    std::map<QString, std::vector<QString>> links;
    QTextBrowser reader;
    for (const QString& page : pages) {
        reader.setSource(QUrl::fromLocalFile(QString::fromStdString(kHelpDirectory) + page));
        CollectAnchors(*reader.document(), targets[page], links[page]);
    }
    for (const auto& [page, hrefs] : links) {
        EXPECT_FALSE(hrefs.empty()) << page.toStdString() << " leads nowhere";
        for (const QString& href : hrefs) {
            const QUrl url(href);
            EXPECT_TRUE(url.isRelative()) << page.toStdString() << ": " << href.toStdString();
            const QString file = url.path().isEmpty() ? page : url.path();
            ASSERT_TRUE(targets.count(file)) << page.toStdString() << ": " << href.toStdString();
            if (url.hasFragment()) {
                EXPECT_TRUE(targets[file].count(url.fragment()))
                    << page.toStdString() << ": " << href.toStdString();
            }
        }
    }
    // Each page is reachable from the contents.
    for (const QString& page : pages) {
        if (page == "index.html")
            continue;
        EXPECT_TRUE(std::any_of(links["index.html"].begin(), links["index.html"].end(),
                                [&page](const QString& href) { return href.startsWith(page); }))
            << page.toStdString();
    }
}

} // namespace
} // namespace kelvane
