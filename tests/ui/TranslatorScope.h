// SPDX-License-Identifier: GPL-3.0-or-later
// A translator installed for one test, with the text hook through Qt as the
// program sets it at start; both undone at the end of the scope.
#pragma once

#include "crypto/Translate.h"

#include <QCoreApplication>
#include <QTranslator>
#include <memory>
#include <string>

namespace kelvane::testing_support {

class TranslatorScope {
public:
    explicit TranslatorScope(std::unique_ptr<QTranslator> translator)
        : translator_(std::move(translator)) {
        QCoreApplication::installTranslator(translator_.get());
        SetTranslateHook([](const char* context, const char* text) {
            return QCoreApplication::translate(context, text).toStdString();
        });
    }
    ~TranslatorScope() {
        SetTranslateHook(nullptr);
        QCoreApplication::removeTranslator(translator_.get());
    }
    TranslatorScope(const TranslatorScope&) = delete;
    TranslatorScope& operator=(const TranslatorScope&) = delete;

private:
    std::unique_ptr<QTranslator> translator_;
};

// The window's catalogue for `language` ("de") as the build made it.
inline std::unique_ptr<QTranslator> WindowCatalogue(const std::string& language) {
    auto translator = std::make_unique<QTranslator>();
    const QString file = QString::fromStdString(
        std::string(KELVANE_BUILD_DIR) + "/share/kelvane/translations/kelvane_" + language + ".qm");
    return translator->load(file) ? std::move(translator) : nullptr;
}

} // namespace kelvane::testing_support
