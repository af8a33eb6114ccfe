#include "platform/plistcodec.h"
#include "platform/plistkeys.h"
#include "platform/xmlplistreader.h"
#include "platform/xmlplistscanner.h"

#include <QFile>
#include <QTest>

using namespace Vandra;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PlistValue)

namespace {

QByteArray fileContents(const QString &name) {
    QFile file(qEnvironmentVariable("VANDRA_TEST_DATA") + u"/platform/"_s + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray inPlist(const QByteArray &body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
           "\n</plist>\n";
}

// Equal values, keys in the same order.
bool isSameValue(const PlistValue &a, const PlistValue &b) {
    return a == b && PlistCodec::toXml(a) == PlistCodec::toXml(b);
}

} // namespace

// The scanner is a shortcut: each case must be taken by it (or, where marked, left to the
// full reader) and read the same as the full reader reads it.
class TestXmlPlistScanner final : public QObject {
    Q_OBJECT

private slots:
    void plainFormIsTakenAndReadAlike_data();
    void plainFormIsTakenAndReadAlike();
    void restIsLeftToTheFullReader_data();
    void restIsLeftToTheFullReader();
    void knownKeysShareOneTextAcrossFiles();
};

void TestXmlPlistScanner::plainFormIsTakenAndReadAlike_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<PlistValue>("expected");

    const QByteArray sample = fileContents(u"sample.xml"_s);
    const PlistValue sampleValue = *XmlPlistReader::read(sample).value;
    QTest::newRow("sample file") << sample << sampleValue;
    QTest::newRow("our own output") << *PlistCodec::toXml(sampleValue) << sampleValue;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" + sample) << sampleValue;
    const QString mark(QChar(0xFEFF));
    QTest::newRow("a byte-order mark starting a text is a character of it")
        << inPlist("<dict><key>\xEF\xBB\xBF\xEF\xBB\xBFkey</key><string>\xEF\xBB\xBF&amp;</string>"
                   "</dict>")
        << PlistValue(PlistDict{{mark + mark + u"key"_s, PlistValue(mark + u"&"_s)}});

    const PlistValue one(PlistDict{{u"a"_s, PlistValue(1)}});
    const QByteArray body = "<dict><key>a</key><integer>1</integer></dict>";
    QTest::newRow("no declaration, no doctype") << QByteArray("<plist>" + body + "</plist>") << one;
    QTest::newRow("no plist element") << body << one;
    QTest::newRow("single quotes, standalone, lower-case encoding")
        << QByteArray(
               "<?xml version='1.0' encoding='utf-8' standalone='yes'?><plist version='1.0'>" +
               body + "</plist>")
        << one;
    QTest::newRow("system doctype, comments everywhere, CRLF between elements")
        << QByteArray("<?xml version=\"1.0\"?>\r\n<!-- a -->\r\n<!DOCTYPE plist SYSTEM \"x.dtd\">"
                      "<!-- b --><plist><!-- c --><dict>\r\n\t<key>a</key><!-- d -->\r\n"
                      "<integer>1</integer><!-- é --></dict><!-- e --></plist><!-- f -->\n")
        << one;
    QTest::newRow("spaces inside tags")
        << QByteArray("<plist ><dict ><key >a</key ><integer >1</integer ></dict ></plist >")
        << one;

    QTest::newRow("entities and character references")
        << inPlist("<string>&amp;&lt;&gt;&quot;&apos;&#65;&#x42;&#xe9;&#x1D11E;&#13;&#10;]]&gt;"
                   "</string>")
        << PlistValue(u"&<>\"'AB\u00e9\U0001D11E\r\n]]>"_s);
    QTest::newRow("UTF-8 text and key")
        << inPlist("<dict><key>Émoji ☺</key><string>𝄞 grüße\n\ttab</string></dict>")
        << PlistValue(PlistDict{{u"Émoji ☺"_s, PlistValue(u"𝄞 grüße\n\ttab"_s)}});
    QTest::newRow("empty elements")
        << inPlist("<array><string/><string></string><dict/><array/><data/><true/><false/>"
                   "<true> </true><dict><key/><string/></dict></array>")
        << PlistValue(PlistArray{PlistValue(QString()), PlistValue(QString()),
                                 PlistValue(PlistDict()), PlistValue(PlistArray()),
                                 PlistValue(QByteArray()), PlistValue(true), PlistValue(false),
                                 PlistValue(true),
                                 PlistValue(PlistDict{{QString(), PlistValue(QString())}})});
    QTest::newRow("numbers as both readers take them")
        << inPlist("<array><integer> 0x7fffffffffffffff </integer><integer>+12</integer>"
                   "<integer>-0x10</integer><real>1e-300</real><real>+2.5</real><real>nan</real>"
                   "<date>2024-02-29T13:14:15Z</date><data> AAEC\n /f7/ </data></array>")
        << PlistValue(
               PlistArray{PlistValue(qint64(0x7fffffffffffffff)), PlistValue(12), PlistValue(-16),
                          PlistValue(1e-300), PlistValue(2.5), PlistValue(std::nan("")),
                          PlistValue(QDateTime(QDate(2024, 2, 29), QTime(13, 14, 15), Qt::UTC)),
                          PlistValue(QByteArray("\x00\x01\x02\xfd\xfe\xff", 6))});
    QTest::newRow("containers inside containers, each keeping its own entries")
        << inPlist("<dict><key>Label</key><string>x</string><key>Sockets</key><dict>"
                   "<key>Listeners</key><array><dict><key>SockFamily</key><string>IPv4</string>"
                   "<key>SockFamily</key><string>IPv6</string></dict><array/><array><true/>"
                   "</array></array><key>Label</key><integer>2</integer></dict>"
                   "<key>&#76;abel</key><string>y</string><key>Nice</key><integer>1</integer>"
                   "</dict>")
        << PlistValue(PlistDict{
               {u"Label"_s, PlistValue(u"y"_s)},
               {u"Sockets"_s,
                PlistValue(PlistDict{
                    {u"Listeners"_s,
                     PlistValue(PlistArray{
                         PlistValue(PlistDict{{u"SockFamily"_s, PlistValue(u"IPv6"_s)}}),
                         PlistValue(PlistArray()), PlistValue(PlistArray{PlistValue(true)})})},
                    {u"Label"_s, PlistValue(2)}})},
               {u"Nice"_s, PlistValue(1)}});
    QTest::newRow("a key given twice keeps the last value at the first place")
        << inPlist("<dict><key>a</key><integer>1</integer><key>b</key><integer>2</integer>"
                   "<key>a</key><integer>3</integer></dict>")
        << PlistValue(PlistDict{{u"a"_s, PlistValue(3)}, {u"b"_s, PlistValue(2)}});
}

void TestXmlPlistScanner::plainFormIsTakenAndReadAlike() {
    QFETCH(QByteArray, xml);
    QFETCH(PlistValue, expected);
    const PlistReadResult full = XmlPlistReader::read(xml);
    QVERIFY2(full.ok(), qPrintable(full.error));
    QVERIFY(isSameValue(*full.value, expected));
    const std::optional<PlistValue> scanned = XmlPlistScanner::read(xml);
    QVERIFY2(scanned, "the scanner left a plain property list to the full reader");
    QVERIFY(isSameValue(*scanned, expected));
}

void TestXmlPlistScanner::restIsLeftToTheFullReader_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("isValid"); // for the full reader

    QTest::newRow("carriage return in text") << inPlist("<string>a\r\nb</string>") << true;
    QTest::newRow("CDATA") << inPlist("<string><![CDATA[a<b]]></string>") << true;
    QTest::newRow("processing instruction") << inPlist("<?pi x?><true/>") << true;
    QTest::newRow("comment inside text") << inPlist("<string>a<!-- c -->b</string>") << true;
    QTest::newRow("other encoding")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><plist><string>\xe9"
                      "</string></plist>")
        << true;
    QTest::newRow("internal subset")
        << QByteArray("<!DOCTYPE plist [<!ENTITY e \"x\">]><plist><string>&e;</string></plist>")
        << true;
    QTest::newRow("namespace declaration")
        << QByteArray("<plist xmlns:a=\"urn:a\"><true/></plist>") << true;
    QTest::newRow("character reference to a control") << inPlist("<string>&#1;</string>") << false;
    QTest::newRow("DEL") << inPlist("<string>\x7f</string>") << true;
    QTest::newRow("non-character") << inPlist("<string>\xef\xbf\xbe</string>") << false;
    QTest::newRow("encoded surrogate") << inPlist("<string>\xed\xa0\x80</string>") << false;
    QTest::newRow("overlong slash") << inPlist("<string>\xc0\xaf</string>") << false;
    QTest::newRow("raw ]]> in text") << inPlist("<string>a]]>b</string>") << false;
    QTest::newRow("comment with --") << inPlist("<!-- a -- b --><true/>") << false;
    QTest::newRow("attribute given twice")
        << QByteArray("<plist a=\"1\" a=\"2\"><true/></plist>") << false;
    QTest::newRow("attribute on a value") << inPlist("<string a=\"1\">x</string>") << true;
    QTest::newRow("space before the declaration, as launchd allows")
        << QByteArray(" <?xml version=\"1.0\"?><true/>") << true;
    QTest::newRow("version 1.1") << QByteArray("<?xml version=\"1.1\"?><plist><true/></plist>")
                                 << false;
    QTest::newRow("declaration without version")
        << QByteArray("<?xml encoding=\"UTF-8\"?><plist><true/></plist>") << false;
    QTest::newRow("mismatched end tag") << inPlist("<string>a</strong>") << false;
    QTest::newRow("key without value") << inPlist("<dict><key>a</key></dict>") << false;
    QTest::newRow("text between elements") << inPlist("<array>loose</array>") << false;
    QTest::newRow("empty integer") << inPlist("<integer/>") << false;
    QTest::newRow("integer out of range")
        << inPlist("<integer>18446744073709551616</integer>") << false;
    QTest::newRow("bad base64") << inPlist("<data>!!!</data>") << false;
    QTest::newRow("trailing garbage") << QByteArray(inPlist("<true/>") + "x") << false;
    QTest::newRow("two values") << inPlist("<true/><false/>") << false;
    QTest::newRow("no value") << inPlist("") << false;
    QTest::newRow("cut off") << QByteArray("<plist><dict><key>a") << false;
    QTest::newRow("UTF-16") << QByteArray("<\0?\0x\0m\0l\0", 10) << false;
}

void TestXmlPlistScanner::restIsLeftToTheFullReader() {
    QFETCH(QByteArray, xml);
    QFETCH(bool, isValid);
    QVERIFY(!XmlPlistScanner::read(xml));
    const PlistReadResult full = PlistCodec::read(xml);
    QCOMPARE(full.ok(), isValid);
    QCOMPARE(full.error.isEmpty(), isValid);
}

void TestXmlPlistScanner::knownKeysShareOneTextAcrossFiles() {
    const QByteArray xml = inPlist("<dict><key>Label</key><string>Label</string>"
                                   "<key>Labels</key><true/><key>&#76;abel</key><true/></dict>");
    const std::optional<PlistValue> first = XmlPlistScanner::read(xml);
    const std::optional<PlistValue> second = XmlPlistScanner::read(xml);
    QVERIFY(first && second);
    const QList<PlistDict::Entry> &a = first->dict()->entries();
    const QList<PlistDict::Entry> &b = second->dict()->entries();
    QCOMPARE(a.size(), 2);
    QCOMPARE(a.at(0).first, u"Label"_s);
    QCOMPARE(a.at(1).first, u"Labels"_s);
    QCOMPARE(*a.at(0).second.toBool(), true);
    QCOMPARE(a.at(0).first.constData(), b.at(0).first.constData());
    QVERIFY(a.at(1).first.constData() != b.at(1).first.constData());
    QCOMPARE(PlistKeys::text("ProgramArguments").constData(),
             PlistKeys::text("ProgramArguments").constData());
    QCOMPARE(PlistKeys::text("Program\xc3"), QString::fromLatin1("Program\xc3"));
}

QTEST_GUILESS_MAIN(TestXmlPlistScanner)
#include "test_xmlplistscanner.moc"
