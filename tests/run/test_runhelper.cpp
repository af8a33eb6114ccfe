#include "common/files.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/job.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "run/runhelper.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/text.h"
#include "support/userdefaultskeys.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QUuid>

using namespace Vandra;

namespace {

// Answers alerts and save panels from a script and keeps what was asked.
class ScriptedInteraction final : public Interaction {
public:
    QList<int> alertAnswers;
    QList<std::optional<QString>> saveAnswers;
    QList<AlertRequest> alerts;
    QList<FilePanelRequest> savePanels;

    int alert(const AlertRequest &request) override {
        alerts.append(request);
        return alertAnswers.isEmpty() ? firstButton : alertAnswers.takeFirst();
    }
    std::optional<QString> savePanel(const FilePanelRequest &request) override {
        savePanels.append(request);
        return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
    }
    std::optional<QString> openPanel(const FilePanelRequest &) override { return std::nullopt; }
    void beep() override {}
};

const QString fakeTool = QStringLiteral("vandra-test-tool");

} // namespace

class TestRunHelper : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestRoot> m_root;
    ScriptedInteraction *m_interaction = nullptr;
    QByteArray m_path;

    // Writes a file under the root with the given permissions.
    QString file(const QString &relative, const QByteArray &bytes,
                 QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::ReadOther) {
        const QString path = m_root->write(relative, bytes);
        QFile::setPermissions(path, permissions);
        return path;
    }

    QString executable(const QString &relative) {
        return file(relative, "#!/bin/sh\nexit 0\n",
                    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }

    // A folder with the fake tool, searched before the usual ones.
    QString putFakeToolOnPath() {
        const QString tool = executable(QStringLiteral("tools/") + fakeTool);
        const QString folder = QFileInfo(tool).path();
        qputenv("PATH", QFile::encodeName(folder) + ':' + m_path);
        return folder + QLatin1Char('/');
    }

    void setAutomaticHelp(bool on) {
        Defaults::shared().setValue(UserDefaultsKeys::automaticHelp, on);
    }

    QString home() const { return Locations::shared().home(); }

private Q_SLOTS:
    // The Run text shown for any argument list splits back into the same list.
    void composedRunTextSplitsIntoTheSameArguments() {
        static const QStringList pieces = {s(" "),     s("a"),   s("\""), s("'"), s("\\"),
                                           s("$HOME"), s("\t"),  s("\n"), s("é"), s("日"),
                                           s("\\ "),   s("\" "), s("' "), s("-x")};
        QRandomGenerator random(17);
        for (int round = 0; round < 3000; ++round) {
            QStringList arguments{s("/bin/tool")};
            const int count = int(random.bounded(5));
            for (int i = 0; i < count; ++i) {
                QString argument;
                const int length = int(random.bounded(6)); // zero gives an empty argument
                for (int j = 0; j < length; ++j)
                    argument += pieces.at(random.bounded(pieces.size()));
                arguments.append(argument);
            }
            const QString run =
                JobReader::composeRun({{s("ProgramArguments"), PlistValue(arguments)}}).run;
            QVERIFY2(Text::separateCommand(run) == arguments,
                     qPrintable(arguments.join(s("|")) + s(" shown as ") + run));
        }
    }

    void aProgramPathWithSpacesStaysOneWord() {
        const QString program = s("/Library/Application Support/Tool/bin/agent");
        const RunComposition composition = JobReader::composeRun(
            {{s("Program"), PlistValue(program)},
             {s("ProgramArguments"), PlistValue(QStringList{s("agent"), s("'a b' \"c\"")})}});
        QCOMPARE(Text::separateCommand(composition.run), (QStringList{program, s("'a b' \"c\"")}));
    }

    void initTestCase() { m_path = qgetenv("PATH"); }

    void init() {
        m_root = std::make_unique<TestRoot>();
        QDir().mkpath(home());
        m_interaction = new ScriptedInteraction;
        Interaction::setShared(m_interaction);
    }

    void cleanup() {
        Interaction::setShared(nullptr);
        delete m_interaction;
        m_interaction = nullptr;
        qputenv("PATH", m_path);
        JobList::shared().reset();
        m_root.reset();
    }

    void interpretersIgnoreCaseAndTestNamedShellsFirst() {
        QCOMPARE(RunHelper::interpreterForExtension(QStringLiteral("PY")), Const::Command::python);
        QCOMPARE(RunHelper::interpreterForExtension(QStringLiteral("workflow")),
                 Const::Command::automator);
        QVERIFY(!RunHelper::interpreterForExtension(QStringLiteral("zsh")));
        QCOMPARE(RunHelper::interpreterForFirstLine(QStringLiteral("#!/bin/bash")),
                 Const::Command::bash);
        QCOMPARE(RunHelper::interpreterForFirstLine(QStringLiteral("#!/bin/KSH")),
                 Const::Command::ksh);
        QCOMPARE(RunHelper::interpreterForFirstLine(QStringLiteral("#!/bin/zsh")),
                 Const::Command::shell);
        QCOMPARE(RunHelper::interpreterForFirstLine(QStringLiteral("#!/usr/bin/perl -w")),
                 Const::Command::perl);
        QVERIFY(!RunHelper::interpreterForFirstLine(QStringLiteral("#!/usr/bin/node")));
    }

    void commandForFileRunsExecutablesAndScripts() {
        const QFile::Permissions rwxr__r__ = QFile::ReadOwner | QFile::WriteOwner |
                                             QFile::ExeOwner | QFile::ReadGroup | QFile::ReadOther;
        const QFile::Permissions rw_r__r_x = QFile::ReadOwner | QFile::WriteOwner |
                                             QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther;
        const QString space = QStringLiteral(" ");
        const auto command = [](const QString &path) {
            return RunHelper::commandForFile(path).value_or(QString());
        };

        const QString tool = executable(QStringLiteral("tool"));
        QCOMPARE(command(tool), Text::quote(tool));
        const QString owner = file(QStringLiteral("owner-only"), "#!/bin/sh\n", rwxr__r__);
        QCOMPARE(command(owner), Text::quote(owner));
        const QString odd = file(QStringLiteral("odd"), "#!/bin/sh\n", rw_r__r_x);
        QCOMPARE(command(odd), Text::quote(odd));
        // 0700 is not among the permissions run directly: the first line decides.
        const QString privateScript = file(QStringLiteral("private"), "#!/bin/bash\n",
                                           QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(command(privateScript), Const::Command::bash + space + Text::quote(privateScript));

        const QString python = file(QStringLiteral("backup"), "#!/usr/bin/env python3\nprint(1)\n");
        QCOMPARE(command(python), Const::Command::python + space + Text::quote(python));
        const QString zsh = file(QStringLiteral("zsh-script"), "#!/bin/zsh\r\necho\n");
        QCOMPARE(command(zsh), Const::Command::shell + space + Text::quote(zsh));
        const QString php = file(QStringLiteral("page"), "<?php echo 1;\n");
        QCOMPARE(command(php), Const::Command::php + space + Text::quote(php));
        const QString byExtension = file(QStringLiteral("Script.SH"), "echo hi\n");
        QCOMPARE(command(byExtension), Const::Command::shell + space + Text::quote(byExtension));
        const QString unknownExtension = file(QStringLiteral("tool.v2"), "#!/usr/bin/perl -w\n");
        QCOMPARE(command(unknownExtension),
                 Const::Command::perl + space + Text::quote(unknownExtension));
        const QString spaced = file(QStringLiteral("my script.py"), "print(1)\n");
        QVERIFY(Text::quote(spaced) != spaced);
        QCOMPARE(command(spaced), Const::Command::python + space + Text::quote(spaced));

        const QString report = file(QStringLiteral("report.txt"), "quarterly numbers\n");
        QCOMPARE(command(report), Const::Command::open + space + Text::quote(report));
        const QString notUtf8 = file(QStringLiteral("blob"), "#!\xff\xfe/bin/sh\n");
        QCOMPARE(command(notUtf8), Const::Command::open + space + Text::quote(notUtf8));
        const QString folder = m_root->path(QStringLiteral("Folder"));
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(command(folder), Const::Command::open + space + Text::quote(folder));
    }

    void commandForFileTakesTheBundlesExecutable() {
        const QString app = m_root->path(QStringLiteral("Apps/Tool.app"));
        file(QStringLiteral("Apps/Tool.app/Contents/Info.plist"),
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
             "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
             "<plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>Runner</string>"
             "</dict></plist>\n");
        const QString runner = executable(QStringLiteral("Apps/Tool.app/Contents/MacOS/Runner"));
        QCOMPARE(RunHelper::commandForFile(app), Text::quote(runner));

        const QString named = m_root->path(QStringLiteral("Apps/Named.app"));
        const QString namedExecutable =
            executable(QStringLiteral("Apps/Named.app/Contents/MacOS/Named"));
        QCOMPARE(RunHelper::commandForFile(named), Text::quote(namedExecutable));

        const QString bare = m_root->path(QStringLiteral("Apps/Bare.app"));
        QVERIFY(QDir().mkpath(bare + QStringLiteral("/Contents")));
        QCOMPARE(RunHelper::commandForFile(bare), Text::quote(bare));

        setAutomaticHelp(false);
        QVERIFY(!RunHelper::commandForFile(app));
        QCOMPARE(RunHelper::chosenFileText(app), Text::quote(app));
        QVERIFY(!RunHelper::commandForFile(executable(QStringLiteral("tool"))));
    }

    void chosenTextGoesIntoTheRunField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionLength");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty field") << QString() << 0 << 0 << QStringLiteral("/x");
        QTest::newRow("appended after a space")
            << QStringLiteral("cat") << 3 << 0 << QStringLiteral("cat /x");
        QTest::newRow("no second space")
            << QStringLiteral("cat ") << 4 << 0 << QStringLiteral("cat /x");
        QTest::newRow("selection replaced")
            << QStringLiteral("cat old -n") << 4 << 3 << QStringLiteral("cat /x -n");
        QTest::newRow("selection out of range")
            << QStringLiteral("cat") << 2 << 9 << QStringLiteral("cat /x");
    }

    void chosenTextGoesIntoTheRunField() {
        QFETCH(QString, field);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionLength);
        QFETCH(QString, result);
        QCOMPARE(RunHelper::insertChosenText(field, QStringLiteral("/x"), selectionStart,
                                             selectionLength),
                 result);
    }

    void droppedFilesAreQuotedOnlyWithSpaces() {
        QCOMPARE(RunHelper::droppedFileText(QStringLiteral("/usr/bin/tool")),
                 QStringLiteral("/usr/bin/tool"));
        const QString spaced = QStringLiteral("/tmp/my tool");
        QCOMPARE(RunHelper::droppedFileText(spaced), Text::quote(spaced));
        QCOMPARE(Text::separateCommand(RunHelper::droppedFileText(spaced)), QStringList{spaced});
    }

    void nameFromCommand_data() {
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("name");
        QTest::newRow("extension runs to the end")
            << QStringLiteral("/usr/local/bin/my-backup.sh --all") << QStringLiteral("my-backup");
        QTest::newRow("plain command") << QStringLiteral("echo") << QStringLiteral("echo");
        QTest::newRow("quotes removed")
            << QStringLiteral("\"/opt/My App/bin/My Tool\"") << QStringLiteral("My Tool");
        QTest::newRow("escaped space")
            << QStringLiteral("/opt/my\\ tool") << QStringLiteral("my tool");
        QTest::newRow("leading dot is no extension")
            << QStringLiteral("/x/.profile") << QStringLiteral(".profile");
        QTest::newRow("long name cut and trimmed")
            << QStringLiteral("/x/") + QString(47, QLatin1Char('a')) + QStringLiteral(" ") +
                   QString(12, QLatin1Char('b'))
            << QString(47, QLatin1Char('a'));
    }

    void nameFromCommand() {
        QFETCH(QString, run);
        QFETCH(QString, name);
        QCOMPARE(RunHelper::nameFromCommand(run), name);
    }

    void nameFromCommandFallsBackToAUuid() {
        for (const QString &run : {QStringLiteral("ab"), QString(), QStringLiteral("/x/\"\"")}) {
            const QString name = RunHelper::nameFromCommand(run);
            QVERIFY2(!QUuid::fromString(name).isNull(), qPrintable(name));
        }
        QVERIFY(RunHelper::nameFromCommand(QStringLiteral("ab")) !=
                RunHelper::nameFromCommand(QStringLiteral("ab")));
    }

    void removeSudo_data() {
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("result");
        QTest::newRow("sudo") << QStringLiteral("sudo /usr/sbin/tool -x")
                              << QStringLiteral("/usr/sbin/tool -x");
        QTest::newRow("any case") << QStringLiteral("Sudo tool") << QStringLiteral("tool");
        QTest::newRow("with an option") << QStringLiteral("sudo -u someone tool") << QString();
        QTest::newRow("bare") << QStringLiteral("SUDO") << QString();
        QTest::newRow("only the word") << QStringLiteral("sudo ") << QString();
        QTest::newRow("inside") << QStringLiteral("echo sudo x") << QString();
    }

    void removeSudo() {
        QFETCH(QString, run);
        QFETCH(QString, result);
        QCOMPARE(RunHelper::removeSudo(run).value_or(QString()), result);
        setAutomaticHelp(false);
        QVERIFY(!RunHelper::removeSudo(run));
    }

    void knownCommandsNeedNoLookup() {
        // With nothing on the search path only the fixed folders are known.
        const QString empty = m_root->path(QStringLiteral("empty"));
        QDir().mkpath(empty);
        qputenv("PATH", QFile::encodeName(empty));
        QCOMPARE(RunHelper::commandFolder(QStringLiteral("sh -c x")), QStringLiteral("/bin/"));
        QCOMPARE(RunHelper::commandFolder(QStringLiteral("bash")), QStringLiteral("/bin/"));
        QCOMPARE(RunHelper::commandFolder(QStringLiteral("python script.py")),
                 QStringLiteral("/usr/bin/"));
        QCOMPARE(RunHelper::commandFolder(QStringLiteral("osascript -e x")),
                 QStringLiteral("/usr/bin/"));
        QVERIFY(!RunHelper::commandFolder(QStringLiteral("ls -l")));
    }

    void otherCommandsAreFoundOnTheSearchPath() {
        const QString folder = putFakeToolOnPath();
        QCOMPARE(RunHelper::commandFolder(fakeTool + QStringLiteral(" -x")), folder);
        QCOMPARE(RunHelper::commandFolder(QLatin1Char('"') + fakeTool + QStringLiteral("\" -x")),
                 folder);
        QVERIFY(!RunHelper::commandFolder(QStringLiteral("vandra-no-such-tool")));
        QVERIFY(!RunHelper::commandFolder(QStringLiteral("-a ls")));
        // A path is its own folder already; nothing to add.
        QVERIFY(!RunHelper::commandFolder(folder + fakeTool));
        // Only programs count: a plain file of that name on the path is no command.
        QFile plain(folder + QStringLiteral("vandra-plain-file"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(!RunHelper::commandFolder(QStringLiteral("vandra-plain-file")));
        QVERIFY(!RunHelper::commandFolder(QStringLiteral(" leading-space")));
        QVERIFY(!RunHelper::commandFolder(QString()));
    }

    void aFolderNamedLikeTheCommandStays() {
        const QString tool = executable(QStringLiteral("vandra-twin/bin/vandra-twin"));
        const QString folder = QFileInfo(tool).path();
        qputenv("PATH", QFile::encodeName(folder) + ':' + m_path);
        QCOMPARE(RunHelper::commandFolder(QStringLiteral("vandra-twin")),
                 folder + QLatin1Char('/'));
    }

    void addCommandFolder_data() {
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("result"); // "@" stands for the fake tool's folder
        QTest::newRow("known interpreter")
            << QStringLiteral("python script.py") << QStringLiteral("/usr/bin/python script.py");
        QTest::newRow("found by which") << fakeTool + QStringLiteral(" -x")
                                        << QStringLiteral("@") + fakeTool + QStringLiteral(" -x");
        QTest::newRow("relative path") << QStringLiteral("./script.sh") << QString();
        QTest::newRow("absolute path") << QStringLiteral("/bin/ls") << QString();
        QTest::newRow("quoted") << QStringLiteral("\"my tool\" -x") << QString();
        QTest::newRow("home") << QStringLiteral("~/bin/tool") << QString();
        QTest::newRow("variable") << QStringLiteral("$HOME/bin/tool") << QString();
        QTest::newRow("too short") << QStringLiteral("sh") << QString();
        QTest::newRow("not found") << QStringLiteral("vandra-no-such-tool") << QString();
    }

    void addCommandFolder() {
        QFETCH(QString, run);
        QFETCH(QString, result);
        const QString folder = putFakeToolOnPath();
        result.replace(QLatin1Char('@'), folder);
        QCOMPARE(RunHelper::addCommandFolder(run).value_or(QString()), result);
        setAutomaticHelp(false);
        QVERIFY(!RunHelper::addCommandFolder(run));
    }

    void expandTilde_data() {
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("result"); // "@" stands for the home folder
        QTest::newRow("every word")
            << QStringLiteral("~/bin/tool ~/data") << QStringLiteral("@/bin/tool @/data");
        QTest::newRow("alone after a space") << QStringLiteral("ls ~") << QStringLiteral("ls @");
        QTest::newRow("before a slash") << QStringLiteral("x~/y") << QStringLiteral("x@/y");
        QTest::newRow("inside a word") << QStringLiteral("a~b") << QString();
        QTest::newRow("none") << QStringLiteral("ls") << QString();
    }

    void expandTilde() {
        QFETCH(QString, run);
        QFETCH(QString, result);
        result.replace(QLatin1Char('@'), home());
        QCOMPARE(RunHelper::expandTilde(run).value_or(QString()), result);
        setAutomaticHelp(false);
        QVERIFY(!RunHelper::expandTilde(run));
    }

    void complexCommands_data() {
        QTest::addColumn<QString>("run");
        QTest::addColumn<bool>("complex");
        QTest::newRow("pipe") << QStringLiteral("ls -l | grep x") << true;
        QTest::newRow("output") << QStringLiteral("date > /tmp/d") << true;
        QTest::newRow("input") << QStringLiteral("sort < /tmp/d") << true;
        QTest::newRow("sequence") << QStringLiteral("cd /; ls") << true;
        QTest::newRow("exec") << QStringLiteral("exec /bin/tool") << true;
        QTest::newRow("typographic apostrophe") << QStringLiteral("echo it\u2019s") << true;
        QTest::newRow("plain") << QStringLiteral("/usr/bin/tool -x") << false;
    }

    void complexCommands() {
        QFETCH(QString, run);
        QFETCH(bool, complex);
        QCOMPARE(RunHelper::isComplexCommand(run), complex);
        m_interaction->alertAnswers = {1};
        QVERIFY(!RunHelper::offerShellScript(run, QStringLiteral("job")));
        QCOMPARE(m_interaction->alerts.size(), complex ? 1 : 0);
    }

    void shortOrSuppressedCommandsAreNeverOffered() {
        QVERIFY(!RunHelper::offerShellScript(QStringLiteral("a|b|c"), QStringLiteral("job")));
        Defaults::shared().setValue(UserDefaultsKeys::suppressAlertComplexRun, true);
        QVERIFY(
            !RunHelper::offerShellScript(QStringLiteral("ls -l | grep x"), QStringLiteral("job")));
        QVERIFY(m_interaction->alerts.isEmpty());
        QVERIFY(m_interaction->savePanels.isEmpty());
    }

    void acceptingTheOfferWritesAShellScript() {
        const QString script = home() + QStringLiteral("/x.sh");
        m_interaction->saveAnswers = {script};
        const std::optional<QString> run =
            RunHelper::offerShellScript(QStringLiteral("ls -l | grep x"), QStringLiteral("x"));
        QCOMPARE(run, QStringLiteral("/bin/sh '") + script + QLatin1Char('\''));
        QCOMPARE(readAll(script), QByteArray("#!/bin/sh\n\nls -l | grep x"));

        QCOMPARE(m_interaction->alerts.size(), 1);
        const AlertRequest &alert = m_interaction->alerts.first();
        QCOMPARE(
            alert.message,
            QStringLiteral("Your command might be too complex to run. Do you want to run it as a "
                           "shell script instead?"));
        QCOMPARE(alert.informativeText, QString());
        QCOMPARE(alert.buttons, (QStringList{QStringLiteral("Run Shell Script"),
                                             QStringLiteral("Continue Anyway")}));
        QCOMPARE(alert.suppressionKey, UserDefaultsKeys::suppressAlertComplexRun);
        QCOMPARE(m_interaction->savePanels.size(), 1);
        const FilePanelRequest &panel = m_interaction->savePanels.first();
        QCOMPARE(panel.directory, home());
        QCOMPARE(panel.proposedName, QStringLiteral("x.sh"));
        QCOMPARE(panel.allowedSuffixes, QStringList{QStringLiteral("sh")});
        QVERIFY(panel.canCreateFolders);
    }

    void declinedOrCancelledOffersChangeNothing() {
        m_interaction->alertAnswers = {1};
        QVERIFY(
            !RunHelper::offerShellScript(QStringLiteral("ls -l | grep x"), QStringLiteral("x")));
        QVERIFY(m_interaction->savePanels.isEmpty());
        QVERIFY(
            !RunHelper::offerShellScript(QStringLiteral("ls -l | grep x"), QStringLiteral("x")));
        QCOMPARE(m_interaction->savePanels.size(), 1);
        QVERIFY(QDir(home()).entryList({QStringLiteral("*.sh")}, QDir::Files).isEmpty());
    }

    void aScriptPathWithAQuoteStaysOneWord() {
        const QString script = home() + QStringLiteral("/it's done.sh");
        m_interaction->saveAnswers = {script};
        const std::optional<QString> run =
            RunHelper::offerShellScript(QStringLiteral("date > /tmp/d"), QStringLiteral("x"));
        QVERIFY(run);
        QCOMPARE(Text::separateCommand(*run), (QStringList{QStringLiteral("/bin/sh"), script}));
        QVERIFY(QFile::exists(script));
    }

    void aScriptThatCannotBeWrittenKeepsTheCommand() {
        m_interaction->saveAnswers = {home() + QStringLiteral("/missing/folder/x.sh")};
        QVERIFY(
            !RunHelper::offerShellScript(QStringLiteral("ls -l | grep x"), QStringLiteral("x")));
        QCOMPARE(m_interaction->alerts.size(), 2);
        QVERIFY(m_interaction->alerts.last().isCritical);
    }

    void automaticHelpRepairsTheRunFieldInOrder() {
        auto job = std::make_shared<Job>();
        job->kind = Kind::userAgent;
        JobList::shared().setCurrentJob(job);
        QString runField = QStringLiteral("sudo python ~/backup.py");
        QString nameField;
        RunHelper::applyAutomaticHelp(*job, runField, nameField);
        QCOMPARE(nameField, QStringLiteral("backup"));
        QCOMPARE(job->label, QStringLiteral("backup"));
        QCOMPARE(runField,
                 QStringLiteral("/usr/bin/python ") + home() + QStringLiteral("/backup.py"));
        QCOMPARE(job->run(), runField);
        QCOMPARE(job->kind, Kind::localDaemon);
        QVERIFY(job->changes().contains(Change::run));
        QVERIFY(m_interaction->alerts.isEmpty());
    }

    void automaticHelpOffersAScriptLast() {
        const QString folder = putFakeToolOnPath();
        auto job = std::make_shared<Job>();
        job->kind = Kind::userAgent;
        job->label = QStringLiteral("Keep");
        JobList::shared().setCurrentJob(job);
        const QString script = home() + QStringLiteral("/Keep.sh");
        m_interaction->saveAnswers = {script};
        QString runField = fakeTool + QStringLiteral(" -l | grep x");
        QString nameField = QStringLiteral("Keep");
        RunHelper::applyAutomaticHelp(*job, runField, nameField);
        QCOMPARE(nameField, QStringLiteral("Keep"));
        QCOMPARE(runField, QStringLiteral("/bin/sh '") + script + QLatin1Char('\''));
        QCOMPARE(job->run(), runField);
        QCOMPARE(job->kind, Kind::userAgent);
        QCOMPARE(m_interaction->savePanels.first().proposedName, QStringLiteral("Keep.sh"));
        QCOMPARE(readAll(script),
                 QByteArray("#!/bin/sh\n\n") + (folder + fakeTool).toUtf8() + " -l | grep x");
    }

    void automaticHelpOffLeavesTheCommand() {
        setAutomaticHelp(false);
        auto job = std::make_shared<Job>();
        QString runField = QStringLiteral("sudo python ~/backup.py");
        QString nameField = QStringLiteral("Named");
        RunHelper::applyAutomaticHelp(*job, runField, nameField);
        QCOMPARE(runField, QStringLiteral("sudo python ~/backup.py"));
        QVERIFY(job->run().isEmpty());
        QCOMPARE(RunHelper::repairedRun(runField), runField);
    }

    void repairedRunLeavesTheFieldAlone() {
        const QString folder = putFakeToolOnPath();
        QCOMPARE(
            RunHelper::repairedRun(QStringLiteral("sudo ") + fakeTool + QStringLiteral(" ~/x")),
            folder + fakeTool + QLatin1Char(' ') + home() + QStringLiteral("/x"));
        QCOMPARE(RunHelper::repairedRun(QStringLiteral("./x ~/y"), false),
                 QStringLiteral("./x ") + home() + QStringLiteral("/y"));
        QVERIFY(m_interaction->alerts.isEmpty());
    }

    void anEmptyRunIsRefused() {
        QVERIFY(RunHelper::checkRunNotEmpty(QStringLiteral("x")));
        QVERIFY(m_interaction->alerts.isEmpty());
        QVERIFY(!RunHelper::checkRunNotEmpty(QString()));
        QCOMPARE(m_interaction->alerts.size(), 1);
        QCOMPARE(
            m_interaction->alerts.first().message,
            Localize::format(Localize::text("Value for %@ cannot be empty"), {Localize::run()}));
        QCOMPARE(m_interaction->alerts.first().buttons, QStringList{Localize::ok()});
    }
};

VANDRA_GUILESS_TEST_MAIN(TestRunHelper)
#include "test_runhelper.moc"
