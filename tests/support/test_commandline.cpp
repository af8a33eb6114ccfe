#include "support/text.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The Run text made from program arguments when a job file is read: joined by single
// spaces; an empty argument as ""; an argument appended as it is when it has no space once
// its backslash-space pairs are removed, or when it starts with a quote; otherwise wrapped
// in double quotes, or in single quotes when it holds a double quote.
QString composed(const QStringList &arguments) {
    QStringList parts;
    for (const QString &argument : arguments) {
        QString copy = argument;
        copy.remove(u"\\ "_s);
        if (argument.isEmpty())
            parts.append(u"\"\""_s);
        else if (!copy.contains(u' ') || argument.startsWith(u'"') || argument.startsWith(u'\''))
            parts.append(argument);
        else if (argument.contains(u'"'))
            parts.append(u'\'' + argument + u'\'');
        else
            parts.append(u'"' + argument + u'"');
    }
    return parts.join(u' ');
}

// What the composition cannot carry through splitting:
// - an argument that starts with a quote is appended as it is and read as quoting;
// - a backslash-space in an argument appended as it is reads as an escaped space;
// - a trailing backslash escapes the space before the next argument;
// - in single quotes, a single quote before a space ends the word early.
bool isCarried(const QString &argument, bool isLast) {
    if (argument.isEmpty())
        return true;
    if (argument.startsWith(u'"') || argument.startsWith(u'\''))
        return false;
    QString copy = argument;
    copy.remove(u"\\ "_s);
    if (!copy.contains(u' '))
        return !argument.contains(u' ') && (isLast || !argument.endsWith(u'\\'));
    if (argument.contains(u'"'))
        return !argument.contains(u"' "_s);
    return true;
}

// No single word of the command line holds a text with both quotes before spaces that
// starts with a quote or ends with a backslash.
bool hasOneWordForm(const QString &text) {
    return !(text.contains(u"\" "_s) && text.contains(u"' "_s) &&
             (text.startsWith(u'"') || text.startsWith(u'\'') || text.endsWith(u'\\')));
}

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

QStringList quotedJoin(const QStringList &arguments) {
    QStringList words;
    for (const QString &argument : arguments)
        words.append(Text::quote(argument));
    return words;
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

    // Every list of arguments that holds only texts with a one-word form comes back.
    void quotedWordsComeBack() {
        QRandomGenerator random(20240601);
        int checked = 0;
        for (int round = 0; round < 5000; ++round) {
            const QStringList arguments = randomArguments(random);
            if (!std::all_of(arguments.cbegin(), arguments.cend(), hasOneWordForm))
                continue;
            const QString line = quotedJoin(arguments).join(u' ');
            QCOMPARE(Text::separateCommand(line), arguments);
            ++checked;
        }
        QVERIFY(checked > 4000);
    }

    void textsWithoutAOneWordFormComeBackOnlyAtTheEnd() {
        const QString trailing = u"a\" b' c\\"_s;
        const QString leading = u"\"a' b\" c"_s;
        QVERIFY(!hasOneWordForm(trailing) && !hasOneWordForm(leading));
        QCOMPARE(Text::separateCommand(u"x "_s + Text::quote(trailing)),
                 (QStringList{u"x"_s, trailing}));
        QCOMPARE(Text::separateCommand(Text::quote(leading)), QStringList{leading});
        QCOMPARE(Text::separateCommand(Text::quote(trailing) + u" y"_s),
                 (QStringList{u"a\" b' c y"_s}));
    }

    // Splitting undoes the composition for every argument it can carry.
    void composedArgumentsComeBack() {
        QRandomGenerator random(7);
        int checked = 0;
        for (int round = 0; round < 5000; ++round) {
            const QStringList arguments = randomArguments(random);
            bool carried = true;
            for (qsizetype i = 0; i < arguments.size(); ++i)
                carried = carried && isCarried(arguments.at(i), i + 1 == arguments.size());
            if (!carried)
                continue;
            QCOMPARE(Text::separateCommand(composed(arguments)), arguments);
            ++checked;
        }
        QVERIFY(checked > 1000);
    }

    void whatTheCompositionCannotCarry_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("escaped space") << QStringList{u"a\\ b"_s} << QStringList{u"a b"_s};
        QTest::newRow("trailing backslash before another")
            << QStringList{u"a\\"_s, u"b"_s} << QStringList{u"a b"_s};
        QTest::newRow("already quoted") << QStringList{u"\"quoted\""_s} << QStringList{u"quoted"_s};
        QTest::newRow("leading quote with a space")
            << QStringList{u"'x y"_s} << QStringList{u"'x"_s, u"y"_s};
        QTest::newRow("single quote before a space in single quotes")
            << QStringList{u"it' s \"x\""_s} << QStringList{u"it"_s, u"s"_s, u"\"x\"'"_s};
    }

    void whatTheCompositionCannotCarry() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, words);
        QCOMPARE(Text::separateCommand(composed(arguments)), words);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
