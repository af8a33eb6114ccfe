#include "platform/systemdescape.h"

namespace Vandra {

namespace {

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' ||
           c == '_' || c == '.';
}

// Inside double quotes systemd undoes C escapes; the rest is left to the caller.
QString quoted(const QString &text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '%':
            out += QStringLiteral("%%");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

} // namespace

namespace SystemdEscape {

QString unitStem(const QString &text) {
    const QByteArray bytes = text.toUtf8();
    QString stem;
    stem.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '/')
            stem += QLatin1Char('-');
        else if (isPlain(c) && !(i == 0 && c == '.'))
            stem += QLatin1Char(c);
        else
            stem += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
    }
    return stem;
}

QString commandWord(const QString &word) {
    return quoted(word).replace(QLatin1Char('$'), QStringLiteral("$$"));
}

QString programWord(const QString &path) {
    return quoted(path);
}

bool isRunnablePath(const QString &path) {
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('"') ||
            c == QLatin1Char('\'') || c == QLatin1Char('\\'))
            return false;
    }
    return !path.isEmpty();
}

QString environmentWord(const QString &name, const QString &value) {
    return quoted(name + QLatin1Char('=') + value);
}

QString literal(const QString &text) {
    QString out = text;
    return out.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

bool fitsOnLine(const QString &text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return !text.endsWith(QLatin1Char('\\'));
}

} // namespace SystemdEscape

} // namespace Vandra
