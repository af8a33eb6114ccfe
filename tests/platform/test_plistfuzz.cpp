#include "platform/plistcodec.h"
#include "platform/wholeseconds.h"
#include "platform/xmlplistreader.h"
#include "platform/xmlplistscanner.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace Vandra;

using namespace Qt::StringLiterals;

namespace {

QString dataPath(const QString &name) {
    return qEnvironmentVariable("VANDRA_TEST_DATA") + u"/platform/"_s + name;
}

QByteArray fileContents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Reads from a buffer of exactly the input's size, so that the address sanitizer sees a read
// past the end that the terminating NUL of a QByteArray would hide.
PlistReadResult readExactly(const QByteArray &input) {
    const auto buffer = std::make_unique<char[]>(size_t(qMax<qsizetype>(input.size(), 1)));
    std::copy(input.cbegin(), input.cend(), buffer.get());
    return PlistCodec::read(QByteArray::fromRawData(buffer.get(), input.size()));
}

// Whatever reads must write and read back the same (XML to the second), or be refused with
// a message.
void checkWritesBack(const PlistValue &value, const QByteArray &context) {
    QString error;
    if (const std::optional<QByteArray> xml = PlistCodec::toXml(value, &error)) {
        const PlistReadResult again = PlistCodec::read(*xml);
        QVERIFY2(again.ok(), qPrintable(again.error + u' ' + QString::fromLatin1(context)));
        QVERIFY2(*again.value == withWholeSeconds(value), context.constData());
    } else {
        QVERIFY2(!error.isEmpty(), context.constData());
    }
    error.clear();
    if (const std::optional<QByteArray> binary = PlistCodec::toBinary(value, &error)) {
        const PlistReadResult again = PlistCodec::read(*binary);
        QVERIFY2(again.ok(), qPrintable(again.error + u' ' + QString::fromLatin1(context)));
        QVERIFY2(*again.value == value, context.constData());
    } else {
        QVERIFY2(!error.isEmpty(), context.constData());
    }
}

const QByteArray tokens[] = {
    "<dict>",
    "</dict>",
    "<key>",
    "</key>",
    "<array>",
    "<string>",
    "<integer>",
    "<real>",
    "<date>",
    "<data>",
    "<true/>",
    "&amp;",
    "&#x0;",
    "&#xD800;",
    "]]>",
    "<![CDATA[",
    "<!--",
    "<!DOCTYPE plist [<!ENTITY e \"&e;\">]>",
    "{",
    "}",
    "(",
    ")",
    "=",
    ";",
    ",",
    "\"",
    "\\",
    "\\U",
    "\\777",
    "/*",
    "//",
    "<*I",
    "<*D",
    "<[",
    "bplist00",
    "\xff",
    "\xc3",
    "\xed\xa0\x80",
    "\xef\xbb\xbf",
};

const uchar interestingBytes[] = {0x00, 0x01, 0x0F, 0x10, 0x13, 0x14, 0x33, 0x5F, 0x6F,
                                  0x7F, 0x80, 0xA1, 0xAF, 0xD1, 0xDF, 0xFE, 0xFF};

QByteArray mutate(QByteArray input, const QList<QByteArray> &seeds, QRandomGenerator &random) {
    // Mostly one change, so that many inputs stay readable and reach the writers.
    const int steps = random.bounded(10) < 6 ? 1 : 2 + int(random.bounded(3));
    for (int step = 0; step < steps; ++step) {
        if (input.isEmpty())
            input = seeds[random.bounded(int(seeds.size()))];
        const auto size = int(input.size());
        const int pos = int(random.bounded(size));
        switch (random.bounded(9)) {
        case 0:
            input[pos] = char(input[pos] ^ (1 << random.bounded(8)));
            break;
        case 1:
            input[pos] = char(interestingBytes[random.bounded(int(sizeof interestingBytes))]);
            break;
        case 2:
            input.truncate(pos);
            break;
        case 3:
            input.remove(pos, int(random.bounded(qMin(size - pos, 64) + 1)));
            break;
        case 4: {
            const int length = int(random.bounded(qMin(size - pos, 64) + 1));
            input.insert(pos, input.mid(pos, length));
            break;
        }
        case 5: {
            const QByteArray &other = seeds[random.bounded(int(seeds.size()))];
            const int from = int(random.bounded(int(other.size())));
            input.insert(pos, other.mid(from, int(random.bounded(128))));
            break;
        }
        case 6: {
            const QByteArray &token = tokens[random.bounded(int(std::size(tokens)))];
            input.insert(pos, token);
            break;
        }
        case 7: {
            // The binary trailer and offset table decide where everything is.
            const int tail = qMax(0, size - 32 - int(random.bounded(16)));
            const int at = tail + int(random.bounded(size - tail));
            input[at] = char(random.bounded(256));
            break;
        }
        default:
            input[pos] = char(random.bounded(256));
            break;
        }
    }
    return input;
}

// The suite runs one fixed seed; VANDRA_FUZZ_SEED and VANDRA_FUZZ_ROUNDS explore further.
QRandomGenerator randomGenerator(quint32 fixedSeed) {
    bool hasSeed = false;
    const quint32 seed = qEnvironmentVariable("VANDRA_FUZZ_SEED").toUInt(&hasSeed);
    return QRandomGenerator(hasSeed ? seed : fixedSeed);
}

int fuzzRounds(int fixedRounds) {
    bool hasRounds = false;
    const int rounds = qEnvironmentVariableIntValue("VANDRA_FUZZ_ROUNDS", &hasRounds);
    return hasRounds ? rounds : fixedRounds;
}

} // namespace

class TestPlistFuzz final : public QObject {
    Q_OBJECT

private slots:
    void mutatedInputsNeverCrashAndWhatReadsWritesBack();
    void scannerReadsWhatItTakesAsTheFullReaderDoes();
    void regressionCorpus();
    void largeInputsFinish();
};

void TestPlistFuzz::mutatedInputsNeverCrashAndWhatReadsWritesBack() {
    QList<QByteArray> seeds;
    for (const QString &name : {u"sample.xml"_s, u"sample.bplist"_s, u"sample.openstep"_s})
        seeds.append(fileContents(dataPath(name)));
    const PlistValue typed(PlistDict{
        {u"When"_s, PlistValue(QDateTime::fromMSecsSinceEpoch(1700000000250, Qt::UTC))},
        {u"Text ☺ 𝄞"_s, PlistValue(QStringList{u"é"_s, u""_s})},
        {u"Numbers"_s, PlistValue(PlistArray{PlistValue(-1), PlistValue(1e-300), PlistValue(300)})},
        {u"Data"_s, PlistValue(QByteArray(40, '\x01'))},
    });
    seeds.append(*PlistCodec::toBinary(typed));
    seeds.append(*PlistCodec::toXml(typed));
    for (const QByteArray &seed : std::as_const(seeds))
        QVERIFY(PlistCodec::read(seed).ok());

    QRandomGenerator random = randomGenerator(20240506);
    const int rounds = fuzzRounds(8000);
    int readable = 0;
    for (int round = 0; round < rounds; ++round) {
        const QByteArray input = mutate(seeds[round % seeds.size()], seeds, random);
        const QByteArray context = "round " + QByteArray::number(round) + ": " + input.toBase64();
        const PlistReadResult result = readExactly(input);
        if (!result.ok()) {
            QVERIFY2(!result.error.isEmpty(), context.constData());
            continue;
        }
        ++readable;
        checkWritesBack(*result.value, context);
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d of %d mutated inputs were readable", readable, rounds);
    // The mutations must leave enough inputs readable to exercise the writers.
    QVERIFY(readable > rounds / 20);
}

// The scanner is a shortcut for the plain form of XML: whatever it takes must read exactly as
// the full reader reads it, keys in the same order.
void TestPlistFuzz::scannerReadsWhatItTakesAsTheFullReaderDoes() {
    const PlistValue typed(PlistDict{
        {u"Text &<>\"' ☺ 𝄞\n\t"_s, PlistValue(QStringList{u"é"_s, u"a]]>b"_s, u"\r"_s})},
        {u"Numbers"_s, PlistValue(PlistArray{PlistValue(-1), PlistValue(0.5), PlistValue(300)})},
        {u"When"_s, PlistValue(QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC))},
        {u"Data"_s, PlistValue(QByteArray(40, '\x01'))},
        {u"Empty"_s, PlistValue(PlistArray{PlistValue(PlistDict()), PlistValue(QString())})},
    });
    QList<QByteArray> seeds = {
        fileContents(dataPath(u"sample.xml"_s)),
        *PlistCodec::toXml(typed),
        "<?xml version='1.0' standalone='no'?><!-- c --><!DOCTYPE plist SYSTEM 'p.dtd'>\r\n"
        "<plist a='1'><dict><key>&#65;&#x42;</key><!-- x --><integer> 0x1F </integer>"
        "<key/><true> </true></dict></plist><!-- end -->",
    };
    for (const QByteArray &seed : std::as_const(seeds))
        QVERIFY(XmlPlistScanner::read(seed));

    QRandomGenerator random = randomGenerator(20241208);
    const int rounds = fuzzRounds(6000);
    int taken = 0;
    for (int round = 0; round < rounds; ++round) {
        const QByteArray input = mutate(seeds[round % seeds.size()], seeds, random);
        const auto buffer = std::make_unique<char[]>(size_t(qMax<qsizetype>(input.size(), 1)));
        std::copy(input.cbegin(), input.cend(), buffer.get());
        const std::optional<PlistValue> scanned =
            XmlPlistScanner::read(QByteArrayView(buffer.get(), input.size()));
        if (!scanned)
            continue;
        ++taken;
        const QByteArray context = "round " + QByteArray::number(round) + ": " + input.toBase64();
        const PlistReadResult full = XmlPlistReader::read(input);
        QVERIFY2(full.ok(), qPrintable(full.error + u' ' + QString::fromLatin1(context)));
        QVERIFY2(*full.value == *scanned, context.constData());
        QVERIFY2(PlistCodec::toXml(*full.value) == PlistCodec::toXml(*scanned),
                 context.constData());
    }
    qInfo("the scanner took %d of %d mutated inputs", taken, rounds);
    QVERIFY(taken > rounds / 50);
}

// Inputs that once crashed, hung or were misread: those named "ok-..." must read, the others
// must be refused with a message.
void TestPlistFuzz::regressionCorpus() {
    const QDir corpus(dataPath(u"fuzz"_s));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        const PlistReadResult result = readExactly(fileContents(corpus.filePath(name)));
        if (name.startsWith(u"ok-"_s)) {
            QVERIFY2(result.ok(), qPrintable(name + u": "_s + result.error));
            checkWritesBack(*result.value, name.toUtf8());
        } else {
            QVERIFY2(!result.ok(), qPrintable(name));
            QVERIFY2(!result.error.isEmpty(), qPrintable(name));
        }
    }
}

void TestPlistFuzz::largeInputsFinish() {
    // Many keys must not make reading quadratic.
    constexpr int count = 100000;
    QByteArray xml = "<plist><dict>";
    QByteArray openStep = "{";
    for (int i = 0; i < count; ++i) {
        const QByteArray key = QByteArray::number(i % (count / 2));
        xml += "<key>" + key + "</key><integer>" + QByteArray::number(i) + "</integer>";
        openStep += "k" + key + " = " + QByteArray::number(i) + ";";
    }
    xml += "</dict></plist>";
    openStep += "}";
    for (const QByteArray &input : {xml, openStep}) {
        const PlistReadResult result = PlistCodec::read(input);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.value->dict()->size(), count / 2);
        const std::optional<QByteArray> binary = PlistCodec::toBinary(*result.value);
        QVERIFY(binary);
        QCOMPARE(PlistCodec::read(*binary).value, result.value);
    }
}

QTEST_GUILESS_MAIN(TestPlistFuzz)
#include "test_plistfuzz.moc"
