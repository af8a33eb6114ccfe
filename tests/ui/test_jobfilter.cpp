#include "ui/modes/jobfilter.h"

#include <QTest>

using namespace Vandra;

class TestJobFilter : public QObject {
    Q_OBJECT

private:
    static JobPtr jobWithText(const std::optional<QString> &text) {
        auto job = std::make_shared<Job>();
        job->label = text.value_or(QStringLiteral("none"));
        job->textContent = text;
        return job;
    }

private Q_SLOTS:
    void foldingDropsAccentsAndCase() {
        QCOMPARE(JobFilter::folded(QStringLiteral("CAFÉ Crème")), QStringLiteral("cafe creme"));
        // Decomposed input folds the same as composed input.
        QCOMPARE(JobFilter::folded(QStringLiteral("e\u0301")), QStringLiteral("e"));
    }

    void plainAndAccentedTextsFoldAlike() {
        // Plain ASCII takes a short way; it must end where the general one does.
        const QString ascii = QStringLiteral("<key>Label</key> ORG.Example-Job_2 {}~@[`AZ\t");
        QCOMPARE(JobFilter::folded(ascii),
                 QStringLiteral("<key>label</key> org.example-job_2 {}~@[`az\t"));
        QCOMPARE(JobFilter::folded(ascii + QStringLiteral(" É")),
                 JobFilter::folded(ascii) + QStringLiteral(" e"));
        QCOMPARE(JobFilter::folded(QString()), QString());
    }

    void capitalsWithAccentsMatchPlainLowerCase() {
        const JobPtr cafe = jobWithText(QStringLiteral("<string>org.example.cafe</string>"));
        const JobPtr accented = jobWithText(QStringLiteral("<string>Zürich backup</string>"));
        const QList<JobPtr> jobs = {cafe, accented};

        QCOMPARE(JobFilter::filter(jobs, QStringLiteral("CAFÉ")), QList<JobPtr>{cafe});
        QCOMPARE(JobFilter::filter(jobs, QStringLiteral("zurich")), QList<JobPtr>{accented});
        QCOMPARE(JobFilter::filter(jobs, QStringLiteral("ZÜRICH BACK")), QList<JobPtr>{accented});
    }

    void filteringKeepsTheOrderAndLeavesOutJobsWithoutText() {
        const JobPtr first = jobWithText(QStringLiteral("sync one"));
        const JobPtr none = jobWithText(std::nullopt);
        const JobPtr second = jobWithText(QStringLiteral("SYNC two"));
        const QList<JobPtr> jobs = {first, none, second};

        QCOMPARE(JobFilter::filter(jobs, QStringLiteral("sync")), (QList<JobPtr>{first, second}));
        QVERIFY(JobFilter::filter(jobs, QStringLiteral("nothing like it")).isEmpty());
        // No text: the whole list, jobs without text content too.
        QCOMPARE(JobFilter::filter(jobs, QString()), jobs);
    }
};

QTEST_APPLESS_MAIN(TestJobFilter)
#include "test_jobfilter.moc"
