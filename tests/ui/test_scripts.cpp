#include "actions/actioncontroller.h"
#include "common/files.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/joblist.h"
#include "platform/extendedattributes.h"
#include "store/editortestsupport.h"
#include "store/jobeditor.h"
#include "store/newscript.h"
#include "store/revisioncontroller.h"
#include "support/const.h"
#include "support/defaults.h"
#include "ui/scripts/newscriptsheet.h"
#include "ui/scripts/scriptscreenshots.h"
#include "ui/scripts/scriptwindow.h"
#include "ui/scripts/scriptwindows.h"
#include "ui/window/jobcommands.h"
#include "ui/window/mainwindow.h"
#include "windowparts.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <Qsci/qscilexerbash.h>
#include <Qsci/qscilexerpython.h>
#include <Qsci/qsciscintilla.h>

using namespace Vandra;

namespace {

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The alert buttons of a window's unsaved-changes question.
enum CloseAnswer { save = 0, dontSave = 1, cancel = 2 };

const QString bashScript = s("#!/bin/bash\n# says hello\necho \"hello\"\n");

} // namespace

class TestScripts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aScriptOpensColouredAtTheTopWithNothingToUndo() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        ScriptWindow *window = windows.open(root.write(s("hello.sh"), bashScript.toUtf8()));
        QVERIFY(window);
        QCOMPARE(window->editor().text(), bashScript);
        QCOMPARE(window->syntax(), SyntaxType::bash);
        QVERIFY(qobject_cast<QsciLexerBash *>(window->editor().lexer()));
        int line = -1;
        int column = -1;
        window->editor().getCursorPosition(&line, &column);
        QCOMPARE(line, 0);
        QCOMPARE(column, 0);
        QVERIFY(!window->isModified());
        QVERIFY(!window->editor().isUndoAvailable());
        QVERIFY(window->windowTitle().startsWith(s("hello.sh")));
        QVERIFY(answers.alerts.isEmpty());
    }

    void lineNumbersWidenAsLinesAreAdded() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        ScriptWindow *window = windows.open(root.write(s("a.sh"), "echo 1\n"));
        QVERIFY(window);
        const int narrow = window->editor().marginWidth(0);
        QVERIFY(narrow > 0);
        window->editor().append(QString(s("echo\n")).repeated(1200));
        QVERIFY(window->editor().marginWidth(0) > narrow);
    }

    void eachFileOpensOnceInItsOwnCascadingWindow() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        const QString a = root.write(s("a.sh"), "echo a\n");
        const QString b = root.write(s("b.py"), "print('b')\n");
        const QList<ScriptWindow *> opened = windows.open(QStringList{a, b});
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened.at(0)->pos() != opened.at(1)->pos());
        QCOMPARE(opened.at(1)->pos() - opened.at(0)->pos(), QPoint(24, 24));
        QCOMPARE(windows.open(root.path(s("./a.sh"))), opened.at(0));
        QCOMPARE(windows.windows().size(), 2);
        QVERIFY(!windows.open(root.path(s("missing.sh"))));
        QCOMPARE(answers.alerts.size(), 1);
        QCOMPARE(answers.alerts.first().message,
                 s("The document “missing.sh” could not be opened."));
    }

    void theEditScriptPanelOpensEveryChosenFile() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        const QString a = root.write(s("a.sh"), "echo a\n");
        const QString b = root.write(s("b.rb"), "puts 1\n");
        QPointer<QFileDialog> panel = windows.editScript(nullptr);
        QVERIFY(panel);
        QCOMPARE(panel->objectName(), s("editScriptPanel"));
        QCOMPARE(panel->fileMode(), QFileDialog::ExistingFiles);
        Q_EMIT panel->filesSelected({a, b});
        QCOMPARE(windows.windows().size(), 2);
        QCOMPARE(windows.windows().at(1)->syntax(), SyntaxType::ruby);
        panel->close();
    }

    void editingTheFirstLineRecoloursOnlyWhenTheSyntaxChanges() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        ScriptWindow *window = windows.open(root.write(s("tool"), bashScript.toUtf8()));
        QVERIFY(window);
        QsciLexer *bash = window->editor().lexer();
        window->editor().setSelection(2, 0, 2, 4);
        window->editor().replaceSelectedText(s("printf"));
        QCOMPARE(window->editor().lexer(), bash);
        window->editor().setSelection(0, 0, 0, window->editor().lineLength(0) - 1);
        window->editor().replaceSelectedText(s("#!/usr/bin/env python3"));
        QCOMPARE(window->syntax(), SyntaxType::python);
        QVERIFY(qobject_cast<QsciLexerPython *>(window->editor().lexer()));
        window->editor().setSelection(0, 0, 0, window->editor().lineLength(0) - 1);
        window->editor().replaceSelectedText(s("plain text"));
        QCOMPARE(window->syntax(), SyntaxType::plain);
        QVERIFY(!window->editor().lexer());
    }

    void savingKeepsTheEncodingAndRefusesWhatItCannotHold() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        const QString path = root.write(s("latin.sh"), "echo caf\xE9\n");
        ScriptWindow *window = windows.open(path);
        QVERIFY(window);
        window->editor().append(s("echo crème\n"));
        QVERIFY(window->isModified());
        QVERIFY(window->save());
        QVERIFY(!window->isModified());
        QCOMPARE(readAll(path), QByteArray("echo caf\xE9\necho cr\xE8me\n"));
        QCOMPARE(ExtendedAttributes::read(path, Const::textEncodingAttributeName)
                     .value_or(QByteArray())
                     .left(11),
                 QByteArray("ISO-8859-1;"));

        window->editor().append(s("echo 日本\n"));
        QVERIFY(!window->save());
        QVERIFY(window->isModified());
        QCOMPARE(answers.alerts.size(), 1);
        QVERIFY(answers.alerts.first().message.contains(s("ISO-8859-1")));
        QCOMPARE(readAll(path), QByteArray("echo caf\xE9\necho cr\xE8me\n"));
    }

    void saveAsMovesTheWindowToTheNewFile() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        const QString path = root.write(s("a.sh"), "echo a\n");
        ScriptWindow *window = windows.open(path);
        QVERIFY(window);
        const QString copy = root.path(s("copy.py"));
        answers.savePaths = {copy};
        QSignalSpy moved(window, &ScriptWindow::pathChanged);
        window->findChild<QAction *>(s("saveAsAction"))->trigger();
        QCOMPARE(moved.size(), 1);
        QCOMPARE(window->path(), copy);
        QCOMPARE(readAll(copy), QByteArray("echo a\n"));
        QCOMPARE(window->syntax(), SyntaxType::python);
        QCOMPARE(windows.windowFor(copy), window);
        QVERIFY(!windows.windowFor(path));
    }

    void closingWithUnsavedEditsAsksFirst() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        const QString path = root.write(s("a.sh"), "echo a\n");
        QPointer<ScriptWindow> window = windows.open(path);
        QVERIFY(window);
        window->editor().append(s("echo b\n"));
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);

        answers.buttons = {cancel};
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QCOMPARE(answers.alerts.size(), 1);
        QCOMPARE(answers.alerts.first().message,
                 s("Do you want to save the changes made to the document “a.sh”?"));

        answers.buttons = {dontSave};
        QVERIFY(windows.closeAll());
        deleteClosedWindows();
        QVERIFY(!window);
        QCOMPARE(readAll(path), QByteArray("echo a\n"));
        QCOMPARE(lastClosed.size(), 0);

        window = windows.open(path);
        window->editor().append(s("echo c\n"));
        answers.buttons = {save};
        QVERIFY(window->close());
        QCOMPARE(readAll(path), QByteArray("echo a\necho c\n"));
        QCOMPARE(lastClosed.size(), 0);
    }

    void quittingAsksAboutUnsavedScriptsAndStaysWhenOneIsKept() {
        TestRoot root;
        ScriptedAnswers answers;
        ActionController controller(ActionController::Setup{});
        RevisionController revisions;
        JobEditor editor(controller, revisions);
        WindowParts parts(controller, revisions);
        MainWindow window(editor, parts.services);
        window.show();
        const QString path = root.write(s("a.sh"), "echo a\n");
        QPointer<ScriptWindow> script = window.commands()->scripts().open(path);
        QVERIFY(script);
        script->editor().append(s("echo b\n"));

        answers.buttons = {cancel};
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(script && script->isVisible());
        QCOMPARE(answers.alerts.size(), 1);

        answers.buttons = {save};
        QVERIFY(window.close());
        QCOMPARE(readAll(path), QByteArray("echo a\necho b\n"));
    }

    void autosaveKeepsARecoveryCopyThatTheNextOpenOffers() {
        TestRoot root;
        ScriptedAnswers answers;
        const QString path = root.write(s("a.sh"), "echo a\n");
        {
            ScriptWindows windows(ScriptTheme::light());
            ScriptWindow *window = windows.open(path);
            QVERIFY(window);
            auto *timer = window->findChild<QTimer *>(s("autosaveTimer"));
            QVERIFY(!timer->isActive());
            window->editor().append(s("echo unsaved\n"));
            QVERIFY(timer->isActive());
            QVERIFY(window->autosave());
            QCOMPARE(window->recovery().read(), s("echo a\necho unsaved\n"));
            QCOMPARE(readAll(path), QByteArray("echo a\n"));
            // The program ends without the window being closed, as in a crash.
        }
        ScriptWindows windows(ScriptTheme::light());
        answers.buttons = {Interaction::firstButton};
        ScriptWindow *window = windows.open(path);
        QVERIFY(window);
        QCOMPARE(answers.alerts.size(), 1);
        QCOMPARE(window->editor().text(), s("echo a\necho unsaved\n"));
        QVERIFY(window->isModified());
        QVERIFY(window->save());
        QVERIFY(!window->recovery().exists());
    }

    void revertReadsTheFileAgainAfterAsking() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        const QString path = root.write(s("a.sh"), "echo a\n");
        ScriptWindow *window = windows.open(path);
        QVERIFY(window);
        window->editor().append(s("echo b\n"));
        answers.buttons = {1};
        window->revert();
        QVERIFY(window->isModified());
        window->findChild<QAction *>(s("revertAction"))->trigger();
        QCOMPARE(answers.alerts.size(), 2);
        QCOMPARE(window->editor().text(), s("echo a\n"));
        QVERIFY(!window->isModified());
        QVERIFY(!window->editor().isUndoAvailable());
    }

    void aThemeChangeRecoloursOpenScripts() {
        TestRoot root;
        ScriptedAnswers answers;
        ScriptWindows windows(ScriptTheme::light());
        ScriptWindow *window = windows.open(root.write(s("a.sh"), bashScript.toUtf8()));
        QVERIFY(window);
        window->editor().append(s("echo b\n"));
        const QsciLexer *lexer = window->editor().lexer();
        QCOMPARE(lexer->paper(QsciLexerBash::Default), ScriptTheme::light().background);
        QCOMPARE(lexer->color(QsciLexerBash::Comment), ScriptTheme::light().comment);

        windows.applyTheme(ScriptTheme::dark());
        QCOMPARE(window->theme(), ScriptTheme::dark());
        QCOMPARE(lexer->paper(QsciLexerBash::Default), ScriptTheme::dark().background);
        QCOMPARE(lexer->color(QsciLexerBash::Comment), ScriptTheme::dark().comment);
        QCOMPARE(lexer->color(QsciLexerBash::Keyword), ScriptTheme::dark().keyword);
        QCOMPARE(lexer->color(QsciLexerBash::DoubleQuotedString), ScriptTheme::dark().string);
        // Recolouring is no edit: the undo history is the typing's alone.
        window->editor().undo();
        QVERIFY(!window->editor().isUndoAvailable());
        // A window opened later takes the new colours too.
        ScriptWindow *later = windows.open(root.write(s("b.sh"), "echo b\n"));
        QCOMPARE(later->theme(), ScriptTheme::dark());
    }

    void theNewScriptSheetMakesAJobThatRunsTheSavedScript() {
        TestRoot root;
        ScriptedAnswers answers;
        ActionController controller{ActionController::Setup{}};
        RevisionController revisions;
        JobEditor editor(controller, revisions);
        NewScriptSheet sheet(editor, ScriptTheme::light());
        QCOMPARE(sheet.nameField().text(), s("New Script"));
        QCOMPARE(sheet.scriptEditor().text(), s("#!/bin/bash\n\n"));
        int line = -1;
        int column = -1;
        sheet.scriptEditor().getCursorPosition(&line, &column);
        QCOMPARE(line, 2);
        QCOMPARE(sheet.syntaxType(), SyntaxType::bash);
        QCOMPARE(sheet.findChild<QPushButton *>(s("saveScriptButton"))->text(), s("Save…"));

        sheet.scriptEditor().setText(s("#!/usr/bin/env python3\nprint('hi')\n"));
        QCOMPARE(sheet.syntaxType(), SyntaxType::python);
        sheet.nameField().setText(s("hello"));
        const QString path = NewScript::scriptsFolder() + s("/hello world.py");
        answers.savePaths = {path};
        sheet.show();
        QTest::mouseClick(sheet.findChild<QPushButton *>(s("saveScriptButton")), Qt::LeftButton);
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(answers.panels.first().proposedName, s("hello"));
        QVERIFY(sheet.job());
        QCOMPARE(sheet.job()->label, s("hello world"));
        QCOMPARE(sheet.job()->run(), Const::Command::python + s(" \"") + path + u'"');
        QCOMPARE(JobList::shared().currentJob(), sheet.job());
        QVERIFY(Defaults::shared().value(NewScriptSheet::frameKey).isValid());
    }

    void screenshotsOfAScriptAndTheSheetAreWritten() {
        TestRoot root;
        ScriptedAnswers answers;
        QVERIFY(ScriptScreenshots::write(root.path(s("shots"))));
        QCOMPARE(QImage(root.path(s("shots/script.png"))).isNull(), false);
        QCOMPARE(QImage(root.path(s("shots/newscript.png"))).isNull(), false);
    }
};

VANDRA_TEST_MAIN(TestScripts)
#include "test_scripts.moc"
