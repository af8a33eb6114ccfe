#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <cmath>
#include <limits>

using namespace Vandra;

using namespace Qt::StringLiterals;

namespace {

// The typed JSON of plistlib_check.py: every value as [type, contents].
QJsonValue typed(const PlistValue &value) {
    const auto pair = [](const QString &type, const QJsonValue &contents) {
        return QJsonValue(QJsonArray{type, contents});
    };
    switch (value.type()) {
    case PlistValue::Type::String:
        return pair(u"string"_s, *value.toString());
    case PlistValue::Type::Boolean:
        return pair(u"bool"_s, *value.toBool());
    case PlistValue::Type::Integer:
        if (const std::optional<qint64> integer = value.toInteger())
            return pair(u"integer"_s, QString::number(*integer));
        return pair(u"integer"_s, QString::number(*value.toUnsigned()));
    case PlistValue::Type::Real:
        return pair(u"real"_s, QString::number(std::bit_cast<qint64>(*value.toReal())));
    case PlistValue::Type::Date:
        return pair(u"date"_s, QString::number(value.toDate()->toMSecsSinceEpoch()));
    case PlistValue::Type::Data:
        return pair(u"data"_s, QString::fromLatin1(value.toData()->toHex()));
    case PlistValue::Type::Array: {
        QJsonArray items;
        for (const PlistValue &item : *value.array())
            items.append(typed(item));
        return pair(u"array"_s, items);
    }
    case PlistValue::Type::Dictionary: {
        QJsonArray entries;
        for (const PlistDict::Entry &entry : *value.dict())
            entries.append(QJsonArray{entry.first, typed(entry.second)});
        return pair(u"dict"_s, entries);
    }
    case PlistValue::Type::None:
        break;
    }
    return QJsonValue(u"none"_s);
}

QString json(const QJsonValue &value) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
}

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

// Values for our writers, each readable by plistlib; dates to the second unless binary only.
QList<std::pair<QString, PlistValue>> ourSamples() {
    PlistValue deep(u"bottom"_s);
    for (int level = 0; level < 100; ++level)
        deep = PlistValue(PlistDict{{u"level"_s, PlistValue(level)}, {u"inner"_s, deep}});
    PlistArray reals;
    for (const double real :
         {0.0, -0.0, 0.1, 1.0 / 3, -2.5e-7, 1e300, 5e-324, std::numeric_limits<double>::max(),
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          123456789012345678.0})
        reals.append(PlistValue(real));
    PlistArray integers;
    for (const qint64 integer :
         {qint64(0), qint64(-1), qint64(127), qint64(128), qint64(-129), qint64(65536),
          qint64(1) << 40, std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()})
        integers.append(PlistValue(integer));
    integers.append(PlistValue(std::numeric_limits<quint64>::max()));
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes.append(char(i * 7));
    return {
        {u"job"_s, PlistValue(PlistDict{
                       {u"Label"_s, PlistValue(u"com.example.ours"_s)},
                       {u"ProgramArguments"_s,
                        PlistValue(QStringList{u"/bin/sh"_s, u"-c"_s, u"echo 'a & b' < x > y"_s})},
                       {u"RunAtLoad"_s, PlistValue(true)},
                       {u"Disabled"_s, PlistValue(false)},
                       {u"Integers"_s, PlistValue(integers)},
                       {u"Reals"_s, PlistValue(reals)},
                       {u"Text"_s, PlistValue(u"  lead\ttab\r\nCRLF ]]> \"q\" 'q'  "_s)},
                       {u"Ünïcödé ☺ ключ"_s, PlistValue(u"𝄞 🙂 עברית 中文"_s)},
                       {u"Empty"_s, PlistValue(QString())},
                       {u"Data"_s, PlistValue(bytes)},
                       {u"EmptyData"_s, PlistValue(QByteArray())},
                       {u"Created"_s, PlistValue(utc(2024, 2, 29, 13, 14, 15))},
                       {u"zz first of the rest"_s, PlistValue(PlistDict())},
                       {u"aa not sorted"_s, PlistValue(PlistArray())},
                   })},
        {u"dates"_s, PlistValue(PlistArray{PlistValue(utc(1900, 1, 1, 0, 0, 1)),
                                           PlistValue(utc(2100, 12, 31, 23, 59, 59)),
                                           PlistValue(utc(1, 1, 1, 0, 0, 0))})},
        {u"deep"_s, deep},
        {u"string"_s, PlistValue(u"top-level text"_s)},
    };
}

class PythonCheck {
public:
    PythonCheck()
        : m_python(QStandardPaths::findExecutable(u"python3"_s))
        , m_script(QFINDTESTDATA("plistlib_check.py")) {}
    [[nodiscard]] bool isAvailable() const { return !m_python.isEmpty() && !m_script.isEmpty(); }

    // Standard output of the script, or none with the reason in error.
    std::optional<QByteArray> run(const QStringList &arguments, QString &error) const {
        QProcess process;
        process.start(m_python, QStringList{m_script} + arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            error = QString::fromUtf8(process.readAllStandardError());
            return std::nullopt;
        }
        return process.readAllStandardOutput();
    }

private:
    QString m_python;
    QString m_script;
};

} // namespace

class TestPlistlib final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void plistlibReadsWhatWeWrite();
    void weReadWhatPlistlibWrites();

private:
    PythonCheck m_python;
};

void TestPlistlib::initTestCase() {
    if (!m_python.isAvailable())
        QSKIP("python3 is not installed: the plistlib cross-check cannot run.");
    QString error;
    if (!m_python.run(
            {u"dump"_s, qEnvironmentVariable("VANDRA_TEST_DATA") + u"/platform/sample.xml"_s},
            error))
        QSKIP(qPrintable(u"python3 cannot run plistlib: "_s + error));
}

void TestPlistlib::plistlibReadsWhatWeWrite() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList files;
    QStringList expected;
    for (const auto &[name, value] : ourSamples()) {
        QString error;
        const std::optional<QByteArray> xml = PlistCodec::toXml(value, &error);
        QVERIFY2(xml, qPrintable(error));
        files.append(dir.filePath(name + u".xml"_s));
        QVERIFY(PlistCodec::writeFileAtomically(files.last(), *xml));
        expected.append(json(typed(value)));
        const std::optional<QByteArray> binary = PlistCodec::toBinary(value, &error);
        QVERIFY2(binary, qPrintable(error));
        files.append(dir.filePath(name + u".bplist"_s));
        QVERIFY(PlistCodec::writeFileAtomically(files.last(), *binary));
        expected.append(expected.last());
    }
    const PlistValue milliseconds(utc(2024, 5, 6, 7, 8, 9, 250));
    files.append(dir.filePath(u"milliseconds.bplist"_s));
    QVERIFY(PlistCodec::writeFileAtomically(files.last(), *PlistCodec::toBinary(milliseconds)));
    expected.append(json(typed(milliseconds)));

    QString error;
    const std::optional<QByteArray> output = m_python.run(QStringList{u"dump"_s} + files, error);
    QVERIFY2(output, qPrintable(error));
    const QList<QByteArray> lines = output->trimmed().split('\n');
    QCOMPARE(lines.size(), files.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QJsonDocument document = QJsonDocument::fromJson("[" + lines[i] + "]");
        QVERIFY2(document.isArray(), lines[i].constData());
        QCOMPARE(json(document.array().first()), expected[i]);
    }
}

void TestPlistlib::weReadWhatPlistlibWrites() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(m_python.run({u"write"_s, dir.path()}, error), qPrintable(error));
    const QStringList descriptions = QDir(dir.path()).entryList({u"*.json"_s}, QDir::Files);
    QVERIFY(descriptions.size() >= 4);
    int files = 0;
    for (const QString &description : descriptions) {
        QFile file(dir.filePath(description));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonValue expected = QJsonDocument::fromJson(file.readAll()).array();
        const QString name = description.chopped(5);
        for (const QString &suffix : {u".xml"_s, u".bplist"_s}) {
            const QString path = dir.filePath(name + suffix);
            if (!QFile::exists(path))
                continue;
            ++files;
            const PlistReadResult result = PlistCodec::readFile(path);
            if (expected == QJsonArray{u"refused"_s}) {
                QVERIFY2(!result.ok(), qPrintable(path));
                QVERIFY(!result.error.isEmpty());
                continue;
            }
            QVERIFY2(result.ok(), qPrintable(path + u": "_s + result.error));
            QCOMPARE(json(typed(*result.value)), json(expected));
        }
    }
    QVERIFY(files >= 8);
}

QTEST_GUILESS_MAIN(TestPlistlib)
#include "test_plistlib.moc"
