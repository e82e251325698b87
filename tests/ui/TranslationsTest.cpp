// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the window shows reaches the translator, and the catalogues
// keep what a translation must not lose: the numbered values (a file name
// would go missing) and one accelerator per text.
#include "TranslatorScope.h"
#include "WindowFixture.h"
#include "commands/State.h"
#include "platform/MessageSeam.h"
#include "ui/AboutDialog.h"
#include "ui/AgePassphraseDialog.h"
#include "ui/ComboChangeDialog.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/PasswordPromptDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace kelvane {
namespace {

using namespace testing_support;

// ---- the catalogues

struct CatalogueEntry {
    QString context;
    QString source;
    QString translation;
};

// A line break in a text is written as an element of its own.
QString TextOf(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::IncludeChildElements);
}

std::vector<CatalogueEntry> ReadCatalogue(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<CatalogueEntry> entries;
    QXmlStreamReader xml(&file);
    QString context;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"source")
            entries.push_back({context, TextOf(xml), {}});
        else if (xml.name() == u"translation" && !entries.empty())
            entries.back().translation = TextOf(xml);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

std::multiset<std::string> Placeholders(const QString& text) {
    static const QRegularExpression number("%[1-9]");
    std::multiset<std::string> found;
    for (auto match = number.globalMatch(text); match.hasNext();)
        found.insert(match.next().captured().toStdString());
    return found;
}

// "&&" is an ampersand shown as it is, not an accelerator.
qsizetype Accelerators(QString text) {
    return text.remove("&&").count('&');
}

class CatalogueTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CatalogueTest, EveryTranslationKeepsTheValuesAndTheAcceleratorOfItsSource) {
    const QString path = QString(KELVANE_SOURCE_DIR "/translations/kelvane_%1.ts").arg(GetParam());
    const std::vector<CatalogueEntry> entries = ReadCatalogue(path);
    EXPECT_FALSE(entries.empty());
    for (const CatalogueEntry& e : entries) {
        if (e.translation.isEmpty())
            continue; // not translated yet: the English text is shown
        SCOPED_TRACE((e.context + ": " + e.source).toStdString());
        EXPECT_EQ(Placeholders(e.translation), Placeholders(e.source))
            << e.translation.toStdString();
        EXPECT_EQ(Accelerators(e.translation), Accelerators(e.source))
            << e.translation.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, CatalogueTest, ::testing::Values("de", "fr", "es"));

// ---- every shown text through the translator

const QString kOpen = QStringLiteral("\u27E6");
const QString kClose = QStringLiteral("\u27E7");

// Gives every text back in brackets, so a text that never met the
// translator stands out.
class MarkingTranslator : public QTranslator {
public:
    QString translate(const char*, const char* sourceText, const char*, int) const override {
        return kOpen + QString::fromUtf8(sourceText) + kClose;
    }
    bool isEmpty() const override { return false; }
};

bool Marked(const QString& text) {
    return text.startsWith(kOpen) && text.endsWith(kClose);
}

bool Marked(const std::string& text) {
    return Marked(QString::fromStdString(text));
}

class TranslatableTextsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        previousResponder_ = SetMessageResponder([this](const MessageRequest& request) {
            shown.push_back(request);
            return answer;
        });
    }
    void TearDown() override {
        SetMessageResponder(previousResponder_);
        WindowTest::TearDown();
    }

    TranslatorScope marking{std::make_unique<MarkingTranslator>()};
    std::vector<MessageRequest> shown;
    int answer = mrCancel;

private:
    MessageResponder previousResponder_;
};

// Every text `window` shows in its controls, but for those of `values`
// (file names, figures, the program's name).
void ExpectEveryTextMarked(const QWidget& window, const std::set<const QWidget*>& values = {}) {
    SCOPED_TRACE(window.metaObject()->className());
    EXPECT_TRUE(Marked(window.windowTitle())) << window.windowTitle().toStdString();
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (values.count(control) != 0)
            continue;
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(control))
            text = label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            text = button->text();
        else if (const auto* group = qobject_cast<const QGroupBox*>(control))
            text = group->title();
        if (!text.isEmpty()) {
            EXPECT_TRUE(Marked(text)) << text.toStdString();
        }
        for (const QString& said : {control->toolTip(), control->accessibleName()}) {
            if (!said.isEmpty()) {
                EXPECT_TRUE(Marked(said)) << said.toStdString();
            }
        }
    }
    for (const QAction* action : window.findChildren<QAction*>()) {
        if (!action->isSeparator() && !action->text().isEmpty()) {
            EXPECT_TRUE(Marked(action->text())) << action->text().toStdString();
        }
    }
}

TEST_F(TranslatableTextsTest, TheMainWindowItsMenusAndItsListsAskForTranslations) {
    TMainWin& w = Open();
    ShowSized(533, 446);
    ExpectEveryTextMarked(w, {w.DirLabel});
    for (const QMenu* menu : w.findChildren<QMenu*>()) {
        EXPECT_TRUE(Marked(menu->title()) || menu->title().isEmpty())
            << menu->title().toStdString();
    }
    for (const TStringGrid* grid : {w.StringGrid1, w.StringGrid2}) {
        for (int column = 0; column < 4; ++column) {
            const QString heading =
                grid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
            EXPECT_TRUE(Marked(heading)) << heading.toStdString();
        }
        EXPECT_TRUE(Marked(grid->model()->index(0, 0).data().toString())); // "[no files]"
    }
}

TEST_F(TranslatableTextsTest, EveryDialogAsksForTranslations) {
    Open();
    auto check = [](std::set<const QWidget*> values) {
        return [values](TModalForm& form) { ExpectEveryTextMarked(form, values); };
    };
    TDelDialog del;
    TEncrypt encrypt;
    encrypt.SetFileLabel("letter.doc");
    TDecrypt decrypt;
    decrypt.SetFileLabel("letter.doc");
    TAbout about;
    TPreferences preferences;
    TPasswordPrompt prompt;
    TComboChange change(drives);
    TAgePassphrase age;

    dialogs.Expect(del.windowTitle().toStdString(), check({del.Label2}));
    del.Ask("letter.doc");
    for (TPasswordForm* form :
         {static_cast<TPasswordForm*>(&encrypt), static_cast<TPasswordForm*>(&decrypt)}) {
        dialogs.Expect(form->windowTitle().toStdString(), check({form->FName_Label}));
        form->ShowModal();
    }
    dialogs.Expect(
        about.windowTitle().toStdString(),
        check({about.Label1, about.Label3, about.Http_Label, about.Label6, about.Label9}));
    about.ShowModal();
    for (TModalForm* form :
         {static_cast<TModalForm*>(&preferences), static_cast<TModalForm*>(&prompt),
          static_cast<TModalForm*>(&change), static_cast<TModalForm*>(&age)}) {
        dialogs.Expect(form->windowTitle().toStdString(), check({}));
        form->ShowModal();
    }
}

TEST_F(TranslatableTextsTest, MessagesAndStatusTextsAskForTranslations) {
    TMainWin& w = Open();
    ShowSized(533, 446);

    w.EncryptOneFile("missing.txt"); // not found
    OpenCount = 1;
    bool canClose = true;
    w.FormCloseQuery(canClose); // files still out in their applications
    OpenCount = 0;
    EncryptBusy = true;
    answer = mrOk;
    w.Button1Click(); // the question before a run is cancelled
    EXPECT_TRUE(Marked(w.Status_Label->text())) << w.Status_Label->text().toStdString();
    EncryptBusy = false;
    CancelRequested = false;
    answer = mrCancel;
    TPasswordPrompt prompt;
    PasswordPrompt = &prompt;
    dialogs.Expect(prompt.windowTitle().toStdString(),
                   [&prompt](TModalForm&) { prompt.Proceed->click(); });
    w.EncriptAll1->trigger(); // the question about subfolders
    PasswordPrompt = nullptr;
    EXPECT_TRUE(Marked(w.Status_Label->text())) << w.Status_Label->text().toStdString();

    ASSERT_EQ(shown.size(), 4u);
    for (const MessageRequest& request : shown) {
        EXPECT_TRUE(Marked(request.caption)) << request.caption;
        // The file name sits inside the sentence; the sentence was translated.
        EXPECT_TRUE(Marked(request.text)) << request.text;
    }
}

} // namespace
} // namespace kelvane
