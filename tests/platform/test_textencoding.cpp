#include "common/text.h"
#include "platform/extendedattributes.h"
#include "platform/textencoding.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Vandra;

class TestTextEncoding : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesAreIanaNamesWithTheirNumbers() {
        QCOMPARE(TextEncoding::named(s("latin1"))->name(), s("ISO-8859-1"));
        QCOMPARE(TextEncoding::named(s("cp1252"))->attributeValue(),
                 QByteArray("windows-1252;2252"));
        QCOMPARE(TextEncoding::utf8().attributeValue(), QByteArray("UTF-8;106"));
        QCOMPARE(TextEncoding::fromAttributeValue("Shift_JIS;17")->name(), s("Shift_JIS"));
        QVERIFY(!TextEncoding::named(s("no-such-encoding")));
        QVERIFY(!TextEncoding::fromAttributeValue(";106"));
    }

    void byteOrderMarksAreRecognisedAndKept_data() {
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<QString>("name");
        QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF") << s("UTF-8");
        QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF") << s("UTF-16BE");
        QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE") << s("UTF-16LE");
        QTest::newRow("UTF-32LE") << QByteArray("\xFF\xFE\0\0", 4) << s("UTF-32LE");
        QTest::newRow("UTF-32BE") << QByteArray("\0\0\xFE\xFF", 4) << s("UTF-32BE");
    }
    void byteOrderMarksAreRecognisedAndKept() {
        QFETCH(QByteArray, mark);
        QFETCH(QString, name);
        const QString text = s("ä 😀\n");
        const std::optional<TextEncoding> plain = TextEncoding::named(name);
        QVERIFY(plain);
        const QByteArray bytes = mark + *plain->encode(text);
        const std::optional<TextEncoding> found = TextEncoding::fromByteOrderMark(bytes);
        QVERIFY(found);
        QCOMPARE(found->name(), name);
        QVERIFY(found->hasByteOrderMark());
        QCOMPARE(found->decode(bytes), text);
        QCOMPARE(found->encode(text), bytes);
        QVERIFY(!TextEncoding::fromByteOrderMark("#!/bin/sh"));
    }

    void conversionsRefuseRatherThanSubstitute() {
        const TextEncoding latin1 = *TextEncoding::named(s("ISO-8859-1"));
        QVERIFY(!latin1.encode(s("a€b")));
        QCOMPARE(latin1.firstUnencodable(s("ab€c😀")), s("€"));
        QCOMPARE(latin1.firstUnencodable(s("abc")), std::nullopt);
        QCOMPARE(TextEncoding::utf8().firstUnencodable(s("a😀")), std::nullopt);
        QVERIFY(!TextEncoding::utf8().decode("caf\xE9"));
        QVERIFY(!TextEncoding::named(s("Shift_JIS"))->decode("\x82"));
        // A lone surrogate is no character of any encoding.
        QVERIFY(!TextEncoding::utf8().encode(QString(QChar(0xD800))));
        QCOMPARE(TextEncoding::utf8().decode(QByteArray()), QString());
    }

    void attributesAreStoredBesideTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(s("file"));
        const QString name = s("user.vandra.test");
        QVERIFY(!ExtendedAttributes::read(path, name));
        QVERIFY(!ExtendedAttributes::write(path, name, "x"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!ExtendedAttributes::read(path, name));
        if (!ExtendedAttributes::write(path, name, "UTF-8;106"))
            QSKIP("the temporary folder's file system keeps no attributes");
        QCOMPARE(ExtendedAttributes::read(path, name), QByteArray("UTF-8;106"));
        QVERIFY(ExtendedAttributes::write(path, name, QByteArray()));
        QCOMPARE(ExtendedAttributes::read(path, name), QByteArray());
        QVERIFY(ExtendedAttributes::remove(path, name));
        QVERIFY(!ExtendedAttributes::read(path, name));
    }
};

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "test_textencoding.moc"
