#include "actions/actioncontroller.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "store/editortestsupport.h"
#include "store/jobeditor.h"
#include "store/newscript.h"
#include "store/revisioncontroller.h"
#include "support/const.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Vandra;

namespace {

// An editor whose requests would go nowhere: a new job is made in memory only.
struct Rig {
    TestRoot root;
    ScriptedAnswers answers;
    ActionController controller{ActionController::Setup{}};
    RevisionController revisions;
    JobEditor editor{controller, revisions};
};

} // namespace

class TestNewScript : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theRunCommandNamesTheInterpreterAndQuotesAPathWithASpace_data() {
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("run");
        QTest::newRow("bash") << s("#!/bin/bash") << s("/home/me/backup.sh")
                              << s("/bin/bash /home/me/backup.sh");
        QTest::newRow("space") << s("#!/bin/bash") << s("/home/me/My Scripts/backup.sh")
                               << s("/bin/bash \"/home/me/My Scripts/backup.sh\"");
        QTest::newRow("sh") << s("#!/bin/sh") << s("/a.sh") << s("/bin/sh /a.sh");
        QTest::newRow("zsh") << s("#!/bin/zsh") << s("/a") << s("/bin/zsh /a");
        QTest::newRow("python") << s("#!/usr/bin/env python3") << s("/a.py")
                                << Const::Command::python + s(" /a.py");
        QTest::newRow("perl") << s("#!/usr/bin/perl -w") << s("/a")
                              << Const::Command::perl + s(" /a");
        QTest::newRow("ruby") << s("#!/usr/bin/ruby") << s("/a") << Const::Command::ruby + s(" /a");
        QTest::newRow("php") << s("<?php") << s("/a") << Const::Command::php + s(" /a");
        QTest::newRow("swift") << s("#!/usr/bin/swift") << s("/a")
                               << Const::Command::swift + s(" /a");
        QTest::newRow("no interpreter line")
            << s("echo hi") << s("/a.py") << Const::Command::shell + s(" /a.py");
    }
    void theRunCommandNamesTheInterpreterAndQuotesAPathWithASpace() {
        QFETCH(QString, firstLine);
        QFETCH(QString, path);
        QFETCH(QString, run);
        QCOMPARE(NewScript::runCommand(NewScript::syntaxOf(firstLine + u'\n'), path), run);
    }

    void savingWritesAnExecutableScriptThenMakesTheJob() {
        Rig rig;
        const QString folder = NewScript::scriptsFolder();
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(folder.startsWith(rig.root.path()));
        const QString path = folder + s("/nightly backup.py");
        rig.answers.savePaths = {path};
        const QString text = s("#!/usr/bin/env python3\nprint('é')\n");
        const JobPtr job = NewScript::saveScript(rig.editor, text, s("nightly backup"));
        QVERIFY(job);
        QCOMPARE(rig.answers.panels.size(), 1);
        QCOMPARE(rig.answers.panels.first().directory, folder);
        QCOMPARE(rig.answers.panels.first().proposedName, s("nightly backup"));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text.toUtf8());
        QVERIFY(file.permissions() & QFileDevice::ExeOwner);
        QCOMPARE(job->label, s("nightly backup"));
        QCOMPARE(job->run(), Const::Command::python + s(" \"") + path + u'"');
        QVERIFY(job->isNewFile());
        QCOMPARE(JobList::shared().currentJob(), job);
        QVERIFY(Bindings::shared().isEdited());
    }

    void aScriptWithoutAnInterpreterLineIsNotMadeExecutable() {
        Rig rig;
        const QString path = rig.root.path(s("notes.sh"));
        QVERIFY(NewScript::save(rig.editor, s("echo hi\n"), path));
        QVERIFY(!(QFile(path).permissions() & QFileDevice::ExeOwner));
    }

    void aFailedWriteLeavesNoJobAndSaysWhy() {
        Rig rig;
        const QString path = rig.root.path(s("missing folder/backup.sh"));
        QVERIFY(!NewScript::save(rig.editor, NewScript::initialText(), path));
        QVERIFY(!QFile::exists(path));
        QVERIFY(JobList::shared().jobs().isEmpty());
        QVERIFY(!JobList::shared().currentJob());
        QVERIFY(!Bindings::shared().isEdited());
        QCOMPARE(rig.answers.alerts.size(), 1);
        QCOMPARE(rig.answers.alerts.first().message,
                 s("The document “backup.sh” could not be saved."));
        QVERIFY(!rig.answers.alerts.first().informativeText.isEmpty());
    }

    void aCancelledPanelWritesNothing() {
        Rig rig;
        QVERIFY(!NewScript::saveScript(rig.editor, NewScript::initialText(), s("x")));
        QVERIFY(QDir(NewScript::scriptsFolder()).isEmpty());
        QVERIFY(JobList::shared().jobs().isEmpty());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestNewScript)
#include "test_newscript.moc"
