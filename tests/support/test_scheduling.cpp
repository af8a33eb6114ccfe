#include "support/delay.h"
#include "support/limit.h"

#include <QTest>
#include <QThread>

#include <memory>

using namespace Vandra;

using namespace Qt::StringLiterals;

class TestScheduling : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void delayRunsOnceLater() {
        int runs = 0;
        Delay::after(0.05, this, [&runs] { ++runs; });
        QCOMPARE(runs, 0);
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
        QTest::qWait(100);
        QCOMPARE(runs, 1);
    }

    void delayRunsOnTheContextThreadWhenAskedFromAnother() {
        Qt::HANDLE ranOn = nullptr;
        std::unique_ptr<QThread> thread(QThread::create([this, &ranOn] {
            Delay::after(0, this, [&ranOn] { ranOn = QThread::currentThreadId(); });
        }));
        thread->start();
        thread->wait();
        QTRY_VERIFY_WITH_TIMEOUT(ranOn != nullptr, 5000);
        QCOMPARE(ranOn, QThread::currentThreadId());
    }

    void delayIsDroppedWithItsContext() {
        int runs = 0;
        auto context = std::make_unique<QObject>();
        Delay::after(0.01, context.get(), [&runs] { ++runs; });
        context.reset();
        int marker = 0;
        Delay::after(0.05, this, [&marker] { marker = 1; });
        QTRY_COMPARE_WITH_TIMEOUT(marker, 1, 5000);
        QCOMPARE(runs, 0);
    }

    void aBurstPassesOnceAtOnceAndOnceAfterItsLastCall() {
        QStringList passes;
        const QString id = u"burst"_s;
        Limit::interval(id, 0.2, this, [&passes] { passes.append(u"first"_s); });
        QCOMPARE(passes, QStringList{u"first"_s});
        for (int i = 0; i < 20; ++i)
            Limit::interval(id, 0.2, this, [&passes, i] { passes.append(QString::number(i)); });
        // Whatever the timing, the calls do not pass one by one, and the last one passes.
        QTRY_VERIFY_WITH_TIMEOUT(passes.contains(u"19"_s), 5000);
        QVERIFY(passes.size() <= 3);
        QTest::qWait(300);
        QCOMPARE(passes.last(), u"19"_s);
        QVERIFY(passes.size() <= 3);
    }

    void identifiersAreLimitedApart() {
        int a = 0;
        int b = 0;
        Limit::interval(u"a"_s, 10, this, [&a] { ++a; });
        Limit::interval(u"b"_s, 10, this, [&b] { ++b; });
        QCOMPARE(a, 1);
        QCOMPARE(b, 1);
    }

    void aPendingPassGoneWithItsContextDoesNotBlockLaterOnes() {
        int runs = 0;
        const QString id = u"context"_s;
        Limit::interval(id, 0.05, this, [&runs] { ++runs; });
        auto context = std::make_unique<QObject>();
        Limit::interval(id, 0.05, context.get(), [&runs] { runs += 100; });
        context.reset();
        QTest::qWait(100);
        QCOMPARE(runs, 1);
        Limit::interval(id, 0.05, this, [&runs] { ++runs; });
        QTRY_COMPARE_WITH_TIMEOUT(runs, 2, 5000);
    }
};

QTEST_GUILESS_MAIN(TestScheduling)
#include "test_scheduling.moc"
