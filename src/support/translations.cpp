#include "support/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool installFrom(QCoreApplication &app, const QString &name, const QString &folder) {
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(), name, QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace

namespace Translations {

bool install(QCoreApplication &app) {
    // Qt's own texts (standard buttons, context menus of text fields) come from the system's
    // Qt translations; ours are embedded, so they are found wherever the program runs from.
    installFrom(app, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return installFrom(app, QStringLiteral("vandra"), QStringLiteral(":/i18n"));
}

} // namespace Translations
