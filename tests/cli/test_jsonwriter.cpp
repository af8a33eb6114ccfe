#include "cli/jobjson.h"
#include "cli/jsonwriter.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/jobreader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

using namespace Vandra;

using namespace Qt::Literals::StringLiterals;

namespace {

// Writes a parsed document through the writer, members in the document's own order.
void writeValue(JsonWriter &writer, const QJsonValue &value) {
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        writer.value(nullptr);
        break;
    case QJsonValue::Bool:
        writer.value(value.toBool());
        break;
    case QJsonValue::Double:
        if (const double d = value.toDouble();
            d == std::trunc(d) && std::abs(d) < 9007199254740992.0)
            writer.value(value.toInteger());
        else
            writer.value(d);
        break;
    case QJsonValue::String:
        writer.value(value.toString());
        break;
    case QJsonValue::Array:
        writer.beginArray();
        for (const QJsonValue &item : value.toArray())
            writeValue(writer, item);
        writer.endArray();
        break;
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        writer.beginObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            writer.key(it.key());
            writeValue(writer, it.value());
        }
        writer.endObject();
        break;
    }
    }
}

QByteArray written(const QJsonDocument &document, JsonWriter::Layout layout) {
    JsonWriter writer(layout);
    writeValue(writer,
               document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()));
    return writer.take();
}

// A text as a lone compact value, and as Qt writes it (the same value, inside an array).
QByteArray writtenText(QStringView text) {
    JsonWriter writer(JsonWriter::Layout::compact);
    writer.value(text);
    return writer.take();
}

QByteArray qtText(const QString &text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

bool isValidUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

// The record of a job as the command line built it with QJsonObject.
QJsonObject recordAsBefore(Job &job) {
    const auto orNull = [](const auto &value) {
        return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
    };
    const auto ruleObject = [](const ScheduledType &rule) {
        static const char *const kinds[] = {"repeatInterval", "everyHour",  "everyDay",
                                            "dayOfWeek",      "dayOfMonth", "dayOfYear"};
        static const char *const units[] = {"seconds", "minutes", "hours", "days"};
        QJsonObject object;
        std::visit(
            [&object](const auto &r) {
                using R = std::decay_t<decltype(r)>;
                object.insert(s("kind"), s(kinds[int(r.kind)]));
                if constexpr (std::is_same_v<R, Scheduled::RepeatInterval>) {
                    object.insert(s("interval"), r.interval);
                    object.insert(s("unit"), s(units[int(r.unit)]));
                } else if constexpr (std::is_same_v<R, Scheduled::EveryHour>) {
                    object.insert(s("minute"), r.minute);
                } else {
                    if constexpr (std::is_same_v<R, Scheduled::DayOfYear>)
                        object.insert(s("month"), r.month);
                    if constexpr (!std::is_same_v<R, Scheduled::EveryDay>)
                        object.insert(s("day"), r.day);
                    object.insert(s("time"), r.time.toString(s("HH:mm")));
                }
            },
            rule);
        return object;
    };
    QJsonObject object;
    object.insert(s("label"), job.label);
    object.insert(s("kind"), job.kind ? QJsonValue(Kinds::name(*job.kind)) : QJsonValue());
    object.insert(s("run"), job.run());
    object.insert(s("summary"), orNull(job.summary));
    object.insert(s("isEnabled"), job.isEnabled());
    object.insert(s("keepAlive"), orNull(job.keepAlive()));
    object.insert(s("isKeepAliveSuccessfulExitSet"), orNull(job.isKeepAliveSuccessfulExitSet()));
    object.insert(s("watchPath"), orNull(job.watchPath()));
    object.insert(s("machServicesKey"), orNull(job.machServicesKey()));
    object.insert(s("isMachServicesEnabled"), job.isMachServicesEnabled);
    object.insert(s("limitLoadToSessionTypeIndex"), orNull(job.limitLoadToSessionTypeIndex()));
    object.insert(s("isLimitLoadToSessionTypeEnabled"), job.isLimitLoadToSessionTypeEnabled());
    object.insert(s("isUserNameEnabled"), job.isUserNameEnabled);
    object.insert(s("isLocked"), job.isLocked());
    object.insert(s("isScheduledEnabled"), job.isScheduledEnabled);
    object.insert(s("runIcon"), orNull(job.runIcon));
    if (job.scheduled) {
        QJsonArray rules;
        for (const ScheduledType &rule : std::as_const(*job.scheduled))
            rules.append(ruleObject(rule));
        object.insert(s("scheduled"), rules);
    } else {
        object.insert(s("scheduled"), QJsonValue::Null);
    }
    return object;
}

} // namespace

class TestJsonWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void escapesTextAsQtDoes_data() {
        QTest::addColumn<QString>("text");
        for (char16_t c = 0; c < 0x20; ++c)
            QTest::addRow("U+%04X", unsigned(c)) << QString(QChar(c));
        QTest::newRow("quote and backslash") << s("say \"hi\" \\ \\\\");
        QTest::newRow("slash and DEL stay") << s("a/b\x7f");
        QTest::newRow("Latin-1") << s("café naïve ÿ");
        QTest::newRow("BMP") << s("€ — 日本語 \uffff");
        QTest::newRow("non-BMP") << s("🙂 𝄞 \U0010FFFF");
        QTest::newRow("empty") << QString();
        QString mixed;
        for (int i = 0; i < 5000; ++i)
            mixed += s("line\t\"ü\"\n\\🙂\x01 ");
        QTest::newRow("long mixed") << mixed;
    }

    void escapesTextAsQtDoes() {
        QFETCH(QString, text);
        const QByteArray expected = qtText(text);
        QCOMPARE(writtenText(text), expected);

        // Names are escaped the same way.
        JsonWriter writer(JsonWriter::Layout::compact);
        writer.beginObject();
        writer.key(text);
        writer.value(0);
        writer.endObject();
        QCOMPARE(writer.data(), '{' + expected + ":0}");
    }

    void latin1TextMatchesTheSameCharacters() {
        QByteArray every(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            every[i] = char(i);
        const QLatin1StringView latin1(every);
        JsonWriter writer(JsonWriter::Layout::compact);
        writer.value(latin1);
        QCOMPARE(writer.data(), qtText(QString(latin1)));
        QVERIFY(isValidUtf8(writer.data()));
    }

    void writesLoneSurrogatesAsReplacement_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        const auto units = [](std::initializer_list<char16_t> list) {
            return QString(reinterpret_cast<const QChar *>(list.begin()), qsizetype(list.size()));
        };
        QTest::newRow("high at the end") << units({u'a', 0xd83d}) << "\"a\xef\xbf\xbd\""_ba;
        QTest::newRow("high before a letter") << units({0xd83d, u'b'})
                                              << "\"\xef\xbf\xbd"
                                                 "b\""_ba;
        QTest::newRow("low alone") << units({0xde42, u'c'})
                                   << "\"\xef\xbf\xbd"
                                      "c\""_ba;
        QTest::newRow("low before high")
            << units({0xde42, 0xd83d}) << "\"\xef\xbf\xbd\xef\xbf\xbd\""_ba;
        QTest::newRow("two highs, then a pair")
            << units({0xd83d, 0xd83d, 0xde42}) << "\"\xef\xbf\xbd\xf0\x9f\x99\x82\""_ba;
    }

    void writesLoneSurrogatesAsReplacement() {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        const QByteArray bytes = writtenText(text);
        QCOMPARE(bytes, expected);
        QVERIFY(isValidUtf8(bytes));
        QJsonParseError error;
        QJsonDocument::fromJson('[' + bytes + ']', &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
    }

    void writesIntegersExactly() {
        JsonWriter writer(JsonWriter::Layout::compact);
        writer.beginArray();
        writer.value(std::numeric_limits<qint64>::min());
        writer.value(std::numeric_limits<qint64>::max());
        writer.value(std::numeric_limits<quint64>::max());
        writer.value(std::numeric_limits<int>::min());
        writer.value(short(-32768));
        writer.value(uchar(255));
        writer.value(0);
        writer.value(std::optional<qint64>(-1));
        writer.value(std::optional<qint64>());
        writer.value(std::optional<double>());
        writer.endArray();
        QCOMPARE(writer.data(), "[-9223372036854775808,9223372036854775807,18446744073709551615,"
                                "-2147483648,-32768,255,0,-1,null,null]"_ba);
    }

    void writesDoublesInTheShortestFormThatReadsBackOrNull_data() {
        QTest::addColumn<double>("number");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("tenth") << 0.1 << "0.1"_ba;
        QTest::newRow("sum") << 0.1 + 0.2 << "0.30000000000000004"_ba;
        QTest::newRow("third") << 1.0 / 3 << "0.3333333333333333"_ba;
        QTest::newRow("whole") << 2.0 << "2"_ba;
        QTest::newRow("negative") << -1.5 << "-1.5"_ba;
        QTest::newRow("small") << 1e-7 << "1e-07"_ba;
        QTest::newRow("large") << 1e21 << "1e+21"_ba;
        QTest::newRow("above 2^53") << 9007199254740994.0 << "9007199254740994"_ba;
        QTest::newRow("largest") << std::numeric_limits<double>::max()
                                 << "1.7976931348623157e+308"_ba;
        QTest::newRow("smallest subnormal")
            << std::numeric_limits<double>::denorm_min() << "5e-324"_ba;
        QTest::newRow("smallest normal")
            << std::numeric_limits<double>::min() << "2.2250738585072014e-308"_ba;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "null"_ba;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "null"_ba;
        QTest::newRow("-infinity") << -std::numeric_limits<double>::infinity() << "null"_ba;
    }

    void writesDoublesInTheShortestFormThatReadsBackOrNull() {
        QFETCH(double, number);
        QFETCH(QByteArray, expected);
        JsonWriter writer(JsonWriter::Layout::compact);
        writer.value(number);
        QCOMPARE(writer.data(), expected);
        if (!std::isfinite(number))
            return;
        QJsonParseError error;
        const double read =
            QJsonDocument::fromJson('[' + writer.data() + ']', &error).array().at(0).toDouble();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY(std::memcmp(&read, &number, sizeof number) == 0);
    }

    void laysOutDocumentsAsQtDoes_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("empty array") << "[]"_ba;
        QTest::newRow("empty object") << "{}"_ba;
        QTest::newRow("empty containers inside") << "{\"a\":[],\"b\":{},\"c\":[[],{}]}"_ba;
        QTest::newRow("objects in arrays")
            << "[{\"k\":\"v\",\"n\":null,\"t\":true,\"f\":false},[1,-2,0.5],{\"x\":{\"y\":[{}]}}]"_ba;
        QTest::newRow("escaped names") << "{\"a\\\"b\":1,\"tab\\there\":{\"\\u0001\":[2]}}"_ba;
        QByteArray deep;
        for (int i = 0; i < 40; ++i)
            deep += i % 2 ? "{\"d\":" : "[";
        deep += "0";
        for (int i = 39; i >= 0; --i)
            deep += i % 2 ? "}" : "]";
        QTest::newRow("40 levels") << deep;
    }

    void laysOutDocumentsAsQtDoes() {
        QFETCH(QByteArray, json);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(written(document, JsonWriter::Layout::indented),
                 document.toJson(QJsonDocument::Indented));
        QCOMPARE(written(document, JsonWriter::Layout::compact),
                 document.toJson(QJsonDocument::Compact));
    }

    void keepsMembersInTheOrderWritten() {
        JsonWriter writer;
        writer.beginObject();
        writer.key("zebra"_L1);
        writer.value(1);
        writer.key(u"apple");
        writer.beginArray();
        writer.value("x"_L1);
        writer.endArray();
        writer.endObject();
        QCOMPARE(writer.data(),
                 "{\n    \"zebra\": 1,\n    \"apple\": [\n        \"x\"\n    ]\n}\n"_ba);
    }

    void recordsHoldTheSameValuesAsBefore_data() {
        QTest::addColumn<PlistDict>("plist");
        QTest::addColumn<int>("kind"); // -1: none
        QTest::newRow("label only") << PlistDict{{s("Label"), PlistValue(s("bare"))}} << -1;
        QTest::newRow("every field")
            << PlistDict{{s("Label"), PlistValue(s("org.example.full"))},
                         {s("ProgramArguments"),
                          PlistValue(
                              QStringList{s("/bin/sh"), s("-c"), s("echo \"hi\"\n\tthere")})},
                         {s("Disabled"), PlistValue(true)},
                         {s("KeepAlive"),
                          PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(true)}})},
                         {s("WatchPaths"), PlistValue(QStringList{s("/var/log/ü.log")})},
                         {s("MachServices"),
                          PlistValue(PlistDict{{s("org.example.m"), PlistValue(true)}})},
                         {s("LimitLoadToSessionType"), PlistValue(s("LoginWindow"))},
                         {s("UserName"), PlistValue(s("nobody"))},
                         {s("StartInterval"), PlistValue(90)},
                         {s("StartCalendarInterval"),
                          PlistValue(
                              PlistArray{PlistValue(PlistDict{{s("Minute"), PlistValue(7)}}),
                                         PlistValue(PlistDict{{s("Hour"), PlistValue(0)},
                                                              {s("Minute"), PlistValue(0)}}),
                                         PlistValue(PlistDict{{s("Weekday"), PlistValue(3)},
                                                              {s("Hour"), PlistValue(23)}}),
                                         PlistValue(PlistDict{{s("Day"), PlistValue(31)},
                                                              {s("Minute"), PlistValue(59)}}),
                                         PlistValue(PlistDict{{s("Month"), PlistValue(12)},
                                                              {s("Day"), PlistValue(1)},
                                                              {s("Hour"), PlistValue(9)}})})}}
            << int(Kind::localDaemon);
        QTest::newRow("texts beyond ASCII")
            << PlistDict{{s("Label"), PlistValue(s("ünïcode 🙂 \"quoted\" \\ \t\n"))},
                         {s("Program"), PlistValue(s("/opt/日本/run"))},
                         {s("StartCalendarInterval"), PlistValue(PlistArray{})}}
            << int(Kind::userAgent);
    }

    void recordsHoldTheSameValuesAsBefore() {
        QFETCH(PlistDict, plist);
        QFETCH(int, kind);
        TestRoot root;
        const JobPtr job =
            JobReader::jobFromPlist(plist, root.path(s("job.plist")),
                                    kind < 0 ? std::nullopt : std::optional<Kind>(Kind(kind)));
        QVERIFY(job);

        JsonWriter writer;
        writer.beginObject();
        JobJson::writeFields(writer, *job);
        writer.endObject();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(writer.data(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(document.object(), recordAsBefore(*job));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJsonWriter)
#include "test_jsonwriter.moc"
