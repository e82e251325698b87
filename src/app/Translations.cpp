// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include "crypto/Translate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string>

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

} // namespace

void InstallTranslations() {
    LoadCatalogue("qtbase", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    LoadCatalogue("kelvane", ProgramCatalogueDirectory());
    SetTranslateHook(TranslateWithQt);
}

} // namespace kelvane
