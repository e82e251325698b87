// SPDX-License-Identifier: GPL-3.0-or-later
// Every fixed text of the main window and every figure at its widest fits
// its control at the starting size, in the window's own font and in every
// language the window speaks; and the controls wear the program's silver.
#include "TranslatorScope.h"
#include "WindowFixture.h"
#include "commands/FileCommands.h"
#include "commands/TreeCommands.h"
#include "ui/AboutDialog.h"
#include "ui/AgePassphraseDialog.h"
#include "ui/ComboChangeDialog.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/DirectoryListBox.h"
#include "ui/DriveComboBox.h"
#include "ui/EncryptDialog.h"
#include "ui/Fonts.h"
#include "ui/PasswordPromptDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

using testing_support::TranslatorScope;
using testing_support::WindowCatalogue;
using testing_support::WindowTest;

class TextsFitTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open();
        ShowSized(533, 446);
    }

    static int Width(const QWidget* widget, const QString& text) {
        return QFontMetrics(widget->font()).horizontalAdvance(text);
    }

    // The caption, then the figure at its widest, both inside the bevel's
    // frame and the figure clear of the caption.
    void ExpectFits(const QFrame* bevel, const QLabel* caption, const QLabel* figure,
                    const QString& widestFigure) {
        SCOPED_TRACE(caption->text().toStdString());
        const QRect inside = bevel->contentsRect();
        EXPECT_GE(caption->x(), inside.left());
        EXPECT_LT(caption->x() + Width(caption, caption->text()), figure->x());
        const QString figureText = WithWidestDigits(figure->font(), widestFigure);
        EXPECT_LE(figure->x() + Width(figure, figureText), inside.right() + 1)
            << figureText.toStdString() << " at " << figure->x() << " in " << inside.right() + 1;
    }
};

// The same checks with each language's catalogue loaded ("" is English).
class TextsFitInEveryLanguageTest : public TextsFitTest,
                                    public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        if (*GetParam() != '\0') {
            std::unique_ptr<QTranslator> catalogue = WindowCatalogue(GetParam());
            ASSERT_NE(catalogue, nullptr) << "no catalogue for " << GetParam();
            language_ = std::make_unique<TranslatorScope>(std::move(catalogue));
        }
        TextsFitTest::SetUp();
    }
    void TearDown() override {
        TextsFitTest::TearDown();
        language_.reset();
    }

    static QString MainWindowText(const char* text) {
        return QCoreApplication::translate("MainWindow", text);
    }
    static QString StatusText(const char* text) {
        return QString::fromStdString(Tr("Status", text));
    }

private:
    std::unique_ptr<TranslatorScope> language_;
};

INSTANTIATE_TEST_SUITE_P(Languages, TextsFitInEveryLanguageTest,
                         ::testing::Values("", "de", "fr", "es"));

TEST_P(TextsFitInEveryLanguageTest, EveryFigureAtItsWidestFitsBesideItsCaption) {
    const TMainWin& w = *window;
    // Times under 100 hours; sizes of files under 2 GB: 2097152 KB, and a
    // rate of at most the whole file in the first second.
    ExpectFits(w.Bevel1, w.Label9, w.Label11, "99:99:99");
    ExpectFits(w.Bevel4, w.Label10, w.Label12, "99:99:99");
    ExpectFits(w.Bevel2, w.Label13, w.Label14, "99:99:99");
    ExpectFits(w.Bevel3, w.Label17, w.Label18, MainWindowText("%1 KBytes").arg("9999999"));
    ExpectFits(w.Bevel5, w.Label15, w.Label16,
               MainWindowText("%1 bytes per second").arg("9999999999"));
    ExpectFits(w.Bevel6, w.Label19, w.Label20, MainWindowText("%1 Kbytes").arg("9999999"));
}

TEST_P(TextsFitInEveryLanguageTest, StatusTextsCaptionsAndTheButtonFit) {
    const TMainWin& w = *window;
    const int statusRoom = w.Bevel7->contentsRect().right() + 1 - w.Status_Label->x();
    for (const QString& text : {MainWindowText("Idle"), StatusText(kIdle), StatusText(kIdleText),
                                StatusText(kSearchingText), StatusText(kWaitTillFinished),
                                MainWindowText("Wait while finishing process the last file...")})
        EXPECT_LE(Width(w.Status_Label, text), statusRoom) << text.toStdString();

    // The captions over the lists end before what stands to their right.
    EXPECT_LE(w.Label8->x() + Width(w.Label8, w.Label8->text()), w.StringGrid1->geometry().right());
    EXPECT_LE(w.Label8->geometry().bottom(), w.StringGrid1->y());
    EXPECT_LT(w.Label21->x() + Width(w.Label21, w.Label21->text()), w.Button1->x());
    EXPECT_GE(w.Label8->width(), Width(w.Label8, w.Label8->text()));
    EXPECT_GE(w.Label21->width(), Width(w.Label21, w.Label21->text()));
    EXPECT_LE(QFontMetrics(w.Label8->font()).height(), w.Label8->height());

    // The button's text with a few pixels of its border on either side.
    EXPECT_LE(Width(w.Button1, w.Button1->text()) + 8, w.Button1->width());
    EXPECT_LE(QFontMetrics(w.Button1->font()).height(), w.Button1->height());
}

// No two texts of a dialog side by side cover each other: a caption that
// grew in translation must push what follows it aside.
void ExpectTextsApart(const QWidget& dialog) {
    std::vector<const QWidget*> texts;
    for (const QWidget* control : dialog.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&dialog))
            continue; // Preferences' expiry sits hidden under its check box
        const auto* label = qobject_cast<const QLabel*>(control);
        if ((label != nullptr && !label->text().isEmpty()) ||
            qobject_cast<const QAbstractButton*>(control) != nullptr)
            texts.push_back(control);
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const QRect a(texts[i]->mapTo(&dialog, QPoint()), texts[i]->size());
            const QRect b(texts[j]->mapTo(&dialog, QPoint()), texts[j]->size());
            EXPECT_FALSE(a.intersects(b)) << texts[i]->metaObject()->className() << " and "
                                          << texts[j]->metaObject()->className();
        }
}

// Every text of a dialog whole in its control, every control inside the
// dialog.
void ExpectTextsWhole(const QWidget& dialog) {
    SCOPED_TRACE(dialog.windowTitle().toStdString());
    ExpectTextsApart(dialog);
    for (const QWidget* control : dialog.findChildren<QWidget*>()) {
        if (control->window() != &dialog)
            continue; // a combo box's list, say
        const QRect place(control->mapTo(&dialog, QPoint()), control->size());
        EXPECT_TRUE(dialog.rect().contains(place)) << control->metaObject()->className();
        const QFontMetrics metrics(control->font());
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height());
            } else if (!label->text().isEmpty()) {
                EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                    << label->text().toStdString();
            }
        } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
            const QString caption = QString(button->text()).remove('&');
            EXPECT_LE(metrics.horizontalAdvance(caption) + 8, button->width())
                << caption.toStdString();
        } else if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
            EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
        }
    }
}

TEST_P(TextsFitInEveryLanguageTest, WhateverFontsTheDesktopGivesEveryDialogKeepsItsTextsWhole) {
    // A desktop theme that gives labels, buttons and message boxes a large
    // font of their own.
    const char* const kinds[] = {"QMessageBox",     "QLabel",    "QPushButton",
                                 "QAbstractButton", "QCheckBox", "QGroupBox"};
    const QFont programFont = QApplication::font();
    std::vector<std::pair<const char*, QFont>> before;
    for (const char* kind : kinds)
        before.emplace_back(kind, QApplication::font(kind));
    QFont large("DejaVu Sans");
    large.setPointSize(16);
    QApplication::setFont(large);
    for (const char* kind : kinds)
        QApplication::setFont(large, kind);

    std::vector<std::unique_ptr<TModalForm>> forms;
    auto delDialog = std::make_unique<TDelDialog>();
    TDelDialog* del = delDialog.get();
    forms.push_back(std::move(delDialog));
    auto encrypt = std::make_unique<TEncrypt>();
    encrypt->SetFileLabel("letter.doc");
    forms.push_back(std::move(encrypt));
    auto decrypt = std::make_unique<TDecrypt>();
    decrypt->SetFileLabel("letter.doc");
    forms.push_back(std::move(decrypt));
    forms.push_back(std::make_unique<TAbout>());
    forms.push_back(std::make_unique<TPreferences>());
    forms.push_back(std::make_unique<TPasswordPrompt>());
    forms.push_back(std::make_unique<TComboChange>(drives));
    forms.push_back(std::make_unique<TAgePassphrase>());
    // In the program's font, and in one larger than the boxes were made
    // for, as a wider stand-in for Arial would be: then the boxes grow.
    for (const int pixels : {kWindowFontPixels, 15}) {
        SCOPED_TRACE(pixels);
        for (const std::unique_ptr<TModalForm>& form : forms) {
            if (pixels != kWindowFontPixels)
                form->setFont(WindowFont(pixels));
            dialogs.Expect(form->windowTitle().toStdString(), ExpectTextsWhole);
            if (form.get() == del)
                del->Ask("letter.doc");
            else
                form->ShowModal();
        }
    }

    QApplication::setFont(programFont);
    for (const auto& [kind, font] : before)
        QApplication::setFont(font, kind);
}

// The mean colour of `area`.
QColor MeanColour(const QImage& image, const QRect& area) {
    int64_t red = 0, green = 0, blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red();
            green += c.green();
            blue += c.blue();
        }
    const int64_t n = int64_t{area.width()} * area.height();
    return QColor(static_cast<int>(red / n), static_cast<int>(green / n),
                  static_cast<int>(blue / n));
}

bool NearSilver(const QColor& c) {
    const auto near = [](int value) { return std::abs(value - 0xC0) <= 12; };
    return near(c.red()) && near(c.green()) && near(c.blue());
}

TEST_F(TextsFitTest, TheDriveSelectorIsSilverLikeTheListsBesideIt) {
    const QImage combo = window->DriveComboBox1->grab().toImage();
    const QImage list = window->DirectoryListBox1->grab().toImage();
    // Inside the borders, away from the text at the left and the arrow.
    const QRect comboInside(combo.width() / 2, 3, combo.width() / 4, combo.height() - 6);
    const QColor comboColour = MeanColour(combo, comboInside);
    EXPECT_TRUE(NearSilver(comboColour)) << comboColour.name().toStdString();
    const QRect listInside(list.width() / 2, list.height() - 20, list.width() / 4, 10);
    const QColor listColour = MeanColour(list, listInside);
    EXPECT_TRUE(NearSilver(listColour)) << listColour.name().toStdString();
}

// Relative luminance and contrast ratio, as accessibility guidelines measure
// how well text stands out from its background.
double Luminance(const QColor& c) {
    auto linear = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How far the text in `area` stands out: its background is the area's most
// common colour, its text the pixel that differs most from that.
double TextContrast(const QImage& image, const QRect& area) {
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    const QColor background(
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first);
    double strongest = 1;
    for (const auto& [pixel, count] : counts)
        strongest = std::max(strongest, Contrast(QColor(pixel), background));
    return strongest;
}

TEST_F(TextsFitTest, UnderADarkPaletteTheSilverControlsKeepTheirTextReadable) {
    const QPalette light = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    QApplication::setPalette(dark);
    scratch.Write("letter.doc.cry", 100);
    scratch.MakeFolder("Letters");
    window->DirectoryListBox1->Update();
    window->RefreshLists();
    QApplication::processEvents();

    // A file of the crypted list, whose rows show no selection, and a
    // subfolder in the folder list.
    TStringGrid& grid = *window->StringGrid2;
    const QImage rows = grid.viewport()->grab().toImage();
    const QRect name = grid.visualRect(grid.model()->index(0, 0));
    TDirectoryListBox& folders = *window->DirectoryListBox1;
    const QImage items = folders.viewport()->grab().toImage();
    const QRect folder = folders.visualItemRect(folders.item(folders.count() - 1));
    QApplication::setPalette(light);

    EXPECT_GE(TextContrast(rows, name), 4.5);
    EXPECT_GE(TextContrast(items, folder), 4.5);
}

} // namespace
} // namespace kelvane
