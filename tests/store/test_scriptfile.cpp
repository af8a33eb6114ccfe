#include "common/files.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "platform/extendedattributes.h"
#include "store/scriptfile.h"
#include "store/scriptsyntax.h"
#include "support/const.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

#include <sys/mount.h>

using namespace Vandra;

namespace {

std::optional<QByteArray> attribute(const QString &path) {
    return ExtendedAttributes::read(path, Const::textEncodingAttributeName);
}

// Japanese prose, long enough for ICU to recognise its encoding.
QString japanese() {
    return s(
        "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめし"
        "た所でニャーニャー泣いていた事だけは記憶している。吾輩はここで始めて人間というものを"
        "見た。しかもあとで聞くとそれは書生という人間中で一番獰悪な種族であったそうだ。\n");
}

// A file system without extended attributes (ramfs), mounted for the test's lifetime.
class AttributelessMount final {
public:
    explicit AttributelessMount(const QString &folder)
        : m_folder(folder) {
        QDir().mkpath(folder);
        if (geteuid() != 0) {
            m_reason = "mounting a file system without attributes needs root";
            return;
        }
        if (mount("none", QFile::encodeName(folder).constData(), "ramfs", 0, nullptr) != 0) {
            m_reason = "ramfs could not be mounted here";
            return;
        }
        m_isMounted = true;
    }
    ~AttributelessMount() {
        if (m_isMounted)
            umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    AttributelessMount(const AttributelessMount &) = delete;
    AttributelessMount &operator=(const AttributelessMount &) = delete;

    [[nodiscard]] bool isMounted() const { return m_isMounted; }
    [[nodiscard]] const char *reason() const { return m_reason; }

private:
    QString m_folder;
    bool m_isMounted = false;
    const char *m_reason = "";
};

} // namespace

class TestScriptFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachEncodingIsReadAndWrittenBackByteForByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding");
        const QString unicode = s("echo \"Grüße 日本 🐈\"\n");
        QTest::newRow("UTF-8") << unicode.toUtf8() << unicode << s("UTF-8");
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("\xEF\xBB\xBF") + unicode.toUtf8() << unicode << s("UTF-8");
        QTest::newRow("UTF-16LE with BOM")
            << *TextEncoding::named(s("UTF-16LE"), true)->encode(unicode) << unicode
            << s("UTF-16LE");
        QTest::newRow("UTF-16BE with BOM")
            << *TextEncoding::named(s("UTF-16BE"), true)->encode(unicode) << unicode
            << s("UTF-16BE");
        const QString french = s("# Le café du matin coûte très cher à côté de la gare, "
                                 "où l'on déjeune rarement. Voilà pourquoi nous préférons "
                                 "le thé près de l'église.\n");
        QTest::newRow("Latin-1") << *TextEncoding::named(s("ISO-8859-1"))->encode(french) << french
                                 << s("ISO-8859-1");
        const QString quoted = s("# “Smart quotes” cost €5 – the dash and the quotes live only in "
                                 "Windows' table, where the price of the coffee is given.\n");
        QTest::newRow("Windows-1252") << *TextEncoding::named(s("windows-1252"))->encode(quoted)
                                      << quoted << s("windows-1252");
        QTest::newRow("Shift_JIS") << *TextEncoding::named(s("Shift_JIS"))->encode(japanese())
                                   << japanese() << s("Shift_JIS");
    }
    void eachEncodingIsReadAndWrittenBackByteForByte() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, encoding);
        TestRoot root;
        const QString path = root.write(s("script.sh"), bytes);
        const ScriptFile::ReadResult read = ScriptFile::read(path);
        QVERIFY(read.script);
        QCOMPARE(read.script->text, text);
        QCOMPARE(read.script->encoding.name(), encoding);

        QVERIFY(!ScriptFile::write(path, read.script->text, read.script->encoding));
        QCOMPARE(readAll(path), bytes);
        const std::optional<QByteArray> stored = attribute(path);
        QVERIFY(stored);
        QVERIFY(stored->startsWith(QByteArray(encoding.toUtf8() + ";")));
        // Read again, the stored attribute now decides.
        const ScriptFile::ReadResult again = ScriptFile::read(path);
        QVERIFY(again.script);
        QCOMPARE(again.script->text, text);
        QCOMPARE(again.script->encoding, read.script->encoding);
    }

    void theStoredAttributeOutranksTheGuess() {
        TestRoot root;
        // Valid UTF-8 as bytes, but the file says it is Latin-1: two characters, not one.
        const QString path = root.write(s("old.pl"), QByteArray("print \"\xC3\xA9\";\n"));
        QVERIFY(ExtendedAttributes::write(path, Const::textEncodingAttributeName, "ISO-8859-1;4"));
        const ScriptFile::ReadResult read = ScriptFile::read(path);
        QVERIFY(read.script);
        QCOMPARE(read.script->encoding.name(), s("ISO-8859-1"));
        QCOMPARE(read.script->text, s("print \"Ã©\";\n"));
        // An attribute naming an encoding that cannot read the file is passed over.
        QVERIFY(ExtendedAttributes::write(path, Const::textEncodingAttributeName, "UTF-32;1017"));
        QCOMPARE(ScriptFile::read(path).script->text, s("print \"é\";\n"));
    }

    void aFileNothingDecodesIsNotOpened() {
        TestRoot root;
        const QString binary = root.write(s("tool"), QByteArray("\0\0\0\0\x7F"
                                                                "ELF\x02\x01\0\0\xFF\xFE\0\0\x01",
                                                                17));
        const ScriptFile::ReadResult read = ScriptFile::read(binary);
        QVERIFY(!read.script);
        QCOMPARE(read.error.message, s("The document “tool” could not be opened."));
        QVERIFY(!read.error.informativeText.isEmpty());
        QVERIFY(!ScriptFile::read(root.path(s("missing.sh"))).script);
        QVERIFY(!ScriptFile::read(root.path()).script);
    }

    void aCharacterTheEncodingCannotHoldIsRefusedWithTheFileUnchanged() {
        TestRoot root;
        const QByteArray latin1("echo caf\xE9\n");
        const QString path = root.write(s("latin.sh"), latin1);
        const ScriptFile::ReadResult read = ScriptFile::read(path);
        QVERIFY(read.script);
        const std::optional<ScriptFileError> error =
            ScriptFile::write(path, read.script->text + s("echo 日本\n"), read.script->encoding);
        QVERIFY(error);
        QVERIFY(error->message.contains(read.script->encoding.name()));
        QVERIFY(error->informativeText.contains(s("日")));
        QCOMPARE(readAll(path), latin1);
        QVERIFY(!attribute(path));
    }

    void aFileSystemWithoutAttributesStillSaves() {
        TestRoot root;
        const AttributelessMount mount(root.path(s("ramfs")));
        if (!mount.isMounted())
            QSKIP(mount.reason());
        const QString path = root.path(s("ramfs/script.sh"));
        QVERIFY(!ScriptFile::write(path, s("echo é\n"), TextEncoding::utf8()));
        QCOMPARE(readAll(path), QByteArray("echo \xC3\xA9\n"));
        QVERIFY(!attribute(path));
        const ScriptFile::ReadResult read = ScriptFile::read(path);
        QVERIFY(read.script);
        QCOMPARE(read.script->text, s("echo é\n"));
    }

    void syntaxComesFromTheFirstLineOrElseTheExtension_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::addColumn<SyntaxType>("syntax");
        QTest::newRow("sh") << s("#!/bin/sh\necho") << s("a.py") << SyntaxType::shell;
        QTest::newRow("bash") << s("#!/bin/bash -e\n") << QString() << SyntaxType::bash;
        QTest::newRow("zsh") << s("#!/usr/bin/env zsh\n") << QString() << SyntaxType::zsh;
        QTest::newRow("env python3")
            << s("#!/usr/bin/env python3\n") << s("x.sh") << SyntaxType::python;
        QTest::newRow("env options") << s("#!/usr/bin/env -S PYTHONPATH=/x python3.11 -u\n")
                                     << QString() << SyntaxType::python;
        QTest::newRow("upper case") << s("#!/USR/BIN/PERL -w\r\n") << QString() << SyntaxType::perl;
        QTest::newRow("ruby") << s("#! /usr/bin/ruby\n") << QString() << SyntaxType::ruby;
        QTest::newRow("node") << s("#!/usr/bin/env node\n") << QString() << SyntaxType::javascript;
        QTest::newRow("swift") << s("#!/usr/bin/swift\n") << QString() << SyntaxType::swift;
        QTest::newRow("osascript")
            << s("#!/usr/bin/osascript\n") << QString() << SyntaxType::applescript;
        QTest::newRow("unknown interpreter")
            << s("#!/usr/bin/awk -f\n") << s("a.sh") << SyntaxType::plain;
        QTest::newRow("php tag") << s("<?php\necho 1;") << QString() << SyntaxType::php;
        QTest::newRow("xml") << s("<?xml version=\"1.0\"?>\n<plist/>") << QString()
                             << SyntaxType::xml;
        QTest::newRow("extension py") << s("print(1)\n") << s("/x/run.PY") << SyntaxType::python;
        QTest::newRow("extension plist") << s("<plist/>") << s("a.plist") << SyntaxType::xml;
        QTest::newRow("extension js") << s("") << s("a.mjs") << SyntaxType::javascript;
        QTest::newRow("indented shebang") << s(" #!/bin/bash\n") << s("a.rb") << SyntaxType::ruby;
        QTest::newRow("nothing") << s("hello") << s("notes.txt") << SyntaxType::plain;
    }
    void syntaxComesFromTheFirstLineOrElseTheExtension() {
        QFETCH(QString, text);
        QFETCH(QString, path);
        QFETCH(SyntaxType, syntax);
        QCOMPARE(ScriptSyntax::detect(text, path), syntax);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestScriptFile)
#include "test_scriptfile.moc"
