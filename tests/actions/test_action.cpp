// Requests as dictionaries, and the alerts of error dictionaries.

#include "actions/action.h"
#include "actions/actioncontroller.h"
#include "actions/actionstestsupport.h"
#include "common/testmain.h"
#include "model/bindings.h"
#include "support/localize.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Vandra;

namespace {

using ActionKind = Action::Kind;

ActionController::Setup noHelpers() {
    ActionController::Setup setup;
    setup.serviceSocket = QStringLiteral("/nonexistent/helper.sock");
    return setup;
}

PlistDict errorDict(std::initializer_list<PlistDict::Entry> entries) {
    return PlistDict(entries);
}

} // namespace

class TestAction : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private Q_SLOTS:
    void theDictionaryHasExactlyTheKeysOfTheSetFields_data() {
        QTest::addColumn<ActionPtr>("action");
        QTest::addColumn<QStringList>("keys");
        const QString job = QStringLiteral("/nonexistent/a.plist");
        const auto base = QStringList{QStringLiteral("kind"), QStringLiteral("presentError"),
                                      QStringLiteral("privileged")};

        auto load = Action::make(ActionKind::load);
        load->url = job;
        QTest::newRow("load") << load << base + QStringList{QStringLiteral("path")};

        QTest::newRow("save") << Action::save(job, QStringLiteral("<plist/>"), QStringLiteral("a"))
                              << base + QStringList{QStringLiteral("path"),
                                                    QStringLiteral("string"),
                                                    QStringLiteral("label")};

        auto move = Action::save(job, QStringLiteral("<plist/>"), QStringLiteral("a"));
        move->kind = ActionKind::saveAndLoad;
        move->deleteURL = QStringLiteral("/nonexistent/old.plist");
        // The follow-up paths stay on this side.
        move->localAgentLoadPath = job;
        move->cleanUp = false;
        QTest::newRow("saveAndLoad moving")
            << move
            << base + QStringList{QStringLiteral("path"), QStringLiteral("deletePath"),
                                  QStringLiteral("string"), QStringLiteral("label")};

        auto remove = Action::make(ActionKind::remove);
        remove->deleteURL = job;
        remove->label = QStringLiteral("a");
        remove->localAgentUnloadPath = job;
        QTest::newRow("remove") << remove
                                << base + QStringList{QStringLiteral("deletePath"),
                                                      QStringLiteral("label")};

        auto unload = Action::make(ActionKind::unload);
        unload->url = job;
        QTest::newRow("unload without label")
            << unload << base + QStringList{QStringLiteral("path")};

        QTest::newRow("test") << Action::test(QStringLiteral("/t/a.plist"),
                                              QStringLiteral("/t/a.out"),
                                              QStringLiteral("<plist/>"), QStringLiteral("L"))
                              << base + QStringList{QStringLiteral("testPath"),
                                                    QStringLiteral("testOutputPath"),
                                                    QStringLiteral("string"),
                                                    QStringLiteral("label")};

        auto uninstall = Action::make(ActionKind::uninstallHelpers);
        uninstall->presentError = false;
        QTest::newRow("uninstallHelpers") << uninstall << base;

        auto log = Action::make(ActionKind::log);
        log->logQuery =
            QMap<QString, QString>{{QStringLiteral("searchString"), QStringLiteral("a")}};
        QTest::newRow("log") << log << base + QStringList{QStringLiteral("logQuery")};
    }

    void theDictionaryHasExactlyTheKeysOfTheSetFields() {
        QFETCH(ActionPtr, action);
        QFETCH(QStringList, keys);
        const PlistDict dict = actionDictionary(*action, std::nullopt);
        QCOMPARE(dict.keys(), keys);
        QCOMPARE(dict.value(QStringLiteral("kind")).toInteger(),
                 qint64(Action::rawValue(action->kind)));
        QCOMPARE(dict.value(QStringLiteral("presentError")).toBool(), action->presentError);
        QVERIFY(!dict.contains(QStringLiteral("authData")));
    }

    void theTokenIsSentOnlyWhenGiven() {
        auto action = Action::make(ActionKind::load);
        action->url = QStringLiteral("/nonexistent/a.plist");
        action->label = QStringLiteral("a");
        const QByteArray token(32, '\x07');
        const PlistDict dict = actionDictionary(*action, token);
        QCOMPARE(dict.keys(), (QStringList{QStringLiteral("kind"), QStringLiteral("presentError"),
                                           QStringLiteral("privileged"), QStringLiteral("path"),
                                           QStringLiteral("authData"), QStringLiteral("label")}));
        QCOMPARE(dict.value(QStringLiteral("authData")).toData(), token);
        // Without a privileged connection the controller holds no token.
        ActionController controller(noHelpers());
        QVERIFY(!controller.authData());
    }

    void theTestConstructorLeavesTheEditorAlone() {
        const auto test = Action::test(QStringLiteral("/t"), QStringLiteral("/o"), QString(),
                                       QStringLiteral("L"));
        QCOMPARE(test->kind, ActionKind::test);
        QVERIFY(!test->cleanUp);
        QVERIFY(test->presentError);
        const auto save = Action::save(QStringLiteral("/j"), QString(), QStringLiteral("L"));
        QVERIFY(save->cleanUp);
        QVERIFY(!save->privileged);
    }

    void rawKindsZeroToTwelveAreValid() {
        for (int raw = 0; raw <= 12; ++raw)
            QCOMPARE(Action::kindFromRaw(raw).has_value(), true);
        QCOMPARE(Action::kindFromRaw(3), std::optional(ActionKind::reserved3));
        QCOMPARE(Action::kindFromRaw(7), std::optional(ActionKind::reserved7));
        QCOMPARE(Action::kindFromRaw(9), std::optional(ActionKind::log));
        QCOMPARE(Action::kindFromRaw(12), std::optional(ActionKind::status));
        QVERIFY(!Action::kindFromRaw(13));
        QVERIFY(!Action::kindFromRaw(-1));
        QVERIFY(!Action::kindFromRaw(std::numeric_limits<qint64>::min()));
    }

    void thePathFollowsLinksToTheirEnd() {
        QVERIFY(m_folder.isValid());
        const QString real = QDir(m_folder.path()).canonicalPath();
        QVERIFY(QDir().mkpath(real + QStringLiteral("/projects")));
        QFile target(real + QStringLiteral("/projects/job.plist"));
        QVERIFY(target.open(QIODevice::WriteOnly));
        target.close();
        QVERIFY(QFile::link(real + QStringLiteral("/projects/job.plist"),
                            real + QStringLiteral("/alias.plist")));
        QVERIFY(QFile::link(real + QStringLiteral("/alias.plist"),
                            real + QStringLiteral("/alias2.plist")));
        QVERIFY(QFile::link(real + QStringLiteral("/projects"), real + QStringLiteral("/linked")));

        const auto pathOf = [](const QString &url) {
            auto action = Action::make(ActionKind::load);
            action->url = url;
            return actionDictionary(*action, std::nullopt).value(QStringLiteral("path")).toString();
        };
        QCOMPARE(pathOf(real + QStringLiteral("/alias2.plist")),
                 real + QStringLiteral("/projects/job.plist"));
        QCOMPARE(pathOf(real + QStringLiteral("/projects/job.plist")),
                 real + QStringLiteral("/projects/job.plist"));
        // A file that does not exist yet: the links of its folder are resolved.
        QCOMPARE(pathOf(real + QStringLiteral("/linked/new.plist")),
                 real + QStringLiteral("/projects/new.plist"));
        QCOMPARE(pathOf(QStringLiteral("/nonexistent/x.plist")),
                 QStringLiteral("/nonexistent/x.plist"));
    }

    void errorDictionariesBecomeOneAlert_data() {
        QTest::addColumn<PlistDict>("error");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("informative");
        QTest::addColumn<bool>("resetsLog");
        const QString domain = Action::errorDomain();
        const auto own = [&domain](const PlistValue &code) {
            return errorDict({{QStringLiteral("domain"), domain}, {QStringLiteral("code"), code}});
        };
        QTest::newRow("1") << own(1) << Localize::couldNotEstablishCommunicationWithHelperTool()
                           << Localize::pleaseTryAgain() << false;
        QTest::newRow("4") << own(4)
                           << Localize::theItemCouldntBeAddedOrRemovedBecauseOfAnUnknownError()
                           << Localize::pleaseTryAgain() << false;
        QTest::newRow("5") << own(5)
                           << Localize::theItemCouldntBeAddedOrRemovedBecauseOfAnUnknownError()
                           << Localize::renameTheItemAndTryAgain() << false;
        QTest::newRow("7") << own(7) << Localize::anUnknownErrorOccurredWhenFetchingTheLog()
                           << Localize::pleaseTryAgain() << true;
        QTest::newRow("9") << own(9) << Localize::anUnknownErrorOccurred() + QStringLiteral(" (9)")
                           << Localize::pleaseTryAgain() << false;
        QTest::newRow("text code") << own(QStringLiteral("4")) << Localize::anUnknownErrorOccurred()
                                   << Localize::pleaseTryAgain() << false;
        QTest::newRow("real code") << own(4.0) << Localize::anUnknownErrorOccurred()
                                   << Localize::pleaseTryAgain() << false;
        QTest::newRow("no domain")
            << errorDict({{QStringLiteral("code"), 4}}) << Localize::anUnknownErrorOccurred()
            << Localize::pleaseTryAgain() << false;
        QTest::newRow("other domain")
            << errorDict({{QStringLiteral("domain"), QStringLiteral("NSPOSIXErrorDomain")},
                          {QStringLiteral("code"), 13},
                          {QStringLiteral("description"), QStringLiteral("Permission denied")},
                          {QStringLiteral("suggestion"), QStringLiteral("Ask an administrator.")}})
            << QStringLiteral("Permission denied") << QStringLiteral("Ask an administrator.")
            << false;
        QTest::newRow("other domain without texts")
            << errorDict({{QStringLiteral("domain"), QStringLiteral("NSPOSIXErrorDomain")},
                          {QStringLiteral("code"), 13},
                          {QStringLiteral("description"), QStringLiteral("Permission denied")}})
            << Localize::anUnknownErrorOccurred() + QStringLiteral(" (13)")
            << Localize::pleaseTryAgain() << false;
        // The helper's own domain never takes its texts from the dictionary.
        QTest::newRow("own domain with texts")
            << errorDict({{QStringLiteral("domain"), domain},
                          {QStringLiteral("code"), 1},
                          {QStringLiteral("description"), QStringLiteral("ignored")},
                          {QStringLiteral("suggestion"), QStringLiteral("ignored")}})
            << Localize::couldNotEstablishCommunicationWithHelperTool()
            << Localize::pleaseTryAgain() << false;
    }

    void errorDictionariesBecomeOneAlert() {
        QFETCH(PlistDict, error);
        QFETCH(QString, message);
        QFETCH(QString, informative);
        QFETCH(bool, resetsLog);
        RecordingInteraction interaction;
        RecordingDelegate delegate;
        ActionController controller(noHelpers());
        controller.setDelegate(&delegate);
        controller.presentErrorDictionary(error);
        QCOMPARE(interaction.alerts.size(), 1);
        QCOMPARE(interaction.alerts.constFirst().first, message);
        QCOMPARE(interaction.alerts.constFirst().second, informative);
        QCOMPARE(delegate.logResetCount, resetsLog ? 1 : 0);
    }

    void anErrorReplyShowsItsAlertAndEndsTheSavingState() {
        RecordingInteraction interaction;
        RecordingDelegate delegate;
        ActionController controller(noHelpers());
        controller.setDelegate(&delegate);
        const PlistDict reply{
            {QStringLiteral("error"), actionErrorDictionary(Action::ErrorCode::cantRemove)}};

        auto quiet = Action::make(ActionKind::remove);
        quiet->presentError = false;
        quiet->cleanUp = false;
        controller.handleReply(reply, quiet, false);
        QVERIFY(interaction.alerts.isEmpty());
        QCOMPARE(delegate.endSavingCount, 0);

        auto loud = Action::make(ActionKind::remove);
        controller.handleReply(reply, loud, false);
        QCOMPARE(interaction.alerts.size(), 1);
        QCOMPARE(delegate.endSavingCount, 1);
        // A failed removal leaves the selection alone.
        QCOMPARE(delegate.clearCount, 0);
        QCOMPARE(delegate.reloadCount, 0);
    }

    void repliesOfRequestsThatAreGoneDoNothing() {
        RecordingInteraction interaction;
        RecordingDelegate delegate;
        ActionController controller(noHelpers());
        controller.setDelegate(&delegate);
        WeakAction gone;
        {
            auto action = Action::make(ActionKind::remove);
            gone = action;
        }
        controller.handleReply(
            {{QStringLiteral("error"), actionErrorDictionary(Action::ErrorCode::cantRemove)}}, gone,
            false);
        controller.handleReply({{QStringLiteral("test"), QStringLiteral("output")}}, gone, false);
        controller.handleReply({}, gone, true);
        QVERIFY(interaction.alerts.isEmpty());
        QCOMPARE(delegate.endSavingCount + delegate.reloadCount + delegate.clearCount, 0);
        QVERIFY(delegate.testOutputs.isEmpty());
    }

    void successfulRepliesActByKind() {
        RecordingInteraction interaction;
        RecordingDelegate delegate;
        ActionController controller(noHelpers());
        controller.setDelegate(&delegate);
        Bindings::shared().reset();

        auto remove = Action::make(ActionKind::remove);
        controller.handleReply({}, remove, false);
        QCOMPARE(delegate.endSavingCount, 1);
        QCOMPARE(delegate.reloadCount, 1);
        QCOMPARE(delegate.clearCount, 1);
        QVERIFY(Bindings::shared().isLocked());

        // Without the editor nothing is reloaded; a removal still clears the selection.
        delegate.isEditorOpen = false;
        controller.handleReply({}, remove, false);
        QCOMPARE(delegate.reloadCount, 1);
        QCOMPARE(delegate.clearCount, 2);

        // Test and log replies go to their views; unexpected shapes are ignored.
        auto test = Action::make(ActionKind::test);
        controller.handleReply({{QStringLiteral("test"), QStringLiteral("hello\n")}}, test, false);
        controller.handleReply({{QStringLiteral("test"), 3}}, test, false);
        QCOMPARE(delegate.testOutputs, QStringList{QStringLiteral("hello\n")});
        auto log = Action::make(ActionKind::log);
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(1700000000500, QTimeZone::utc());
        controller.handleReply(
            {{QStringLiteral("logQuery"), LogEntries::toValue({{when, QStringLiteral("line")}})}},
            log, false);
        controller.handleReply({{QStringLiteral("logQuery"),
                                 PlistArray{PlistValue(PlistDict{
                                     {QStringLiteral("not a date"), QStringLiteral("x")}})}}},
                               log, false);
        QCOMPARE(delegate.logReplies.size(), 1);
        QCOMPARE(delegate.logReplies.constFirst(),
                 (QList<LogEntry>{{when, QStringLiteral("line")}}));
        QVERIFY(interaction.alerts.isEmpty());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestAction)
#include "test_action.moc"
