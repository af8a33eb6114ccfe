#include "cli/clirun.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "store/jobfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Vandra;

namespace {

QProcessEnvironment inBerlin() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(s("TZ"), s("Europe/Berlin"));
    environment.insert(s("LANG"), s("C.UTF-8"));
    return environment;
}

} // namespace

class TestTimelineCommand : public QObject {
    Q_OBJECT

private:
    // A nightly job and one that repeats every hour, in a root of their own.
    static void writeJobs(QString *nightly = nullptr) {
        const QString file = JobFiles::writeJob(
            Kind::userAgent, s("nightly"),
            {{s("StartCalendarInterval"),
              PlistValue(PlistDict{{s("Hour"), PlistValue(2)}, {s("Minute"), PlistValue(30)}})}});
        if (nightly)
            *nightly = file;
        JobFiles::writeJob(
            Kind::localDaemon, s("hourly"),
            {{s("StartInterval"), PlistValue(3600)}, {s("Disabled"), PlistValue(true)}});
    }

private Q_SLOTS:
    void printsRowsForAFixedMomentAcrossAClockChange() {
        TestRoot root;
        QString nightly;
        writeJobs(&nightly);
        const CliRun run = CliRun::run({s("timeline"), s("--json"), s("--now"),
                                        s("2026-10-24T12:00:00+02:00"), s("--root"), root.path()},
                                       inBerlin());
        QCOMPARE(run.exitCode, 0);
        const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
        // The interval block, then a heading and a start for each of 31 nights.
        QCOMPARE(rows.size(), 2 + 2 * 31);

        const QJsonObject block = rows.at(0).toObject();
        QCOMPARE(block.value(s("kind")).toString(), s("group"));
        QCOMPARE(block.value(s("date")).toString(), s("2026-10-24T12:00:00+02:00"));
        QVERIFY(block.value(s("path")).isNull());
        const QJsonObject interval = rows.at(1).toObject();
        QCOMPARE(interval.value(s("kind")).toString(), s("interval"));
        QCOMPARE(interval.value(s("name")).toString(), s("hourly – 1 hour"));
        QCOMPARE(interval.value(s("isEnabled")).toBool(), false);

        const QJsonObject heading = rows.at(2).toObject();
        QCOMPARE(heading.value(s("kind")).toString(), s("group"));
        QCOMPARE(heading.value(s("name")).toString(), s("Tomorrow"));
        const QJsonObject first = rows.at(3).toObject();
        QCOMPARE(first.value(s("kind")).toString(), s("time"));
        QCOMPARE(first.value(s("date")).toString(), s("2026-10-25T02:30:00+02:00"));
        QCOMPARE(first.value(s("name")).toString(), s("nightly"));
        QCOMPARE(first.value(s("isEnabled")).toBool(), true);
        QCOMPARE(first.value(s("path")).toString(), nightly);
        QCOMPARE(rows.at(5).toObject().value(s("date")).toString(), s("2026-10-26T02:30:00+01:00"));
        QCOMPARE(rows.last().toObject().value(s("date")).toString(),
                 s("2026-11-24T02:30:00+01:00"));
    }

    void aMomentWithoutOffsetIsLocalTime() {
        TestRoot root;
        writeJobs();
        const CliRun run = CliRun::run(
            {s("timeline"), s("--now"), s("2026-10-24T12:00"), s("--root"), root.path()},
            inBerlin());
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.at(0), s("Repeat interval"));
        QCOMPARE(lines.at(1), s("  hourly – 1 hour (disabled)"));
        QCOMPARE(lines.at(2), s("Tomorrow"));
        QVERIFY(lines.at(3).contains(s("2:30")));
        QVERIFY(lines.at(3).endsWith(s("\tnightly")));
        QCOMPARE(lines.at(4), s("Monday, October 26, 2026"));
    }

    void untilEndsThePeriodAndLimitCountsRows() {
        TestRoot root;
        writeJobs();
        const QStringList base{s("timeline"),         s("--json"), s("--now"),
                               s("2026-10-24T12:00"), s("--root"), root.path()};
        const auto rows = [&base](const QStringList &more) {
            const CliRun run = CliRun::run(base + more, inBerlin());
            QJsonParseError error;
            const QJsonArray array = QJsonDocument::fromJson(run.out, &error).array();
            return run.exitCode == 0 && error.error == QJsonParseError::NoError ? array
                                                                                : QJsonArray();
        };
        const QJsonArray month = rows({});
        QCOMPARE(month.size(), 2 + 2 * 31);

        // A date alone ends at its midnight: the nights of the 25th and the 26th.
        const QJsonArray twoNights = rows({s("--until"), s("2026-10-27")});
        QCOMPARE(twoNights.size(), 2 + 2 * 2);
        QCOMPARE(twoNights.last().toObject().value(s("date")).toString(),
                 s("2026-10-26T02:30:00+01:00"));
        QCOMPARE(rows({s("--until"), s("2026-10-27T02:31")}).size(), 2 + 2 * 3);
        // Past the month the window shows.
        const QJsonArray winter = rows({s("--until"), s("2027-01-01")});
        QCOMPARE(winter.size(), 2 + 2 * (7 + 30 + 31));
        QCOMPARE(winter.last().toObject().value(s("date")).toString(),
                 s("2026-12-31T02:30:00+01:00"));

        // The first rows of the same timeline, still a whole JSON document.
        const QJsonArray three = rows({s("--limit"), s("3")});
        QCOMPARE(three, QJsonArray({month.at(0), month.at(1), month.at(2)}));
        QCOMPARE(rows({s("--limit"), s("0"), s("--until"), s("2026-11-01")}), QJsonArray());
        QCOMPARE(rows({s("--limit"), s("500")}), month);

        const CliRun text = CliRun::run({s("timeline"), s("--now"), s("2026-10-24T12:00"),
                                         s("--limit"), s("4"), s("--root"), root.path()},
                                        inBerlin());
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(QString::fromUtf8(text.out).split(u'\n', Qt::SkipEmptyParts).size(), 4);

        for (const QStringList &wrong :
             {QStringList{s("--limit"), s("-1")}, QStringList{s("--limit"), s("many")},
              QStringList{s("--until"), s("soon")}}) {
            const CliRun run = CliRun::run(base + wrong, inBerlin());
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.out.isEmpty());
        }
    }

    void aLongTimelineComesOutWhole() {
        TestRoot root;
        // Twenty jobs that start every minute: one row an hour each, over 14 000 rows.
        for (int i = 0; i < 20; ++i)
            JobFiles::writeJob(Kind::userAgent, s("job%1").arg(i),
                               {{s("StartCalendarInterval"), PlistValue(PlistDict())}});
        const QStringList arguments{s("timeline"), s("--now"), s("2026-06-01T00:00"), s("--root"),
                                    root.path()};
        const CliRun json = CliRun::run(arguments + QStringList{s("--json")}, inBerlin());
        QCOMPARE(json.exitCode, 0);
        QJsonParseError error;
        const QJsonArray rows = QJsonDocument::fromJson(json.out, &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(rows.size(), 30 * (1 + 24 * 20));
        QCOMPARE(rows.at(1).toObject().value(s("name")).toString(), s("job0 – every minute"));
        QCOMPARE(rows.at(20).toObject().value(s("name")).toString(), s("job19 – every minute"));
        QCOMPARE(rows.last().toObject().value(s("date")).toString(),
                 s("2026-06-30T23:00:00+02:00"));

        const CliRun text = CliRun::run(arguments, inBerlin());
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(text.out.count('\n'), rows.size());
    }

    void rejectsAMomentItCannotRead() {
        TestRoot root;
        const CliRun run =
            CliRun::run({s("timeline"), s("--now"), s("next tuesday"), s("--root"), root.path()});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("ISO 8601"));
        const CliRun now = CliRun::run({s("timeline"), s("--json"), s("--root"), root.path()});
        QCOMPARE(now.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(now.out).array().size(), 0);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestTimelineCommand)
#include "test_timelinecommand.moc"
