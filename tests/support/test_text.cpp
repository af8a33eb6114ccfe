#include "support/locations.h"
#include "support/text.h"

#include <QLocale>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Vandra;

using namespace Qt::StringLiterals;

class TestText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encodingGuesses() {
        QVERIFY(!Text::guessEncoding(QByteArray()));
        QCOMPARE(Text::guessEncoding(u"Grüße aus Köln, 日本語のテキスト"_s.toUtf8()), u"UTF-8"_s);
        QCOMPARE(Text::guessEncoding("#!/bin/sh\necho plain\n"), u"UTF-8"_s);

        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        const QByteArray wide = utf16.encode(u"#!/bin/sh\necho wide text\n"_s);
        QCOMPARE(Text::guessEncoding(wide), u"UTF-16LE"_s);

        const QByteArray latin1 = QStringLiteral("Le cœur a ses raisons que la raison ne connaît "
                                                 "point. Être ou ne pas être, déjà vu, très "
                                                 "élégant, où est la fenêtre?")
                                      .toLatin1();
        const auto guess = Text::guessEncoding(latin1);
        QVERIFY(guess);
        QVERIFY(*guess != u"UTF-8"_s);
    }

    void base64DecodesBothAlphabetsWithOrWithoutPadding() {
        const QString path = u"/home/anna/Library/my job?.plist"_s;
        const QByteArray utf8 = path.toUtf8();
        QCOMPARE(Text::fromBase64(QString::fromLatin1(utf8.toBase64())), path);
        const auto url =
            utf8.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
        QCOMPARE(Text::fromBase64(QString::fromLatin1(url)), path);
        QCOMPARE(Text::fromBase64(u"w6k"_s), u"é"_s);
        QCOMPARE(Text::fromBase64(QString()), QString());
    }

    void base64RejectsInvalidInput_data() {
        QTest::addColumn<QString>("input");
        QTest::newRow("foreign character") << u"abc!"_s;
        QTest::newRow("white space") << u"QUJD RA=="_s;
        QTest::newRow("one character too many") << u"QUJDR"_s;
        QTest::newRow("too much padding") << u"QQ==="_s;
        QTest::newRow("padding of the wrong length") << u"QUJD="_s;
        QTest::newRow("padding in the middle") << u"QQ==QQ=="_s;
        QTest::newRow("mixed alphabets") << u"+-+-"_s;
        QTest::newRow("not UTF-8") << QString::fromLatin1(QByteArray("\xff\xfe\xfd").toBase64());
    }

    void base64RejectsInvalidInput() {
        QFETCH(QString, input);
        QVERIFY(!Text::fromBase64(input));
    }

    void homeFolderIsShortenedOnlyWherePathsStartWithIt() {
        QTemporaryDir dir;
        Locations::initialize(dir.path());
        const QString h = Locations::shared().home();
        QCOMPARE(Text::shortenHomeFolder(h + u"/bin/tool x"_s), u"~/bin/tool x"_s);
        QCOMPARE(Text::shortenHomeFolder(h), u"~"_s);
        QCOMPARE(Text::shortenHomeFolder(u"tool "_s + h + u"/a PATH="_s + h + u"/bin:"_s + h +
                                         u"/sbin"_s),
                 u"tool ~/a PATH=~/bin:~/sbin"_s);
        QCOMPARE(Text::shortenHomeFolder(u"\""_s + h + u"/my file\""_s), u"\"~/my file\""_s);
        QCOMPARE(Text::shortenHomeFolder(h + u"stead/x"_s), h + u"stead/x"_s);
        QCOMPARE(Text::shortenHomeFolder(u"/srv"_s + h), u"/srv"_s + h);
        QCOMPARE(Text::shortenHomeFolder(h + u".bak"_s), h + u".bak"_s);
    }

    void lastPathComponents() {
        QCOMPARE(Text::lastPathComponent(u"/usr/bin/tool"_s), u"tool"_s);
        QCOMPARE(Text::lastPathComponent(u"a/"_s), u"a"_s);
        QCOMPARE(Text::lastPathComponent(u"//x//"_s), u"x"_s);
        QCOMPARE(Text::lastPathComponent(u"tool"_s), u"tool"_s);
        QCOMPARE(Text::lastPathComponent(u"/"_s), u"/"_s);
        QCOMPARE(Text::lastPathComponent(QString()), QString());
    }

    void bidirectionalStringFollowsTheReadingDirection() {
        const QStringList parts{u"one"_s, u"two"_s, u"three"_s};
        QLocale::setDefault(QLocale(QLocale::English));
        QCOMPARE(Text::bidirectionalString(parts, u" – "_s), u"one – two – three"_s);
        QLocale::setDefault(QLocale(QLocale::Arabic));
        QCOMPARE(Text::bidirectionalString(parts, u" – "_s), u"three – two – one"_s);
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "test_text.moc"
