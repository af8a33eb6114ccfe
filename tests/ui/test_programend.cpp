#include "actions/actioncontroller.h"
#include "common/files.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/joblist.h"
#include "platform/plistcodec.h"
#include "store/notesstore.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/userdefaultskeys.h"
#include "ui/window/programend.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Vandra;

class TestProgramEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void whatTheUserDidJustBeforeQuittingIsWrittenBeforeTheEnd() {
        TestRoot root;
        NotesStore notes;
        ActionController actions(ActionController::Setup::standard());
        // A helper that has not read anything yet.
        const QString socketPath = ActionController::Setup::standard().serviceSocket;
        QDir().mkpath(QFileInfo(socketPath).path());
        QLocalServer::removeServer(socketPath);
        QLocalServer helper;
        QVERIFY(helper.listen(socketPath));

        // The last things the user did, with no turn of the event loop after them.
        notes.setNote(s("/jobs/backup.plist"), s("check the disk first"));
        QVERIFY(notes.isSavePending());
        Defaults::shared().setValueSoon(UserDefaultsKeys::selectedMode, 2);
        QVERIFY(actions.startJob(s("backup"), false, [](const PlistDict &) {}));

        // This helper never answers: the end waits for it only as long as it was told.
        ProgramEnd::writePending(notes, actions, std::chrono::milliseconds(300));

        const PlistValue written =
            PlistCodec::readFile(notes.notesFile()).value.value_or(PlistValue());
        const PlistValue expected(
            PlistDict{{s("/jobs/backup.plist"), PlistValue(s("check the disk first"))}});
        QVERIFY2(written == expected, qPrintable(written.debugText()));
        QVERIFY(readAll(Locations::shared().settingsFile())
                    .contains(QByteArray(UserDefaultsKeys::selectedMode.toUtf8() + "=2")));
        // The request reached the helper's socket: waiting on the helper's side alone, as
        // nothing runs the program's loop any more.
        QVERIFY(helper.waitForNewConnection(5000));
        std::unique_ptr<QLocalSocket> peer(helper.nextPendingConnection());
        QVERIFY(peer);
        QVERIFY(peer->bytesAvailable() > 0 || peer->waitForReadyRead(5000));
    }

    void theRecordsAreKeptOutOfTheListToTheEnd() {
        JobPtr job = std::make_shared<Job>();
        const std::weak_ptr<Job> record = job;
        JobList::shared().setJobs({job});
        QSignalSpy updates(&JobList::shared(), &JobList::jobsUpdated);
        ProgramEnd::keepJobs(JobList::shared());
        QVERIFY(JobList::shared().jobs().isEmpty());
        QVERIFY(updates.isEmpty());
        // Nobody else holds the record, and it is still there.
        job.reset();
        QVERIFY(!record.expired());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestProgramEnd)
#include "test_programend.moc"
