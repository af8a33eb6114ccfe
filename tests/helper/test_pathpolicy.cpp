// What the helpers may touch.

#include "common/testmain.h"
#include "helper/pathpolicy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Vandra;

class TestPathPolicy : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_served;
    QString m_deleteOnly;
    QString m_tests;

    PathPolicy policy() const {
        return PathPolicy([this] {
            return PathPolicy::Folders{{m_served}, {m_deleteOnly}, {}, m_tests};
        });
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_root.isValid());
        // The served folder is reached through a link, as a home on another disk would be.
        QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("real/agents"))));
        QVERIFY(QFile::link(m_root.filePath(QStringLiteral("real")),
                            m_root.filePath(QStringLiteral("home"))));
        m_served = m_root.filePath(QStringLiteral("home/agents"));
        m_deleteOnly = m_root.filePath(QStringLiteral("user"));
        m_tests = m_root.filePath(QStringLiteral("tests"));
        QVERIFY(QDir().mkpath(m_deleteOnly));
        QVERIFY(QDir().mkpath(m_tests));
        QVERIFY(QDir().mkpath(m_served + QStringLiteral("/sub")));
        QFile(m_served + QStringLiteral("/job.plist")).open(QIODevice::WriteOnly);
        QFile(m_root.filePath(QStringLiteral("outside.plist"))).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(m_root.filePath(QStringLiteral("outside.plist")),
                            m_served + QStringLiteral("/out.plist")));
        QVERIFY(QFile::link(m_served + QStringLiteral("/job.plist"),
                            m_served + QStringLiteral("/in.plist")));
        QVERIFY(QFile::link(m_root.filePath(QStringLiteral("gone.plist")),
                            m_served + QStringLiteral("/dangling.plist")));
        QVERIFY(QFile::link(m_root.filePath(QStringLiteral("outside.plist")),
                            m_tests + QStringLiteral("/link.out")));
    }

    void jobFilesMustEndInsideTheServedFolders() {
        const PathPolicy paths = policy();
        const QString real = QDir(m_root.filePath(QStringLiteral("real/agents"))).canonicalPath();
        QCOMPARE(paths.jobFile(m_served + QStringLiteral("/job.plist")).path,
                 real + QStringLiteral("/job.plist"));
        QCOMPARE(paths.jobFile(m_served + QStringLiteral("/new.plist")).path,
                 real + QStringLiteral("/new.plist"));
        QCOMPARE(paths.jobFile(m_served + QStringLiteral("/sub/new.plist")).path,
                 real + QStringLiteral("/sub/new.plist"));
        QCOMPARE(paths.jobFile(m_served + QStringLiteral("/in.plist")).path,
                 real + QStringLiteral("/job.plist"));
        for (const QString &refused : QStringList{m_served + QStringLiteral("/out.plist"),
                                                  m_served + QStringLiteral("/dangling.plist"),
                                                  m_served + QStringLiteral("/../agents/job.plist"),
                                                  m_served + QStringLiteral("/./job.plist"),
                                                  m_served + QStringLiteral("/sub"), m_served,
                                                  m_served + QStringLiteral("/missing/new.plist"),
                                                  m_root.filePath(QStringLiteral("outside.plist")),
                                                  m_deleteOnly + QStringLiteral("/x.plist"),
                                                  QStringLiteral("job.plist"), QString()}) {
            const PathPolicy::Resolved resolved = paths.jobFile(refused);
            QVERIFY2(!resolved.ok(), qPrintable(refused));
            QVERIFY(!resolved.refusal.isEmpty());
        }
    }

    void removalsKeepLinksAndMayUseTheDeleteOnlyFolders() {
        const PathPolicy paths = policy();
        // A link is removed itself, even one whose target lies elsewhere.
        const auto link = paths.removableFile(m_served + QStringLiteral("/out.plist"));
        QVERIFY(link.ok());
        QVERIFY(link.path->endsWith(QStringLiteral("/agents/out.plist")));
        QVERIFY(paths.removableFile(m_deleteOnly + QStringLiteral("/x.plist")).ok());
        QVERIFY(!paths.removableFile(m_root.filePath(QStringLiteral("outside.plist"))).ok());
        QVERIFY(!paths.removableFile(m_served + QStringLiteral("/sub")).ok());
    }

    void testFilesLieDirectlyInTheTestFolder() {
        const PathPolicy paths = policy();
        QVERIFY(paths.testFile(m_tests + QStringLiteral("/a.plist")).ok());
        QVERIFY(!paths.testFile(m_tests + QStringLiteral("/link.out")).ok());
        QVERIFY(!paths.testFile(m_tests + QStringLiteral("/../a.plist")).ok());
        QVERIFY(!paths.testFile(m_served + QStringLiteral("/a.plist")).ok());
        QVERIFY(!paths.testFile(m_tests).ok());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestPathPolicy)
#include "test_pathpolicy.moc"
