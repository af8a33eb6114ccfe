#include "common/files.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "platform/plistcodec.h"
#include "store/jobfiles.h"
#include "store/notesstore.h"

#include <QSignalSpy>
#include <QTest>

using namespace Vandra;

namespace {

PlistValue fileContent(const NotesStore &notes) {
    return PlistCodec::readFile(notes.notesFile()).value.value_or(PlistValue());
}

} // namespace

class TestNotes : public QObject {
    Q_OBJECT

private:
    NotesStore notes;

private Q_SLOTS:
    void init() { notes.reset(); }

    void aBurstOfTypingWritesOnce() {
        TestRoot root;
        QSignalSpy saved(&notes, &NotesStore::saved);
        const QString path = s("/home/me/.config/vandra/LaunchAgents/a.plist");
        QString text;
        for (const char c : QByteArrayLiteral("runs the backup")) {
            text += QLatin1Char(c);
            notes.setNote(path, text);
        }
        QVERIFY(notes.isSavePending());
        QVERIFY(!QFile::exists(notes.notesFile()));
        QVERIFY(saved.wait(5000));
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().first().toBool(), true);
        QVERIFY(!notes.isSavePending());
        QCOMPARE(fileContent(notes),
                 PlistValue(PlistDict{{path, PlistValue(s("runs the backup"))}}));
        QVERIFY(!saved.wait(600));
    }

    void notesAreLoadedOnceAndKeptPerPath() {
        TestRoot root;
        JobFiles::writeDict(notes.notesFile(), {{s("/a.plist"), PlistValue(s("first"))},
                                                {s("/b.plist"), PlistValue(s("second"))}});
        QCOMPARE(notes.note(s("/a.plist")), s("first"));
        QCOMPARE(notes.note(s("/renamed.plist")), QString());
        // Read once: later changes of the file are not seen.
        JobFiles::writeDict(notes.notesFile(), {});
        QCOMPARE(notes.note(s("/b.plist")), s("second"));

        // Clearing a note keeps an empty entry.
        notes.setNote(s("/a.plist"), QString());
        notes.flush();
        QCOMPARE(fileContent(notes),
                 PlistValue(PlistDict{{s("/a.plist"), PlistValue(QString())},
                                      {s("/b.plist"), PlistValue(s("second"))}}));
        QVERIFY(!notes.isSavePending());
    }

    void aFileThatIsNotTextNotesCountsAsEmpty_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("garbage") << QByteArrayLiteral("no plist");
        QTest::newRow("array") << *PlistCodec::toXml(PlistValue(PlistArray{PlistValue(s("x"))}));
        QTest::newRow("number value") << *PlistCodec::toXml(PlistValue(
            PlistDict{{s("/a.plist"), PlistValue(s("text"))}, {s("/b.plist"), PlistValue(3)}}));
    }

    void aFileThatIsNotTextNotesCountsAsEmpty() {
        QFETCH(QByteArray, bytes);
        TestRoot root;
        JobFiles::writeBytes(notes.notesFile(), bytes);
        QVERIFY(notes.notes().isEmpty());
    }

    void aFileThatCannotBeUsedIsSetAsideNotWrittenOver_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("garbage") << QByteArrayLiteral("<plist><dict><key>/a.plist</key>");
        QTest::newRow("number value") << *PlistCodec::toXml(PlistValue(
            PlistDict{{s("/a.plist"), PlistValue(s("text"))}, {s("/b.plist"), PlistValue(3)}}));
    }

    void aFileThatCannotBeUsedIsSetAsideNotWrittenOver() {
        QFETCH(QByteArray, bytes);
        TestRoot root;
        const QString file = notes.notesFile();
        JobFiles::writeBytes(file, bytes);
        notes.setNote(s("/c.plist"), s("new"));
        notes.flush();
        QCOMPARE(fileContent(notes), PlistValue(PlistDict{{s("/c.plist"), PlistValue(s("new"))}}));
        QCOMPARE(readAll(file + s(".bak")), bytes);

        // Later writes replace only the new file; an earlier copy is never replaced.
        notes.setNote(s("/c.plist"), s("newer"));
        notes.flush();
        QCOMPARE(readAll(file + s(".bak")), bytes);
        notes.reset();
        JobFiles::writeBytes(file, QByteArrayLiteral("broken again"));
        notes.setNote(s("/d.plist"), s("d"));
        notes.flush();
        QCOMPARE(readAll(file + s(".bak")), bytes);
        QCOMPARE(readAll(file + s(".bak2")), QByteArrayLiteral("broken again"));
        QCOMPARE(fileContent(notes), PlistValue(PlistDict{{s("/d.plist"), PlistValue(s("d"))}}));
    }

    void notesWithControlCharactersAreStillWritten() {
        TestRoot root;
        QSignalSpy saved(&notes, &NotesStore::saved);
        // A pasted escape sequence, and a job file whose name holds a control character.
        const QString odd = s("/jobs/odd\x01.plist");
        notes.setNote(s("/a.plist"), s("plain"));
        notes.setNote(odd, s("\x1b[1mbold\x1b[0m"));
        notes.flush();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().first().toBool(), true);
        notes.reset();
        QCOMPARE(notes.note(s("/a.plist")), s("plain"));
        QCOMPARE(notes.note(odd), s("\x1b[1mbold\x1b[0m"));
    }

    void flushWritesOnlyWhenASaveIsPending() {
        TestRoot root;
        QSignalSpy saved(&notes, &NotesStore::saved);
        notes.flush();
        QCOMPARE(saved.count(), 0);
        notes.setNote(s("/a.plist"), s("note"));
        notes.flush();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(fileContent(notes), PlistValue(PlistDict{{s("/a.plist"), PlistValue(s("note"))}}));
        notes.flush();
        QCOMPARE(saved.count(), 1);

        // A write that failed is tried again at the next flush, as when the program quits.
        const QString folder = QFileInfo(notes.notesFile()).path();
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(JobFiles::writeBytes(folder, "a file where the folder should be"));
        notes.setNote(s("/a.plist"), s("changed"));
        notes.flush();
        QCOMPARE(saved.last().first().toBool(), false);
        QVERIFY(QFile::remove(folder));
        notes.flush();
        QCOMPARE(saved.count(), 3);
        QCOMPARE(saved.last().first().toBool(), true);
        QCOMPARE(fileContent(notes),
                 PlistValue(PlistDict{{s("/a.plist"), PlistValue(s("changed"))}}));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestNotes)
#include "test_notes.moc"
