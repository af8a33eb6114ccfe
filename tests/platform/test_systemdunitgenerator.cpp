#include "platform/systemdunitgenerator.h"
#include "schedule/timelinebuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <algorithm>

using namespace Vandra;

using namespace Qt::Literals::StringLiterals;

namespace {

PlistDict entry(std::initializer_list<std::pair<QString, int>> fields) {
    PlistDict dict;
    for (const auto &[key, value] : fields)
        dict.insert(key, value);
    return dict;
}

struct Run {
    int status = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

QString unitText(const SystemdUnits &units, const QString &suffix) {
    for (const SystemdUnit &unit : units.units) {
        if (unit.name.endsWith(suffix))
            return unit.text;
    }
    return {};
}

// How far ahead an entry is followed: far enough for a dozen starts, or for a yearly date
// to come round twice.
QDateTime horizon(const PlistDict &entry, const QDateTime &base) {
    if (entry.contains(u"Month"_s))
        return base.addDays(800);
    if (entry.contains(u"Day"_s) || entry.contains(u"Weekday"_s))
        return base.addDays(100);
    return base.addDays(entry.contains(u"Hour"_s) ? 14 : 1);
}

// Every start of an entry after base and before end, by the timeline's computation.
QList<QDateTime> expectedStarts(const PlistDict &entry, const QDateTime &base, const QDateTime &end,
                                const QTimeZone &zone) {
    QList<QDateTime> dates;
    for (const CalendarMatch &match : TimelineBuilder::calendarMatches(entry))
        dates += TimelineBuilder::matchingDates(match, base, end, zone);
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}

// The first count elapses of a timer's OnCalendar= lines after base, as systemd works them
// out in the zone named by tz.
QList<QDateTime> systemdStarts(const QString &timer, const QDateTime &base, const QString &tz,
                               int count) {
    QStringList arguments{u"calendar"_s, u"--iterations=%1"_s.arg(count),
                          u"--base-time=@%1"_s.arg(base.toSecsSinceEpoch())};
    for (const QString &line : timer.split(QLatin1Char('\n'))) {
        if (line.startsWith(u"OnCalendar="_s))
            arguments.append(line.mid(11));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TZ"_s, tz);
    const Run result = run(u"systemd-analyze"_s, arguments, environment);
    if (result.status != 0)
        return {QDateTime()};
    static const QRegularExpression utc(u"\\(in UTC\\): \\w+ (\\S+ \\S+) UTC"_s);
    QList<QDateTime> dates;
    for (auto it = utc.globalMatch(result.output); it.hasNext();) {
        dates.append(QDateTime::fromString(it.next().captured(1), u"yyyy-MM-dd HH:mm:ss"_s)
                         .toTimeZone(QTimeZone::utc()));
        dates.last().setTimeZone(QTimeZone::utc());
    }
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates.mid(0, count);
}

PlistDict job(const QString &label, PlistDict keys = {}) {
    keys.insert(u"Label"_s, label);
    if (!keys.contains(u"ProgramArguments"_s) && !keys.contains(u"Program"_s))
        keys.insert(u"ProgramArguments"_s, QStringList{u"/bin/sh"_s, u"-c"_s, u"true"_s});
    return keys;
}

} // namespace

class TestSystemdUnitGenerator final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(u"systemd-analyze"_s).isEmpty())
            QSKIP("systemd-analyze is not installed");
    }

    void unitsOfEveryMappedKeyPassSystemdsOwnCheck_data() {
        QTest::addColumn<int>("scope");
        QTest::newRow("daemon") << int(SystemdScope::system);
        QTest::newRow("user agent") << int(SystemdScope::user);
        QTest::newRow("agent for every user") << int(SystemdScope::allUsers);
    }
    void unitsOfEveryMappedKeyPassSystemdsOwnCheck() {
        QFETCH(int, scope);
        QTemporaryDir folder;
        const PlistDict keys{
            {u"Program"_s, u"/bin/sh"_s},
            {u"ProgramArguments"_s,
             QStringList{u"sh"_s, u"-c"_s, u"echo \"100% $HOME\" ; exit 0"_s, u""_s}},
            {u"EnvironmentVariables"_s,
             PlistDict{{u"GREETING"_s, u"hello \"world\" 50%"_s}, {u"EMPTY"_s, u""_s}}},
            {u"WorkingDirectory"_s, folder.path()},
            {u"UserName"_s, u"root"_s},
            {u"GroupName"_s, u"root"_s},
            {u"StandardInPath"_s, u"/dev/null"_s},
            {u"StandardOutPath"_s, QString(folder.path() + u"/out 100%.log"_s)},
            {u"StandardErrorPath"_s, QString(folder.path() + u"/err.log"_s)},
            {u"RunAtLoad"_s, true},
            {u"KeepAlive"_s,
             PlistDict{{u"SuccessfulExit"_s, false},
                       {u"PathState"_s, PlistDict{{QString(folder.path() + u"/go"_s), true}}}}},
            {u"StartInterval"_s, 300},
            {u"StartCalendarInterval"_s,
             PlistArray{entry({{u"Hour"_s, 9}, {u"Minute"_s, 30}}), entry({{u"Weekday"_s, 7}}),
                        entry({{u"Month"_s, 2}, {u"Day"_s, 29}, {u"Weekday"_s, 1}})}},
            {u"WatchPaths"_s, QStringList{QString(folder.path() + u"/watched"_s)}},
            {u"QueueDirectories"_s, QStringList{folder.path()}},
            {u"ThrottleInterval"_s, 30},
            {u"ExitTimeOut"_s, qint64(0)},
            {u"Nice"_s, 5},
            {u"LowPriorityIO"_s, true},
            {u"Umask"_s, 18},
            {u"AbandonProcessGroup"_s, true},
            {u"SoftResourceLimits"_s, PlistDict{{u"NumberOfFiles"_s, 512}, {u"Core"_s, qint64(0)}}},
            {u"HardResourceLimits"_s, PlistDict{{u"NumberOfFiles"_s, 1024}}},
        };
        const SystemdUnits units = SystemdUnitGenerator::generate(
            job(u"org.example.every-key"_s, keys), SystemdScope(scope), u"/etc/job 1.plist"_s);
        QCOMPARE(units.units.size(), 3);
        QStringList files;
        for (const SystemdUnit &unit : units.units) {
            QFile file(folder.filePath(unit.name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(unit.text.toUtf8());
            files.append(file.fileName());
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QStringList arguments{u"verify"_s, u"--man=no"_s};
        if (SystemdScope(scope) != SystemdScope::system) {
            // The user manager's check wants a runtime folder of its own.
            environment.insert(u"XDG_RUNTIME_DIR"_s, folder.path());
            arguments.append(u"--user"_s);
        }
        const Run result = run(u"systemd-analyze"_s, arguments + files, environment);
        QVERIFY2(result.status == 0, qPrintable(result.output));
        // User and group are for daemons; for agents they are noted and left out.
        const QString service = unitText(units, u".service"_s);
        QCOMPARE(service.contains(u"\nUser=root\n"_s), SystemdScope(scope) == SystemdScope::system);
        QCOMPARE(units.notes.contains(SystemdNote{
                     u"UserName"_s, u"an agent runs as the user whose session runs it"_s}),
                 SystemdScope(scope) != SystemdScope::system);
    }

    void commandWordsReachTheProgramUnchanged() {
        // systemd names the program it could not find exactly as it read it from the unit.
        QTemporaryDir folder;
        const QString program = folder.path() + u"/a program 100% $HOME"_s;
        const SystemdUnits units = SystemdUnitGenerator::generate(
            job(u"org.example.odd"_s,
                {{u"ProgramArguments"_s, QStringList{program, u"x \"y\" $z"_s}}}),
            SystemdScope::system, u"/etc/odd.plist"_s);
        QFile file(folder.filePath(units.units.value(0).name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(units.units.value(0).text.toUtf8());
        file.close();
        const Run missing =
            run(u"systemd-analyze"_s, {u"verify"_s, u"--man=no"_s, file.fileName()});
        QVERIFY2(missing.output.contains(u"Command "_s + program + u" is not executable"_s),
                 qPrintable(missing.output));
        QVERIFY(QFile::copy(u"/bin/true"_s, program));
        const Run found = run(u"systemd-analyze"_s, {u"verify"_s, u"--man=no"_s, file.fileName()});
        QVERIFY2(found.status == 0, qPrintable(found.output));
        QVERIFY(units.units.value(0).text.contains(
            u"\nExecStart=\"%1/a program 100%% $HOME\" \"x \\\"y\\\" $$z\"\n"_s.arg(
                folder.path())));
        const SystemdUnits quoted = SystemdUnitGenerator::generate(
            job(u"q"_s, {{u"Program"_s, u"/bin/a\"b"_s}}), SystemdScope::system, u"/j"_s);
        QVERIFY(quoted.units.isEmpty());
    }

    void unitNamesFollowSystemdEscape() {
        for (const QString &label : {u"org.example.backup"_s, u"org.example.monthly-report"_s,
                                     u".hidden job/with slash"_s, u"Ünïcode:_label"_s}) {
            const Run escaped = run(u"systemd-escape"_s, {u"--"_s, label});
            QCOMPARE(SystemdUnitGenerator::unitStem(label), escaped.output.trimmed());
        }
        QCOMPARE(SystemdUnitGenerator::unitStem(QString()), std::nullopt);
        QCOMPARE(SystemdUnitGenerator::unitStem(QString(248, QLatin1Char('a'))), std::nullopt);
        QVERIFY(SystemdUnitGenerator::unitStem(QString(247, QLatin1Char('a'))));
    }

    void timersStartWhenTheTimelineSaysAcrossClockChanges_data() {
        QTest::addColumn<PlistDict>("calendarEntry");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("base");
        const QString spring = u"2026-03-27T12:00:00Z"_s;
        const QString autumn = u"2026-10-23T12:00:00Z"_s;
        for (const QString &zone : {u"Europe/Berlin"_s, u"America/New_York"_s}) {
            for (const QString &base : {spring, autumn}) {
                const QString at = zone + (base == spring ? u" spring"_s : u" autumn"_s);
                QTest::newRow(qPrintable(at + u" daily at 02:30"_s))
                    << entry({{u"Hour"_s, 2}, {u"Minute"_s, 30}}) << zone << base;
                QTest::newRow(qPrintable(at + u" every minute of 02:00"_s))
                    << entry({{u"Hour"_s, 2}}) << zone << base;
                QTest::newRow(qPrintable(at + u" hourly at :05"_s))
                    << entry({{u"Minute"_s, 5}}) << zone << base;
                QTest::newRow(qPrintable(at + u" Sundays (7) at 01:00"_s))
                    << entry({{u"Weekday"_s, 7}, {u"Hour"_s, 1}, {u"Minute"_s, 0}}) << zone << base;
                QTest::newRow(qPrintable(at + u" the 1st or Mondays"_s))
                    << entry({{u"Day"_s, 1}, {u"Weekday"_s, 1}, {u"Hour"_s, 3}, {u"Minute"_s, 0}})
                    << zone << base;
                QTest::newRow(qPrintable(at + u" the 31st"_s))
                    << entry({{u"Day"_s, 31}, {u"Hour"_s, 12}, {u"Minute"_s, 0}}) << zone << base;
                QTest::newRow(qPrintable(at + u" 29 February"_s))
                    << entry({{u"Month"_s, 2}, {u"Day"_s, 29}, {u"Hour"_s, 0}, {u"Minute"_s, 0}})
                    << zone << base;
                QTest::newRow(qPrintable(at + u" every minute"_s)) << PlistDict() << zone << base;
                QTest::newRow(qPrintable(at + u" every minute of Mondays"_s))
                    << entry({{u"Weekday"_s, 1}}) << zone << base;
                QTest::newRow(qPrintable(at + u" every hour of the 1st at :10"_s))
                    << entry({{u"Day"_s, 1}, {u"Minute"_s, 10}}) << zone << base;
                QTest::newRow(qPrintable(at + u" every day of April at 06:00"_s))
                    << entry({{u"Month"_s, 4}, {u"Hour"_s, 6}, {u"Minute"_s, 0}}) << zone << base;
                QTest::newRow(qPrintable(at + u" out-of-range hour and month"_s))
                    << entry({{u"Month"_s, 14}, {u"Hour"_s, 30}, {u"Minute"_s, 7}}) << zone << base;
            }
        }
    }
    void timersStartWhenTheTimelineSaysAcrossClockChanges() {
        QFETCH(PlistDict, calendarEntry);
        QFETCH(QString, zone);
        QFETCH(QString, base);
        const QDateTime from = QDateTime::fromString(base, Qt::ISODate);
        const SystemdUnits units = SystemdUnitGenerator::generate(
            job(u"org.example.calendar"_s, {{u"StartCalendarInterval"_s, calendarEntry}}),
            SystemdScope::system, u"/etc/calendar.plist"_s);
        const QString timer = unitText(units, u".timer"_s);
        QVERIFY(!timer.isEmpty());
        constexpr int count = 12;
        const QDateTime end = horizon(calendarEntry, from);
        const QList<QDateTime> expected =
            expectedStarts(calendarEntry, from, end, QTimeZone(zone.toUtf8()));
        QList<QDateTime> actual = systemdStarts(timer, from, zone, count);
        actual.removeIf([&end](const QDateTime &date) { return !date.isValid() || date >= end; });
        QVERIFY(!expected.isEmpty());
        QCOMPARE(actual.size(), std::min<qsizetype>(count, expected.size()));
        for (qsizetype i = 0; i < actual.size(); ++i)
            QCOMPARE(actual.at(i).toSecsSinceEpoch(), expected.at(i).toSecsSinceEpoch());
    }

    void nothingTheUnitsCannotCarryIsDroppedSilently() {
        const PlistDict keys{
            {u"MachServices"_s, PlistDict{{u"org.example.service"_s, true}}},
            {u"LimitLoadToSessionType"_s, u"Aqua"_s},
            {u"KeepAlive"_s, PlistDict{{u"NetworkState"_s, true}, {u"Crashed"_s, true}}},
            {u"Nice"_s, 40},
            {u"StartCalendarInterval"_s, entry({{u"Hour"_s, 25}, {u"Weekday"_s, 9}})},
            {u"WatchPaths"_s, QStringList{u"relative/path"_s}},
        };
        const SystemdUnits units = SystemdUnitGenerator::generate(
            job(u"org.example.notes"_s, keys), SystemdScope::user, u"/home/u/notes.plist"_s);
        QStringList noted;
        for (const SystemdNote &note : units.notes)
            noted.append(note.key);
        for (const QString &key : keys.keys())
            QVERIFY2(noted.contains(key), qPrintable(key));
        // What can be carried still is: the crash restart and the normalised calendar entry.
        const QString service = unitText(units, u".service"_s);
        QVERIFY(service.contains(u"\nRestart=on-abnormal\n"_s));
        QVERIFY(unitText(units, u".timer"_s).contains(u"\nOnCalendar=Sun *-*-* 00:*:00\n"_s));
        QVERIFY(unitText(units, u".path"_s).isEmpty());
    }

    void aJobWithoutLabelOrProgramBecomesNoUnits() {
        QVERIFY(SystemdUnitGenerator::generate({{u"Label"_s, u"x"_s}}, SystemdScope::user, u"/j"_s)
                    .units.isEmpty());
        const SystemdUnits unlabelled = SystemdUnitGenerator::generate(
            {{u"Program"_s, u"/bin/true"_s}}, SystemdScope::user, u"/j"_s);
        QVERIFY(unlabelled.units.isEmpty());
        QCOMPARE(unlabelled.notes.value(0).key, u"Label"_s);
        const SystemdUnits relative = SystemdUnitGenerator::generate(
            job(u"x"_s, {{u"Program"_s, u"bin/tool"_s}}), SystemdScope::user, u"/j"_s);
        QVERIFY(relative.units.isEmpty());
    }

    void lineBreaksCannotAddSettingsAndTheMarkerNamesTheJobFile() {
        const QString path = u"/etc/odd\n[Service]\nExecStartPre=/bin/evil\\.plist"_s;
        const SystemdUnits units = SystemdUnitGenerator::generate(
            job(u"label\nExecStartPre=/bin/evil"_s,
                {{u"WorkingDirectory"_s, u"/tmp\nExecStartPre=/bin/evil"_s},
                 {u"EnvironmentVariables"_s, PlistDict{{u"A"_s, u"1\nExecStartPre=/bin/evil"_s}}},
                 {u"RunAtLoad"_s, true}}),
            SystemdScope::user, path);
        QCOMPARE(units.units.size(), 1);
        const QString text = units.units.constFirst().text;
        for (const QString &line : text.split(QLatin1Char('\n')))
            QVERIFY2(!line.startsWith(u"ExecStartPre"_s), qPrintable(text));
        QCOMPARE(SystemdUnitGenerator::markedJobPath(text), path);
        QVERIFY(units.notes.contains(SystemdNote{
            u"WorkingDirectory"_s, u"systemd takes only an absolute path without line breaks"_s}));
        QCOMPARE(SystemdUnitGenerator::markedJobPath(u"[Unit]\nDescription=x\n"_s), std::nullopt);
        QCOMPARE(SystemdUnitGenerator::markedJobPath(u"# Written by someone else\n"_s),
                 std::nullopt);
    }

    void disabledJobsAndStartsAtLoad() {
        const SystemdUnits timed = SystemdUnitGenerator::generate(
            job(u"timed"_s, {{u"StartInterval"_s, 60}, {u"Disabled"_s, true}}), SystemdScope::user,
            u"/j"_s);
        QVERIFY(timed.isDisabled);
        QCOMPARE(timed.units.size(), 2);
        // A timed job starts by its timer, not with the manager.
        QVERIFY(timed.units.at(0).wantedBy.isEmpty());
        QVERIFY(!timed.units.at(0).text.contains(u"[Install]"_s));
        QCOMPARE(timed.units.at(1).wantedBy, u"timers.target"_s);
        QVERIFY(timed.units.at(1).text.contains(u"\nOnActiveSec=60\nOnUnitActiveSec=60\n"_s));
        const SystemdUnits kept = SystemdUnitGenerator::generate(
            job(u"kept"_s, {{u"KeepAlive"_s, true}}), SystemdScope::system, u"/j"_s);
        QVERIFY(!kept.isDisabled);
        QVERIFY(kept.units.at(0).text.contains(u"\nRestart=always\n"_s));
        QVERIFY(kept.units.at(0).text.contains(u"\nWantedBy=multi-user.target\n"_s));
    }
};

QTEST_GUILESS_MAIN(TestSystemdUnitGenerator)
#include "test_systemdunitgenerator.moc"
