#include "common/testmain.h"
#include "common/testroot.h"
#include "platform/autostart.h"
#include "store/agentswitch.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/userdefaultskeys.h"

#include <QFile>
#include <QTest>

using namespace Vandra;

namespace {

QString userEntry() {
    return Locations::shared().userAutostart() + u'/' + Const::agent + QStringLiteral(".desktop");
}

// An executable file standing in for the agent's program.
QString makeProgram(const TestRoot &root, const QString &relative) {
    const QString file = root.write(relative, "#!/bin/sh\n");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return file;
}

} // namespace

// The agent's login item: only a program that is there is started at login.
class TestAgentSwitch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void anAgentThatIsThereIsRegistered() {
        TestRoot root;
        const QString program = makeProgram(root, QStringLiteral("bin/vandra-agent"));
        AgentSwitch::apply(program);
        const std::optional<AutostartEntry> entry = Autostart::userEntry(Const::agent);
        QVERIFY(entry);
        QCOMPARE(entry->program, program);
        QVERIFY(entry->startsAtLogin());

        AgentSwitch::toggle(program);
        QVERIFY(!QFile::exists(userEntry()));
    }

    void aMissingAgentIsNeverRegisteredAndItsEntryGoes() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::firstMajorVersionLaunch, false);
        const QString missing = root.path(QStringLiteral("bin/vandra-agent"));
        AgentSwitch::apply(missing);
        QVERIFY(!QFile::exists(userEntry()));

        // An entry of an earlier run that starts a program which is gone goes.
        QVERIFY(
            Autostart::setLoginItemEnabled(Const::agent, true, AgentSwitch::agentName(), missing));
        AgentSwitch::apply(missing);
        QVERIFY(!QFile::exists(userEntry()));

        // A file that is no program counts as missing.
        const QString plain = root.write(QStringLiteral("bin/not-a-program"), "text");
        QVERIFY(
            Autostart::setLoginItemEnabled(Const::agent, true, AgentSwitch::agentName(), plain));
        AgentSwitch::apply(missing);
        QVERIFY(!QFile::exists(userEntry()));
    }

    void anEntryOfAnAgentInstalledElsewhereStays() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::firstMajorVersionLaunch, false);
        const QString installed = makeProgram(root, QStringLiteral("opt/vandra-agent"));
        QVERIFY(Autostart::setLoginItemEnabled(Const::agent, true, AgentSwitch::agentName(),
                                               installed));
        // The machine's entry is never touched by the mend.
        const QString machine =
            root.write(QStringLiteral("etc/xdg/autostart/org.vandra.agent.desktop"),
                       "[Desktop Entry]\nName=Vandra Agent\nExec=/usr/bin/vandra-agent-gone\n");
        AgentSwitch::apply(root.path(QStringLiteral("bin/vandra-agent")));
        const std::optional<AutostartEntry> entry = Autostart::userEntry(Const::agent);
        QVERIFY(entry);
        QCOMPARE(entry->program, installed);
        QVERIFY(QFile::exists(machine));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestAgentSwitch)
#include "test_agentswitch.moc"
