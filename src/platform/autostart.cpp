#include "platform/autostart.h"

#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringTokenizer>

#include <algorithm>
#include <optional>

namespace Vandra {

namespace {

const QString desktopGroup = QStringLiteral("[Desktop Entry]");
const QString desktopSuffix = QStringLiteral(".desktop");

// The escapes of a desktop entry's string values: \s \n \t \r \\.
QString unescapeValue(const QString &value) {
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            result += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == u's')
            result += u' ';
        else if (next == u'n')
            result += u'\n';
        else if (next == u't')
            result += u'\t';
        else if (next == u'r')
            result += u'\r';
        else if (next == u'\\')
            result += u'\\';
        else
            result += QLatin1Char('\\') + next;
    }
    return result;
}

QString escapeValue(const QString &value) {
    QString result;
    for (QChar c : value) {
        if (c == u'\\')
            result += QStringLiteral("\\\\");
        else if (c == u'\n')
            result += QStringLiteral("\\n");
        else if (c == u'\r')
            result += QStringLiteral("\\r");
        else if (c == u'\t')
            result += QStringLiteral("\\t");
        else
            result += c;
    }
    return result;
}

// Launchers expand field codes (%f, %u...) anywhere in an Exec line, so a literal percent
// sign is written twice.
QString unescapePercent(const QString &word) {
    QString result = word;
    result.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return result;
}

// The first word of an Exec line: quoted words keep their spaces, and inside quotes a
// backslash escapes the next character.
QString programOfExec(const QString &exec) {
    const QString line = exec.trimmed();
    if (line.startsWith(u'"')) {
        QString word;
        for (qsizetype i = 1; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (c == u'\\' && i + 1 < line.size())
                word += line.at(++i);
            else if (c == u'"')
                return unescapePercent(word);
            else
                word += c;
        }
        return unescapePercent(word);
    }
    const qsizetype end = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
    return unescapePercent(end < 0 ? line : line.left(end));
}

QString quotedExecWord(const QString &word) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (!word.isEmpty() &&
        std::none_of(word.cbegin(), word.cend(), [](QChar c) { return reserved.contains(c); }))
        return word;
    QString escaped;
    for (QChar c : word) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    return u'"' + escaped + u'"';
}

// The Exec value of a program: quoted for the command line, percent signs doubled for the
// launcher, then escaped once more for the string level of the file, which also keeps a
// line break in the path from starting a new key.
QString execValue(const QString &program) {
    QString word = quotedExecWord(program);
    word.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return escapeValue(word);
}

QMap<QString, AutostartEntry> entriesIn(const QString &folder) {
    QMap<QString, AutostartEntry> entries;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*") + desktopSuffix}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (std::optional<AutostartEntry> entry = Autostart::readEntry(dir.filePath(name)))
            entries.insert(name, *entry);
    }
    return entries;
}

bool writeEntry(const QString &file, const QString &text) {
    if (!QDir().mkpath(QFileInfo(file).path()))
        return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(text.toUtf8());
    return out.commit();
}

QString userFile(const QString &fileName) {
    return Locations::shared().userAutostart() + u'/' + fileName;
}

QString systemFile(const QString &fileName) {
    return Locations::shared().systemAutostart() + u'/' + fileName;
}

// Stops an entry of that file name from starting: the user's entry goes, and one saying
// Hidden=true takes the place of the machine's.
bool disableEntry(const QString &fileName) {
    const QString user = userFile(fileName);
    if (QFileInfo::exists(user) && !QFile::remove(user))
        return false;
    const QString system = systemFile(fileName);
    if (!QFileInfo::exists(system))
        return true;
    QString name = QFileInfo(fileName).completeBaseName();
    if (std::optional<AutostartEntry> entry = Autostart::readEntry(system))
        name = entry->name;
    return writeEntry(user, desktopGroup + QStringLiteral("\nType=Application\nName=") +
                                escapeValue(name) + QStringLiteral("\nHidden=true\n"));
}

} // namespace

namespace Autostart {

std::optional<AutostartEntry> readEntry(const QString &file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromUtf8(in.readAll());

    bool inGroup = false;
    bool sawGroup = false;
    QString exec;
    QString tryExec;
    AutostartEntry entry;
    entry.file = file;
    entry.fileName = QFileInfo(file).fileName();
    for (const QStringView rawLine : QStringTokenizer(text, u'\n')) {
        const QStringView line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == desktopGroup;
            sawGroup = sawGroup || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QStringView key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed().toString());
        // Localized names (Name[de]) are skipped: the plain name is the one stored.
        if (key == u"Name")
            entry.name = value;
        else if (key == u"Exec")
            exec = value;
        else if (key == u"TryExec")
            tryExec = value;
        else if (key == u"Hidden")
            entry.isHidden = value.compare(u"true", Qt::CaseInsensitive) == 0;
        else if (key == u"X-GNOME-Autostart-enabled")
            entry.isSwitchedOff = value.compare(u"false", Qt::CaseInsensitive) == 0;
    }
    if (!sawGroup)
        return std::nullopt;
    entry.program = exec.isEmpty() ? tryExec : programOfExec(exec);
    return entry;
}

QList<AutostartEntry> loginItems() {
    const Locations &locations = Locations::shared();
    QMap<QString, AutostartEntry> entries = entriesIn(locations.systemAutostart());
    const QMap<QString, AutostartEntry> user = entriesIn(locations.userAutostart());
    for (auto it = user.cbegin(); it != user.cend(); ++it)
        entries.insert(it.key(), it.value());

    QList<AutostartEntry> items;
    for (const AutostartEntry &entry : std::as_const(entries)) {
        if (entry.startsAtLogin())
            items.append(entry);
    }
    return items;
}

bool setLoginItemEnabled(const QString &identifier, bool enabled, const QString &name,
                         const QString &program) {
    const QString fileName = identifier + desktopSuffix;
    if (!enabled)
        return disableEntry(fileName);
    return writeEntry(userFile(fileName),
                      desktopGroup + QStringLiteral("\nType=Application\nName=") +
                          escapeValue(name) + QStringLiteral("\nExec=") + execValue(program) +
                          QStringLiteral("\nX-GNOME-Autostart-enabled=true\n"));
}

bool isLoginItemEnabled(const QString &identifier) {
    const std::optional<AutostartEntry> entry = userEntry(identifier);
    return entry && entry->startsAtLogin();
}

std::optional<AutostartEntry> userEntry(const QString &identifier) {
    return readEntry(userFile(identifier + desktopSuffix));
}

bool removeUserEntry(const QString &identifier) {
    const QString file = userFile(identifier + desktopSuffix);
    return !QFileInfo::exists(file) || QFile::remove(file);
}

bool deleteLoginItem(const QString &name) {
    for (const AutostartEntry &entry : loginItems()) {
        if (entry.name == name)
            return disableEntry(entry.fileName);
    }
    return false;
}

} // namespace Autostart

} // namespace Vandra
