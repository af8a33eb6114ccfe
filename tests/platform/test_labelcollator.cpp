#include "platform/labelcollator.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace Vandra;

using namespace Qt::StringLiterals;

namespace {

const QStringList shuffledLabels{u"job10"_s,       u"Job2"_s,  u"job1"_s,  u"JOB20"_s, u"job3"_s,
                                 u"apple.agent"_s, u"Zebra"_s, u"zeta2"_s, u"zeta10"_s};
const QStringList sortedLabels{u"apple.agent"_s, u"job1"_s,  u"Job2"_s,  u"job3"_s,  u"job10"_s,
                               u"JOB20"_s,       u"Zebra"_s, u"zeta2"_s, u"zeta10"_s};

QStringList sorted(QStringList labels) {
    std::stable_sort(labels.begin(), labels.end(), LabelCollator::lessThan);
    return labels;
}

// Run as a child with another locale, prints what the parent checks.
int printOrder() {
    std::printf("%s\n", qPrintable(sorted(shuffledLabels).join(u' ')));
    std::printf("%d %d\n", LabelCollator::compare(u"Job"_s, u"job"_s),
                LabelCollator::compare(u"job2"_s, u"job10"_s) < 0);
    return 0;
}

} // namespace

class TestLabelCollator final : public QObject {
    Q_OBJECT

private slots:
    void ordersNumbersByValueAndIgnoresCase();
    void sortKeysOrderAsTheComparisonDoes();
    void ordersTheSameInEveryProcessLocale_data();
    void ordersTheSameInEveryProcessLocale();
};

void TestLabelCollator::ordersNumbersByValueAndIgnoresCase() {
    QVERIFY(LabelCollator::lessThan(u"job2"_s, u"job10"_s));
    QVERIFY(!LabelCollator::lessThan(u"job10"_s, u"job2"_s));
    QCOMPARE(LabelCollator::compare(u"Job"_s, u"job"_s), 0);
    QCOMPARE(LabelCollator::compare(u"com.example.JOB"_s, u"com.example.job"_s), 0);
    QVERIFY(LabelCollator::compare(u"a"_s, u"b"_s) < 0);
    QVERIFY(LabelCollator::compare(u"b"_s, u"a"_s) > 0);
    QVERIFY(LabelCollator::lessThan(QString(), u"a"_s));
    // Accents still count, unlike case.
    QVERIFY(LabelCollator::compare(u"resume"_s, u"résumé"_s) != 0);
    QCOMPARE(sorted(shuffledLabels), sortedLabels);
}

void TestLabelCollator::sortKeysOrderAsTheComparisonDoes() {
    // Digits, case, accents, punctuation, one label the start of another, an empty one, and
    // text beyond the first plane; long enough ones that the key outgrows its first room.
    QStringList labels = shuffledLabels;
    labels << u""_s << u"job"_s << u"job01"_s << u"job1.a"_s << u"job-1"_s << u"job_1"_s
           << u"résumé"_s << u"resume"_s << u"Résumé"_s << u"ÄGENT"_s << u"agent"_s
           << u"com.example.😀"_s << u"日本語のジョブ"_s << QString(300, u'x')
           << QString(299, u'x') + u'y' << u"job 2"_s << u"job  2"_s;
    QByteArray keys = "some bytes already there";
    QList<QByteArrayView> views;
    QList<std::pair<qsizetype, qsizetype>> spans;
    for (const QString &label : std::as_const(labels)) {
        const qsizetype start = keys.size();
        LabelCollator::appendSortKey(label, keys);
        spans.append({start, keys.size() - start});
    }
    for (const auto &[start, size] : std::as_const(spans))
        views.append(QByteArrayView(keys).sliced(start, size));
    const auto sign = [](int n) { return (n > 0) - (n < 0); };
    for (qsizetype i = 0; i < labels.size(); ++i) {
        for (qsizetype j = 0; j < labels.size(); ++j) {
            const QByteArrayView a = views.at(i);
            const QByteArrayView b = views.at(j);
            int order = std::memcmp(a.data(), b.data(), size_t(std::min(a.size(), b.size())));
            if (order == 0)
                order = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
            QVERIFY2(sign(order) == sign(LabelCollator::compare(labels.at(i), labels.at(j))),
                     qPrintable(labels.at(i) + u" / "_s + labels.at(j)));
        }
    }
}

void TestLabelCollator::ordersTheSameInEveryProcessLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << u"C"_s;
    QTest::newRow("C.UTF-8") << u"C.UTF-8"_s;
    QTest::newRow("POSIX") << u"POSIX"_s;
    QTest::newRow("German") << u"de_DE.UTF-8"_s;
    QTest::newRow("Swedish") << u"sv_SE.UTF-8"_s;
    QTest::newRow("English") << u"en_US.UTF-8"_s;
}

void TestLabelCollator::ordersTheSameInEveryProcessLocale() {
    QFETCH(QString, locale);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"LANG"_s, u"LC_ALL"_s, u"LC_COLLATE"_s})
        environment.insert(name, locale);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {u"--print-order"_s});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], sortedLabels.join(u' '));
    QCOMPARE(lines[1], u"0 1"_s);
}

int main(int argc, char *argv[]) {
    if (argc == 2 && qstrcmp(argv[1], "--print-order") == 0) {
        QCoreApplication app(argc, argv);
        return printOrder();
    }
    QCoreApplication app(argc, argv);
    TestLabelCollator test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_labelcollator.moc"
