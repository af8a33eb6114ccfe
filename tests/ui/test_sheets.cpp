// The Edit Plist, notes and extra-folders sheets and the Revisions submenu, driven by their
// controls' object names on real files under a temporary root.

#include "actions/actioncontroller.h"
#include "common/testmain.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "platform/plistcodec.h"
#include "scriptedinteraction.h"
#include "store/folderscontroller.h"
#include "store/notesstore.h"
#include "store/revisioncontroller.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"
#include "ui/common/codetheme.h"
#include "ui/common/codeview.h"
#include "ui/sheets/editplistsheet.h"
#include "ui/sheets/folderssheet.h"
#include "ui/sheets/notessheet.h"
#include "ui/sheets/revisionsmenu.h"
#include "ui/sheets/sheetscreenshots.h"
#include "uitestroot.h"
#include "windowparts.h"

#include <QAction>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <Qsci/qscilexer.h>

using namespace Vandra;

namespace {

const QString backupLabel = QStringLiteral("org.example.backup");

// The usual machine read into the job list, with the backup job current.
JobPtr selectBackup(const UiTestRoot &root) {
    root.placeUsualJobs();
    JobDiscovery::reloadJobs();
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (job->label == backupLabel) {
            JobList::shared().setCurrentJob(job);
            Bindings::shared().update(job);
            return job;
        }
    }
    return {};
}

template <typename T> T *child(QWidget *parent, const QString &name) {
    T *found = parent->findChild<T *>(name);
    if (!found)
        qWarning() << "no child" << name;
    return found;
}

QString plistText(const QString &body) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n") +
           body + QStringLiteral("\n</plist>\n");
}

} // namespace

class TestSheets : public QObject {
    Q_OBJECT

private:
    NotesStore notes;
    RevisionController revisions;
    FoldersController folders;
    CodeTheme codeTheme;

private Q_SLOTS:
    void init() {
        notes.reset();
        revisions.reset();
        folders.reset();
    }

    // Edit Plist

    void editPlistShowsTheJobAndClosesUntouchedWithoutAChange() {
        UiTestRoot root;
        ScriptedInteraction interaction;
        QVERIFY(selectBackup(root));
        EditPlistSheet sheet(codeTheme);
        sheet.show();
        QCOMPARE(sheet.windowModality(), Qt::WindowModal);
        auto *text = child<CodeView>(&sheet, QStringLiteral("plistText"));
        QVERIFY(text->text().contains(backupLabel));
        QVERIFY(!child<QPushButton>(&sheet, QStringLiteral("changeButton"))->isEnabled());
        QVERIFY(
            child<QLabel>(&sheet, QStringLiteral("editPlistTitle"))->text().contains(backupLabel));
        for (QWidget *widget : sheet.findChildren<QWidget *>()) {
            if (widget->focusPolicy() != Qt::NoFocus && !widget->objectName().startsWith(u"qt_"))
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        }

        QTest::keyClick(&sheet, Qt::Key_Escape);
        QVERIFY(!sheet.isVisible());
        QVERIFY(!Bindings::shared().isEdited());
        QVERIFY(interaction.alerts().isEmpty());
    }

    void aValidEditBecomesTheCurrentJobAsAnUnsavedChange() {
        UiTestRoot root;
        ScriptedInteraction interaction;
        const JobPtr before = selectBackup(root);
        EditPlistSheet sheet(codeTheme);
        QSignalSpy changed(&sheet, &EditPlistSheet::jobChanged);
        sheet.show();
        auto *text = child<CodeView>(&sheet, QStringLiteral("plistText"));
        text->setText(
            text->text().replace(QStringLiteral("/mnt/backup/"), QStringLiteral("/srv/copies/")));
        auto *change = child<QPushButton>(&sheet, QStringLiteral("changeButton"));
        QVERIFY(change->isEnabled());
        QCOMPARE(child<QPushButton>(&sheet, QStringLiteral("cancelButton"))->text(),
                 Localize::discardChanges());
        QTest::mouseClick(change, Qt::LeftButton);

        QCOMPARE(changed.size(), 1);
        QVERIFY(!sheet.isVisible());
        const JobPtr current = JobList::shared().currentJob();
        QVERIFY(current != before);
        QVERIFY(current->run().contains(QStringLiteral("/srv/copies/")));
        QCOMPARE(current->url, before->url);
        QVERIFY(Bindings::shared().isEdited());
        // Nothing was written: the file still holds the old destination.
        QFile file(*before->url);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("/mnt/backup/"));
    }

    void aSyntaxErrorShowsItsPlaceAndMovesTheCaretThereUntilFixed() {
        UiTestRoot root;
        ScriptedInteraction interaction;
        const JobPtr before = selectBackup(root);
        EditPlistSheet sheet(codeTheme);
        sheet.show();
        auto *text = child<CodeView>(&sheet, QStringLiteral("plistText"));
        QString good = text->text();
        text->setText(plistText(QStringLiteral("<dict>\n<key>Label</key>\n<string>x</strin>\n"
                                               "</dict>")));
        QTest::mouseClick(child<QPushButton>(&sheet, QStringLiteral("changeButton")),
                          Qt::LeftButton);

        QVERIFY(sheet.isVisible());
        auto *error = child<QLabel>(&sheet, QStringLiteral("errorLabel"));
        QVERIFY(error->isVisibleTo(&sheet));
        const auto position = EditPlistSheet::errorPosition(error->text());
        QVERIFY2(position && position->column > 0, qPrintable(error->text()));
        QCOMPARE(position->line, 5);
        int line = 0;
        int index = 0;
        text->getCursorPosition(&line, &index);
        QCOMPARE(line, position->line - 1);
        QVERIFY(index > 0);
        QCOMPARE(JobList::shared().currentJob(), before);
        QVERIFY(!Bindings::shared().isEdited());
        QCOMPARE(interaction.alerts().size(), 1);

        text->setText(good.replace(QStringLiteral("<integer>9</integer>"),
                                   QStringLiteral("<integer>10</integer>")));
        QVERIFY(!error->isVisibleTo(&sheet));
        QTest::mouseClick(child<QPushButton>(&sheet, QStringLiteral("changeButton")),
                          Qt::LeftButton);
        QVERIFY(!sheet.isVisible());
        QVERIFY(Bindings::shared().isEdited());
    }

    void aTopLevelListOrALabelLessDictionaryIsRefusedWithTheReason() {
        UiTestRoot root;
        ScriptedInteraction interaction;
        const JobPtr before = selectBackup(root);
        EditPlistSheet sheet(codeTheme);
        sheet.show();
        auto *text = child<CodeView>(&sheet, QStringLiteral("plistText"));
        auto *error = child<QLabel>(&sheet, QStringLiteral("errorLabel"));
        auto *change = child<QPushButton>(&sheet, QStringLiteral("changeButton"));

        text->setText(plistText(QStringLiteral("<array><string>a</string></array>")));
        QTest::mouseClick(change, Qt::LeftButton);
        QVERIFY(sheet.isVisible());
        QVERIFY(error->text().contains(QStringLiteral("not a dictionary")));

        text->setText(plistText(QStringLiteral("<dict><key>Program</key><string>/bin/true</string>"
                                               "</dict>")));
        QTest::mouseClick(change, Qt::LeftButton);
        QVERIFY(sheet.isVisible());
        QVERIFY(error->text().contains(QStringLiteral("Label")));
        QCOMPARE(interaction.alerts().size(), 2);
        QCOMPARE(interaction.alerts().at(0).message, Localize::anUnknownErrorOccurred());
        QCOMPARE(JobList::shared().currentJob(), before);
        QVERIFY(!Bindings::shared().isEdited());
    }

    void anOldStyleTextIsAcceptedAndItsSyntaxErrorsNameTheLine() {
        UiTestRoot root;
        ScriptedInteraction interaction;
        QVERIFY(selectBackup(root));
        EditPlistSheet sheet(codeTheme);
        sheet.show();
        auto *text = child<CodeView>(&sheet, QStringLiteral("plistText"));
        auto *change = child<QPushButton>(&sheet, QStringLiteral("changeButton"));

        text->setText(QStringLiteral("{\n  Label = org.example.backup;\n  Program = (\n}\n"));
        QTest::mouseClick(change, Qt::LeftButton);
        QVERIFY(sheet.isVisible());
        const auto position = EditPlistSheet::errorPosition(
            child<QLabel>(&sheet, QStringLiteral("errorLabel"))->text());
        QVERIFY(position);
        QVERIFY(position->line >= 3);

        text->setText(QStringLiteral("{\n  Label = org.example.backup;\n"
                                     "  ProgramArguments = (\"/bin/echo\", hello);\n}\n"));
        QTest::mouseClick(change, Qt::LeftButton);
        QVERIFY(!sheet.isVisible());
        QCOMPARE(JobList::shared().currentJob()->run(), QStringLiteral("/bin/echo hello"));
        QVERIFY(Bindings::shared().isEdited());
    }

    void theErrorPlaceIsFoundInTranslatedMessages() {
        QTranslator german;
        QVERIFY(german.load(QStringLiteral(":/i18n/vandra_de.qm")));
        QCoreApplication::installTranslator(&german);
        const QString xmlError =
            PlistCodec::read(
                plistText(QStringLiteral("<dict>\n<key>Label</key>\n<strin>x\n")).toUtf8())
                .error;
        const QString oldStyleError = PlistCodec::read("{\n  Label = x;\n  Program = (\n}\n").error;
        const auto xml = EditPlistSheet::errorPosition(xmlError);
        const auto oldStyle = EditPlistSheet::errorPosition(oldStyleError);
        QCoreApplication::removeTranslator(&german);

        QVERIFY2(xmlError.startsWith(QStringLiteral("Zeile ")), qPrintable(xmlError));
        QVERIFY2(xml && xml->line >= 5 && xml->column > 0, qPrintable(xmlError));
        QVERIFY2(oldStyle && oldStyle->line >= 3 && oldStyle->column == 0,
                 qPrintable(oldStyleError));
    }

    void thePlistTextIsEditableInTheChosenCodeTheme() {
        UiTestRoot root;
        QVERIFY(selectBackup(root));
        EditPlistSheet sheet(codeTheme);
        sheet.show();
        auto *text = child<CodeView>(&sheet, QStringLiteral("plistText"));
        QVERIFY(text->isEditable());
        CodeTheme &theme = codeTheme;
        theme.choose(CodeTheme::solarizedDark);
        const QColor paper = text->lexer()->defaultPaper();
        theme.choose(CodeTheme::followsDesktop);
        QCOMPARE(paper, CodeTheme::themes().at(CodeTheme::solarizedDark).paper);
    }

    void theLineNumberMarginGrowsWithTheLineCount() {
        CodeView view(codeTheme);
        view.setText(QStringLiteral("a\nb"));
        const int narrow = view.marginWidth(0);
        view.setText(QString(1200, u'\n'));
        QVERIFY(view.marginWidth(0) > narrow);
    }

    // Notes

    void aNoteIsWrittenOnceTypingPausesAndKeepsTabsAndNewLines() {
        UiTestRoot root;
        const JobPtr job = selectBackup(root);
        NotesStore &store = notes;
        NotesSheet sheet(job, store);
        sheet.show();
        auto *field = child<QPlainTextEdit>(&sheet, QStringLiteral("notesField"));
        QVERIFY(field->isEnabled());
        QSignalSpy saved(&store, &NotesStore::saved);
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("first"));
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::keyClicks(field, QStringLiteral("second"));
        QVERIFY(store.isSavePending());
        QVERIFY(saved.isEmpty());
        QVERIFY(saved.wait(5000));
        QCOMPARE(saved.size(), 1);

        const PlistReadResult read = PlistCodec::readFile(store.notesFile());
        QVERIFY(read.ok());
        QCOMPARE(read.value->dict()->value(*job->url).toString(),
                 std::optional(QStringLiteral("first\n\tsecond")));
    }

    void aNoteTypedRightBeforeClosingReachesTheFile() {
        UiTestRoot root;
        const JobPtr job = selectBackup(root);
        NotesStore &store = notes;
        {
            NotesSheet sheet(job, store);
            sheet.show();
            QTest::keyClicks(child<QPlainTextEdit>(&sheet, QStringLiteral("notesField")),
                             QStringLiteral("quick"));
            QVERIFY(store.isSavePending());
            QTest::keyClick(&sheet, Qt::Key_Escape);
            QVERIFY(!sheet.isVisible());
        }
        QVERIFY(!store.isSavePending());
        store.reset();
        QCOMPARE(store.note(*job->url), QStringLiteral("quick"));

        // Shown again for the same file; a job without a file gets a disabled field.
        NotesSheet again(job, store);
        auto *field = child<QPlainTextEdit>(&again, QStringLiteral("notesField"));
        QCOMPARE(field->toPlainText(), QStringLiteral("quick"));
        again.showJob(std::make_shared<Job>());
        QVERIFY(!field->isEnabled());
        QVERIFY(field->toPlainText().isEmpty());
    }

    // Revisions

    void choosingARevisionMarksTheJobEditedWithThatContent() {
        UiTestRoot root;
        const JobPtr job = selectBackup(root);
        revisions.setClock(QDateTime::fromSecsSinceEpoch(1'700'000'000));
        revisions.recordRevision(*job);
        auto newer = std::make_shared<Job>(*job);
        newer->setRun(QStringLiteral("/usr/bin/true"));
        revisions.setClock(QDateTime::fromSecsSinceEpoch(1'700'100'000));
        revisions.recordRevision(*newer);
        revisions.setClock(std::nullopt);

        QMenu file;
        QMenu *submenu = file.addMenu(QStringLiteral("Revisions"));
        RevisionsMenu menu(submenu, revisions, &file);
        QSignalSpy inserted(&menu, &RevisionsMenu::revisionInserted);
        menu.rebuild();
        QVERIFY(submenu->menuAction()->isEnabled());
        const QList<QAction *> actions = submenu->actions();
        QCOMPARE(actions.size(), 4);
        QVERIFY(actions.at(2)->isSeparator());
        QCOMPARE(actions.at(3)->text(), Localize::clearMenu());
        QCOMPARE(actions.at(0)->text(), revisions.revisionItems().at(0).title);

        // The older one, second in the menu.
        actions.at(1)->trigger();
        QCOMPARE(inserted.size(), 1);
        const JobPtr current = JobList::shared().currentJob();
        QVERIFY(current != job);
        QCOMPARE(current->run(), job->run());
        QCOMPARE(current->url, job->url);
        QVERIFY(Bindings::shared().isEdited());
        // Unsaved edits close the submenu.
        QTRY_VERIFY(!submenu->menuAction()->isEnabled());

        Bindings::shared().setEdited(false);
        QTRY_VERIFY(submenu->menuAction()->isEnabled());
        submenu->actions().last()->trigger();
        QTRY_VERIFY(!submenu->menuAction()->isEnabled());
        QVERIFY(!QFile::exists(revisions.revisionsFile()));
    }

    // Extra folders

    void addingAndRemovingAFolderChangesTheListAndTheSetting() {
        UiTestRoot root;
        const QString scripts = root.root().path(QStringLiteral("home/scripts"));
        QDir().mkpath(scripts);
        FoldersSheet sheet(folders);
        QSignalSpy edited(&sheet, &FoldersSheet::foldersEdited);
        sheet.show();
        auto *list = child<QListWidget>(&sheet, QStringLiteral("foldersList"));
        auto *remove = child<QPushButton>(&sheet, QStringLiteral("removeButton"));
        QCOMPARE(list->count(), 0);
        QVERIFY(!remove->isEnabled());

        QTest::mouseClick(child<QPushButton>(&sheet, QStringLiteral("addButton")), Qt::LeftButton);
        QFileDialog *chooser = sheet.folderChooser();
        QVERIFY(chooser);
        QCOMPARE(chooser->objectName(), QStringLiteral("folderChooser"));
        QCOMPARE(chooser->fileMode(), QFileDialog::Directory);
        Q_EMIT chooser->fileSelected(scripts);
        chooser->close();
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), FoldersSheet::rowText(scripts, false));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(Defaults::shared().value(UserDefaultsKeys::folders).toList(),
                 QVariantList{scripts.toUtf8()});

        list->setCurrentRow(0);
        QVERIFY(remove->isEnabled());
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(list->count(), 0);
        QVERIFY(!remove->isEnabled());
        QCOMPARE(edited.size(), 2);
        QVERIFY(Defaults::shared().value(UserDefaultsKeys::folders).toList().isEmpty());
    }

    void aFolderThatIsGoneIsShownMissingAndStaysStored() {
        UiTestRoot root;
        const QString gone = root.root().path(QStringLiteral("home/gone"));
        QDir().mkpath(gone);
        folders.add(gone);
        QVERIFY(QDir(gone).removeRecursively());
        folders.reset();
        folders.load();

        FoldersSheet sheet(folders);
        auto *list = child<QListWidget>(&sheet, QStringLiteral("foldersList"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), FoldersSheet::rowText(gone, true));
        QVERIFY(list->item(0)->text() != FoldersSheet::rowText(gone, false));
        QCOMPARE(Defaults::shared().value(UserDefaultsKeys::folders).toList(),
                 QVariantList{gone.toUtf8()});
    }

    void aSheetOpensAtTheSizeItHadWhenLastClosed() {
        UiTestRoot root;
        QSize chosen;
        {
            FoldersSheet sheet(folders);
            sheet.show();
            chosen = sheet.size() + QSize(120, 80);
            sheet.resize(chosen);
            sheet.close();
        }
        FoldersSheet sheet(folders);
        sheet.show();
        QCOMPARE(sheet.size(), chosen);
        // Each sheet keeps a frame of its own.
        EditPlistSheet plist(codeTheme);
        plist.show();
        QVERIFY(plist.size() != chosen);
    }

    // Pictures

    void everySheetLeavesAPictureEvenWithoutAHelper() {
        UiTestRoot root;
        ScriptedInteraction interaction;
        QVERIFY(selectBackup(root));
        ActionController::Setup none;
        none.serviceSocket = root.root().path(QStringLiteral("run/none.sock"));
        ActionController controller(none);
        const QString folder = root.root().path(QStringLiteral("pictures"));
        bool isFinished = false;
        WindowParts parts(controller, revisions);
        SheetScreenshots::write(folder, nullptr, parts.services, nullptr,
                                [&isFinished] { isFinished = true; });
        QTRY_VERIFY(isFinished);
        for (const char *name : {"log", "plist", "notes", "revisions", "folders"}) {
            const QImage picture(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
            QVERIFY2(!picture.isNull(), name);
        }
    }
};

VANDRA_TEST_MAIN(TestSheets)
#include "test_sheets.moc"
