#include "support/dates.h"
#include "support/interaction.h"
#include "support/localize.h"

#include <QLocale>
#include <QTest>

using namespace Vandra;

using namespace Qt::StringLiterals;

namespace {

class ScriptedInteraction final : public Interaction {
public:
    int alert(const AlertRequest &request) override {
        alerts.append(request);
        return answer;
    }
    std::optional<QString> savePanel(const FilePanelRequest &) override { return u"/saved"_s; }
    std::optional<QString> openPanel(const FilePanelRequest &) override { return std::nullopt; }
    void beep() override {}

    QList<AlertRequest> alerts;
    int answer = 1;
};

} // namespace

class TestLocalize : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatFillsPlaceholdersInOrder() {
        QCOMPARE(Localize::format(u"Value for %@ cannot be empty"_s, {Localize::run()}),
                 u"Value for Run cannot be empty"_s);
        QCOMPARE(Localize::format(u"%@ of %@"_s, {u"a"_s, u"b"_s}), u"a of b"_s);
        // An argument's own "%@" is not filled again; a missing argument leaves nothing.
        QCOMPARE(Localize::format(u"%@ copy %@"_s, {u"x%@"_s}), u"x%@ copy "_s);
        QCOMPARE(Localize::format(u"no placeholder"_s, {u"a"_s}), u"no placeholder"_s);
    }

    void integersAndFixedTexts() {
        QCOMPARE(Localize::integer(31), u"31"_s);
        QCOMPARE(Localize::integer(-5), u"-5"_s);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(Localize::integer(86400), u"86400"_s); // reads back from a text field
        QLocale::setDefault(QLocale::c());
        QCOMPARE(Localize::text("Run Shell Script"), u"Run Shell Script"_s);
        QCOMPARE(Localize::Ellipsis::save(), u"Save…"_s);
        QCOMPARE(Localize::Lowercase::minutes(), Localize::Lowercase::minutes());
    }

    void withoutAnAnswererAlertsTakeTheFirstButtonAndPanelsCancel() {
        Interaction::setShared(nullptr);
        AlertRequest request;
        request.message = u"Unsaved Changes"_s;
        request.buttons = {u"Check"_s, u"Discard Changes"_s};
        QCOMPARE(Interaction::shared().alert(request), Interaction::firstButton);
        QVERIFY(!Interaction::shared().savePanel({}));
        QVERIFY(!Interaction::shared().openPanel({}));
    }

    void errorsReachTheSharedAnswerer() {
        ScriptedInteraction scripted;
        Interaction::setShared(&scripted);
        Interaction::error(u"Message"_s, u"Informative"_s);
        QCOMPARE(Interaction::shared().savePanel({}), u"/saved"_s);
        Interaction::setShared(nullptr);
        QCOMPARE(scripted.alerts.size(), 1);
        QCOMPARE(scripted.alerts.first().message, u"Message"_s);
        QCOMPARE(scripted.alerts.first().informativeText, u"Informative"_s);
        QCOMPARE(scripted.alerts.first().buttons, QStringList{Localize::ok()});
    }

    void weekdaysStartOnSundayAndDatesUseTheLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QStringList days = Date::weekdays();
        QCOMPARE(days.size(), 7);
        QCOMPARE(days.first(), u"Sunday"_s);
        QCOMPARE(days.last(), u"Saturday"_s);
        QCOMPARE(Date::months().size(), 12);
        QCOMPARE(Date::months().first(), u"January"_s);
        const QDateTime when(QDate(2024, 1, 5, Calendar::gregorian()), QTime(13, 5));
        QCOMPARE(Date::hour(when), 13);
        QCOMPARE(Date::minute(when.time()), 5);
        const QString text = Date::standardDateFormatter(when);
        QVERIFY2(text.contains(u"Jan"_s) && text.contains(u"2024"_s) && text.contains(u"1:05"_s),
                 qPrintable(text));
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestLocalize)
#include "test_localize.moc"
