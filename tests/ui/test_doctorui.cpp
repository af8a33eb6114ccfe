// The job doctor and the changes of a save in the window: the badges of the modes, the
// Diagnostics page and its fixes, the Changes tab, the Save button's tool tip and the save
// confirmation, driven by object name with the real helpers behind the editor.

#include "actions/action.h"
#include "actions/jobstatussource.h"
#include "common/testmain.h"
#include "common/text.h"
#include "model/jobreader.h"
#include "model/jobstatus.h"
#include "store/editortestsupport.h"
#include "store/jobfiles.h"
#include "store/rawplisteditor.h"
#include "support/userdefaultskeys.h"
#include "ui/accessibilitywalk.h"
#include "ui/common/icons.h"
#include "ui/common/jobhealth.h"
#include "ui/common/severitybadge.h"
#include "ui/editor/changesview.h"
#include "ui/editor/detaileditor.h"
#include "ui/editor/diagnosticspage.h"
#include "ui/editor/infoview.h"
#include "ui/modes/modeview.h"
#include "ui/modes/roles.h"
#include "ui/window/doctorscreenshots.h"
#include "ui/window/mainwindow.h"
#include "windowparts.h"

#include <QAbstractItemView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <Qsci/qsciscintilla.h>

using namespace Vandra;

namespace {

// The first index of model under parent, in column, whose row stands for the file path.
QModelIndex findRow(const QAbstractItemModel &model, const QString &path, int column,
                    const QModelIndex &parent = {}) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, column, parent);
        if (index.data(Roles::Url).toString() == path)
            return index;
        if (const QModelIndex inner = findRow(model, path, column, model.index(row, 0, parent));
            inner.isValid())
            return inner;
    }
    return {};
}

// Writes a job file in the layout a save writes, so that an unedited save changes nothing.
QString writeJob(const QString &label, PlistDict dict) {
    dict.insert(QStringLiteral("Label"), PlistValue(label));
    const QString path = JobFiles::folderOf(Kind::userAgent) + u'/' + label + s(".plist");
    JobFiles::writeBytes(path, JobReader::plistText(dict)->toUtf8());
    return path;
}

// The Severity role of index; -1 when it holds none.
int severityIn(const QModelIndex &index) {
    const QVariant value = index.data(Roles::Severity);
    return value.isValid() ? value.toInt() : -1;
}

constexpr int warning = int(Finding::Severity::warning);

} // namespace

class TestDoctorUi final : public QObject {
    Q_OBJECT

private:
    // The helpers and a shown window over a machine with a healthy job and one whose
    // interval is shorter than launchd allows.
    struct Fixture {
        EditorRig rig;
        WindowParts parts{*rig.controller, rig.revisions};
        std::unique_ptr<MainWindow> window;
        QString healthy;
        QString tooOften;

        Fixture() {
            // The tool and its interpreter, on the machine the jobs belong to.
            for (const char *program : {"usr/local/bin/tool", "bin/sh"}) {
                const QString path =
                    rig.root.write(QString::fromLatin1(program), "#!/bin/sh\nexit 0\n");
                QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther);
            }
            const PlistDict common{
                {s("ProgramArguments"), PlistValue(QStringList{s("/usr/local/bin/tool")})},
                {s("EnvironmentVariables"),
                 PlistValue(PlistDict{{s("PATH"), PlistValue(s("/usr/bin:/bin"))}})}};
            PlistDict atLoad = common;
            atLoad.insert(s("RunAtLoad"), PlistValue(true));
            healthy = writeJob(s("org.example.healthy"), atLoad);
            PlistDict often = common;
            often.insert(s("StartInterval"), PlistValue(5));
            tooOften = writeJob(s("org.example.often"), often);
            JobDiscovery::reloadJobs();
            window = std::make_unique<MainWindow>(*rig.editor, parts.services);
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
        }
        ~Fixture() {
            Bindings::shared().setEdited(false);
            window.reset();
        }

        JobPtr select(const QString &path) const {
            const JobPtr job = JobList::shared().jobWithUrl(path);
            window->selectJob(job);
            return job;
        }
        template <typename Control> Control *find(const QString &name) const {
            auto *control = window->findChild<Control *>(name);
            if (!control)
                qWarning("no control %s", qPrintable(name));
            return control;
        }
        [[nodiscard]] DetailEditor &editor() const { return *window->detailEditor(); }
        // The row of the finding on key, or -1.
        [[nodiscard]] qsizetype findingOn(const QString &key) const {
            const Findings &findings = editor().diagnostics()->findings();
            for (qsizetype index = 0; index < findings.size(); ++index) {
                if (findings.at(index).key == key)
                    return index;
            }
            return -1;
        }
        // Waits for the reply and for the list read after it.
        bool waitForSave() const {
            QDeadlineTimer deadline(30000);
            while (Bindings::shared().isSaving() && !deadline.hasExpired())
                QTest::qWait(20);
            EditorRig::waitForTheList();
            return !Bindings::shared().isSaving();
        }
        [[nodiscard]] QString changedKeysText() const {
            return find<QLabel>(s("changedKeysLabel"))->text();
        }
        [[nodiscard]] QString diffText() const {
            return find<QsciScintilla>(s("diffText"))->text();
        }
    };

private Q_SLOTS:
    void initTestCase() { Icons::setUp(); }
    void init() { Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, true); }

    void theBadgeIsDrawnOnTheIconsCorner() {
        QPixmap plain(32, 32);
        plain.fill(Qt::blue);
        const QIcon base(plain);
        QCOMPARE(SeverityBadge::badged(base, std::nullopt).cacheKey(), base.cacheKey());
        const QImage image =
            SeverityBadge::badged(base, Finding::Severity::error).pixmap(32, 32).toImage();
        QCOMPARE(image.pixelColor(2, 2), QColor(Qt::blue));
        QVERIFY(image.pixelColor(24, 24) != QColor(Qt::blue));
        const QImage alone =
            SeverityBadge::icon(Finding::Severity::warning).pixmap(16, 16).toImage();
        QCOMPARE(alone.pixelColor(0, 0).alpha(), 0);
        QVERIFY(alone.pixelColor(3, 8).alpha() > 0);
        QCOMPARE(SeverityBadge::accessibleText(s("job"), std::nullopt), s("job"));
        QCOMPARE(SeverityBadge::accessibleText(s("job"), Finding::Severity::warning),
                 s("job, has warnings"));
    }

    void everyModeShowsTheWorstSeverityOfEachJob() {
        Fixture fixture;
        for (int mode = MainWindow::grid; mode < MainWindow::modeCount; ++mode) {
            fixture.window->switchMode(mode);
            const QAbstractItemModel &model = *fixture.window->modeView(mode)->itemView()->model();
            // The timeline names a job in its second column; the other views in their first.
            const int column = mode == MainWindow::timeline ? 1 : 0;
            QTRY_VERIFY(findRow(model, fixture.tooOften, column).isValid());
            QTRY_COMPARE(severityIn(findRow(model, fixture.tooOften, column)), warning);
            const QModelIndex often = findRow(model, fixture.tooOften, column);
            // The timeline's name also says how often the job runs.
            const QString spoken = often.data(Qt::AccessibleTextRole).toString();
            QVERIFY2(spoken.startsWith(s("org.example.often")) &&
                         spoken.endsWith(s(", has warnings")),
                     qPrintable(spoken));
            if (mode != MainWindow::timeline) {
                // The healthy job runs at load only, so the timeline does not show it.
                const QModelIndex healthy = findRow(model, fixture.healthy, column);
                QVERIFY(healthy.isValid());
                QCOMPARE(severityIn(healthy), -1);
                QCOMPARE(healthy.data(Qt::AccessibleTextRole).toString(), s("org.example.healthy"));
            }
        }
    }

    void aBadgeFollowsTheFileWhenTheListIsReadAgain() {
        Fixture fixture;
        fixture.window->switchMode(MainWindow::list);
        const QAbstractItemModel &model =
            *fixture.window->modeView(MainWindow::list)->itemView()->model();
        QTRY_COMPARE(severityIn(findRow(model, fixture.tooOften, 0)), warning);
        PlistDict fixed = *JobList::shared().jobWithUrl(fixture.tooOften)->plist;
        fixed.insert(s("StartInterval"), PlistValue(60));
        writeJob(s("org.example.often"), fixed);
        JobDiscovery::reloadJobs();
        QTRY_COMPARE(severityIn(findRow(model, fixture.tooOften, 0)), -1);
    }

    void theDiagnosticsPageListsFindingsAndAFixIsAnEdit() {
        Fixture fixture;
        const JobPtr stored = fixture.select(fixture.tooOften);
        DetailEditor &editor = fixture.editor();
        editor.tabs()->setCurrentIndex(DetailEditor::diagnosticsPage);
        QCOMPARE(editor.tabs()->currentWidget()->objectName(), s("diagnosticsPage"));
        const qsizetype row = fixture.findingOn(s("StartInterval"));
        QVERIFY(row >= 0);
        const QString number = QString::number(row);
        QCOMPARE(fixture.find<QLabel>(s("findingKey") + number)->text(), s("StartInterval"));
        QVERIFY(fixture.find<QLabel>(s("findingExplanation") + number)->text().contains(s("5")));
        QCOMPARE(fixture.find<QLabel>(s("findingSeverity") + number)->accessibleName(),
                 SeverityBadge::title(Finding::Severity::warning));
        QVERIFY(!editor.tabs()->tabIcon(DetailEditor::diagnosticsPage).isNull());
        editor.info()->tabs()->setCurrentIndex(InfoView::changesTab);
        const QStringList unnamed = AccessibilityWalk::unnamedControls(&editor);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u',')));

        // The healthy job has nothing to fix.
        fixture.select(fixture.healthy);
        QVERIFY(editor.diagnostics()->findings().isEmpty());
        QVERIFY(!fixture.window->findChild<QPushButton *>(s("fixButton0")));
        QVERIFY(editor.tabs()->tabIcon(DetailEditor::diagnosticsPage).isNull());

        fixture.select(fixture.tooOften);
        // Examined again with the same findings, the rows stay as they are.
        auto *fix = fixture.find<QPushButton>(s("fixButton") + number);
        editor.diagnostics()->refresh();
        QCOMPARE(fixture.find<QPushButton>(s("fixButton") + number), fix);
        fix->click();
        QVERIFY(Bindings::shared().isEdited());
        QVERIFY(fixture.findingOn(s("StartInterval")) < 0);
        const JobPtr current = JobList::shared().currentJob();
        QVERIFY(current->plist->value(s("StartInterval")).toInteger() == 10);
        // The stored job stays as it is until the save.
        QVERIFY(stored->plist->value(s("StartInterval")).toInteger() == 5);
        QVERIFY(fixture.find<QPushButton>(s("saveButton"))->isEnabled());
        QVERIFY(fixture.find<QPushButton>(s("saveButton"))->toolTip().contains(s("StartInterval")));
        // The badge follows the edit.
        QTRY_COMPARE(severityIn(findRow(*fixture.window->currentModeView()->itemView()->model(),
                                        fixture.tooOften, 0)),
                     -1);

        editor.save();
        QVERIFY(fixture.waitForSave());
        QVERIFY(fixture.rig.answers.alerts.isEmpty());
        const PlistReadResult read = PlistCodec::readFile(fixture.tooOften);
        QVERIFY(read.ok());
        QVERIFY(read.value->dict()->value(s("StartInterval")).toInteger() == 10);
    }

    void whatTheHelperReportsOfAJobReachesTheDoctor() {
        Fixture fixture;
        const JobPtr healthy = fixture.select(fixture.healthy);
        DetailEditor &editor = fixture.editor();
        QVERIFY(editor.diagnostics()->findings().isEmpty());

        // The helper service reports the job loaded, after a failed run.
        JobStatus failed;
        failed.isLoaded = true;
        failed.lastExitStatus = 3;
        const auto report = [&fixture](const PlistDict &jobs) {
            fixture.parts.view.status.takeReply(
                {{ActionKey::status, PlistValue(jobs)}, {ActionKey::generation, PlistValue(1)}});
        };
        report({{healthy->label, PlistValue(failed.toDict())}});
        editor.diagnostics()->refresh();
        const qsizetype row = fixture.findingOn(QString());
        QVERIFY(row >= 0);
        QVERIFY(fixture.find<QLabel>(s("findingExplanation") + QString::number(row))
                    ->text()
                    .contains(s("status 3")));
        QTRY_COMPARE(severityIn(findRow(*fixture.window->currentModeView()->itemView()->model(),
                                        fixture.healthy, 0)),
                     warning);

        // A job the service does not name may be loaded elsewhere: nothing is said of it.
        report({});
        editor.diagnostics()->refresh();
        QVERIFY(editor.diagnostics()->findings().isEmpty());
    }

    void theChangesTabFollowsFormAndRawEdits() {
        Fixture fixture;
        fixture.select(fixture.healthy);
        InfoView &info = *fixture.editor().info();
        info.tabs()->setCurrentIndex(InfoView::changesTab);
        QVERIFY(info.changes()->isVisible());
        QCOMPARE(fixture.changedKeysText(), s("Saving changes nothing."));
        QVERIFY(!fixture.diffText().contains(u'\n' + s("+")));

        // A form edit: the Run field.
        auto *run = fixture.find<QLineEdit>(s("runField"));
        run->setFocus();
        run->selectAll();
        QTest::keyClicks(run, s("/usr/local/bin/tool --now"));
        QTRY_VERIFY(fixture.changedKeysText().contains(s("ProgramArguments")));
        QVERIFY(fixture.diffText().contains(s("+\t\t<string>--now</string>\n")));
        QVERIFY(!fixture.changedKeysText().contains(s("did not edit")));
        auto *save = fixture.find<QPushButton>(s("saveButton"));
        QVERIFY(save->toolTip().contains(s("ProgramArguments")));
        fixture.editor().discard();

        // A raw edit, as the Edit Plist sheet makes it.
        fixture.select(fixture.healthy);
        RawPlistEditor raw;
        QString text = *raw.load();
        text.replace(s("<key>Label</key>"),
                     s("<key>Nice</key>\n\t<integer>5</integer>\n\t<key>Label</key>"));
        QCOMPARE(raw.change(text), RawPlistEditor::Result::changed);
        QTRY_VERIFY(fixture.changedKeysText().contains(s("Nice")));
        QVERIFY(fixture.diffText().contains(s("+\t<key>Nice</key>\n+\t<integer>5</integer>\n")));
        QTRY_VERIFY(save->toolTip().contains(s("Nice")));
    }

    void aSaveOfKeysNotEditedAsksFirst() {
        Fixture fixture;
        // A search path that is no dictionary: the save puts one in its place.
        PlistDict odd = *JobList::shared().jobWithUrl(fixture.healthy)->plist;
        odd.insert(s("EnvironmentVariables"), PlistValue(s("PATH=/usr/bin")));
        const QString path = writeJob(s("org.example.healthy"), odd);
        JobDiscovery::reloadJobs();
        fixture.select(path);
        const auto stored = [&path] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = stored();
        auto *run = fixture.find<QLineEdit>(s("runField"));
        run->setFocus();
        run->selectAll();
        QTest::keyClicks(run, s("/usr/local/bin/tool --now"));

        fixture.rig.answers.buttons = {Interaction::firstButton + 1};
        fixture.editor().save();
        QCOMPARE(fixture.rig.answers.alerts.size(), 1);
        const AlertRequest &asked = fixture.rig.answers.alerts.first();
        QVERIFY(asked.informativeText.contains(s("EnvironmentVariables")));
        QVERIFY(!asked.informativeText.contains(s("ProgramArguments")));
        QVERIFY(!Bindings::shared().isSaving());
        QVERIFY(Bindings::shared().isEdited());
        QCOMPARE(stored(), before);

        fixture.editor().save();
        QVERIFY(fixture.waitForSave());
        QCOMPARE(fixture.rig.answers.alerts.size(), 2);
        QVERIFY(stored().contains("<string>--now</string>"));
        QVERIFY(!stored().contains("PATH=/usr/bin"));

        // The search path that Automatic PATH adds to a job without one is no surprise, and a
        // raw edit names every key it changes: neither asks.
        PlistDict bare = odd;
        bare.remove(s("EnvironmentVariables"));
        writeJob(s("org.example.healthy"), bare);
        JobDiscovery::reloadJobs();
        fixture.select(path);
        RawPlistEditor raw;
        QString text = *raw.load();
        text.replace(s("<key>Label</key>"),
                     s("<key>Nice</key>\n\t<integer>5</integer>\n\t<key>Label</key>"));
        QCOMPARE(raw.change(text), RawPlistEditor::Result::changed);
        fixture.editor().save();
        QVERIFY(fixture.waitForSave());
        QCOMPARE(fixture.rig.answers.alerts.size(), 2);
        QVERIFY(stored().contains("<key>Nice</key>"));
    }

    void theScreenshotsShowTheDoctorAndTheChanges() {
        Fixture fixture;
        QTemporaryDir folder;
        QVERIFY(DoctorScreenshots::write(folder.path(), *fixture.window));
        for (const char *name : {"doctor.png", "changes.png"}) {
            const QImage image(folder.filePath(QString::fromLatin1(name)));
            QVERIFY2(!image.isNull(), name);
        }
        QVERIFY(!Bindings::shared().isEdited());
    }
};

VANDRA_TEST_MAIN(TestDoctorUi)
#include "test_doctorui.moc"
