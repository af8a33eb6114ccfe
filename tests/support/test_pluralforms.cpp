#include "support/translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTest>

using namespace Vandra;

namespace {

QString translated(const char *context, const char *text, int count) {
    return QCoreApplication::translate(context, text, nullptr, count);
}

} // namespace

// Texts that count something read right for one and for many, in English as well as in a
// translation: the source texts alone would say "1 jobs".
class TestPluralForms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void languageWithoutTranslationGetsEnglishPluralForms() {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        QVERIFY(!Translations::install(*QCoreApplication::instance()));
        QCOMPARE(translated("Notices", "%n jobs changed", 1), QStringLiteral("1 job changed"));
        QCOMPARE(translated("Notices", "%n jobs changed", 2), QStringLiteral("2 jobs changed"));
        QCOMPARE(translated("Vandra::SectionModel", "%1, %n jobs", 1).arg(QStringLiteral("Agents")),
                 QStringLiteral("Agents, one job"));
        QCOMPARE(translated("Vandra::SectionModel", "%1, %n jobs", 0).arg(QStringLiteral("Agents")),
                 QStringLiteral("Agents, 0 jobs"));
    }

    void germanHasItsOwnPluralForms() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(Translations::install(*QCoreApplication::instance()));
        QCOMPARE(
            translated("Vandra::SectionModel", "%1, %n jobs", 1).arg(QStringLiteral("Agenten")),
            QStringLiteral("Agenten, ein Job"));
        QCOMPARE(
            translated("Vandra::SectionModel", "%1, %n jobs", 12).arg(QStringLiteral("Agenten")),
            QStringLiteral("Agenten, 12 Jobs"));
    }
};

QTEST_GUILESS_MAIN(TestPluralForms)
#include "test_pluralforms.moc"
