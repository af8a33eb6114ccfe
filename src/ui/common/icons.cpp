#include "ui/common/icons.h"

#include "support/locations.h"
#include "ui/common/iconthemecache.h"
#include "ui/common/programicons.h"
#include "ui/common/symboliciconengine.h"
#include "ui/common/themefilesiconengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>

namespace Vandra {

namespace {

const QString fallbackTheme = QStringLiteral("Adwaita");
const QString executableIcon = QStringLiteral("application-x-executable");

struct ThemeFolder {
    QString name; // relative to the theme
    QString path;
    int size = 0; // 0 for a scalable folder
};

struct Theme {
    QList<ThemeFolder> folders;
    QStringList inherits;
    std::optional<IconThemeCache> cache;
};

struct Found {
    QIcon icon;
    bool isSymbolic = false;
};

bool canReadSvg() {
    static const bool can = QImageReader::supportedImageFormats().contains("svg");
    return can;
}

QString themeFolder(const QString &name) {
    for (const QString &base : QIcon::themeSearchPaths()) {
        const QString folder = base + QLatin1Char('/') + name;
        if (QFileInfo::exists(folder + QStringLiteral("/index.theme")))
            return folder;
    }
    return {};
}

const Theme &theme(const QString &name) {
    static QHash<QString, Theme> themes;
    const auto known = themes.constFind(name);
    if (known != themes.cend())
        return *known;
    Theme result;
    const QString folder = themeFolder(name);
    if (!folder.isEmpty()) {
        const QSettings index(folder + QStringLiteral("/index.theme"), QSettings::IniFormat);
        result.inherits = index.value(QStringLiteral("Icon Theme/Inherits")).toStringList();
        const QStringList folders =
            index.value(QStringLiteral("Icon Theme/Directories")).toStringList();
        for (const QString &sub : folders) {
            if (sub.isEmpty() || index.value(sub + QStringLiteral("/Scale"), 1).toInt() != 1)
                continue;
            const bool isScalable =
                index.value(sub + QStringLiteral("/Type")).toString() == QStringLiteral("Scalable");
            result.folders.append(
                {sub, folder + QLatin1Char('/') + sub,
                 isScalable ? 0 : index.value(sub + QStringLiteral("/Size")).toInt()});
        }
        result.cache = IconThemeCache::open(folder);
    }
    return *themes.insert(name, result);
}

// The themes to search, first the one in use, then those it inherits, then ours.
QStringList themeChain() {
    QStringList chain;
    QStringList pending = {QIcon::themeName(), QIcon::fallbackThemeName(), fallbackTheme,
                           QStringLiteral("hicolor")};
    while (!pending.isEmpty()) {
        const QString name = pending.takeFirst();
        if (name.isEmpty() || chain.contains(name))
            continue;
        chain.append(name);
        pending = theme(name).inherits + pending;
    }
    return chain;
}

// The names in a theme folder, listed once: asking for each name in every folder of every
// theme took most of the program's start, as a theme has hundreds of folders.
const QSet<QString> &namesIn(const QString &folder) {
    static QHash<QString, QSet<QString>> listed;
    const auto known = listed.constFind(folder);
    if (known != listed.cend())
        return *known;
    QSet<QString> names;
    // Without System, links that lead nowhere are left out, as a look-up would find no file.
    QDirIterator entries(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        names.insert(entries.fileName());
    }
    return *listed.insert(folder, names);
}

// The folders of a theme's cache that hold fileName + suffix ("x" and ".symbolic.png" is
// the PNG file of the name "x.symbolic").
QSet<QString> cachedFoldersWith(const IconThemeCache &cache, const QString &fileName,
                                const QString &suffix) {
    const qsizetype dot = suffix.lastIndexOf(QLatin1Char('.'));
    const QString extension = suffix.mid(dot + 1);
    const IconThemeCache::FileType type = extension == QStringLiteral("svg")
                                              ? IconThemeCache::FileType::svg
                                              : IconThemeCache::FileType::png;
    const QStringList folders = cache.foldersWith(fileName + suffix.left(dot), type);
    return {folders.cbegin(), folders.cend()};
}

// The files of one icon name in a theme, at every size it has; read when first drawn.
QIcon iconFromTheme(const Theme &theme, const QString &fileName, const QStringList &suffixes) {
    QList<QSet<QString>> cached;
    if (theme.cache) {
        for (const QString &suffix : suffixes)
            cached.append(cachedFoldersWith(*theme.cache, fileName, suffix));
    }
    QList<ThemeFilesIconEngine::File> files;
    for (const ThemeFolder &folder : theme.folders) {
        for (qsizetype i = 0; i < suffixes.size(); ++i) {
            const QString &suffix = suffixes.at(i);
            const bool isThere = theme.cache ? cached.at(i).contains(folder.name)
                                             : namesIn(folder.path).contains(fileName + suffix);
            if (!isThere)
                continue;
            files.append({folder.path + QLatin1Char('/') + fileName + suffix,
                          folder.size > 0 ? QSize(folder.size, folder.size) : QSize()});
            break;
        }
    }
    return files.isEmpty() ? QIcon() : QIcon(new ThemeFilesIconEngine(std::move(files)));
}

// Our icons are SVG files, with PNG copies for systems without Qt's SVG plug-ins.
QIcon ownIcon(const QString &fileName) {
    const QString base = Icons::ownIconsFolder() + QLatin1Char('/') + fileName;
    const QString svg = base + QStringLiteral(".svg");
    if (canReadSvg() && QFileInfo::exists(svg))
        return QIcon(svg);
    const QString png = base + QStringLiteral(".png");
    return QFileInfo::exists(png) ? QIcon(png) : QIcon();
}

Found findColoured(const QString &name) {
    QStringList suffixes = {QStringLiteral(".png")};
    if (canReadSvg())
        suffixes.append(QStringLiteral(".svg"));
    for (const QString &themeName : themeChain()) {
        const QIcon icon = iconFromTheme(theme(themeName), name, suffixes);
        if (!icon.isNull())
            return {icon, false};
    }
    return {ownIcon(name), false};
}

Found findSymbolic(const QString &name) {
    const QString fileName = name + QStringLiteral("-symbolic");
    QStringList suffixes = {QStringLiteral(".symbolic.png")};
    if (canReadSvg())
        suffixes.prepend(QStringLiteral(".svg"));
    for (const QString &themeName : themeChain()) {
        const QIcon icon = iconFromTheme(theme(themeName), fileName, suffixes);
        if (!icon.isNull())
            return {icon, true};
    }
    return {ownIcon(fileName), true};
}

QIcon lookUp(const QString &name, Icons::Style style) {
    static QHash<QString, QIcon> cache;
    const QString key =
        name + (style == Icons::Style::symbolic ? QStringLiteral("|s") : QStringLiteral("|c"));
    const auto known = cache.constFind(key);
    if (known != cache.cend())
        return *known;

    Found found = style == Icons::Style::symbolic ? findSymbolic(name) : findColoured(name);
    if (found.icon.isNull())
        found = style == Icons::Style::symbolic ? findColoured(name) : findSymbolic(name);
    QIcon icon = found.icon;
    if (!icon.isNull() && found.isSymbolic)
        icon = QIcon(new SymbolicIconEngine(found.icon));
    cache.insert(key, icon);
    return icon;
}

QIcon firstOf(const QStringList &names, Icons::Style style) {
    for (const QString &name : names) {
        const QIcon icon = lookUp(name, style);
        if (!icon.isNull())
            return icon;
    }
    return {};
}

bool isImageFile(const QString &path) {
    static const QStringList suffixes = {QStringLiteral("png"),  QStringLiteral("svg"),
                                         QStringLiteral("svgz"), QStringLiteral("xpm"),
                                         QStringLiteral("ico"),  QStringLiteral("jpg")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

} // namespace

namespace Icons {

void setUp() {
    // Without a desktop's platform theme Qt searches only its resources.
    QStringList paths = QIcon::themeSearchPaths();
    QStringList bases = {QDir::homePath() + QStringLiteral("/.icons")};
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        bases.append(data + QStringLiteral("/icons"));
    for (const QString &base : std::as_const(bases)) {
        if (!paths.contains(base) && QFileInfo(base).isDir())
            paths.append(base);
    }
    QIcon::setThemeSearchPaths(paths);

    const QString name = QIcon::themeName();
    if ((name.isEmpty() || name == QStringLiteral("hicolor")) &&
        !themeFolder(fallbackTheme).isEmpty())
        QIcon::setThemeName(fallbackTheme);
    QIcon::setFallbackThemeName(fallbackTheme);
    QIcon::setFallbackSearchPaths(QIcon::fallbackSearchPaths() << ownIconsFolder());
}

QString ownIconsFolder() {
    static const QString folder = [] {
        const QString beside = QCoreApplication::applicationDirPath();
        const QStringList candidates = {
            beside + QStringLiteral("/../share/vandra/icons"),
            beside + QStringLiteral("/../share/icons/vandra"),
            QStringLiteral(VANDRA_SOURCE_ICONS),
        };
        for (const QString &candidate : candidates) {
            if (QFileInfo::exists(candidate + QStringLiteral("/vandra-enabled.svg")))
                return QDir::cleanPath(candidate);
        }
        return QStringLiteral(VANDRA_SOURCE_ICONS);
    }();
    return folder;
}

QIcon themed(const QString &name, Style style) {
    if (name.isEmpty())
        return {};
    return lookUp(name, style);
}

QIcon lookUpIdentity(const QString &identity, Style style) {
    if (identity.isEmpty())
        return {};
    if (!identity.startsWith(QLatin1Char('/')))
        return themed(identity, style);

    const QString underRoot = Locations::shared().underRoot(identity);
    if (isImageFile(identity)) {
        for (const QString &path : {underRoot, identity}) {
            // Only a plain file: reading a pipe or a device would stall the window.
            if (QFileInfo(path).isFile())
                return QIcon(path);
        }
    }
    const QMimeType type = ProgramIcons::typeOf(identity);
    if (!type.isDefault()) {
        const QIcon icon = firstOf({type.iconName(), type.genericIconName()}, style);
        if (!icon.isNull())
            return icon;
    }
    return themed(executableIcon, style);
}

QIcon kind(Kind kind) {
    return lookUpIdentity(Kinds::icon(kind), Style::symbolic);
}

QIcon run(const Job &job) {
    return orExecutable(job.runIcon ? lookUpIdentity(*job.runIcon, Style::fullColour) : QIcon());
}

QIcon orExecutable(const QIcon &icon) {
    return icon.isNull() ? themed(executableIcon, Style::fullColour) : icon;
}

QIcon enabledImage() {
    return firstOf({QStringLiteral("vandra-enabled")}, Style::fullColour);
}

QIcon disabledImage() {
    return firstOf({QStringLiteral("vandra-disabled")}, Style::fullColour);
}

QIcon mode(int mode) {
    switch (mode) {
    case 0:
        return firstOf({QStringLiteral("view-grid"), QStringLiteral("view-app-grid")},
                       Style::symbolic);
    case 1:
        return firstOf({QStringLiteral("view-list-tree")}, Style::symbolic);
    case 2:
        return firstOf({QStringLiteral("view-list-details"), QStringLiteral("view-list")},
                       Style::symbolic);
    case 3:
        return firstOf(
            {QStringLiteral("view-calendar-timeline"), QStringLiteral("x-office-calendar")},
            Style::symbolic);
    default:
        break;
    }
    return {};
}

} // namespace Icons

} // namespace Vandra
