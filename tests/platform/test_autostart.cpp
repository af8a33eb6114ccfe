#include "platform/autostart.h"
#include "support/locations.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Vandra;

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

    void anEntrySwitchedOffInGnomesWayDoesNotStart() {
        const QString folder = Locations::shared().userAutostart();
        const QString file = folder + u"/org.vandra.gnome.desktop"_s;
        const auto write = [&file](const QByteArray &switchLine) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write("[Desktop Entry]\nType=Application\nName=Gnome Item\nExec=/usr/bin/item\n" +
                      switchLine + "\n");
        };
        const auto isListed = [] {
            const QList<AutostartEntry> items = Autostart::loginItems();
            return std::any_of(items.cbegin(), items.cend(), [](const AutostartEntry &item) {
                return item.name == u"Gnome Item"_s;
            });
        };
        write("X-GNOME-Autostart-enabled=false");
        QVERIFY(!isListed());
        QVERIFY(!Autostart::isLoginItemEnabled(u"org.vandra.gnome"_s));
        write("X-GNOME-Autostart-enabled=true");
        QVERIFY(isListed());
        QVERIFY(Autostart::isLoginItemEnabled(u"org.vandra.gnome"_s));

        // Switching it on again writes an entry that starts.
        write("X-GNOME-Autostart-enabled=False");
        QVERIFY(!Autostart::isLoginItemEnabled(u"org.vandra.gnome"_s));
        QVERIFY(Autostart::setLoginItemEnabled(u"org.vandra.gnome"_s, true, u"Gnome Item"_s,
                                               u"/usr/bin/item"_s));
        QVERIFY(Autostart::isLoginItemEnabled(u"org.vandra.gnome"_s));
        QVERIFY(isListed());
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "test_autostart.moc"
