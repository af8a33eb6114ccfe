#include "platform/plistvalue.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace Vandra;

using namespace Qt::StringLiterals;

class TestPlistValue final : public QObject {
    Q_OBJECT

private slots:
    void accessorsNeverConvert();
    void stringListsNeedTextInEveryElement();
    void dictionaryKeepsInsertionOrderAndReplacesInPlace();
    void dictionaryEqualityIgnoresOrder();
    void fromEntriesKeepsLastValueAtFirstPosition();
    void equalityIsStrictAboutTypes();
    void datesCompareToTheMillisecond();
};

void TestPlistValue::accessorsNeverConvert() {
    const PlistValue one(1);
    QVERIFY(one.isInteger());
    QVERIFY(!one.isBool());
    QCOMPARE(one.toBool(), std::nullopt);
    QCOMPARE(one.toReal(), std::nullopt);
    QCOMPARE(one.toNumber(), 1.0);

    const PlistValue text(QStringLiteral("true"));
    QVERIFY(!text.isBool());
    QCOMPARE(text.toBool(), std::nullopt);
    QCOMPARE(text.toInteger(), std::nullopt);

    const PlistValue real(1.0);
    QCOMPARE(real.toInteger(), std::nullopt);
    QCOMPARE(real.toReal(), 1.0);

    const PlistValue boolean(false);
    QCOMPARE(boolean.toInteger(), std::nullopt);
    QCOMPARE(boolean.toString(), std::nullopt);
    QCOMPARE(boolean.toBool(), false);

    const PlistValue none;
    QVERIFY(none.isNone());
    QCOMPARE(none.toString(), std::nullopt);
    QVERIFY(!none.array() && !none.dict());

    const PlistValue large(std::numeric_limits<qint64>::min());
    QCOMPARE(large.toInteger(), std::numeric_limits<qint64>::min());
}

void TestPlistValue::stringListsNeedTextInEveryElement() {
    const QStringList texts{QStringLiteral("a"), QStringLiteral("b")};
    const PlistValue list(texts);
    QVERIFY(list.isArray());
    QCOMPARE(list.toStringList(), texts);

    PlistValue mixed = list;
    mixed.array()->append(PlistValue(3));
    QCOMPARE(mixed.toStringList(), std::nullopt);
    QCOMPARE(PlistValue(QStringLiteral("a")).toStringList(), std::nullopt);
    QCOMPARE(PlistValue(PlistArray()).toStringList(), QStringList());
}

void TestPlistValue::dictionaryKeepsInsertionOrderAndReplacesInPlace() {
    PlistDict dict;
    dict.insert(QStringLiteral("zeta"), PlistValue(1));
    dict.insert(QStringLiteral("alpha"), PlistValue(2));
    dict.insert(QStringLiteral("mid"), PlistValue(3));
    QCOMPARE(dict.keys(), (QStringList{u"zeta"_s, u"alpha"_s, u"mid"_s}));

    dict.insert(QStringLiteral("zeta"), PlistValue(QStringLiteral("replaced")));
    QCOMPARE(dict.keys(), (QStringList{u"zeta"_s, u"alpha"_s, u"mid"_s}));
    QCOMPARE(dict.value(QStringLiteral("zeta")).toString(), u"replaced"_s);

    dict.remove(QStringLiteral("alpha"));
    QCOMPARE(dict.keys(), (QStringList{u"zeta"_s, u"mid"_s}));
    QVERIFY(!dict.contains(QStringLiteral("alpha")));
    QVERIFY(dict.value(QStringLiteral("alpha")).isNone());
    QCOMPARE(dict.find(QStringLiteral("missing")), nullptr);

    *dict.find(QStringLiteral("mid")) = PlistValue(true);
    QCOMPARE(dict.value(QStringLiteral("mid")).toBool(), true);
}

void TestPlistValue::dictionaryEqualityIgnoresOrder() {
    // Small dictionaries are compared by scanning, large ones through a hash.
    for (const int size : {3, 40}) {
        PlistDict forward;
        PlistDict backward;
        for (int i = 0; i < size; ++i) {
            forward.insert(QString::number(i), PlistValue(i));
            backward.insert(QString::number(size - 1 - i), PlistValue(size - 1 - i));
        }
        QVERIFY(forward.keys() != backward.keys());
        QCOMPARE(forward, backward);
        QCOMPARE(PlistValue(forward), PlistValue(backward));

        backward.insert(QStringLiteral("0"), PlistValue(-1));
        QVERIFY(!(forward == backward));
        backward.insert(QStringLiteral("0"), PlistValue(0));
        backward.insert(QStringLiteral("extra"), PlistValue(0));
        QVERIFY(!(forward == backward));
    }
}

void TestPlistValue::fromEntriesKeepsLastValueAtFirstPosition() {
    // Small dictionaries are searched in place, large ones through a hash: both alike.
    for (const int filler : {0, 30}) {
        QList<PlistDict::Entry> entries;
        entries.append({QStringLiteral("a"), PlistValue(1)});
        entries.append({QStringLiteral("b"), PlistValue(2)});
        for (int i = 0; i < filler; ++i)
            entries.append({QStringLiteral("f%1").arg(i), PlistValue(i)});
        entries.append({QStringLiteral("a"), PlistValue(3)});
        entries.append({QStringLiteral("c"), PlistValue(4)});
        entries.append({QStringLiteral("b"), PlistValue(5)});
        entries.append({QStringLiteral("a"), PlistValue(6)});
        const PlistDict dict = PlistDict::fromEntries(std::move(entries));
        QCOMPARE(dict.size(), 3 + filler);
        const QStringList keys = dict.keys();
        QCOMPARE(keys.first(), u"a"_s);
        QCOMPARE(keys.at(1), u"b"_s);
        QCOMPARE(keys.last(), u"c"_s);
        QCOMPARE(dict.value(QStringLiteral("a")).toInteger(), 6);
        QCOMPARE(dict.value(QStringLiteral("b")).toInteger(), 5);
        QCOMPARE(dict.value(QStringLiteral("c")).toInteger(), 4);
        if (filler > 0)
            QCOMPARE(dict.value(QStringLiteral("f29")).toInteger(), 29);
    }
}

void TestPlistValue::equalityIsStrictAboutTypes() {
    QVERIFY(!(PlistValue(1) == PlistValue(1.0)));
    QVERIFY(!(PlistValue(1) == PlistValue(true)));
    QVERIFY(!(PlistValue(QStringLiteral("1")) == PlistValue(1)));
    QVERIFY(!(PlistValue(0.1 + 0.2) == PlistValue(0.3)));
    QVERIFY(PlistValue(std::nan("")) == PlistValue(std::nan("")));
    QVERIFY(PlistValue() == PlistValue());
    QVERIFY(!(PlistValue() == PlistValue(QString())));
    QVERIFY(!(PlistValue(QByteArray("a")) == PlistValue(QStringLiteral("a"))));

    const PlistValue nested(PlistArray{PlistValue(PlistDict{{u"k"_s, PlistValue(1)}})});
    QCOMPARE(nested, PlistValue(PlistArray{PlistValue(PlistDict{{u"k"_s, PlistValue(1)}})}));
    QVERIFY(!(nested == PlistValue(PlistArray{PlistValue(PlistDict{{u"k"_s, PlistValue(2)}})})));
}

void TestPlistValue::datesCompareToTheMillisecond() {
    const QDateTime utc(QDate(2024, 5, 6), QTime(7, 8, 9, 500), Qt::UTC);
    const QDateTime shifted = utc.toOffsetFromUtc(7200);
    QCOMPARE(PlistValue(utc), PlistValue(shifted));
    QCOMPARE(PlistValue(shifted).toDate()->timeSpec(), Qt::UTC);
    QVERIFY(!(PlistValue(utc) == PlistValue(utc.addMSecs(1))));
}

QTEST_GUILESS_MAIN(TestPlistValue)
#include "test_plistvalue.moc"
