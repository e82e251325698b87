// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include "crypto/Translate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <string>
#include <string_view>

namespace kelvane {
namespace {

std::string TranslateWithQt(const char* context, const char* text) {
    return QCoreApplication::translate(context, text).toStdString();
}

// Beside the executable as installed, bin/../share/kelvane/translations;
// the build tree has the same layout.
QString ProgramCatalogueDirectory() {
    return QCoreApplication::applicationDirPath() + "/../share/kelvane/translations";
}

// QLocale::system() follows LANGUAGE, then LC_ALL, LC_MESSAGES and LANG, as
// gettext does; the first language of the user's list with a catalogue wins.
void LoadCatalogue(const QString& name, const QString& directory) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale::system(), name, "_", directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

// gettext, and with it kelvane-cli, speaks English under the C locale even
// when LANGUAGE names another language; the window does the same, so the two
// programs never disagree. Qt has set the locale from the environment.
bool MessagesInEnglishOnly() {
    // Asked once at start, before any thread of the program's own exists.
    const char* messages = std::setlocale(LC_MESSAGES, nullptr); // NOLINT(concurrency-mt-unsafe)
    const std::string_view name = messages != nullptr ? messages : "C";
    return name == "C" || name == "POSIX";
}

} // namespace

void InstallTranslations() {
    if (!MessagesInEnglishOnly()) {
        LoadCatalogue("qtbase", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        LoadCatalogue("kelvane", ProgramCatalogueDirectory());
    }
    SetTranslateHook(TranslateWithQt);
}

} // namespace kelvane
