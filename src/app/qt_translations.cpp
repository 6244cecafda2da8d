// SPDX-License-Identifier: MIT
#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace penmoji {

bool installQtTranslations(QCoreApplication& application) {
    // Japanese whatever the system language: the program speaks only Japanese, and a dialog
    // with English buttons among Japanese texts would read as two programs.
    auto* translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace penmoji
