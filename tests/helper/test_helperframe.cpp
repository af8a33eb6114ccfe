// Cutting a byte stream into frames.

#include "common/testmain.h"
#include "platform/helperframe.h"
#include "platform/helperframereader.h"

#include <QTest>
#include <QtEndian>

using namespace Vandra;

class TestHelperFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void framesComeBackWhateverTheChunking() {
        const PlistDict first{{QStringLiteral("kind"), 5},
                              {QStringLiteral("path"), QStringLiteral("/a")}};
        const PlistDict second{{QStringLiteral("kind"), 9},
                               {QStringLiteral("data"), QByteArray(1000, 'x')}};
        const QByteArray stream = *HelperFrame::encode(first) + *HelperFrame::encode(second);
        for (int chunk : {1, 3, 7, 64, int(stream.size())}) {
            HelperFrameReader reader;
            QList<PlistDict> dicts;
            QByteArray body;
            for (qsizetype at = 0; at < stream.size(); at += chunk) {
                reader.append(stream.mid(at, chunk));
                while (reader.next(&body) == HelperFrameReader::Status::frame)
                    dicts.append(*HelperFrame::decode(body).dict);
            }
            QCOMPARE(dicts, (QList<PlistDict>{first, second}));
            QVERIFY(!reader.hasPartialFrame());
        }
    }

    void aLengthOverTheLimitMakesTheStreamUnusable() {
        HelperFrameReader reader;
        QByteArray header(4, Qt::Uninitialized);
        qToBigEndian(HelperFrame::maximumLength + 1, header.data());
        reader.append(header);
        QByteArray body;
        QCOMPARE(reader.next(&body), HelperFrameReader::Status::tooLong);

        // The limit itself is still a frame length; it only waits for its bytes.
        HelperFrameReader atLimit;
        qToBigEndian(HelperFrame::maximumLength, header.data());
        atLimit.append(header);
        QCOMPARE(atLimit.next(&body), HelperFrameReader::Status::incomplete);
        QVERIFY(atLimit.hasPartialFrame());
    }

    void bodiesThatAreNotDictionariesAreErrors_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x00\x01\x02 not a plist", 15);
        QTest::newRow("array") << QByteArray(
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>");
        QTest::newRow("text") << QByteArray(
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><string>a</string></plist>");
        QTest::newRow("truncated binary") << QByteArray("bplist00\xd1\x01\x02", 11);
    }

    void bodiesThatAreNotDictionariesAreErrors() {
        QFETCH(QByteArray, body);
        const HelperFrame::Decoded decoded = HelperFrame::decode(body);
        QVERIFY(!decoded.dict);
        QVERIFY(!decoded.error.isEmpty());
    }

    void xmlBodiesAreAcceptedToo() {
        const QByteArray xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>kind</key>"
                               "<integer>4</integer></dict></plist>";
        const HelperFrame::Decoded decoded = HelperFrame::decode(xml);
        QVERIFY(decoded.dict);
        QCOMPARE(decoded.dict->value(QStringLiteral("kind")).toInteger(), qint64(4));
    }

    void dictionariesOverTheLimitAreNotEncoded() {
        const PlistDict huge{
            {QStringLiteral("string"), QString(HelperFrame::maximumLength / 2 + 10, u'é')}};
        QString error;
        QVERIFY(!HelperFrame::encode(huge, &error));
        QVERIFY(!error.isEmpty());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestHelperFrame)
#include "test_helperframe.moc"
