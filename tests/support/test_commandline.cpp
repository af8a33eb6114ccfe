#include "support/text.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Vandra;

using namespace Qt::StringLiterals;

namespace {

QStringList randomArguments(QRandomGenerator &random) {
    static const QStringList pieces{u"a"_s,  u"b"_s,    u"tool"_s, u" "_s,   u" "_s,   u"\t"_s,
                                    u"\""_s, u"'"_s,    u"\\"_s,   u"\\ "_s, u"\" "_s, u"' "_s,
                                    u"é"_s,  u"日本"_s, u"😀"_s,    u"-x"_s,  u"/"_s,   u"~"_s};
    QStringList arguments;
    const int count = random.bounded(1, 6);
    for (int i = 0; i < count; ++i) {
        QString argument;
        const int length = random.bounded(0, 7);
        for (int j = 0; j < length; ++j)
            argument += pieces.at(random.bounded(int(pieces.size())));
        arguments.append(argument);
    }
    return arguments;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsAtSpacesOnlyAndDropsQuoting_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("blanks") << u"   "_s << QStringList();
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("runs of spaces") << u"  ls   -l  "_s << QStringList{u"ls"_s, u"-l"_s};
        QTest::newRow("tab inside a word") << u"a\tb c"_s << QStringList{u"a\tb"_s, u"c"_s};
        QTest::newRow("double quoted") << u"/bin/sh -c \"echo hi there\""_s
                                       << QStringList{u"/bin/sh"_s, u"-c"_s, u"echo hi there"_s};
        QTest::newRow("quote closes before a space")
            << u"'it's \"x\"' y"_s << QStringList{u"it's \"x\""_s, u"y"_s};
        QTest::newRow("empty quoted words")
            << u"a \"\" '' b"_s << QStringList{u"a"_s, QString(), QString(), u"b"_s};
        QTest::newRow("escaped space") << u"my\\ file x"_s << QStringList{u"my file"_s, u"x"_s};
        QTest::newRow("other backslashes stay")
            << u"a\\b c\\"_s << QStringList{u"a\\b"_s, u"c\\"_s};
        QTest::newRow("backslash inside quotes") << u"\"a\\ b\""_s << QStringList{u"a\\ b"_s};
        QTest::newRow("quote that never closes")
            << u"\"abc def"_s << QStringList{u"\"abc"_s, u"def"_s};
        QTest::newRow("quote inside a word") << u"a\"b c\""_s << QStringList{u"a\"b"_s, u"c\""_s};
        QTest::newRow("paired backslashes before a space end the word")
            << u"a\\\\ b\\\\\\ c"_s << QStringList{u"a\\"_s, u"b\\ c"_s};
        QTest::newRow("paired backslashes at the end")
            << u"x a\\\\"_s << QStringList{u"x"_s, u"a\\"_s};
        QTest::newRow("escaped quote starting a word")
            << u"\\\"a b\" c"_s << QStringList{u"\"a"_s, u"b\""_s, u"c"_s};
        QTest::newRow("paired backslashes before a quote stay")
            << u"\\\\\"a"_s << QStringList{u"\\\\\"a"_s};
    }

    void splitsAtSpacesOnlyAndDropsQuoting() {
        QFETCH(QString, command);
        QFETCH(QStringList, words);
        QCOMPARE(Text::separateCommand(command), words);
    }

    void quoteLeavesPlainWordsAndWrapsTheRest() {
        QCOMPARE(Text::quote(u"/usr/bin/tool"_s), u"/usr/bin/tool"_s);
        QCOMPARE(Text::quote(u"/my jobs/x.sh"_s), u"\"/my jobs/x.sh\""_s);
        QCOMPARE(Text::quote(u"a\"b c"_s), u"\"a\"b c\""_s);
        QCOMPARE(Text::quote(u"say \"hi\" now"_s), u"'say \"hi\" now'"_s);
        QCOMPARE(Text::quote(QString()), u"\"\""_s);
        QCOMPARE(Text::quote(u"'lead"_s), u"\"'lead\""_s);
        QCOMPARE(Text::quote(u"dir\\"_s), u"\"dir\\\""_s);
        QCOMPARE(Text::quote(u"a\" b' c"_s), u"a\"\\ b'\\ c"_s);
    }

    // Every list of arguments comes back from its command line, whatever it holds.
    void joinedArgumentsComeBack() {
        QRandomGenerator random(20240601);
        for (int round = 0; round < 5000; ++round) {
            const QStringList arguments = randomArguments(random);
            const QString line = Text::joinCommand(arguments);
            QVERIFY2(Text::separateCommand(line) == arguments,
                     qPrintable(arguments.join(u'|') + u" as "_s + line));
            // Each word alone is one word too, wherever it stands.
            for (const QString &argument : arguments)
                QCOMPARE(Text::separateCommand(u"x "_s + Text::quote(argument) + u" y"_s),
                         (QStringList{u"x"_s, argument, u"y"_s}));
        }
    }

    void textsWithBothQuotesBeforeSpacesAreEscaped_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("trailing backslash") << u"a\" b' c\\"_s;
        QTest::newRow("leading quote") << u"\"a' b\" c"_s;
        QTest::newRow("backslash before a space") << u"\"a\\ b' c"_s;
        QTest::newRow("backslashes then a quote") << u"\\\\'a\" b' c"_s;
    }

    void textsWithBothQuotesBeforeSpacesAreEscaped() {
        QFETCH(QString, text);
        QCOMPARE(Text::separateCommand(Text::joinCommand({text, text})), (QStringList{text, text}));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
