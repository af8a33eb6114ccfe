#include "binaryplistbuilder.h"
#include "common/text.h"
#include "platform/plistcodec.h"

#include <QTest>

#include <limits>

using namespace Vandra;

namespace {

QByteArray xmlOf(const QByteArray &body, const QByteArray &prolog = {}) {
    return prolog + "<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const QByteArray doctype = "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

// A binary array of count references to one shared object, in the extended-length form.
QByteArray flatArray(quint32 count, int element) {
    QByteArray array(1, char(0xAF));
    array.append(char(0x12));
    array.append(BinaryPlistBuilder::bigEndian(count));
    for (quint32 i = 0; i < count; ++i)
        array.append(BinaryPlistBuilder::bigEndian(quint32(element)));
    return array;
}

} // namespace

// The ranges of values and the prologs that launchd's files use, read and written back.
class TestPlistRanges : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void prologsLaunchdAcceptsAreRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray body = "<dict><key>Label</key><string>a</string></dict>";
        QTest::newRow("unquoted identifiers") << xmlOf(
            body, declaration + "<!DOCTYPE plist PUBLIC -//Apple Computer//DTD PLIST 1.0//EN "
                                "http://www.apple.com/DTDs/PropertyList-1.0.dtd >\n");
        QTest::newRow("blank lines before the declaration")
            << xmlOf(body, "\n\n  \t" + declaration + doctype);
        QTest::newRow("comment before the declaration")
            << xmlOf(body, "<!-- shipped by a vendor -->\n" + declaration + doctype);
        QTest::newRow("byte-order mark, comment, declaration")
            << xmlOf(body, "\xEF\xBB\xBF<!-- x -->" + declaration);
    }

    void prologsLaunchdAcceptsAreRead() {
        QFETCH(QByteArray, bytes);
        const PlistReadResult result = PlistCodec::read(bytes);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(*result.value, PlistValue(PlistDict{{s("Label"), PlistValue(s("a"))}}));
    }

    void errorsAfterAMovedPrologKeepTheirLine() {
        const QByteArray bytes = "\n\n" + declaration + "<plist>\n<dict>\n<integer>x</integer>";
        const PlistReadResult result = PlistCodec::read(bytes);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(s("Line 6")), qPrintable(result.error));
    }

    void unsignedIntegersSurviveEveryForm_data() {
        QTest::addColumn<quint64>("value");
        QTest::newRow("largest") << std::numeric_limits<quint64>::max();
        QTest::newRow("just above the signed range")
            << quint64(std::numeric_limits<qint64>::max()) + 1;
    }

    void unsignedIntegersSurviveEveryForm() {
        QFETCH(quint64, value);
        const PlistValue big(value);
        QVERIFY(big.isInteger());
        QCOMPARE(big.toUnsigned(), value);
        QVERIFY(!big.toInteger());
        QVERIFY(big != PlistValue(qint64(-1)));
        QVERIFY(big != PlistValue(quint64(value - 1)));
        QCOMPARE(PlistValue(quint64(5)), PlistValue(qint64(5)));

        const PlistValue dict(PlistDict{{s("Unknown"), big}, {s("Label"), PlistValue(s("a"))}});
        const QByteArray text = "<integer>" + QByteArray::number(value) + "</integer>";
        QVERIFY(PlistCodec::toXml(dict)->contains(text));
        const QList<QByteArray> forms = {
            *PlistCodec::toXml(dict), *PlistCodec::toBinary(dict),
            xmlOf("<dict><key>Label</key><string>a</string><key>Unknown</key>" + text + "</dict>"),
            QByteArray("{ Label = a; Unknown = <*I" + QByteArray::number(value) + ">; }")};
        for (const QByteArray &bytes : forms) {
            const PlistReadResult result = PlistCodec::read(bytes);
            QVERIFY2(result.ok(), qPrintable(result.error));
            QCOMPARE(*result.value, dict);
        }
        const QByteArray tooLarge = xmlOf("<integer>18446744073709551616</integer>");
        QVERIFY(!PlistCodec::read(tooLarge).ok());
    }

    void binaryIntegersOfSixteenBytes() {
        BinaryPlistBuilder unsignedOne;
        unsignedOne.add(BinaryPlistBuilder::integer128(0, ~quint64(0)));
        QCOMPARE(*PlistCodec::read(unsignedOne.build()).value,
                 PlistValue(std::numeric_limits<quint64>::max()));
        BinaryPlistBuilder negative;
        negative.add(BinaryPlistBuilder::integer128(~quint64(0), quint64(-5)));
        QCOMPARE(*PlistCodec::read(negative.build()).value, PlistValue(qint64(-5)));
        BinaryPlistBuilder tooLarge;
        tooLarge.add(BinaryPlistBuilder::integer128(1, 0));
        QVERIFY(!PlistCodec::read(tooLarge.build()).ok());
    }

    void datesFromYearOneToYear9999_data() {
        QTest::addColumn<QDateTime>("date");
        QTest::newRow("year 1") << QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
        QTest::newRow("year 1900") << QDateTime(QDate(1900, 6, 1), QTime(12, 30, 5), Qt::UTC);
        QTest::newRow("year 9999") << QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    }

    void datesFromYearOneToYear9999() {
        QFETCH(QDateTime, date);
        const PlistValue value(PlistArray{PlistValue(date)});
        const std::optional<QByteArray> xml = PlistCodec::toXml(value);
        QVERIFY(xml);
        QCOMPARE(*PlistCodec::read(*xml).value, value);
        QString error;
        const std::optional<QByteArray> binary = PlistCodec::toBinary(value, &error);
        QVERIFY2(binary, qPrintable(error));
        const PlistReadResult back = PlistCodec::read(*binary);
        QVERIFY2(back.ok(), qPrintable(back.error));
        QCOMPARE(*back.value, value);
    }

    // Shared references are converted once, and what they expand to is capped.
    void referenceBombsAreRefused_data() {
        QTest::addColumn<int>("levels");
        QTest::addColumn<int>("width");
        QTest::newRow("a few kilobytes") << 40 << 2;
        QTest::newRow("one mebibyte") << 20 << 12000;
    }

    void referenceBombsAreRefused() {
        QFETCH(int, levels);
        QFETCH(int, width);
        BinaryPlistBuilder builder;
        int previous = builder.add(BinaryPlistBuilder::integer(1));
        for (int level = 0; level < levels; ++level) {
            const QByteArray array = width < 15
                                         ? BinaryPlistBuilder::array(QList<int>(width, previous))
                                         : flatArray(quint32(width), previous);
            previous = builder.add(array);
        }
        const QByteArray bytes = builder.build(previous);
        const PlistReadResult result = PlistCodec::read(bytes);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(s("expand")), qPrintable(result.error));
    }

    void aLargeFlatArrayIsRead() {
        BinaryPlistBuilder builder;
        const int text = builder.add(BinaryPlistBuilder::ascii("x"));
        const int array = builder.add(flatArray(32000, text));
        const PlistReadResult result = PlistCodec::read(builder.build(array));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.value->array()->size(), 32000);
        QCOMPARE(result.value->array()->last(), PlistValue(s("x")));
    }
};

QTEST_GUILESS_MAIN(TestPlistRanges)
#include "test_plistranges.moc"
