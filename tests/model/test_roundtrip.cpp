#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "model/schedulereader.h"
#include "model/schedulerules.h"
#include "platform/plistcodec.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/scheduledhelper.h"
#include "schedule/whenswitches.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/userdefaultskeys.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Vandra;

namespace {

// Random job dictionaries: the keys the program reads, with values of the right and of the
// wrong types, and unknown keys holding every type of value.
class JobGenerator {
public:
    explicit JobGenerator(quint32 seed)
        : m_random(seed) {}

    PlistDict job() {
        PlistDict d;
        d.insert(s("Label"), PlistValue(text()));
        const auto maybe = [this](int percent) { return int(m_random.bounded(100)) < percent; };
        if (maybe(40))
            d.insert(s("Disabled"), maybe(80) ? PlistValue(maybe(50)) : PlistValue(text()));
        if (maybe(50))
            d.insert(s("Program"), maybe(90) ? PlistValue(path()) : PlistValue(qint64(3)));
        if (maybe(80))
            d.insert(s("ProgramArguments"),
                     maybe(85) ? PlistValue(arguments()) : PlistValue(path()));
        if (maybe(40))
            d.insert(s("KeepAlive"), keepAlive());
        if (maybe(20))
            d.insert(s("OnDemand"), PlistValue(maybe(50)));
        if (maybe(30))
            d.insert(s("WatchPaths"),
                     maybe(80) ? PlistValue(QStringList{path(), path()}) : PlistValue(path()));
        if (maybe(40))
            d.insert(s("StartInterval"), maybe(90)
                                             ? PlistValue(qint64(m_random.bounded(-100, 200000)))
                                             : PlistValue(2.5));
        if (maybe(50))
            d.insert(s("StartCalendarInterval"), calendar());
        if (maybe(25))
            d.insert(s("MachServices"), machServices());
        if (maybe(25))
            d.insert(s("LimitLoadToSessionType"), sessionType());
        if (maybe(30))
            d.insert(s("EnvironmentVariables"),
                     PlistValue(PlistDict{{s("LANG"), PlistValue(s("C.UTF-8"))}}));
        if (maybe(30))
            d.insert(s("RunAtLoad"), PlistValue(maybe(50)));
        const int unknown = int(m_random.bounded(4));
        for (int i = 0; i < unknown; ++i)
            d.insert(s("Unknown") + QString::number(i), value(2));
        return d;
    }

private:
    QString text() {
        static const QStringList pieces = {s("org.example."), s("job"),    s("Ünïcödé"), s("2"),
                                           s("10"),           s(" space"), s("\"q\""),   s("'s'"),
                                           s("日本"),         s("a\\ b")};
        QString t;
        const int n = 1 + int(m_random.bounded(3));
        for (int i = 0; i < n; ++i)
            t += pieces.at(m_random.bounded(pieces.size()));
        return t;
    }

    QString path() { return s("/usr/bin/") + text(); }

    QStringList arguments() {
        QStringList list{path()};
        const int n = int(m_random.bounded(4));
        for (int i = 0; i < n; ++i)
            list << text();
        return list;
    }

    PlistValue keepAlive() {
        switch (m_random.bounded(5)) {
        case 0:
            return PlistValue(bool(m_random.bounded(2)));
        case 1:
            return PlistValue(
                PlistDict{{s("SuccessfulExit"), PlistValue(bool(m_random.bounded(2)))},
                          {s("Crashed"), PlistValue(true)}});
        case 2:
            return PlistValue(PlistDict());
        case 3:
            return PlistValue(PlistDict{
                {s("PathState"), PlistValue(PlistDict{{path(), PlistValue(true)}})},
                {s("NetworkState"), PlistValue(true)},
                {s("OtherJobEnabled"), PlistValue(PlistDict{{text(), PlistValue(false)}})},
                {s("AfterInitialDemand"), PlistValue(true)}});
        default:
            return PlistValue(qint64(1));
        }
    }

    PlistValue calendarValue(qint64 low, qint64 high) {
        if (m_random.bounded(10) == 0)
            return PlistValue(s("3"));
        return PlistValue(qint64(m_random.bounded(low, high)));
    }

    PlistValue calendar() {
        static const QStringList keys = {s("Month"), s("Day"), s("Weekday"), s("Hour"),
                                         s("Minute")};
        PlistArray entries;
        const int n = 1 + int(m_random.bounded(7));
        const qint64 hour = m_random.bounded(0, 24);
        for (int i = 0; i < n; ++i) {
            PlistDict entry;
            if (m_random.bounded(2)) {
                // Weekday entries at one time, so that week groups fold.
                entry.insert(s("Weekday"), PlistValue(qint64(m_random.bounded(0, 8))));
                entry.insert(s("Hour"), PlistValue(hour));
            } else {
                for (const QString &key : keys) {
                    if (m_random.bounded(2))
                        entry.insert(key, calendarValue(-2, key == s("Minute") ? 70 : 35));
                }
            }
            entries.append(PlistValue(entry));
        }
        if (m_random.bounded(8) == 0)
            entries.append(PlistValue(PlistDict()));
        if (n == 1 && m_random.bounded(2))
            return entries.first();
        return PlistValue(entries);
    }

    PlistValue machServices() {
        PlistDict services{{s("org.example.a"), PlistValue(true)}};
        if (m_random.bounded(2))
            services.insert(s("org.example.b"),
                            PlistValue(PlistDict{{s("ResetAtClose"), PlistValue(true)}}));
        return PlistValue(services);
    }

    PlistValue sessionType() {
        static const QStringList types = {s("Aqua"),       s("Background"), s("LoginWindow"),
                                          s("StandardIO"), s("System"),     s("aqua")};
        if (m_random.bounded(2))
            return PlistValue(types.at(m_random.bounded(types.size())));
        return PlistValue(QStringList{types.at(m_random.bounded(types.size())),
                                      types.at(m_random.bounded(types.size()))});
    }

    PlistValue value(int depth) {
        switch (m_random.bounded(depth > 0 ? 8 : 6)) {
        case 0:
            return PlistValue(text());
        case 1:
            return PlistValue(bool(m_random.bounded(2)));
        case 2:
            return m_random.bounded(2) ? PlistValue(qint64(m_random.generate64()))
                                       : PlistValue(quint64(m_random.generate64()));
        case 3:
            return PlistValue(m_random.generateDouble() * 1e6 - 5e5);
        case 4: {
            // Whole seconds from year 1 to 9999, the years the text form holds.
            static const qint64 first =
                QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
            static const qint64 last =
                QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC).toSecsSinceEpoch();
            return PlistValue(QDateTime::fromSecsSinceEpoch(
                first + qint64(m_random.bounded(quint64(last - first))), Qt::UTC));
        }
        case 5: {
            QByteArray data(int(m_random.bounded(16)), '\0');
            for (char &c : data)
                c = char(m_random.bounded(256));
            return PlistValue(data);
        }
        case 6: {
            PlistArray array;
            for (int i = 0; i < 3; ++i)
                array.append(value(depth - 1));
            return PlistValue(array);
        }
        default: {
            PlistDict dict;
            for (int i = 0; i < 3; ++i)
                dict.insert(text(), value(depth - 1));
            return PlistValue(dict);
        }
        }
    }

    QRandomGenerator m_random;
};

qint64 unitSeconds(Scheduled::RepeatInterval::Unit unit) {
    switch (unit) {
    case Scheduled::RepeatInterval::Unit::seconds:
        return 1;
    case Scheduled::RepeatInterval::Unit::minutes:
        return 60;
    case Scheduled::RepeatInterval::Unit::hours:
        return 3600;
    case Scheduled::RepeatInterval::Unit::days:
        return 86400;
    }
    return 1;
}

PlistDict entry(const QTime &time) {
    return PlistDict{{s("Minute"), PlistValue(qint64(time.minute()))},
                     {s("Hour"), PlistValue(qint64(time.hour()))}};
}

// What the writer must make of a dictionary's schedule keys, worked out from the rules
// without the rule editor: the normalised form.
void expectSchedule(const PlistDict &read, PlistDict &expected) {
    expected.remove(s("StartInterval"));
    expected.remove(s("StartCalendarInterval"));
    PlistArray entries;
    for (const ScheduledType &rule : readSchedule(read)) {
        if (const auto *r = std::get_if<Scheduled::RepeatInterval>(&rule)) {
            if (!expected.contains(s("StartInterval")))
                expected.insert(s("StartInterval"), PlistValue(std::max<qint64>(
                                                        10, r->interval * unitSeconds(r->unit))));
        } else if (const auto *r = std::get_if<Scheduled::EveryHour>(&rule)) {
            entries.append(PlistValue(PlistDict{{s("Minute"), PlistValue(r->minute)}}));
        } else if (const auto *r = std::get_if<Scheduled::EveryDay>(&rule)) {
            entries.append(PlistValue(entry(r->time)));
        } else if (const auto *r = std::get_if<Scheduled::DayOfWeek>(&rule)) {
            QList<qint64> days{r->day};
            if (r->day == Scheduled::DayOfWeek::weekday)
                days = Scheduled::weekdayIndexSet();
            else if (r->day == Scheduled::DayOfWeek::weekend)
                days = Scheduled::weekendIndexSet();
            for (qint64 day : days) {
                PlistDict e = entry(r->time);
                e.insert(s("Weekday"), PlistValue(day));
                entries.append(PlistValue(e));
            }
        } else if (const auto *r = std::get_if<Scheduled::DayOfMonth>(&rule)) {
            PlistDict e = entry(r->time);
            e.insert(s("Day"), PlistValue(r->day + 1));
            entries.append(PlistValue(e));
        } else if (const auto *r = std::get_if<Scheduled::DayOfYear>(&rule)) {
            PlistDict e = entry(r->time);
            e.insert(s("Day"), PlistValue(r->day + 1));
            e.insert(s("Month"), PlistValue(r->month + 1));
            entries.append(PlistValue(e));
        }
    }
    if (!entries.isEmpty())
        expected.insert(s("StartCalendarInterval"), PlistValue(entries));
}

// The When page showing the current job: its rule editor holds the job's rows.
struct WhenPage {
    WhenPage() {
        when.load();
        when.update();
    }
    RuleEditorModel editor;
    WhenSwitches when{editor};
};

// Reads dict as the job the editor shows and writes it back without an edit.
PlistDict writeUnedited(const PlistDict &dict, JobPtr *record = nullptr) {
    JobPtr job = JobReader::jobFromPlist(dict, s("/tmp/job.plist"), Kind::userAgent);
    if (!job)
        return {};
    JobList::shared().setCurrentJob(job);
    const WhenPage page;
    if (record)
        *record = job;
    return JobWriter::makePlist(*job, &page.editor.rows());
}

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void uneditedJobsComeBackNormalised_data() {
        QTest::addColumn<bool>("automaticPath");
        QTest::newRow("automatic PATH off") << false;
        QTest::newRow("automatic PATH on") << true;
    }

    void uneditedJobsComeBackNormalised() {
        QFETCH(bool, automaticPath);
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, automaticPath);
        JobGenerator generator(automaticPath ? 7 : 11);
        for (int i = 0; i < 400; ++i) {
            const PlistDict dict = generator.job();
            JobPtr first;
            const PlistDict written = writeUnedited(dict, &first);
            QVERIFY2(first, qPrintable(PlistValue(dict).debugText()));

            PlistDict expected = dict;
            if (expected.value(s("Disabled")) == PlistValue(false))
                expected.remove(s("Disabled"));
            if (automaticPath && !expected.contains(s("EnvironmentVariables")))
                expected.insert(
                    s("EnvironmentVariables"),
                    PlistValue(PlistDict{{s("PATH"), PlistValue(Const::Misc::defaultPATH)}}));
            else if (automaticPath)
                expected.find(s("EnvironmentVariables"))
                    ->dict()
                    ->insert(s("PATH"), PlistValue(Const::Misc::defaultPATH));
            if (!expected.contains(s("Program")) && !expected.contains(s("ProgramArguments")))
                expected.insert(s("Program"), PlistValue(QString()));
            QVERIFY2(written == expected,
                     qPrintable(s("read:\n") + PlistValue(dict).debugText() + s("\nwritten:\n") +
                                PlistValue(written).debugText()));

            // The text of the file reads back as the same record, and writes the same again.
            const std::optional<QByteArray> text = PlistCodec::toXml(PlistValue(written));
            QVERIFY(text);
            const PlistReadResult back = PlistCodec::read(*text);
            QVERIFY2(back.ok(), qPrintable(back.error));
            QCOMPARE(*back.value, PlistValue(written));
            JobPtr second;
            QCOMPARE(writeUnedited(*back.value->dict(), &second), written);
            QCOMPARE(second->label, first->label);
            QCOMPARE(second->run(), first->run());
            QCOMPARE(second->summary, first->summary);
            QCOMPARE(second->isEnabled(), first->isEnabled());
            QCOMPARE(second->keepAlive(), first->keepAlive());
            QCOMPARE(second->isKeepAliveSuccessfulExitSet(), first->isKeepAliveSuccessfulExitSet());
            QCOMPARE(second->watchPath(), first->watchPath());
            QCOMPARE(second->machServicesKey(), first->machServicesKey());
            QCOMPARE(second->isMachServicesEnabled, first->isMachServicesEnabled);
            QCOMPARE(second->limitLoadToSessionTypeIndex(), first->limitLoadToSessionTypeIndex());
            QCOMPARE(second->isScheduledEnabled, first->isScheduledEnabled);
            QCOMPARE(second->runIcon, first->runIcon);
            QVERIFY(second->scheduled == first->scheduled);
        }
    }

    // Setting each field to the value it shows changes nothing in the file.
    void editsToTheShownValuesKeepTheFile() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        JobGenerator generator(5);
        for (int i = 0; i < 300; ++i) {
            const PlistDict dict = generator.job();
            JobPtr job;
            const PlistDict unedited = writeUnedited(dict, &job);
            job->setKeepAlive(job->keepAlive());
            job->setKeepAliveSuccessfulExitSet(job->isKeepAliveSuccessfulExitSet());
            job->setMachServicesKey(job->machServicesKey());
            job->setWatchPath(job->watchPath());
            QVERIFY(job->changes().contains(Change::machServices));
            const PlistDict edited = JobWriter::makePlist(*job, nullptr);
            QVERIFY2(edited == unedited, qPrintable(PlistValue(dict).debugText() + s("\n") +
                                                    PlistValue(edited).debugText()));
        }
    }

    // Once the schedule is edited, its keys are rebuilt from the rows in the normal form.
    void anEditedScheduleIsNormalised() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        JobGenerator generator(13);
        for (int i = 0; i < 200; ++i) {
            const PlistDict dict = generator.job();
            JobPtr job = JobReader::jobFromPlist(dict, s("/tmp/job.plist"), Kind::userAgent);
            JobList::shared().setCurrentJob(job);
            const WhenPage page;
            // What every edit of the rows or the switch records.
            ScheduledHelper::markTimeChanged();
            QVERIFY(job->changes().contains(Change::time));
            PlistDict expected = JobWriter::makePlist(*job, nullptr);
            expectSchedule(dict, expected);
            const PlistDict written = JobWriter::makePlist(*job, &page.editor.rows());
            QVERIFY2(written == expected, qPrintable(PlistValue(dict).debugText() + s("\n") +
                                                     PlistValue(written).debugText()));
        }
    }

    void editedRunKeepsEveryOtherKey() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        JobGenerator generator(3);
        for (int i = 0; i < 100; ++i) {
            const PlistDict dict = generator.job();
            JobPtr job;
            const PlistDict unedited = writeUnedited(dict, &job);
            job->setRun(s("/bin/echo \"a b\" c"));
            const WhenPage page;
            PlistDict edited = JobWriter::makePlist(*job, &page.editor.rows());
            QCOMPARE(edited.value(s("ProgramArguments")),
                     PlistValue(QStringList{s("/bin/echo"), s("a b"), s("c")}));
            QVERIFY(!edited.contains(s("Program")));
            edited.remove(s("ProgramArguments"));
            PlistDict rest = unedited;
            rest.remove(s("ProgramArguments"));
            rest.remove(s("Program"));
            rest.remove(s("What"));
            QVERIFY2(edited == rest, qPrintable(PlistValue(edited).debugText() + s("\n") +
                                                PlistValue(rest).debugText()));
        }
    }
};

VANDRA_GUILESS_TEST_MAIN(TestRoundTrip)
#include "test_roundtrip.moc"
