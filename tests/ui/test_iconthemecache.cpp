#include "common/files.h"
#include "ui/common/iconthemecache.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/time.h>

using namespace Vandra;

using namespace Qt::StringLiterals;

namespace {

using Type = IconThemeCache::FileType;

bool write(const QString &path, const QByteArray &content = {}) {
    return QDir().mkpath(QFileInfo(path).path()) && writeFile(path, content);
}

// Makes a file or folder look as if it was last changed seconds ago.
bool age(const QString &path, int seconds) {
    const qint64 then = QDateTime::currentSecsSinceEpoch() - seconds;
    const struct timeval times[2] = {{time_t(then), 0}, {time_t(then), 0}};
    return ::utimes(QFile::encodeName(path).constData(), times) == 0;
}

// A small theme with its cache made by GTK's own tool.
class Theme {
public:
    Theme() {
        const QString index = u"[Icon Theme]\nName=Small\nDirectories=16x16/apps,scalable/apps\n"
                              u"\n[16x16/apps]\nSize=16\nType=Fixed\n"
                              u"\n[scalable/apps]\nSize=16\nType=Scalable\n"_s;
        m_isMade = write(path(u"index.theme"_s), index.toUtf8()) &&
                   write(path(u"16x16/apps/tool.png"_s)) &&
                   write(path(u"scalable/apps/tool.svg"_s)) &&
                   write(path(u"scalable/apps/tool-symbolic.svg"_s)) &&
                   write(path(u"16x16/apps/mark-symbolic.symbolic.png"_s));
    }

    bool makeCache() {
        const QString tool = QStandardPaths::findExecutable(u"gtk-update-icon-cache"_s);
        if (!m_isMade || tool.isEmpty())
            return false;
        QProcess process;
        process.start(tool, {u"--force"_s, u"--quiet"_s, m_dir.path()});
        return process.waitForFinished() && process.exitCode() == 0 &&
               QFileInfo::exists(path(u"icon-theme.cache"_s));
    }

    [[nodiscard]] QString folder() const { return m_dir.path(); }
    [[nodiscard]] QString path(const QString &relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    bool m_isMade = false;
};

} // namespace

class TestIconThemeCache : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(u"gtk-update-icon-cache"_s).isEmpty())
            QSKIP("gtk-update-icon-cache (a dependency of adwaita-icon-theme) is missing");
    }

    void theCacheNamesTheFoldersHoldingEachTypeOfFile() {
        Theme theme;
        QVERIFY(theme.makeCache());
        const std::optional<IconThemeCache> cache = IconThemeCache::open(theme.folder());
        QVERIFY(cache);
        QCOMPARE(cache->foldersWith(u"tool"_s, Type::png), QStringList{u"16x16/apps"_s});
        QCOMPARE(cache->foldersWith(u"tool"_s, Type::svg), QStringList{u"scalable/apps"_s});
        QCOMPARE(cache->foldersWith(u"tool-symbolic"_s, Type::svg),
                 QStringList{u"scalable/apps"_s});
        // A symbolic PNG is the PNG of the name with ".symbolic" at its end.
        QCOMPARE(cache->foldersWith(u"mark-symbolic.symbolic"_s, Type::png),
                 QStringList{u"16x16/apps"_s});
        QVERIFY(cache->foldersWith(u"tool"_s, Type::xpm).isEmpty());
        QVERIFY(cache->foldersWith(u"absent"_s, Type::png).isEmpty());
        QVERIFY(cache->foldersWith(QString(), Type::png).isEmpty());
    }

    void aCacheOlderThanItsThemeOrAFolderIsNotUsed() {
        Theme theme;
        QVERIFY(theme.makeCache());
        // The theme's own folder is older than the cache; one of its icon folders is newer.
        QVERIFY(age(theme.path(u"icon-theme.cache"_s), 60));
        QVERIFY(age(theme.folder(), 120));
        QVERIFY(age(theme.path(u"16x16/apps"_s), 120));
        QVERIFY(age(theme.path(u"scalable/apps"_s), 120));
        QVERIFY(IconThemeCache::open(theme.folder()));
        QVERIFY(age(theme.path(u"scalable/apps"_s), 30));
        QVERIFY(!IconThemeCache::open(theme.folder()));
        QVERIFY(age(theme.path(u"scalable/apps"_s), 120));
        QVERIFY(age(theme.folder(), 30));
        QVERIFY(!IconThemeCache::open(theme.folder()));

        Theme current;
        QVERIFY(current.makeCache());
        QVERIFY(IconThemeCache::open(current.folder()));
        QVERIFY(QFile::remove(current.path(u"icon-theme.cache"_s)));
        QVERIFY(!IconThemeCache::open(current.folder()));
    }

    void aDamagedCacheIsRefusedOrAnswersOnlyItsOwnFolders() {
        Theme theme;
        QVERIFY(theme.makeCache());
        const QByteArray intact = readAll(theme.path(u"icon-theme.cache"_s));
        QVERIFY(!intact.isEmpty());
        const QStringList names = {u"tool"_s, u"tool-symbolic"_s, u"mark-symbolic.symbolic"_s,
                                   u"absent"_s};
        const auto check = [&](const QByteArray &data) {
            const std::optional<IconThemeCache> cache = IconThemeCache::fromData(data);
            if (!cache)
                return true;
            for (const QString &name : names) {
                for (const Type type : {Type::png, Type::svg, Type::xpm}) {
                    for (const QString &folder : cache->foldersWith(name, type)) {
                        if (!cache->folders().contains(folder))
                            return false;
                    }
                }
            }
            return true;
        };
        for (qsizetype size = 0; size < intact.size(); ++size)
            QVERIFY2(check(intact.left(size)), qPrintable(u"cut at %1"_s.arg(size)));
        // Every byte in turn set to values that make offsets point anywhere, chains loop and
        // counts run past the end.
        for (qsizetype at = 0; at < intact.size(); ++at) {
            for (const char value : {'\x00', '\x01', '\x7f', '\xff'}) {
                QByteArray damaged = intact;
                damaged[at] = value;
                QVERIFY2(check(damaged),
                         qPrintable(u"byte %1 set to %2"_s.arg(at).arg(int(value))));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestIconThemeCache)
#include "test_iconthemecache.moc"
