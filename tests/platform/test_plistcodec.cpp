#include "binaryplistbuilder.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <unistd.h>

#include <bit>
#include <limits>
#include <sys/stat.h>

using namespace Vandra;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PlistValue)
Q_DECLARE_METATYPE(PlistFormat)

namespace {

QString dataPath(const QString &name) {
    return qEnvironmentVariable("VANDRA_TEST_DATA") + u"/platform/"_s + name;
}

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
              int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

// The values of sample.xml and of sample.bplist, which plistlib wrote from it.
PlistDict sampleValues() {
    return PlistDict{
        {u"Label"_s, PlistValue(u"com.example.sample"_s)},
        {u"ProgramArguments"_s,
         PlistValue(QStringList{u"/bin/sh"_s, u"-c"_s, u"echo \"a & b\" < /dev/null"_s})},
        {u"Disabled"_s, PlistValue(false)},
        {u"RunAtLoad"_s, PlistValue(true)},
        {u"StartInterval"_s, PlistValue(3600)},
        {u"Nice"_s, PlistValue(-5)},
        {u"Largest"_s, PlistValue(std::numeric_limits<qint64>::max())},
        {u"Smallest"_s, PlistValue(std::numeric_limits<qint64>::min())},
        {u"Ratio"_s, PlistValue(0.1)},
        {u"Created"_s, PlistValue(utc(2024, 2, 29, 13, 14, 15))},
        {u"Expires"_s, PlistValue(utc(2100, 1, 1))},
        {u"Blob"_s, PlistValue(QByteArray::fromHex("000102fdfeff"))},
        {u"Émoji ☺"_s, PlistValue(u"𝄞 grüße"_s)},
        {u"EnvironmentVariables"_s,
         PlistValue(PlistDict{{u"PATH"_s, PlistValue(u"/usr/bin:/bin"_s)},
                              {u"EMPTY"_s, PlistValue(QString())}})},
        {u"Nested"_s, PlistValue(PlistArray{PlistValue(PlistDict()), PlistValue(PlistArray())})},
    };
}

PlistDict openStepSampleValues() {
    return PlistDict{
        {u"Label"_s, PlistValue(u"com.example.sample"_s)},
        {u"ProgramArguments"_s,
         PlistValue(QStringList{u"/bin/sh"_s, u"-c"_s, u"echo \"a & b\" < /dev/null"_s})},
        {u"Disabled"_s, PlistValue(u"NO"_s)},
        {u"Blob"_s, PlistValue(QByteArray::fromHex("000102fdfeff"))},
        {u"Émoji ☺"_s, PlistValue(u"𝄞 grüße"_s)},
        {u"Escapes"_s, PlistValue(u"tab\there\nline A\\ \"q\" ☺ 'single'"_s)},
        {u"Single quoted"_s, PlistValue(u"it's"_s)},
        {u"EnvironmentVariables"_s,
         PlistValue(PlistDict{{u"PATH"_s, PlistValue(u"/usr/bin:/bin"_s)},
                              {u"EMPTY"_s, PlistValue(QString())}})},
        {u"Nested"_s, PlistValue(PlistArray{PlistValue(PlistDict()), PlistValue(PlistArray())})},
        {u"Count"_s, PlistValue(-3600)},
        {u"Ratio"_s, PlistValue(0.5)},
        {u"Flag"_s, PlistValue(true)},
        {u"When"_s, PlistValue(utc(2024, 2, 29, 13, 14, 15))},
        {u"Base"_s, PlistValue(QByteArray::fromHex("000102"))},
    };
}

QByteArray xmlDocument(const QByteArray &body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
           "\n</plist>\n";
}

PlistValue readOk(const QByteArray &bytes) {
    const PlistReadResult result = PlistCodec::read(bytes);
    if (!result.ok())
        qWarning().noquote() << "unexpected error:" << result.error;
    return result.value.value_or(PlistValue());
}

QByteArray nested(const QByteArray &open, const QByteArray &close, int depth) {
    return open.repeated(depth) + close.repeated(depth);
}

} // namespace

class TestPlistCodec final : public QObject {
    Q_OBJECT

private slots:
    void readsSamplesOfEveryFormat_data();
    void readsSamplesOfEveryFormat();
    void writtenListsReadBackTheSame();
    void xmlWriterFollowsApplesLayout();
    void realsAreWrittenInTheShortestExactForm_data();
    void realsAreWrittenInTheShortestExactForm();
    void textIsEscapedAndKeptExactly();
    void writersRefuseValuesTheyCannotHold_data();
    void writersRefuseValuesTheyCannotHold();
    void xmlIntegersKeepSignAndRange_data();
    void xmlIntegersKeepSignAndRange();
    void binaryIntegersKeepSignAndRange();
    void datesOutsideThirtyTwoBitSecondsSurvive();
    void duplicateKeysKeepTheLastValue();
    void keyedArchiveUidReadsAsDictionary();
    void malformedXmlGivesAMessageWithItsPlace_data();
    void malformedXmlGivesAMessageWithItsPlace();
    void openStepSyntax_data();
    void openStepSyntax();
    void openStepErrorsNameTheLine();
    void formatIsDetectedFromTheContent();
    void deepNestingIsRefusedInEveryFormat();
    void readFileFollowsLinksAndExplainsFailures();
    void writeFileAtomicallyReplacesWithMode0644();
    void writeFileAtomicallyLeavesTheOldFileOnFailure();
};

void TestPlistCodec::readsSamplesOfEveryFormat_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<PlistFormat>("format");
    QTest::addColumn<PlistValue>("expected");
    QTest::newRow("xml") << u"sample.xml"_s << PlistFormat::Xml << PlistValue(sampleValues());
    QTest::newRow("binary") << u"sample.bplist"_s << PlistFormat::Binary
                            << PlistValue(sampleValues());
    QTest::newRow("openstep") << u"sample.openstep"_s << PlistFormat::OpenStep
                              << PlistValue(openStepSampleValues());
}

void TestPlistCodec::readsSamplesOfEveryFormat() {
    QFETCH(QString, file);
    QFETCH(PlistFormat, format);
    QFETCH(PlistValue, expected);
    const PlistReadResult result = PlistCodec::readFile(dataPath(file));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.format, format);
    QCOMPARE(result.value->debugText(), expected.debugText());
    QCOMPARE(*result.value, expected);
    // The order of the file is kept, not only the contents.
    QCOMPARE(result.value->dict()->keys(), expected.dict()->keys());
}

void TestPlistCodec::writtenListsReadBackTheSame() {
    PlistDict values = sampleValues();
    values.insert(u"Milliseconds"_s, PlistValue(utc(2030, 1, 2, 3, 4, 5, 250)));
    values.insert(u"Before2001"_s, PlistValue(utc(2000, 12, 31, 23, 58, 20, 250)));
    const PlistValue value(values);

    const std::optional<QByteArray> xml = PlistCodec::toXml(value);
    QVERIFY(xml);
    const PlistReadResult fromXml = PlistCodec::read(*xml);
    QVERIFY2(fromXml.ok(), qPrintable(fromXml.error));
    // XML dates hold whole seconds, as Apple writes them.
    PlistDict expected = values;
    expected.insert(u"Milliseconds"_s, PlistValue(utc(2030, 1, 2, 3, 4, 5)));
    expected.insert(u"Before2001"_s, PlistValue(utc(2000, 12, 31, 23, 58, 20)));
    QCOMPARE(*fromXml.value, PlistValue(expected));
    QCOMPARE(fromXml.value->dict()->keys(), values.keys());

    values.remove(u"Expires"_s); // beyond what libplist's binary writer can hold
    QString error;
    const std::optional<QByteArray> binary = PlistCodec::toBinary(PlistValue(values), &error);
    QVERIFY2(binary, qPrintable(error));
    const PlistReadResult fromBinary = PlistCodec::read(*binary);
    QVERIFY2(fromBinary.ok(), qPrintable(fromBinary.error));
    QCOMPARE(fromBinary.format, PlistFormat::Binary);
    QCOMPARE(*fromBinary.value, PlistValue(values));
    QCOMPARE(fromBinary.value->dict()->keys(), values.keys());
}

void TestPlistCodec::xmlWriterFollowsApplesLayout() {
    const PlistValue value(PlistDict{
        {u"Label"_s, PlistValue(u"x"_s)},
        {u"Args"_s, PlistValue(QStringList{u"a"_s})},
        {u"Empty"_s, PlistValue(PlistArray())},
        {u"Inner"_s,
         PlistValue(PlistDict{{u"On"_s, PlistValue(true)}, {u"None"_s, PlistValue(PlistDict())}})},
        {u"Count"_s, PlistValue(-3)},
        {u"When"_s, PlistValue(utc(2024, 5, 6, 7, 8, 9, 999))},
        {u"Bytes"_s, PlistValue(QByteArray(60, 'x'))},
    });
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n"
        "<dict>\n"
        "\t<key>Label</key>\n"
        "\t<string>x</string>\n"
        "\t<key>Args</key>\n"
        "\t<array>\n"
        "\t\t<string>a</string>\n"
        "\t</array>\n"
        "\t<key>Empty</key>\n"
        "\t<array/>\n"
        "\t<key>Inner</key>\n"
        "\t<dict>\n"
        "\t\t<key>On</key>\n"
        "\t\t<true/>\n"
        "\t\t<key>None</key>\n"
        "\t\t<dict/>\n"
        "\t</dict>\n"
        "\t<key>Count</key>\n"
        "\t<integer>-3</integer>\n"
        "\t<key>When</key>\n"
        "\t<date>2024-05-06T07:08:09Z</date>\n"
        "\t<key>Bytes</key>\n"
        "\t<data>\n"
        "\teHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4\n"
        "\teHh4eHh4eHh4\n"
        "\t</data>\n"
        "</dict>\n"
        "</plist>\n";
    QCOMPARE(PlistCodec::toXml(value), expected);
}

void TestPlistCodec::realsAreWrittenInTheShortestExactForm_data() {
    QTest::addColumn<double>("real");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("tenth") << 0.1 << QByteArray("0.1");
    QTest::newRow("third") << 1.0 / 3 << QByteArray("0.3333333333333333");
    QTest::newRow("whole") << 1.0 << QByteArray("1");
    QTest::newRow("negative zero") << -0.0 << QByteArray("-0");
    QTest::newRow("huge") << 1e300 << QByteArray("1e+300");
    QTest::newRow("smallest") << 5e-324 << QByteArray("5e-324");
    QTest::newRow("largest") << std::numeric_limits<double>::max()
                             << QByteArray("1.7976931348623157e+308");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << QByteArray("nan");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << QByteArray("+infinity");
    QTest::newRow("minus infinity")
        << -std::numeric_limits<double>::infinity() << QByteArray("-infinity");
}

void TestPlistCodec::realsAreWrittenInTheShortestExactForm() {
    QFETCH(double, real);
    QFETCH(QByteArray, text);
    const std::optional<QByteArray> xml = PlistCodec::toXml(PlistValue(real));
    QVERIFY(xml);
    QVERIFY2(xml->contains(QByteArray("<real>" + text + "</real>")), xml->constData());
    const PlistValue back = readOk(*xml);
    QVERIFY(back.isReal());
    QCOMPARE(std::bit_cast<quint64>(*back.toReal()), std::bit_cast<quint64>(real));
}

void TestPlistCodec::textIsEscapedAndKeptExactly() {
    const QString text = u"  a & b <c> \"d\" 'e' \r\n\ttab ]]> ☺ 𝄞 "_s;
    const PlistValue value(PlistDict{{u"<&key>"_s, PlistValue(text)}});
    const std::optional<QByteArray> xml = PlistCodec::toXml(value);
    QVERIFY(xml);
    QVERIFY(xml->contains("<key>&lt;&amp;key&gt;</key>"));
    QVERIFY(xml->contains("a &amp; b &lt;c&gt; \"d\" 'e' &#13;\n\ttab ]]&gt; ☺ 𝄞"));
    QCOMPARE(readOk(*xml), value);

    // A byte-order mark that starts a text is a character of it, in every form.
    const QString mark(QChar(0xFEFF));
    const PlistValue marked(PlistDict{{mark + u"key"_s, PlistValue(mark + u"text"_s)}});
    QCOMPARE(readOk(*PlistCodec::toXml(marked)), marked);
    QCOMPARE(readOk(*PlistCodec::toBinary(marked)), marked);
    QCOMPARE(readOk("{ \"" + (mark + u"key\" = \""_s + mark + u"text\"; }"_s).toUtf8()), marked);
}

void TestPlistCodec::writersRefuseValuesTheyCannotHold_data() {
    QTest::addColumn<PlistValue>("value");
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("isBinaryWritable");
    QTest::newRow("none") << PlistValue() << QString() << false;
    QTest::newRow("none inside") << PlistValue(PlistDict{
                                        {u"Label"_s, PlistValue(u"x"_s)},
                                        {u"ProgramArguments"_s,
                                         PlistValue(PlistArray{PlistValue(u"a"_s), PlistValue()})}})
                                 << u"ProgramArguments[1]"_s << false;
    QTest::newRow("control character")
        << PlistValue(PlistDict{{u"Text"_s, PlistValue(u"bell \a"_s)}}) << u"Text"_s << true;
    QTest::newRow("NUL character")
        << PlistValue(PlistArray{PlistValue(QString(QChar(0)))}) << u"[0]"_s << false;
    QTest::newRow("lone surrogate")
        << PlistValue(PlistDict{{QString(QChar(0xD800)), PlistValue(1)}}) << QString() << false;
    QTest::newRow("invalid date") << PlistValue(QDateTime()) << QString() << false;
}

void TestPlistCodec::writersRefuseValuesTheyCannotHold() {
    QFETCH(PlistValue, value);
    QFETCH(QString, place);
    QFETCH(bool, isBinaryWritable);
    QString error;
    QCOMPARE(PlistCodec::toXml(value, &error), std::nullopt);
    QVERIFY(!error.isEmpty());
    if (!place.isEmpty())
        QVERIFY2(error.contains(place), qPrintable(error));
    error.clear();
    const std::optional<QByteArray> binary = PlistCodec::toBinary(value, &error);
    QCOMPARE(binary.has_value(), isBinaryWritable);
    if (binary)
        QCOMPARE(PlistCodec::read(*binary).value, value);
    else
        QVERIFY(!error.isEmpty());
}

void TestPlistCodec::xmlIntegersKeepSignAndRange_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<PlistValue>("expected"); // none: an error
    QTest::newRow("negative") << QByteArray("-5") << PlistValue(-5);
    QTest::newRow("plus and spaces") << QByteArray(" +42\n") << PlistValue(42);
    QTest::newRow("hexadecimal") << QByteArray("0x1F") << PlistValue(31);
    QTest::newRow("largest") << QByteArray("9223372036854775807")
                             << PlistValue(std::numeric_limits<qint64>::max());
    QTest::newRow("smallest") << QByteArray("-9223372036854775808")
                              << PlistValue(std::numeric_limits<qint64>::min());
    QTest::newRow("above largest")
        << QByteArray("9223372036854775808") << PlistValue(quint64(9223372036854775808ULL));
    QTest::newRow("below smallest") << QByteArray("-9223372036854775809") << PlistValue();
    QTest::newRow("unsigned 64-bit")
        << QByteArray("18446744073709551615") << PlistValue(std::numeric_limits<quint64>::max());
    QTest::newRow("above unsigned 64-bit") << QByteArray("18446744073709551616") << PlistValue();
    QTest::newRow("far too large") << QByteArray("99999999999999999999999") << PlistValue();
    QTest::newRow("letters") << QByteArray("abc") << PlistValue();
    QTest::newRow("real") << QByteArray("1.5") << PlistValue();
    QTest::newRow("empty") << QByteArray("") << PlistValue();
}

void TestPlistCodec::xmlIntegersKeepSignAndRange() {
    QFETCH(QByteArray, text);
    QFETCH(PlistValue, expected);
    const PlistReadResult result = PlistCodec::read(xmlDocument("<integer>" + text + "</integer>"));
    if (expected.isNone()) {
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(u"integer"_s), qPrintable(result.error));
    } else {
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(*result.value, expected);
    }
}

void TestPlistCodec::binaryIntegersKeepSignAndRange() {
    const PlistValue integers(PlistArray{PlistValue(-5), PlistValue(0), PlistValue(255),
                                         PlistValue(std::numeric_limits<qint64>::min()),
                                         PlistValue(std::numeric_limits<qint64>::max())});
    const std::optional<QByteArray> binary = PlistCodec::toBinary(integers);
    QVERIFY(binary);
    QCOMPARE(readOk(*binary), integers);

    // 16-byte integers: within 64 bits, signed or unsigned, they read as such; beyond, they
    // are refused.
    BinaryPlistBuilder builder;
    const int negative = builder.add(BinaryPlistBuilder::integer128(~0ULL, ~0ULL));
    const int small = builder.add(BinaryPlistBuilder::integer128(0, 7));
    builder.add(BinaryPlistBuilder::array({negative, small}));
    QCOMPARE(readOk(builder.build(2)), PlistValue(PlistArray{PlistValue(-1), PlistValue(7)}));

    BinaryPlistBuilder large;
    large.add(BinaryPlistBuilder::integer128(1, 0));
    const PlistReadResult result = PlistCodec::read(large.build());
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(u"64-bit"_s), qPrintable(result.error));
}

void TestPlistCodec::datesOutsideThirtyTwoBitSecondsSurvive() {
    const QDateTime late = utc(2100, 1, 1, 0, 0, 0, 500);
    const QDateTime early = utc(1900, 6, 1, 12, 0, 0, 250);
    const QDateTime justBefore2001 = utc(2000, 12, 31, 23, 58, 20, 250);
    const auto seconds = [](const QDateTime &date) {
        return double(date.toMSecsSinceEpoch() - 978307200000) / 1000;
    };
    BinaryPlistBuilder builder;
    const QList<int> items{builder.add(BinaryPlistBuilder::date(seconds(late))),
                           builder.add(BinaryPlistBuilder::date(seconds(early))),
                           builder.add(BinaryPlistBuilder::date(seconds(justBefore2001)))};
    const int top = builder.add(BinaryPlistBuilder::array(items));
    QCOMPARE(readOk(builder.build(top)), PlistValue(PlistArray{PlistValue(late), PlistValue(early),
                                                               PlistValue(justBefore2001)}));

    QCOMPARE(readOk(xmlDocument("<array><date>2100-01-01T00:00:00Z</date>"
                                "<date>1900-06-01T12:00:00Z</date></array>")),
             PlistValue(PlistArray{PlistValue(utc(2100, 1, 1)), PlistValue(utc(1900, 6, 1, 12))}));

    QCOMPARE(readOk(*PlistCodec::toBinary(PlistValue(late))), PlistValue(late));
    QVERIFY(PlistCodec::toXml(PlistValue(late)));
    QCOMPARE(PlistCodec::toXml(PlistValue(utc(2024, 1, 1).addYears(8000))), std::nullopt);

    // Written in UTC, every field at its full width.
    const QDateTime offset(QDate(1, 2, 3), QTime(6, 5, 6), QTimeZone(2 * 3600));
    QVERIFY(PlistCodec::toXml(PlistValue(offset))->contains("<date>0001-02-03T04:05:06Z</date>"));
}

void TestPlistCodec::duplicateKeysKeepTheLastValue() {
    const PlistValue expected(
        PlistDict{{u"a"_s, PlistValue(u"last"_s)}, {u"b"_s, PlistValue(u"x"_s)}});
    QCOMPARE(readOk(xmlDocument("<dict><key>a</key><string>first</string><key>b</key>"
                                "<string>x</string><key>a</key><string>last</string></dict>")),
             expected);
    QCOMPARE(readOk("{ a = first; b = x; a = last; }"), expected);

    BinaryPlistBuilder builder;
    const int a = builder.add(BinaryPlistBuilder::ascii("a"));
    const int b = builder.add(BinaryPlistBuilder::ascii("b"));
    const int first = builder.add(BinaryPlistBuilder::ascii("first"));
    const int x = builder.add(BinaryPlistBuilder::ascii("x"));
    const int last = builder.add(BinaryPlistBuilder::ascii("last"));
    const int dict = builder.add(BinaryPlistBuilder::dict({a, b, a}, {first, x, last}));
    const PlistValue binary = readOk(builder.build(dict));
    QCOMPARE(binary, expected);
    QCOMPARE(binary.dict()->keys(), (QStringList{u"a"_s, u"b"_s}));
}

void TestPlistCodec::keyedArchiveUidReadsAsDictionary() {
    BinaryPlistBuilder builder;
    const int uid = builder.add(QByteArray("\x80\x07", 2));
    builder.add(BinaryPlistBuilder::array({uid}));
    QCOMPARE(readOk(builder.build(1)),
             PlistValue(PlistArray{PlistValue(PlistDict{{u"CF$UID"_s, PlistValue(7)}})}));
}

void TestPlistCodec::malformedXmlGivesAMessageWithItsPlace_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("unclosed") << xmlDocument("<dict><key>a</key><string>x</dict>");
    QTest::newRow("key without value") << xmlDocument("<dict><key>a</key></dict>");
    QTest::newRow("value without key") << xmlDocument("<dict><string>a</string></dict>");
    QTest::newRow("text in array") << xmlDocument("<array>loose</array>");
    QTest::newRow("unknown element") << xmlDocument("<number>1</number>");
    QTest::newRow("key outside dictionary") << xmlDocument("<key>a</key>");
    QTest::newRow("Boolean with text") << xmlDocument("<true>yes</true>");
    QTest::newRow("element in string") << xmlDocument("<string>a<b/></string>");
    QTest::newRow("bad real") << xmlDocument("<real>1.5x</real>");
    QTest::newRow("bad date") << xmlDocument("<date>2024-02-30T00:00:00Z</date>");
    QTest::newRow("date without zone") << xmlDocument("<date>2024-02-03T00:00:00</date>");
    QTest::newRow("bad base64") << xmlDocument("<data>!!!</data>");
    QTest::newRow("two values") << xmlDocument("<true/><false/>");
    QTest::newRow("no value") << xmlDocument("");
    QTest::newRow("invalid UTF-8") << xmlDocument("<string>\xff</string>");
    QTest::newRow("cut off") << QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a");
    QTest::newRow("unknown entity")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
                      "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                      "<plist><string>&bogus;</string></plist>");
}

void TestPlistCodec::malformedXmlGivesAMessageWithItsPlace() {
    QFETCH(QByteArray, xml);
    const PlistReadResult result = PlistCodec::read(xml);
    QVERIFY(!result.ok());
    QCOMPARE(result.format, PlistFormat::Xml);
    QVERIFY2(result.error.startsWith(u"Line "_s), qPrintable(result.error));
}

void TestPlistCodec::openStepSyntax_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<PlistValue>("expected");
    QTest::newRow("unquoted characters")
        << QByteArray("( a_b$c/d:e.f-g, 123, -1.5 )")
        << PlistValue(QStringList{u"a_b$c/d:e.f-g"_s, u"123"_s, u"-1.5"_s});
    QTest::newRow("comments") << QByteArray("// one\n{ /* two */ a = b; // three\n}")
                              << PlistValue(PlistDict{{u"a"_s, PlistValue(u"b"_s)}});
    QTest::newRow("strings file") << QByteArray("\"a\" = \"1\";\nb = (x);\n")
                                  << PlistValue(
                                         PlistDict{{u"a"_s, PlistValue(u"1"_s)},
                                                   {u"b"_s, PlistValue(QStringList{u"x"_s})}});
    QTest::newRow("single string") << QByteArray("  \"just text\"  ") << PlistValue(u"just text"_s);
    QTest::newRow("empty data") << QByteArray("<>") << PlistValue(QByteArray());
    QTest::newRow("escaped newline and octal")
        << QByteArray("\"a\\\nb\\0012\"") << PlistValue(u"a\nb\u00012"_s);
    QTest::newRow("escaped surrogate pair")
        << QByteArray("\"\\UD83D\\ude00\"") << PlistValue(u"\U0001F600"_s);
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray("\xFF\xFE(\0a\0)\0", 8) << PlistValue(QStringList{u"a"_s});
}

void TestPlistCodec::openStepSyntax() {
    QFETCH(QByteArray, text);
    QFETCH(PlistValue, expected);
    const PlistReadResult result = PlistCodec::read(text);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.format, PlistFormat::OpenStep);
    QCOMPARE(*result.value, expected);
}

void TestPlistCodec::openStepErrorsNameTheLine() {
    const struct {
        QByteArray text;
        int line;
    } cases[] = {
        {"{\n a = b;\n c = d\n}", 4},    // missing ';' noticed at the brace
        {"{\n a = \"never ends;\n}", 2}, // reported where the quote opens
        {"(\n a,\n b c\n)", 3},          // missing comma
        {"{ a = <0fz>; }", 1},           // not a hexadecimal digit
        {"{ a = b; } trailing", 1},      // text after the list
        {"{\n a = <*Ixyz>;\n}", 2},      // typed value that is not one
        {"{ a = b;", 1},                 // no closing brace
        {"\xff\xfe\xfd", 0},             // not UTF-8: no line to name
        {"{\n a = \"x\\000y\";\n}", 2},  // escaped NUL
        {"(\n \"\\UD800\")", 2},         // unpaired surrogate
        {"(\"\\UDC00\\UD800\")", 1},     // surrogates in the wrong order
    };
    for (const auto &[text, line] : cases) {
        const PlistReadResult result = PlistCodec::read(text);
        QVERIFY2(!result.ok(), text.constData());
        QVERIFY(!result.error.isEmpty());
        if (line > 0)
            QVERIFY2(result.error.startsWith(u"Line %1:"_s.arg(line)), qPrintable(result.error));
    }
}

void TestPlistCodec::formatIsDetectedFromTheContent() {
    PlistReadResult result = PlistCodec::read("<0fbd 7711>");
    QCOMPARE(result.format, PlistFormat::OpenStep);
    QCOMPARE(*result.value, PlistValue(QByteArray::fromHex("0fbd7711")));

    result = PlistCodec::read("\n  <dict><key>a</key><true/></dict>");
    QCOMPARE(result.format, PlistFormat::Xml);
    QCOMPARE(*result.value, PlistValue(PlistDict{{u"a"_s, PlistValue(true)}}));

    const QString xml =
        u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><plist><string>☺</string></plist>"_s;
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(xml.utf16()), xml.size() * 2);
    result = PlistCodec::read(utf16);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.format, PlistFormat::Xml);
    QCOMPARE(*result.value, PlistValue(u"☺"_s));

    result = PlistCodec::read(" \n\t");
    QVERIFY(!result.ok());
    QVERIFY(!result.error.isEmpty());
}

void TestPlistCodec::deepNestingIsRefusedInEveryFormat() {
    for (const int depth : {100, 100000}) {
        const bool isAllowed = depth <= PlistCodec::maximumDepth;
        const PlistReadResult xml =
            PlistCodec::read(xmlDocument(nested("<array>", "</array>", depth)));
        QCOMPARE(xml.ok(), isAllowed);
        const PlistReadResult openStep = PlistCodec::read(nested("(", ")", depth));
        QCOMPARE(openStep.ok(), isAllowed);

        BinaryPlistBuilder builder;
        for (int i = 0; i < depth; ++i)
            builder.add(BinaryPlistBuilder::array({i + 1}));
        builder.add(QByteArray("\x09", 1));
        const PlistReadResult binary = PlistCodec::read(builder.build());
        QCOMPARE(binary.ok(), isAllowed);
        if (!isAllowed) {
            QVERIFY(xml.error.contains(u"nested"_s));
            QVERIFY(openStep.error.contains(u"nested"_s));
            QVERIFY(binary.error.contains(u"nested"_s));
        }
    }
    PlistValue deep(true);
    for (int i = 0; i <= PlistCodec::maximumDepth; ++i)
        deep = PlistValue(PlistArray{deep});
    QCOMPARE(PlistCodec::toXml(deep), std::nullopt);
    QCOMPARE(PlistCodec::toBinary(deep), std::nullopt);
}

void TestPlistCodec::readFileFollowsLinksAndExplainsFailures() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString job = dir.filePath(u"job.plist"_s);
    QVERIFY(QFile::copy(dataPath(u"sample.xml"_s), job));
    const QString link = dir.filePath(u"link.plist"_s);
    QVERIFY(QFile::link(job, link));
    PlistReadResult result = PlistCodec::readFile(link);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(*result.value, PlistValue(sampleValues()));

    const QString broken = dir.filePath(u"broken.plist"_s);
    QVERIFY(QFile::link(dir.filePath(u"gone.plist"_s), broken));
    result = PlistCodec::readFile(broken);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(u"gone.plist"_s), qPrintable(result.error));

    QVERIFY(QDir(dir.path()).mkdir(u"folder.plist"_s));
    result = PlistCodec::readFile(dir.filePath(u"folder.plist"_s));
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(u"folder"_s), qPrintable(result.error));

    const QString empty = dir.filePath(u"empty.plist"_s);
    QFile emptyFile(empty);
    QVERIFY(emptyFile.open(QIODevice::WriteOnly));
    emptyFile.close();
    result = PlistCodec::readFile(empty);
    QVERIFY(!result.ok());
    QVERIFY(result.error.contains(u"empty"_s));

    result = PlistCodec::readFile(dir.filePath(u"missing.plist"_s));
    QVERIFY(!result.ok());
    QVERIFY(!result.error.isEmpty());

    result = PlistCodec::readFile(u"/dev/null"_s);
    QVERIFY(!result.ok());
    QVERIFY(!result.error.isEmpty());

    // A named pipe without a writer: refused at once, not waited on.
    const QString pipe = dir.filePath(u"pipe.plist"_s);
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    result = PlistCodec::readFile(pipe);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(u"not a regular file"_s), qPrintable(result.error));

    // A top-level list is a property list too; the caller decides what it wants.
    const QString list = dir.filePath(u"list.plist"_s);
    QVERIFY(PlistCodec::writeFileAtomically(list, "( a, b )"));
    result = PlistCodec::readFile(list);
    QVERIFY(result.ok());
    QVERIFY(result.value->isArray());

    if (geteuid() != 0) {
        QVERIFY(QFile::setPermissions(job, QFileDevice::WriteOwner));
        result = PlistCodec::readFile(job);
        QVERIFY(!result.ok());
        QVERIFY(!result.error.isEmpty());
    }
}

void TestPlistCodec::writeFileAtomicallyReplacesWithMode0644() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"job.plist"_s);
    const mode_t oldMask = umask(077);
    QVERIFY(PlistCodec::writeFileAtomically(path, "first"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QString error;
    const bool isWritten = PlistCodec::writeFileAtomically(path, "second", &error);
    umask(oldMask);
    QVERIFY2(isWritten, qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("second"));
    struct stat status = {};
    QCOMPARE(stat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0644));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"job.plist"_s});
}

void TestPlistCodec::writeFileAtomicallyLeavesTheOldFileOnFailure() {
    QTemporaryDir dir;
    QString error;
    // A folder in the way stays a folder.
    QVERIFY(QDir(dir.path()).mkdir(u"taken"_s));
    QVERIFY(!PlistCodec::writeFileAtomically(dir.filePath(u"taken"_s), "x", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(dir.filePath(u"taken"_s)).isDir());

    error.clear();
    QVERIFY(!PlistCodec::writeFileAtomically(dir.filePath(u"missing/job.plist"_s), "x", &error));
    QVERIFY(error.contains(u"missing/job.plist"_s));

    if (geteuid() == 0)
        QSKIP("The superuser writes into read-only folders; the rest was checked.");
    const QString path = dir.filePath(u"job.plist"_s);
    QVERIFY(PlistCodec::writeFileAtomically(path, "old"));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool isWritten = PlistCodec::writeFileAtomically(path, "new", &error);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!isWritten);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old"));
}

QTEST_GUILESS_MAIN(TestPlistCodec)
#include "test_plistcodec.moc"
