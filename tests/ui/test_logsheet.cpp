// The log sheet against the real helper service, which answers from a job's output files or
// from a journal reader.

#include "actions/actioncontroller.h"
#include "common/helpersetup.h"
#include "common/testmain.h"
#include "scriptedinteraction.h"
#include "store/jobeditor.h"
#include "store/revisioncontroller.h"
#include "support/const.h"
#include "support/localize.h"
#include "support/locations.h"
#include "ui/sheets/logsheet.h"
#include "uitestroot.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include <signal.h>

using namespace Vandra;

namespace {

const QString label = QStringLiteral("org.example.logged");

QString fakeJournal() {
    return QStringLiteral("/bin/sh ") + QDir(qEnvironmentVariable("VANDRA_TEST_DATA"))
                                            .filePath(QStringLiteral("helper/fake-journalctl"));
}

QStringList column(const QTableView *table, int column) {
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        texts.append(table->model()->index(row, column).data().toString());
    return texts;
}

} // namespace

class TestLogSheet : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<UiTestRoot> m_root;
    std::unique_ptr<ScriptedInteraction> m_interaction;
    std::unique_ptr<ActionController> m_controller;
    RevisionController m_revisions;
    std::unique_ptr<JobEditor> m_editor;

    QString socketPath() const { return m_root->root().path(QStringLiteral("run/helper.sock")); }

    // A user agent whose output goes to a file under the root; lines are written there.
    JobPtr loggedJob(const QByteArray &output) {
        const QString out = m_root->root().write(QStringLiteral("home/logged.out"), output);
        const QByteArray plist =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
            "<key>Label</key><string>" +
            label.toUtf8() +
            "</string><key>Program</key><string>/bin/true</string>"
            "<key>StandardOutPath</key><string>" +
            out.toUtf8() + "</string></dict></plist>\n";
        const QString folder = *Kinds::url(Kind::userAgent);
        m_root->root().write(QDir(m_root->root().path()).relativeFilePath(folder) +
                                 QStringLiteral("/logged.plist"),
                             plist);
        auto job = std::make_shared<Job>();
        job->label = label;
        return job;
    }

    void start(LogSheet &sheet) {
        sheet.session().setUsesPrivilegedHelper(false);
        sheet.show();
    }

private Q_SLOTS:
    void initTestCase() { qputenv("VANDRA_HELPER_IDLE_TIMEOUT", "60"); }

    void init() {
        qputenv("VANDRA_JOURNALCTL", QByteArray());
        qunsetenv("FAKE_JOURNAL_STATUS");
        qunsetenv("FAKE_JOURNAL_DELAY");
        m_root = std::make_unique<UiTestRoot>();
        QDir().mkpath(*Kinds::url(Kind::userAgent));
        m_interaction = std::make_unique<ScriptedInteraction>();
        m_controller = std::make_unique<ActionController>(rootedHelperSetup(m_root->root().path()));
        m_editor = std::make_unique<JobEditor>(*m_controller, m_revisions);
    }

    void cleanup() {
        m_editor.reset();
        m_controller.reset();
        QLockFile lock(socketPath() + QStringLiteral(".lock"));
        qint64 pid = 0;
        QString host;
        QString application;
        if (lock.getLockInfo(&pid, &host, &application) && pid > 0)
            ::kill(pid_t(pid), SIGKILL);
        m_interaction.reset();
        m_root.reset();
    }

    void theOutputFileLinesFillATableThatSortsFiltersAndCopies() {
        const JobPtr job = loggedJob("line 10: ERROR\nline 2: résumé\nLine 3: error again\n");
        LogSheet sheet(job, *m_controller, m_editor.get());
        QCOMPARE(sheet.windowModality(), Qt::WindowModal);
        start(sheet);
        auto *refresh = sheet.findChild<QPushButton *>(QStringLiteral("refreshButton"));
        auto *filter = sheet.findChild<QLineEdit *>(QStringLiteral("filterField"));
        auto *table = sheet.findChild<QTableView *>(QStringLiteral("logTable"));
        QTRY_COMPARE_WITH_TIMEOUT(sheet.session().state(), LogSession::State::rest, 30000);
        QCOMPARE(refresh->text(), Localize::refresh());
        QVERIFY(filter->isEnabled());
        QVERIFY(table->isVisibleTo(&sheet));
        QCOMPARE(table->model()->rowCount(), 3);

        table->sortByColumn(int(LogSession::Column::message), Qt::AscendingOrder);
        QCOMPARE(column(table, 1), (QStringList{QStringLiteral("line 2: résumé"),
                                                QStringLiteral("Line 3: error again"),
                                                QStringLiteral("line 10: ERROR")}));
        QTest::keyClicks(filter, QStringLiteral("ERROR"));
        QCOMPARE(column(table, 1), (QStringList{QStringLiteral("Line 3: error again"),
                                                QStringLiteral("line 10: ERROR")}));

        table->selectRow(0);
        table->selectionModel()->select(table->model()->index(1, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        sheet.findChild<QAction *>(QStringLiteral("copyAction"))->trigger();
        const QStringList dates = column(table, 0);
        QCOMPARE(QApplication::clipboard()->text(),
                 dates.at(0) + Const::separator + QStringLiteral("Line 3: error again\n") +
                     dates.at(1) + Const::separator + QStringLiteral("line 10: ERROR"));

        QTest::keyClicks(filter, QStringLiteral("nothing like it"));
        auto *empty = sheet.findChild<QLabel *>(QStringLiteral("emptyLabel"));
        QVERIFY(empty->isVisibleTo(&sheet));
        QCOMPARE(empty->text(), LogSheet::emptyText(LogSheet::Reason::filtered, false));
        filter->clear();
        QCOMPARE(table->model()->rowCount(), 3);

        QTest::keyClick(&sheet, Qt::Key_Escape);
        QVERIFY(!sheet.isVisible());
    }

    void noLinesSayWhyWithoutAJournal() {
        const JobPtr job = loggedJob(QByteArray());
        LogSheet sheet(job, *m_controller, m_editor.get());
        start(sheet);
        QTRY_COMPARE_WITH_TIMEOUT(sheet.session().state(), LogSession::State::rest, 30000);
        auto *empty = sheet.findChild<QLabel *>(QStringLiteral("emptyLabel"));
        QVERIFY(empty->isVisibleTo(&sheet));
        QCOMPARE(sheet.reason(), LogSheet::Reason::noEntries);
        QCOMPARE(empty->text(), LogSheet::emptyText(LogSheet::Reason::noEntries, false));
        QVERIFY(empty->text().contains(QStringLiteral("no journal")));
        QVERIFY(m_interaction->alerts().isEmpty());

        // A job without a label asks nothing.
        LogSheet unlabelled(std::make_shared<Job>(), *m_controller, m_editor.get());
        start(unlabelled);
        QCOMPARE(unlabelled.reason(), LogSheet::Reason::noLabel);
        QCOMPARE(unlabelled.session().state(), LogSession::State::rest);
    }

    void aRefusingHelperIsNamedInTheEmptyTable() {
        qputenv("VANDRA_JOURNALCTL", fakeJournal().toUtf8());
        qputenv("FAKE_JOURNAL_STATUS", "2");
        LogSheet sheet(loggedJob("old line\n"), *m_controller, m_editor.get());
        start(sheet);
        QTRY_COMPARE_WITH_TIMEOUT(m_interaction->alerts().size(), 1, 30000);
        QCOMPARE(sheet.session().state(), LogSession::State::rest);
        QCOMPARE(sheet.reason(), LogSheet::Reason::refused);
        QCOMPARE(sheet.findChild<QLabel *>(QStringLiteral("emptyLabel"))->text(),
                 LogSheet::emptyText(LogSheet::Reason::refused, true));
    }

    void aSlowQueryShowsProgressAndCancelsSilently() {
        qputenv("VANDRA_JOURNALCTL", fakeJournal().toUtf8());
        qputenv("FAKE_JOURNAL_DELAY", "20");
        LogSheet sheet(loggedJob(QByteArray()), *m_controller, m_editor.get());
        start(sheet);
        auto *refresh = sheet.findChild<QPushButton *>(QStringLiteral("refreshButton"));
        QCOMPARE(sheet.session().state(), LogSession::State::fetch);
        QCOMPARE(refresh->text(), Localize::cancel());
        QVERIFY(!sheet.findChild<QLineEdit *>(QStringLiteral("filterField"))->isEnabled());
        auto *progress = sheet.findChild<QProgressBar *>(QStringLiteral("progressIndicator"));
        QTRY_VERIFY(progress->isVisibleTo(&sheet));

        QTest::mouseClick(refresh, Qt::LeftButton);
        QCOMPARE(sheet.session().state(), LogSession::State::rest);
        QVERIFY(!progress->isVisibleTo(&sheet));
        QCOMPARE(sheet.reason(), LogSheet::Reason::cancelled);
        QCOMPARE(refresh->text(), Localize::refresh());
        QTRY_VERIFY_WITH_TIMEOUT(!m_controller->connection(), 10000);
        QVERIFY(m_interaction->alerts().isEmpty());
    }

    void theJournalIsSearchedWhereThereIsOne() {
        if (QStandardPaths::findExecutable(QStringLiteral("journalctl")).isEmpty())
            QSKIP("journalctl is not installed on this machine");
        QProcess probe;
        probe.start(QStringLiteral("journalctl"),
                    {QStringLiteral("-q"), QStringLiteral("-n"), QStringLiteral("1")});
        if (!probe.waitForFinished(10000) || probe.exitCode() != 0 ||
            probe.readAllStandardOutput().trimmed().isEmpty())
            QSKIP("journalctl finds no journal on this machine");
        qunsetenv("VANDRA_JOURNALCTL");
        LogSheet sheet(loggedJob(QByteArray()), *m_controller, m_editor.get());
        start(sheet);
        QTRY_COMPARE_WITH_TIMEOUT(sheet.session().state(), LogSession::State::rest, 60000);
        QVERIFY(m_interaction->alerts().isEmpty());
        QVERIFY(sheet.reason() == LogSheet::Reason::noEntries);
    }
};

VANDRA_TEST_MAIN(TestLogSheet)
#include "test_logsheet.moc"
