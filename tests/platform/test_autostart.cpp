#include "platform/autostart.h"
#include "support/locations.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAutostart : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;

    static QStringList linesOf(const QString &file) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_root.isValid());
        Locations::initialize(m_root.path());
    }

    void writtenProgramsReadBackWhole_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("plain") << u"/usr/bin/vandra-agent"_s;
        QTest::newRow("spaces and quotes") << u"/opt/My \"Apps\"/it's/vandra-agent"_s;
        QTest::newRow("shell characters") << u"/opt/$HOME/`id`/a\\b/vandra-agent"_s;
        // A launcher would put the files it opens in place of %f.
        QTest::newRow("percent signs") << u"/opt/100%/%f%%u/vandra-agent"_s;
        QTest::newRow("line breaks") << u"/opt/x\nHidden=true\r\n/vandra-agent"_s;
        QTest::newRow("tab") << u"/opt/a\tb/vandra-agent"_s;
    }
    void writtenProgramsReadBackWhole() {
        QFETCH(QString, program);
        QVERIFY(
            Autostart::setLoginItemEnabled(u"org.vandra.test"_s, true, u"Test Agent"_s, program));
        const QString file = Locations::shared().userAutostart() + u"/org.vandra.test.desktop"_s;
        const std::optional<AutostartEntry> entry = Autostart::readEntry(file);
        QVERIFY(entry);
        QCOMPARE(entry->program, program);
        QCOMPARE(entry->name, u"Test Agent"_s);
        QVERIFY(!entry->isHidden);
        QVERIFY(Autostart::isLoginItemEnabled(u"org.vandra.test"_s));

        // Nothing in the program makes a line of its own, and no field code is left in it.
        const QStringList lines = linesOf(file);
        QCOMPARE(lines.size(), 5);
        const QString exec = lines.at(3);
        QVERIFY(exec.startsWith(u"Exec="_s));
        QVERIFY(!exec.contains(QRegularExpression(u"(^|[^%])(%%)*%[a-zA-Z]"_s)));
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "test_autostart.moc"
