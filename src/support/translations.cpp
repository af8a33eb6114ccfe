#include "support/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Vandra {

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
    if (installFrom(app, QStringLiteral("vandra"), QStringLiteral(":/i18n")))
        return true;
    // The English texts need their plural forms too ("1 job", "2 jobs"), in every language the
    // program has no translation for.
    auto *english = new QTranslator(&app);
    if (english->load(QStringLiteral(":/i18n/vandra_en.qm")))
        QCoreApplication::installTranslator(english);
    else
        delete english;
    return false;
}

} // namespace Translations

} // namespace Vandra
