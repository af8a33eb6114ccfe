// Saving and applying jobs end to end: the editor sends its requests to the real helpers
// under a temporary root, and the tests look at the files, the loaded-state records, the
// revisions and the job list after the replies.

#include "common/testmain.h"
#include "model/scheduleexactness.h"
#include "platform/autostart.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/whenswitches.h"
#include "store/editortestsupport.h"
#include "store/jobfiles.h"
#include "support/const.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <signal.h>

using namespace Vandra;

namespace {

const QString programArguments = QStringLiteral("ProgramArguments");

QStringList folderEntries(Kind kind) {
    return QDir(EditorRig::folder(kind)).entryList(QDir::Files, QDir::Name);
}

bool hasRevision(EditorRig &rig, const QString &path) {
    return rig.revisions.revisions().contains(path);
}

} // namespace

class TestJobEditor final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newUserAgentIsSavedEnabledOrDisabled();
    void slashInLabelBecomesUnderscoreAndClashGetsUuid();
    void aBrokenLinkTakesItsNameForNewAndMovedFiles();
    void userAgentToLocalDaemonUnloadsThenMovesPrivileged();
    void localDaemonToUserAgentRemovesThenSavesThroughService();
    void enabledLocalAgentIsLoadedThroughServiceAfterPrivilegedSave();
    void unsentPrivilegedSaveKeepsOldFileAndRecordsNoRevision();
    void renameKeepsFileAndWritesNewLabel();
    void scheduleSurvivesASaveAndExportWithoutAWhenView();
    void duplicateIsNewUntilSaved();
    void duplicateOfAFileChangedOnDiskIsReported();
    void importReadsBinaryAndRefusesNonJob();
    void exportWritesTextAtomically();
    void deleteSendsRemovalForEachKind();
    void deleteLoginItemGoesThroughAutostart();
    void killedHelperLeavesEditorEditedAndUnlocked();
    void unsavedChangesAnswers();
    void emptyRunIsRefusedWithoutSaving();
    void successfulExitBoxReachesTheFile();
    void scheduleIsRebuiltOnlyAfterTheRowsAreEdited();
};

void TestJobEditor::newUserAgentIsSavedEnabledOrDisabled() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);

    rig.editor->newJob(QStringLiteral("com.example.on"), QStringLiteral("/bin/true"));
    QVERIFY(Bindings::shared().isEdited());
    QVERIFY(rig.saveAndWait());
    const QString on = EditorRig::file(Kind::userAgent, QStringLiteral("com.example.on.plist"));
    QVERIFY(QFileInfo::exists(on));
    QCOMPARE(EditorRig::loaded(false).value(QStringLiteral("com.example.on")), on);
    QVERIFY(!EditorRig::fileDict(on).contains(QStringLiteral("Disabled")));
    QVERIFY(hasRevision(rig, on));
    // The reply rebuilt the list and selected the saved file again.
    QVERIFY(!Bindings::shared().isEdited());
    QVERIFY(JobList::shared().jobWithUrl(on));
    QCOMPARE(JobList::shared().currentJob(), JobList::shared().jobWithUrl(on));
    QVERIFY(!JobList::shared().currentJob()->isNewFile());

    rig.editor->newJob(QStringLiteral("com.example.off"), QStringLiteral("/bin/true"));
    rig.editor->setEnabledChecked(false);
    QVERIFY(rig.saveAndWait());
    const QString off = EditorRig::file(Kind::userAgent, QStringLiteral("com.example.off.plist"));
    QCOMPARE(EditorRig::fileDict(off).value(QStringLiteral("Disabled")), PlistValue(true));
    QVERIFY(!EditorRig::loaded(false).contains(QStringLiteral("com.example.off")));
    QVERIFY(rig.answers.alerts.isEmpty());
}

void TestJobEditor::slashInLabelBecomesUnderscoreAndClashGetsUuid() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    const QString plain = EditorRig::file(Kind::userAgent, QStringLiteral("a_b.plist"));
    QVERIFY(rig.root
                .write(plain.mid(rig.root.path().size() + 1), "not a job"
                                                              "\n")
                .size());

    rig.editor->newJob(QStringLiteral("a/b"), QStringLiteral("/bin/true"));
    QVERIFY(rig.saveAndWait());
    const QStringList files = folderEntries(Kind::userAgent);
    QCOMPARE(files.size(), 2);
    const QString saved =
        files.constFirst() == QStringLiteral("a_b.plist") ? files.constLast() : files.constFirst();
    QVERIFY2(QRegularExpression(QStringLiteral("^a_b[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-"
                                               "[0-9A-F]{4}-[0-9A-F]{12}\\.plist$"))
                 .match(saved)
                 .hasMatch(),
             qPrintable(saved));
    QCOMPARE(
        EditorRig::fileDict(EditorRig::file(Kind::userAgent, saved)).value(QStringLiteral("Label")),
        PlistValue(QStringLiteral("a/b")));
    // The file that was there is untouched.
    QFile old(plain);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("not a job\n"));
}

void TestJobEditor::aBrokenLinkTakesItsNameForNewAndMovedFiles() {
    TestRoot root;
    const QString agents = EditorRig::folder(Kind::userAgent);
    const QString daemons = EditorRig::folder(Kind::localDaemon);
    QVERIFY(QDir().mkpath(agents) && QDir().mkpath(daemons));
    // Links to a job in a folder that is gone for now, say an unmounted disk.
    const QString gone = root.path(QStringLiteral("media/disk/com.example.linked.plist"));
    const QString linked = agents + QStringLiteral("/com.example.linked.plist");
    QVERIFY(QFile::link(gone, linked));
    QVERIFY(QFile::link(gone, daemons + QStringLiteral("/com.example.linked.plist")));

    const QString fresh = JobEditor::newFileName(agents, QStringLiteral("com.example.linked"));
    QVERIFY2(fresh != linked, qPrintable(fresh));
    QVERIFY(fresh.startsWith(agents + QStringLiteral("/com.example.linked")));
    const std::optional<QString> moved = JobEditor::movedFile(linked, Kind::localDaemon);
    QVERIFY(moved);
    QVERIFY2(*moved != daemons + QStringLiteral("/com.example.linked.plist"), qPrintable(*moved));
    QVERIFY(!QFileInfo::exists(gone));
}

void TestJobEditor::userAgentToLocalDaemonUnloadsThenMovesPrivileged() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    rig.editor->newJob(QStringLiteral("com.example.move"), QStringLiteral("/bin/true"));
    QVERIFY(rig.saveAndWait());
    const QString agent =
        EditorRig::file(Kind::userAgent, QStringLiteral("com.example.move.plist"));
    QVERIFY(EditorRig::loaded(false).contains(QStringLiteral("com.example.move")));

    QVERIFY(EditorRig::select(agent));
    rig.editor->setKind(Kind::localDaemon);
    QVERIFY(Bindings::shared().isUserNameEnabled());
    QVERIFY(rig.saveAndWait());

    const QString daemon =
        EditorRig::file(Kind::localDaemon, QStringLiteral("com.example.move.plist"));
    QVERIFY(!QFileInfo::exists(agent));
    QVERIFY(QFileInfo::exists(daemon));
    QVERIFY(!EditorRig::loaded(false).contains(QStringLiteral("com.example.move")));
    QVERIFY(EditorRig::history(false).constLast().startsWith(QStringLiteral("unload  ")));
    QCOMPARE(EditorRig::loaded(true).value(QStringLiteral("com.example.move")), daemon);
    QVERIFY(hasRevision(rig, daemon));
    QCOMPARE(JobList::shared().currentJob()->kind, Kind::localDaemon);
}

void TestJobEditor::localDaemonToUserAgentRemovesThenSavesThroughService() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    const QString daemon = JobFiles::writeJob(Kind::localDaemon, QStringLiteral("com.example.d"),
                                              {{QStringLiteral("Custom"), PlistValue(qint64(7))}});
    QVERIFY(!daemon.isEmpty());
    QVERIFY(EditorRig::select(daemon));
    rig.editor->setKind(Kind::userAgent);
    QVERIFY(rig.saveAndWait());

    const QString agent = EditorRig::file(Kind::userAgent, QStringLiteral("com.example.d.plist"));
    QVERIFY(QFileInfo::exists(agent));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(daemon), 20000);
    QCOMPARE(EditorRig::loaded(false).value(QStringLiteral("com.example.d")), agent);
    // Keys the form does not know survive the move.
    QCOMPARE(EditorRig::fileDict(agent).value(QStringLiteral("Custom")), PlistValue(qint64(7)));
}

void TestJobEditor::enabledLocalAgentIsLoadedThroughServiceAfterPrivilegedSave() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    rig.editor->newJob(QStringLiteral("com.example.local"), QStringLiteral("/bin/true"));
    rig.editor->setKind(Kind::localAgent);
    QVERIFY(rig.saveAndWait());
    const QString file =
        EditorRig::file(Kind::localAgent, QStringLiteral("com.example.local.plist"));
    QVERIFY(QFileInfo::exists(file));
    // The privileged helper only writes; the agent is loaded in the user's session.
    QVERIFY(!EditorRig::loaded(true).contains(QStringLiteral("com.example.local")));
    QCOMPARE(EditorRig::loaded(false).value(QStringLiteral("com.example.local")), file);
    QVERIFY(hasRevision(rig, file));
}

void TestJobEditor::unsentPrivilegedSaveKeepsOldFileAndRecordsNoRevision() {
    EditorRig rig(false);
    QVERIFY(rig.serviceStarted);
    const QString agent = JobFiles::writeJob(Kind::userAgent, QStringLiteral("com.example.stay"));
    QVERIFY(EditorRig::select(agent));
    rig.editor->setKind(Kind::localDaemon);
    // The agent is unloaded first; the save to the privileged helper follows from the event
    // loop and is refused there.
    QVERIFY(rig.editor->save());
    QVERIFY(Bindings::shared().isSaving());
    QTRY_COMPARE(rig.answers.alerts.size(), 1);
    const JobPtr job = JobList::shared().currentJob();
    QCOMPARE(job->url, agent);
    QVERIFY(QFileInfo::exists(agent));
    QVERIFY(folderEntries(Kind::localDaemon).isEmpty());
    QVERIFY(!hasRevision(rig, agent));
    // Nothing is on its way, so the editor is free again with the edits kept.
    QVERIFY(!Bindings::shared().isSaving());
    QVERIFY(!Bindings::shared().isLocked());
    QVERIFY(Bindings::shared().isEdited());
}

void TestJobEditor::renameKeepsFileAndWritesNewLabel() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    rig.editor->newJob(QStringLiteral("com.example.old"), QStringLiteral("/bin/true"));
    QVERIFY(rig.saveAndWait());
    const QString file = EditorRig::file(Kind::userAgent, QStringLiteral("com.example.old.plist"));
    QVERIFY(EditorRig::select(file));
    rig.editor->setNameText(QStringLiteral("com.example.new"));
    QVERIFY(Bindings::shared().isEdited());
    QVERIFY(rig.saveAndWait());
    QCOMPARE(folderEntries(Kind::userAgent), QStringList{QStringLiteral("com.example.old.plist")});
    QCOMPARE(EditorRig::fileDict(file).value(QStringLiteral("Label")),
             PlistValue(QStringLiteral("com.example.new")));
    QCOMPARE(EditorRig::loaded(false).value(QStringLiteral("com.example.new")), file);
    QCOMPARE(JobList::shared().currentJob()->label, QStringLiteral("com.example.new"));
    const PlistValue revisions = rig.revisions.revisions().value(file);
    QVERIFY(revisions.array());
    QCOMPARE(revisions.array()->size(), 2);
}

void TestJobEditor::scheduleSurvivesASaveAndExportWithoutAWhenView() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    // In the order the writer puts them, so that the dictionaries compare equal.
    const PlistValue calendar(PlistArray{PlistValue(PlistDict{
        {QStringLiteral("Minute"), PlistValue(30)}, {QStringLiteral("Hour"), PlistValue(3)}})});
    const QString file = JobFiles::writeJob(Kind::userAgent, QStringLiteral("com.example.cron"),
                                            {{QStringLiteral("StartInterval"), PlistValue(3600)},
                                             {QStringLiteral("StartCalendarInterval"), calendar}});
    QVERIFY(EditorRig::select(file));
    rig.editor->setNameText(QStringLiteral("com.example.cron2"));
    QVERIFY(rig.saveAndWait());
    const PlistDict saved = EditorRig::fileDict(file);
    QCOMPARE(saved.value(QStringLiteral("Label")), PlistValue(QStringLiteral("com.example.cron2")));
    QCOMPARE(saved.value(QStringLiteral("StartInterval")), PlistValue(3600));
    QCOMPARE(saved.value(QStringLiteral("StartCalendarInterval")), calendar);
    // The revision is what the file got.
    const PlistValue revisions = rig.revisions.revisions().value(file);
    QVERIFY(revisions.array() && !revisions.array()->isEmpty());
    QCOMPARE(revisions.array()->constFirst().dict()->value(Const::Revision::plist),
             PlistValue(saved));

    const QString exported = rig.root.path(QStringLiteral("home/cron.plist"));
    QVERIFY(QDir().mkpath(QFileInfo(exported).path()));
    QVERIFY(EditorRig::select(file));
    QVERIFY(rig.editor->exportTo(exported));
    QCOMPARE(EditorRig::fileDict(exported).value(QStringLiteral("StartCalendarInterval")),
             calendar);
}

void TestJobEditor::duplicateIsNewUntilSaved() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    rig.editor->newJob(QStringLiteral("com.example.orig"), QStringLiteral("/bin/true"));
    // Nothing to copy while edits are pending.
    QVERIFY(!rig.editor->duplicate());
    QVERIFY(rig.saveAndWait());
    const QString file = EditorRig::file(Kind::userAgent, QStringLiteral("com.example.orig.plist"));
    QVERIFY(EditorRig::select(file));

    const JobPtr copy = rig.editor->duplicate();
    QVERIFY(copy);
    QCOMPARE(copy->label, QStringLiteral("com.example.orig copy"));
    QVERIFY(!copy->url);
    QVERIFY(copy->isNewFile());
    QCOMPARE(JobList::shared().jobs().constFirst(), copy);
    QCOMPARE(rig.editor->nameField(), QStringLiteral("com.example.orig copy"));
    QVERIFY(Bindings::shared().isEdited());
    QVERIFY(rig.saveAndWait());
    const QString saved =
        EditorRig::file(Kind::userAgent, QStringLiteral("com.example.orig copy.plist"));
    QCOMPARE(EditorRig::fileDict(saved).value(QStringLiteral("Label")),
             PlistValue(QStringLiteral("com.example.orig copy")));
    QVERIFY(QFileInfo::exists(file));
}

void TestJobEditor::duplicateOfAFileChangedOnDiskIsReported() {
    EditorRig rig;
    const QString file = JobFiles::writeJob(Kind::userAgent, QStringLiteral("com.example.gone"));
    QVERIFY(EditorRig::select(file));
    const qsizetype count = JobList::shared().jobs().size();

    QVERIFY(JobFiles::writeBytes(file, "no longer a property list"));
    QVERIFY(!rig.editor->duplicate());
    QCOMPARE(rig.answers.alerts.size(), 1);
    QVERIFY(rig.answers.alerts.constLast().message.contains(QStringLiteral("com.example.gone")));

    QVERIFY(QFile::remove(file));
    QVERIFY(!rig.editor->duplicate());
    QCOMPARE(rig.answers.alerts.size(), 2);
    QVERIFY(!rig.answers.alerts.constLast().informativeText.isEmpty());
    QCOMPARE(JobList::shared().jobs().size(), count);
    QVERIFY(!Bindings::shared().isEdited());
}

void TestJobEditor::importReadsBinaryAndRefusesNonJob() {
    EditorRig rig;
    const QString binary = rig.root.path(QStringLiteral("home/in.plist"));
    QDir().mkpath(QFileInfo(binary).path());
    {
        QFile out(binary);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(*PlistCodec::toBinary(PlistValue(
            PlistDict{{QStringLiteral("Label"), PlistValue(QStringLiteral("com.example.bin"))},
                      {programArguments, PlistValue(QStringList{QStringLiteral("/bin/echo")})}})));
    }
    rig.answers.openPaths = {binary};
    const JobPtr job = rig.editor->importAction();
    QVERIFY(job);
    QCOMPARE(job->label, QStringLiteral("com.example.bin"));
    QCOMPARE(job->kind, Kind::userAgent);
    QVERIFY(!job->url);
    QVERIFY(job->originalLabel.isEmpty());
    QCOMPARE(JobList::shared().currentJob(), job);
    QCOMPARE(rig.editor->runField(), QStringLiteral("/bin/echo"));
    QVERIFY(Bindings::shared().isEdited());

    Bindings::shared().setEdited(false);
    const qsizetype count = JobList::shared().jobs().size();
    const QString notJob =
        rig.root.write(QStringLiteral("home/list.plist"),
                       *PlistCodec::toXml(PlistValue(PlistArray{PlistValue(1)})));
    rig.answers.openPaths = {notJob};
    QVERIFY(!rig.editor->importAction());
    QCOMPARE(rig.answers.alerts.size(), 1);
    QVERIFY(rig.answers.alerts.constFirst().message.contains(QStringLiteral("list.plist")));
    QCOMPARE(JobList::shared().jobs().size(), count);
    QVERIFY(!Bindings::shared().isEdited());
}

void TestJobEditor::exportWritesTextAtomically() {
    EditorRig rig;
    rig.editor->newJob(QStringLiteral("com.example.ü"), QStringLiteral("/bin/true"));
    const QString target = rig.root.path(QStringLiteral("home/out.plist"));
    QDir().mkpath(QFileInfo(target).path());
    rig.answers.savePaths = {target};
    QVERIFY(rig.editor->exportAction());
    QCOMPARE(rig.answers.panels.constFirst().proposedName, QStringLiteral("com.example.ü"));
    QCOMPARE(rig.answers.panels.constFirst().directory, Locations::shared().home());
    QCOMPARE(EditorRig::fileDict(target).value(QStringLiteral("Label")),
             PlistValue(QStringLiteral("com.example.ü")));
    QVERIFY(QDir(QFileInfo(target).path()).entryList(QDir::Files).size() == 1);
    QVERIFY(rig.answers.alerts.isEmpty());
    // A place that cannot be written is reported, and nothing is left there.
    const QString unwritable = rig.root.path(QStringLiteral("missing/folder/out.plist"));
    QVERIFY(!rig.editor->exportTo(unwritable));
    QCOMPARE(rig.answers.alerts.size(), 1);
    QVERIFY(rig.answers.alerts.constFirst().message.contains(QStringLiteral("out.plist")));
    QVERIFY(!QFileInfo::exists(unwritable));

    // The job asked about is the one exported, whatever becomes current meanwhile.
    rig.editor->newJob(QStringLiteral("com.example.other"), QStringLiteral("/bin/true"));
    const JobPtr other = JobList::shared().currentJob();
    rig.editor->newJob(QStringLiteral("com.example.asked"), QStringLiteral("/bin/true"));
    const QString asked = rig.root.path(QStringLiteral("home/asked.plist"));
    rig.answers.savePaths = {asked};
    rig.answers.whileSavePanelIsOpen = [other] { JobList::shared().setCurrentJob(other); };
    QVERIFY(rig.editor->exportAction());
    QCOMPARE(EditorRig::fileDict(asked).value(QStringLiteral("Label")),
             PlistValue(QStringLiteral("com.example.asked")));
}

void TestJobEditor::deleteSendsRemovalForEachKind() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    for (Kind kind : {Kind::userAgent, Kind::localAgent, Kind::localDaemon}) {
        const QString label = QStringLiteral("com.example.del") + QString::number(int(kind));
        const QString file = JobFiles::writeJob(kind, label);
        QVERIFY(!file.isEmpty());
        QVERIFY(EditorRig::select(file));

        // Cancel keeps the file.
        rig.answers.buttons = {1};
        QVERIFY(!rig.editor->deleteAction());
        QVERIFY(QFileInfo::exists(file));

        QVERIFY(rig.editor->deleteAction());
        QVERIFY(rig.answers.alerts.constLast().message.contains(label));
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(file), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!JobList::shared().currentJob(), 20000);
        EditorRig::waitForTheList();
        QVERIFY(!JobList::shared().jobWithUrl(file));
    }
    // The local agent was unloaded in the user's session after the privileged removal.
    const QString localAgent =
        EditorRig::file(Kind::localAgent, QStringLiteral("com.example.del1.plist"));
    QTRY_VERIFY_WITH_TIMEOUT(
        EditorRig::history(false).contains(QStringLiteral("unload com.example.del1 ") + localAgent),
        20000);
}

void TestJobEditor::deleteLoginItemGoesThroughAutostart() {
    EditorRig rig;
    const QString entry =
        rig.root.write(QStringLiteral("home/.config/autostart/tool.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Tool\nExec=/usr/bin/tool\n");
    QVERIFY(!entry.isEmpty());
    QVERIFY(
        QFileInfo::exists(Locations::shared().userAutostart() + QStringLiteral("/tool.desktop")));

    auto item = std::make_shared<Job>();
    item->kind = Kind::loginItemSystemPreferences;
    item->label = QStringLiteral("Nothing");
    JobList::shared().setCurrentJob(item);
    QSignalSpy updates(&JobList::shared(), &JobList::jobsUpdated);
    QVERIFY(!rig.editor->deleteAction());
    QCOMPARE(updates.size(), 0);
    QVERIFY(QFileInfo::exists(entry));

    item->label = QStringLiteral("Tool");
    QVERIFY(rig.editor->deleteAction());
    QVERIFY(!QFileInfo::exists(entry));
    QTRY_COMPARE(updates.size(), 1);
    QCOMPARE(rig.answers.alerts.size(), 2);

    // A machine-wide item is hidden by an entry of the user's; where that cannot be
    // written, the item stays and the user is told.
    const QString machine =
        Locations::shared().systemAutostart() + QStringLiteral("/daemon.desktop");
    QVERIFY(JobFiles::writeBytes(machine, "[Desktop Entry]\nType=Application\nName=Daemon\n"
                                          "Exec=/usr/bin/daemon\n"));
    QVERIFY(QDir(Locations::shared().userAutostart()).removeRecursively());
    QVERIFY(JobFiles::writeBytes(Locations::shared().userAutostart(), "a file, not a folder"));
    item->label = QStringLiteral("Daemon");
    QVERIFY(!rig.editor->deleteAction());
    QCOMPARE(rig.answers.alerts.size(), 4);
    QVERIFY(rig.answers.alerts.constLast().message.contains(QStringLiteral("Daemon")));
    QCOMPARE(updates.size(), 1);
}

void TestJobEditor::killedHelperLeavesEditorEditedAndUnlocked() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    rig.editor->newJob(QStringLiteral("com.example.kill"), QStringLiteral("/bin/true"));
    const qint64 pid = rig.service.process().processId();
    QVERIFY(pid > 0);
    ::kill(pid_t(pid), SIGSTOP);
    QVERIFY(rig.editor->save());
    QVERIFY(Bindings::shared().isLocked());
    QVERIFY(Bindings::shared().isSaving());
    QTest::qWait(50);
    ::kill(pid_t(pid), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!Bindings::shared().isSaving(), 20000);
    QVERIFY(Bindings::shared().isEdited());
    QVERIFY(!Bindings::shared().isLocked());
    QVERIFY(folderEntries(Kind::userAgent).isEmpty());
    QCOMPARE(rig.answers.alerts.size(), 1);
    // The job stays the current one with its edits.
    QCOMPARE(JobList::shared().currentJob()->label, QStringLiteral("com.example.kill"));
}

void TestJobEditor::unsavedChangesAnswers() {
    EditorRig rig;
    QSignalSpy quits(rig.editor.get(), &JobEditor::quitRequested);
    const JobPtr job =
        rig.editor->newJob(QStringLiteral("com.example.u"), QStringLiteral("/bin/true"));

    // First button while quitting: the quit is called off, the edits stay.
    rig.editor->setQuitting(true);
    rig.answers.buttons = {0};
    QCOMPARE(rig.editor->unsavedChangesAlert(), JobEditor::UnsavedAnswer::keepEditing);
    QVERIFY(!rig.editor->isQuitting());
    QVERIFY(Bindings::shared().isEdited());
    QCOMPARE(JobList::shared().currentJob(), job);
    QCOMPARE(quits.size(), 0);

    // Discard while quitting: no longer edited, and the program may quit.
    rig.editor->setQuitting(true);
    rig.answers.buttons = {1};
    QCOMPARE(rig.editor->unsavedChangesAlert(), JobEditor::UnsavedAnswer::quit);
    QVERIFY(!Bindings::shared().isEdited());
    QCOMPARE(quits.size(), 1);

    // Discard otherwise: the job is dropped and the list read again.
    rig.editor->setQuitting(false);
    Bindings::shared().setEdited(true);
    rig.answers.buttons = {1};
    QCOMPARE(rig.editor->unsavedChangesAlert(), JobEditor::UnsavedAnswer::discarded);
    EditorRig::waitForTheList();
    QVERIFY(!JobList::shared().currentJob());
    QVERIFY(!Bindings::shared().isEdited());
    QVERIFY(Bindings::shared().isLocked());
    QVERIFY(!JobList::shared().jobs().contains(job));
    QVERIFY(rig.editor->nameField().isEmpty());
}

void TestJobEditor::emptyRunIsRefusedWithoutSaving() {
    EditorRig rig;
    rig.editor->newJob(QStringLiteral("com.example.empty"), QString());
    QVERIFY(!rig.editor->save());
    QCOMPARE(rig.answers.alerts.size(), 1);
    QVERIFY(!Bindings::shared().isSaving());
    QVERIFY(!Bindings::shared().isLocked());
    QVERIFY(folderEntries(Kind::userAgent).isEmpty());
}

void TestJobEditor::successfulExitBoxReachesTheFile() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    rig.editor->newJob(QStringLiteral("com.example.exit"), QStringLiteral("/bin/true"));
    JobList::shared().currentJob()->setKeepAlive(true);
    // Unticking the box must reach the file: launch again only after a failure.
    rig.editor->setBox(JobEditor::Box::successfulExit, false);
    rig.editor->setBox(JobEditor::Box::lowPriorityIO, false);
    rig.editor->setFieldText(JobEditor::Field::workingDirectory, QStringLiteral("/tmp"));
    QVERIFY(rig.saveAndWait());
    const PlistDict dict = EditorRig::fileDict(
        EditorRig::file(Kind::userAgent, QStringLiteral("com.example.exit.plist")));
    const PlistValue keepAlive = dict.value(QStringLiteral("KeepAlive"));
    QVERIFY2(keepAlive.dict(), "KeepAlive is not a dictionary");
    QCOMPARE(keepAlive.dict()->value(QStringLiteral("SuccessfulExit")), PlistValue(false));
    QCOMPARE(dict.value(QStringLiteral("LowPriorityIO")), PlistValue(false));
    QCOMPARE(dict.value(QStringLiteral("WorkingDirectory")), PlistValue(QStringLiteral("/tmp")));
}

void TestJobEditor::scheduleIsRebuiltOnlyAfterTheRowsAreEdited() {
    EditorRig rig;
    QVERIFY(rig.serviceStarted);
    // Noon every day of January: the rows can show only "every day at noon".
    const PlistValue january(PlistDict{{QStringLiteral("Month"), PlistValue(1)},
                                       {QStringLiteral("Hour"), PlistValue(12)},
                                       {QStringLiteral("Minute"), PlistValue(0)}});
    const QString file = JobFiles::writeJob(Kind::userAgent, QStringLiteral("com.example.jan"),
                                            {{QStringLiteral("StartCalendarInterval"), january},
                                             {QStringLiteral("StartInterval"), PlistValue(3)}});
    QVERIFY(EditorRig::select(file));
    WhenSwitches &when = rig.editor->whenSwitches();
    when.load();
    QCOMPARE(ScheduleExactness::inexactEntries(*JobList::shared().currentJob()->plist).size(), 2);
    rig.editor->setBox(JobEditor::Box::lowPriorityIO, true);
    QVERIFY(rig.saveAndWait());
    PlistDict saved = EditorRig::fileDict(file);
    QCOMPARE(saved.value(QStringLiteral("StartCalendarInterval")), january);
    QCOMPARE(saved.value(QStringLiteral("StartInterval")), PlistValue(3));

    QVERIFY(EditorRig::select(file));
    when.update();
    RuleEditorModel &rules = rig.editor->ruleEditor();
    QVERIFY(rules.addRow(Scheduled::Kind::everyHour));
    QVERIFY(rules.setValue(rules.rowCount() - 1, 1, RuleTextField{QStringLiteral("5")}));
    QVERIFY(Bindings::shared().isEdited());
    QVERIFY(rig.saveAndWait());
    saved = EditorRig::fileDict(file);
    const PlistValue calendar = saved.value(QStringLiteral("StartCalendarInterval"));
    QVERIFY(calendar.array());
    QCOMPARE(calendar.array()->size(), 2);
    QCOMPARE(calendar.array()->first(),
             PlistValue(PlistDict{{QStringLiteral("Minute"), PlistValue(0)},
                                  {QStringLiteral("Hour"), PlistValue(12)}}));
    QCOMPARE(calendar.array()->last(),
             PlistValue(PlistDict{{QStringLiteral("Minute"), PlistValue(5)}}));
    QCOMPARE(saved.value(QStringLiteral("StartInterval")), PlistValue(10));
}

VANDRA_GUILESS_TEST_MAIN(TestJobEditor)
#include "test_jobeditor.moc"
