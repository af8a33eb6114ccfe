#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/jobreader.h"
#include "store/jobdiff.h"
#include "store/jobfiles.h"
#include "store/linediff.h"
#include "store/rawplisteditor.h"
#include "store/schedulerows.h"
#include "support/userdefaultskeys.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace Vandra;

namespace {

QStringList chars(const QString &text) {
    QStringList lines;
    for (const QChar c : text)
        lines.append(QString(c));
    return lines;
}

qsizetype lcsLength(const QStringList &a, const QStringList &b) {
    std::vector<std::vector<qsizetype>> t(size_t(a.size() + 1),
                                          std::vector<qsizetype>(size_t(b.size() + 1)));
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.size() - 1; j >= 0; --j) {
            t[size_t(i)][size_t(j)] =
                a[i] == b[j] ? t[size_t(i + 1)][size_t(j + 1)] + 1
                             : std::max(t[size_t(i + 1)][size_t(j)], t[size_t(i)][size_t(j + 1)]);
        }
    }
    return t[0][0];
}

// Both texts rebuilt from a diff: the old from its kept and removed lines, the new from its
// kept and added lines, with the line numbers checked on the way.
bool rebuildsBoth(const QList<DiffLine> &diff, const QStringList &a, const QStringList &b) {
    QStringList oldSide;
    QStringList newSide;
    for (const DiffLine &line : diff) {
        if (line.type != DiffLine::Type::added) {
            oldSide.append(line.text);
            if (line.oldLine != oldSide.size())
                return false;
        }
        if (line.type != DiffLine::Type::removed) {
            newSide.append(line.text);
            if (line.newLine != newSide.size())
                return false;
        }
    }
    return oldSide == a && newSide == b;
}

QList<KeyChange> sortedKeys(const JobDiff &diff) {
    QList<KeyChange> keys = diff.keys();
    std::sort(keys.begin(), keys.end(),
              [](const KeyChange &a, const KeyChange &b) { return a.key < b.key; });
    return keys;
}

} // namespace

// The line diff, and what a save of a job would change.
class TestJobDiff : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestRoot> m_root;

    // A job file in our own layout, so that an unedited save changes nothing in it.
    JobPtr readJob(const PlistDict &dict, bool binary = false) {
        const QString path = JobFiles::folderOf(Kind::userAgent) + s("/org.example.job.plist");
        if (binary)
            JobFiles::writeDict(path, dict, true);
        else
            JobFiles::writeBytes(path, JobReader::plistText(dict)->toUtf8());
        QList<JobPtr> jobs;
        JobReader::readJobFile(Kind::userAgent, path, jobs);
        if (jobs.isEmpty())
            return {};
        JobList::shared().setCurrentJob(jobs.first());
        return jobs.first();
    }

    static PlistDict healthy() {
        return {{s("Label"), PlistValue(s("org.example.job"))},
                {s("ProgramArguments"), PlistValue(QStringList{s("/usr/bin/tool")})},
                {s("StartInterval"), PlistValue(300)},
                {s("EnvironmentVariables"),
                 PlistValue(PlistDict{{s("PATH"), PlistValue(s("/usr/bin:/bin"))}})}};
    }

    static JobDiff diffOf(Job &job) {
        const RuleRows rows = ScheduleRows::forJob(job);
        return JobDiff::forJob(job, &rows);
    }

private Q_SLOTS:
    void init() { m_root = std::make_unique<TestRoot>(); }
    void cleanup() { m_root.reset(); }

    void equalTextsHaveNoDiff() {
        QCOMPARE(LineDiff::unified(s("a\nb\n"), s("a\nb\n"), s("x"), s("y")), QString());
        QCOMPARE(LineDiff::compare({}, {}), QList<DiffLine>());
        QCOMPARE(LineDiff::lines(s("a\n\nb\n")), QStringList({s("a"), QString(), s("b")}));
    }

    void unifiedHunksAreThoseOfDiffU() {
        const QString before = s("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n");
        const QString after = s("a\nB\nc\nd\ne\nf\ng\nh\ni\nx\nj\n");
        QCOMPARE(LineDiff::unified(before, after, s("old"), s("new")),
                 s("--- old\n+++ new\n"
                   "@@ -1,5 +1,5 @@\n a\n-b\n+B\n c\n d\n e\n"
                   "@@ -7,4 +7,5 @@\n g\n h\n i\n+x\n j\n"));
        // Changes closer than twice the context share one hunk.
        QCOMPARE(LineDiff::unified(s("1\n2\n3\n4\n"), s("0\n2\n3\n5\n"), s("o"), s("n"), 1),
                 s("--- o\n+++ n\n@@ -1,4 +1,4 @@\n-1\n+0\n 2\n 3\n-4\n+5\n"));
        QCOMPARE(LineDiff::unified(QString(), s("a\nb\n"), s("o"), s("n")),
                 s("--- o\n+++ n\n@@ -0,0 +1,2 @@\n+a\n+b\n"));
        QCOMPARE(LineDiff::unified(s("a\nb\n"), QString(), s("o"), s("n")),
                 s("--- o\n+++ n\n@@ -1,2 +0,0 @@\n-a\n-b\n"));
    }

    void aMissingFinalLineEndIsAChange() {
        QCOMPARE(LineDiff::unified(s("a\nb"), s("a\nb\n"), s("o"), s("n")),
                 s("--- o\n+++ n\n@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n"));
    }

    void diffsAreShortestAndRebuildBothTexts() {
        QRandomGenerator random(7);
        for (int round = 0; round < 400; ++round) {
            QString a;
            QString b;
            const int n = int(random.bounded(14));
            const int m = int(random.bounded(14));
            for (int i = 0; i < n; ++i)
                a.append(QChar(u'a' + random.bounded(4)));
            for (int i = 0; i < m; ++i)
                b.append(QChar(u'a' + random.bounded(4)));
            const QList<DiffLine> diff = LineDiff::compare(chars(a), chars(b));
            QVERIFY2(rebuildsBoth(diff, chars(a), chars(b)), qPrintable(a + QLatin1Char('/') + b));
            const auto kept = std::count_if(diff.cbegin(), diff.cend(), [](const DiffLine &l) {
                return l.type == DiffLine::Type::same;
            });
            QCOMPARE(kept, lcsLength(chars(a), chars(b)));
        }
    }

    void hugeDiffsStayCorrect() {
        QStringList a;
        QStringList b;
        for (int i = 0; i < 3000; ++i) {
            a.append(QString::number(i));
            b.append(QStringLiteral("x%1").arg(i));
        }
        QVERIFY(rebuildsBoth(LineDiff::compare(a, b), a, b));
    }

    void anUnchangedJobChangesNothing() {
        const JobPtr job = readJob(healthy());
        const JobDiff diff = diffOf(*job);
        QVERIFY(diff.isEmpty());
        QCOMPARE(diff.keys(), QList<KeyChange>());
        QCOMPARE(diff.unified(), QString());
    }

    void aFormEditNamesItsKeys() {
        const JobPtr job = readJob(healthy());
        job->setRun(s("/usr/bin/tool --fast"));
        const JobDiff diff = diffOf(*job);
        QCOMPARE(diff.keys(),
                 QList<KeyChange>({{s("ProgramArguments"), KeyChange::Kind::changed, true}}));
        QVERIFY(diff.unified().contains(s("\n+\t\t<string>--fast</string>\n")));
        QVERIFY(diff.summary().contains(s("ProgramArguments")));
    }

    void scheduleAndKeepAliveEditsNameTheirKeys() {
        const JobPtr job = readJob(healthy());
        job->isScheduledEnabled = false;
        JobList::shared().markChanged(Change::time);
        job->setKeepAlive(true);
        const JobDiff diff = diffOf(*job);
        QCOMPARE(sortedKeys(diff),
                 QList<KeyChange>({{s("KeepAlive"), KeyChange::Kind::added, true},
                                   {s("StartInterval"), KeyChange::Kind::removed, true}}));
        QVERIFY(diff.unified().contains(
            s("\n-\t<key>StartInterval</key>\n-\t<integer>300</integer>\n")));
        QVERIFY(diff.untouchedKeys().isEmpty());
    }

    void aRawEditIsTouchedButTheSavesOwnChangesAreNot() {
        PlistDict dict = healthy();
        dict.remove(s("EnvironmentVariables"));
        dict.insert(s("StartInterval"), PlistValue(5));
        const JobPtr job = readJob(dict);
        RawPlistEditor editor;
        const std::optional<QString> text = editor.load();
        QVERIFY(text);
        QString edited = *text;
        edited.replace(s("<key>Label</key>"),
                       s("<key>Nice</key>\n\t<integer>5</integer>\n\t<key>Label</key>"));
        QCOMPARE(editor.change(edited), RawPlistEditor::Result::changed);
        Job &current = *JobList::shared().currentJob();
        const JobDiff diff = diffOf(current);
        // The search path is added on its own; the unedited schedule stays as written.
        QCOMPARE(sortedKeys(diff),
                 QList<KeyChange>({{s("EnvironmentVariables"), KeyChange::Kind::added, true},
                                   {s("Nice"), KeyChange::Kind::added, true}}));
        Q_UNUSED(job);

        // Without the raw edit, the added search path is the save's own doing.
        const JobPtr plain = readJob(dict);
        const JobDiff own = diffOf(*plain);
        QStringList untouched = own.untouchedKeys();
        untouched.sort();
        QCOMPARE(untouched, QStringList({s("EnvironmentVariables")}));
        QVERIFY(own.summary().contains(s("you did not edit")));
    }

    void aBinaryFileIsComparedAsXml() {
        const JobPtr job = readJob(healthy(), true);
        const JobDiff diff = diffOf(*job);
        QVERIFY(diff.storedText().startsWith(s("<?xml")));
        QVERIFY(diff.isEmpty());
    }

    void aNewJobComparesWithNothing() {
        const JobPtr job = readJob(healthy());
        job->url.reset();
        const JobDiff diff = diffOf(*job);
        QCOMPARE(diff.storedText(), QString());
        QVERIFY(diff.unified().contains(s("@@ -0,0 +1,")));
        QCOMPARE(diff.keys().size(), 4);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJobDiff)
#include "test_jobdiff.moc"
