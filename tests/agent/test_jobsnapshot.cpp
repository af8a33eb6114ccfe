#include "agent/agentexceptions.h"
#include "agent/jobsnapshot.h"
#include "agent/jobtext.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "support/const.h"

#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace Vandra;

namespace {

using Type = JobChange::Type;

QString writeFile(const QString &file, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    out.write(bytes);
    return file;
}

QString userAgents() {
    return *Kinds::url(Kind::userAgent);
}

QString writeJob(const QString &name, const QString &label, const QString &program,
                 bool isDisabled = false) {
    return writeFile(userAgents() + u'/' + name, jobText(label, program, isDisabled));
}

// Each change as "type label", in the order given.
QStringList described(const QList<JobChange> &changes) {
    static const QStringList names = {s("added"), s("changed"), s("removed"), s("enabled"),
                                      s("disabled")};
    QStringList result;
    for (const JobChange &change : changes)
        result << names.at(int(change.type)) + u' ' + change.label;
    return result;
}

} // namespace

// The agent's record of the job folders, and what it tells apart.
class TestJobSnapshot : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tellsEveryKindOfChangeApart() {
        TestRoot root;
        writeJob(s("a.plist"), s("a"), s("/bin/a"));
        writeJob(s("b.plist"), s("b"), s("/bin/b"));
        writeJob(s("c.plist"), s("c"), s("/bin/c"), true);
        const QString moved = writeJob(s("d.plist"), s("d"), s("/bin/d"));
        writeJob(s("gone.plist"), s("gone"), s("/bin/gone"));
        const JobSnapshot before = JobSnapshot::scan();
        QCOMPARE(before.entries().size(), 5);
        QVERIFY(before.changesSince(JobSnapshot::scan()).isEmpty());

        writeJob(s("a.plist"), s("a"), s("/bin/a2"));
        writeJob(s("b.plist"), s("b"), s("/bin/b"), true);
        writeJob(s("c.plist"), s("c"), s("/bin/c"));
        QVERIFY(QFile::rename(moved, userAgents() + s("/renamed.plist")));
        QVERIFY(QFile::remove(userAgents() + s("/gone.plist")));
        writeJob(s("new.plist"), s("New"), s("/bin/new"));
        const QList<JobChange> changes = JobSnapshot::scan().changesSince(before);
        QCOMPARE(described(changes), (QStringList{s("changed a"), s("disabled b"), s("enabled c"),
                                                  s("removed gone"), s("added New")}));
        QCOMPARE(changes.at(4).kind, Kind::userAgent);
        QCOMPARE(changes.at(4).path, userAgents() + s("/new.plist"));
        QCOMPARE(changes.at(3).path, userAgents() + s("/gone.plist"));
    }

    void aRenamedFileWithNewContentIsAChange() {
        TestRoot root;
        const QString file = writeJob(s("x.plist"), s("x"), s("/bin/x"));
        const JobSnapshot before = JobSnapshot::scan();
        QVERIFY(QFile::remove(file));
        writeJob(s("y.plist"), s("x"), s("/bin/other"));
        QCOMPARE(described(JobSnapshot::scan().changesSince(before)), QStringList{s("changed x")});
    }

    void aStartupItemChangesWithItsScript() {
        TestRoot root;
        const QString folder = *Kinds::url(Kind::localStartupItem) + s("/Web");
        writeFile(folder + u'/' + Const::FileName::startupParameters,
                  "<plist version=\"1.0\"><dict><key>Description</key><string>Web server"
                  "</string></dict></plist>");
        writeFile(folder + s("/Web"), "#!/bin/sh\n");
        const JobSnapshot before = JobSnapshot::scan();
        QCOMPARE(before.entries().size(), 1);
        writeFile(folder + s("/Web"), "#!/bin/sh\nexit 1\n");
        QCOMPARE(described(JobSnapshot::scan().changesSince(before)),
                 QStringList{s("changed Web server")});
    }

    void aSnapshotReadsBackAsWritten() {
        TestRoot root;
        writeJob(s("a.plist"), s("a\u0001 odd"), s("/bin/a"), true);
        const JobSnapshot snapshot = JobSnapshot::scan();
        const QString file = root.path(s("snapshot.plist"));
        QVERIFY(snapshot.write(file));
        QCOMPARE(JobSnapshot::read(file), snapshot);

        writeFile(file, "not a property list");
        QVERIFY(!JobSnapshot::read(file));
        QVERIFY(!JobSnapshot::read(root.path(s("missing.plist"))));
    }

    void aFolderThatCannotBeListedKeepsItsJobs() {
        if (::geteuid() == 0)
            QSKIP("the administrator lists every folder");
        TestRoot root;
        writeJob(s("a.plist"), s("a"), s("/bin/a"));
        const JobSnapshot before = JobSnapshot::scan();
        QVERIFY(QFile::setPermissions(userAgents(), QFile::WriteOwner));
        const JobSnapshot after = JobSnapshot::scan(before);
        QFile::setPermissions(userAgents(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(after, before);
    }

    void exceptionsLeaveOutLabelsAndPrefixes() {
        TestRoot root;
        const QString file = root.path(s("support/") + Const::FileName::exceptions);
        AgentExceptions exceptions(file);
        QVERIFY(!exceptions.isExcepted(s("a")));

        writeFile(file, "<plist version=\"1.0\"><dict>"
                        "<key>exceptions</key><array><string>quiet</string></array>"
                        "<key>exceptionsPrefix</key><array><string>org.muted.</string>"
                        "<string></string></array></dict></plist>");
        QTRY_VERIFY(exceptions.isExcepted(s("quiet")));
        QVERIFY(exceptions.isExcepted(s("org.muted.job")));
        // Neither a longer label nor the empty prefix leaves a job out.
        QVERIFY(!exceptions.isExcepted(s("quieter")));
        QVERIFY(!exceptions.isExcepted(s("org.loud")));

        // A file being replaced by something unreadable keeps what was read.
        writeFile(file, "broken");
        exceptions.reload();
        QVERIFY(exceptions.isExcepted(s("quiet")));
        QVERIFY(QFile::remove(file));
        QTRY_VERIFY(!exceptions.isExcepted(s("quiet")));
        QVERIFY(!exceptions.isExcepted(s("org.muted.job")));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJobSnapshot)
#include "test_jobsnapshot.moc"
