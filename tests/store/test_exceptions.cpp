#include "common/jobrecords.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/joblist.h"
#include "platform/autostart.h"
#include "platform/plistcodec.h"
#include "store/agentswitch.h"
#include "store/exceptionscontroller.h"
#include "store/jobfiles.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/userdefaultskeys.h"

#include <QSignalSpy>
#include <QTest>

using namespace Vandra;

namespace {

QStringList labels(const QList<JobPtr> &jobs) {
    QStringList result;
    for (const JobPtr &job : jobs)
        result << job->label;
    return result;
}

PlistDict fileContent(const ExceptionsController &controller) {
    const PlistReadResult result = PlistCodec::readFile(controller.exceptionsURL());
    return result.value && result.value->dict() ? *result.value->dict() : PlistDict();
}

QString agentEntry() {
    return Locations::shared().userAutostart() + u'/' + Const::agent + QStringLiteral(".desktop");
}

} // namespace

class TestExceptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsTheJobsOfFoldersByLabel() {
        TestRoot root;
        JobList::shared().setJobs({jobRecord(Kind::userAgent, s("zeta")),
                                   jobRecord(Kind::loginItemSystemPreferences, s("Login")),
                                   jobRecord(Kind::loginItemApplication, s("app")),
                                   jobRecord(Kind::localDaemon, s("alpha10")),
                                   jobRecord(Kind::systemStartupItem, s("alpha9")),
                                   jobRecord(Kind::systemAgent, s("sys"))});
        ExceptionsController controller;
        QCOMPARE(labels(controller.content()),
                 (QStringList{s("alpha9"), s("alpha10"), s("sys"), s("zeta")}));

        // Every rebuild of the job list rebuilds the content.
        QSignalSpy changed(&controller, &ExceptionsController::contentChanged);
        JobList::shared().setJobs({jobRecord(Kind::localAgent, s("only"))});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(labels(controller.content()), QStringList{s("only")});
    }

    void uncheckingWritesLabelsInOrderWithoutDuplicates() {
        TestRoot root;
        JobList::shared().setJobs({jobRecord(Kind::userAgent, s("a")),
                                   jobRecord(Kind::userAgent, s("b")),
                                   jobRecord(Kind::userAgent, s("c"))});
        ExceptionsController controller;
        controller.setJobEnabled(2, false);
        controller.setJobEnabled(0, false);
        controller.setJobEnabled(2, false);
        const PlistDict expected{{Const::Key::exceptions, PlistValue(QStringList{s("c"), s("a")})}};
        QCOMPARE(fileContent(controller), expected);
        QVERIFY(!controller.isJobEnabled(0));
        QVERIFY(controller.isJobEnabled(1));

        controller.setJobEnabled(2, true);
        QCOMPARE(fileContent(controller),
                 (PlistDict{{Const::Key::exceptions, PlistValue(QStringList{s("a")})}}));
        QVERIFY(controller.isJobEnabled(2));

        // Rows without a job, and jobs without a label, change nothing.
        controller.setJobEnabled(7, false);
        JobList::shared().setJobs({jobRecord(Kind::userAgent, QString())});
        controller.setJobEnabled(0, false);
        QCOMPARE(controller.exceptions(), QStringList{s("a")});
    }

    void prefixesAreKeptAsRead() {
        TestRoot root;
        const QString file = Locations::shared().appSupport() + u'/' + Const::FileName::exceptions;
        JobFiles::writeDict(
            file, {{Const::Key::exceptionsPrefix, PlistValue(QStringList{s("com.apple.")})},
                   {Const::Key::exceptions, PlistValue(QStringList{s("old")})}});
        JobList::shared().setJobs(
            {jobRecord(Kind::userAgent, s("new")), jobRecord(Kind::userAgent, s("old"))});
        ExceptionsController controller;
        QCOMPARE(controller.exceptions(), QStringList{s("old")});
        QVERIFY(!controller.isJobEnabled(1));
        controller.setJobEnabled(0, false);
        QCOMPARE(
            fileContent(controller),
            (PlistDict{{Const::Key::exceptions, PlistValue(QStringList{s("old"), s("new")})},
                       {Const::Key::exceptionsPrefix, PlistValue(QStringList{s("com.apple.")})}}));
    }

    void aFileWithoutExceptionsChangesNothing() {
        TestRoot root;
        const QString file = Locations::shared().appSupport() + u'/' + Const::FileName::exceptions;
        JobFiles::writeDict(file, {{Const::Key::exceptionsPrefix, PlistValue(QStringList{s("x.")})},
                                   {Const::Key::exceptions, PlistValue(s("not a list"))}});
        ExceptionsController controller;
        QVERIFY(controller.exceptions().isEmpty());
        QVERIFY(!controller.exceptionsPrefix());

        JobFiles::writeDict(file, {{Const::Key::exceptions, PlistValue(QStringList{s("later")})}});
        controller.loadExceptions();
        QCOMPARE(controller.exceptions(), QStringList{s("later")});
        JobFiles::writeBytes(file, QByteArrayLiteral("broken"));
        controller.loadExceptions();
        QCOMPARE(controller.exceptions(), QStringList{s("later")});
    }

    void aFileThatCannotBeReadIsSetAsideBeforeAToggle() {
        TestRoot root;
        const QString file = Locations::shared().appSupport() + u'/' + Const::FileName::exceptions;
        const QByteArray unreadable = *PlistCodec::toXml(
            PlistValue(PlistDict{{Const::Key::exceptionsPrefix, PlistValue(QStringList{s("x.")})},
                                 {Const::Key::exceptions, PlistValue(s("not a list"))}}));
        JobFiles::writeBytes(file, unreadable);
        JobList::shared().setJobs({jobRecord(Kind::userAgent, s("a"))});
        ExceptionsController controller;
        controller.setJobEnabled(0, false);
        QCOMPARE(fileContent(controller),
                 (PlistDict{{Const::Key::exceptions, PlistValue(QStringList{s("a")})}}));
        QFile aside(file + s(".bak"));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), unreadable);

        // A file read well is replaced as usual.
        controller.loadExceptions();
        controller.setJobEnabled(0, true);
        QCOMPARE(fileContent(controller),
                 (PlistDict{{Const::Key::exceptions, PlistValue(QStringList())}}));
        QVERIFY(!QFile::exists(file + s(".bak2")));
    }

    void theAgentIsReRegisteredOnTheFirstLaunch() {
        TestRoot root;
        QVERIFY(Defaults::shared().firstMajorVersionLaunch());
        // A stale entry of an older version is replaced.
        JobFiles::writeBytes(agentEntry(), "[Desktop Entry]\nName=Old Agent\nExec=/old/agent\n");
        AgentSwitch::apply();
        QVERIFY(!Defaults::shared().firstMajorVersionLaunch());
        const std::optional<AutostartEntry> entry = Autostart::readEntry(agentEntry());
        QVERIFY(entry);
        QCOMPARE(entry->name, AgentSwitch::agentName());
        QCOMPARE(entry->program, AgentSwitch::agentProgram());
        QVERIFY(Autostart::isLoginItemEnabled(Const::agent));
    }

    void theAgentCheckBoxSwitchesTheLoginItem() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::firstMajorVersionLaunch, false);
        JobList::shared().setJobs({jobRecord(Kind::userAgent, s("a"))});
        ExceptionsController controller;
        QVERIFY(controller.isAgentRunning());
        QSignalSpy changed(&controller, &ExceptionsController::contentChanged);

        controller.runAgent();
        QVERIFY(!controller.isAgentRunning());
        QVERIFY(!QFile::exists(agentEntry()));
        QCOMPARE(changed.count(), 1);

        controller.runAgent();
        QVERIFY(controller.isAgentRunning());
        QVERIFY(Autostart::isLoginItemEnabled(Const::agent));

        // A machine-wide entry of the agent is hidden by the user's entry when switched off.
        JobFiles::writeBytes(Locations::shared().systemAutostart() + u'/' + Const::agent +
                                 s(".desktop"),
                             "[Desktop Entry]\nName=Vandra Agent\nExec=/usr/bin/vandra-agent\n");
        controller.runAgent();
        const std::optional<AutostartEntry> entry = Autostart::readEntry(agentEntry());
        QVERIFY(entry);
        QVERIFY(entry->isHidden);
        QVERIFY(!Autostart::isLoginItemEnabled(Const::agent));
        Defaults::shared().setValue(UserDefaultsKeys::showInternalHelpers, true);
        for (const AutostartEntry &item : Autostart::loginItems())
            QVERIFY(item.name != s("Vandra Agent"));
    }

    void deletingALoginItemHidesTheMachineEntry() {
        TestRoot root;
        const QString system = Locations::shared().systemAutostart();
        JobFiles::writeBytes(system + s("/tray.desktop"),
                             "[Desktop Entry]\nName=Tray\nExec=/usr/bin/tray\n");
        JobFiles::writeBytes(Locations::shared().userAutostart() + s("/mine.desktop"),
                             "[Desktop Entry]\nName=Mine\nExec=\"/opt/a \\\\\"b\\\\\"/run\"\n");
        QCOMPARE(Autostart::loginItems().size(), 2);
        QCOMPARE(Autostart::loginItems().at(0).program, s("/opt/a \"b\"/run"));

        QVERIFY(Autostart::deleteLoginItem(s("Tray")));
        QVERIFY(Autostart::deleteLoginItem(s("Mine")));
        QVERIFY(!Autostart::deleteLoginItem(s("Nobody")));
        QVERIFY(Autostart::loginItems().isEmpty());
        QVERIFY(QFile::exists(system + s("/tray.desktop")));
    }

    void anAgentProgramWithSpacesSurvivesTheEntry() {
        TestRoot root;
        const QString program = s("/opt/my apps/vandra \"agent\"");
        QVERIFY(
            Autostart::setLoginItemEnabled(s("org.example.tool"), true, s("Tool\nName"), program));
        const std::optional<AutostartEntry> entry = Autostart::readEntry(
            Locations::shared().userAutostart() + s("/org.example.tool.desktop"));
        QVERIFY(entry);
        QCOMPARE(entry->program, program);
        QCOMPARE(entry->name, s("Tool\nName"));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestExceptions)
#include "test_exceptions.moc"
