#include "store/scriptsyntax.h"

#include "support/const.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

namespace Vandra {

namespace {

// The interpreter's name without its folder and version ("python3.11" gives "python").
QString programName(const QString &word) {
    QString name = word.section(u'/', -1);
    static const QRegularExpression version(QStringLiteral("[0-9.\\-]+$"));
    name.remove(version);
    return name;
}

SyntaxType fromInterpreter(const QString &name) {
    static const QHash<QString, SyntaxType> interpreters{
        {QStringLiteral("sh"), SyntaxType::shell},
        {QStringLiteral("dash"), SyntaxType::shell},
        {QStringLiteral("ash"), SyntaxType::shell},
        {QStringLiteral("ksh"), SyntaxType::shell},
        {QStringLiteral("mksh"), SyntaxType::shell},
        {QStringLiteral("csh"), SyntaxType::shell},
        {QStringLiteral("tcsh"), SyntaxType::shell},
        {QStringLiteral("bash"), SyntaxType::bash},
        {QStringLiteral("zsh"), SyntaxType::zsh},
        {QStringLiteral("python"), SyntaxType::python},
        {QStringLiteral("pypy"), SyntaxType::python},
        {QStringLiteral("perl"), SyntaxType::perl},
        {QStringLiteral("ruby"), SyntaxType::ruby},
        {QStringLiteral("php"), SyntaxType::php},
        {QStringLiteral("swift"), SyntaxType::swift},
        {QStringLiteral("node"), SyntaxType::javascript},
        {QStringLiteral("nodejs"), SyntaxType::javascript},
        {QStringLiteral("deno"), SyntaxType::javascript},
        {QStringLiteral("osascript"), SyntaxType::applescript},
    };
    return interpreters.value(name, SyntaxType::plain);
}

} // namespace

namespace ScriptSyntax {

SyntaxType fromLowercasedFirstLine(const QString &line) {
    if (line.startsWith(u"<?"))
        return line.startsWith(u"<?xml") ? SyntaxType::xml : SyntaxType::php;
    if (!line.startsWith(u"#!"))
        return SyntaxType::plain;
    const QStringList words =
        line.mid(2).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return SyntaxType::plain;
    if (programName(words.first()) != u"env")
        return fromInterpreter(programName(words.first()));
    // env's own options and variable assignments come before the program it starts.
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (!word.startsWith(u'-') && !word.contains(u'='))
            return fromInterpreter(programName(word));
    }
    return SyntaxType::plain;
}

SyntaxType fromExtension(const QString &extension) {
    static const QHash<QString, SyntaxType> extensions{
        {QStringLiteral("sh"), SyntaxType::shell},
        {QStringLiteral("command"), SyntaxType::shell},
        {QStringLiteral("ksh"), SyntaxType::shell},
        {QStringLiteral("csh"), SyntaxType::shell},
        {QStringLiteral("bash"), SyntaxType::bash},
        {QStringLiteral("zsh"), SyntaxType::zsh},
        {QStringLiteral("py"), SyntaxType::python},
        {QStringLiteral("pyw"), SyntaxType::python},
        {QStringLiteral("pl"), SyntaxType::perl},
        {QStringLiteral("pm"), SyntaxType::perl},
        {QStringLiteral("rb"), SyntaxType::ruby},
        {QStringLiteral("php"), SyntaxType::php},
        {QStringLiteral("swift"), SyntaxType::swift},
        {QStringLiteral("js"), SyntaxType::javascript},
        {QStringLiteral("mjs"), SyntaxType::javascript},
        {QStringLiteral("cjs"), SyntaxType::javascript},
        {QStringLiteral("applescript"), SyntaxType::applescript},
        {QStringLiteral("scpt"), SyntaxType::applescript},
        {QStringLiteral("plist"), SyntaxType::xml},
        {QStringLiteral("xml"), SyntaxType::xml},
    };
    return extensions.value(extension.toLower(), SyntaxType::plain);
}

SyntaxType detect(const QString &text, const QString &path) {
    const QString firstLine = text.section(u'\n', 0, 0).toLower();
    if (firstLine.startsWith(u"#!") || firstLine.startsWith(u"<?"))
        return fromLowercasedFirstLine(firstLine);
    return path.isEmpty() ? SyntaxType::plain : fromExtension(QFileInfo(path).suffix());
}

QString interpreter(SyntaxType syntax) {
    switch (syntax) {
    case SyntaxType::perl:
        return Const::Command::perl;
    case SyntaxType::php:
        return Const::Command::php;
    case SyntaxType::python:
        return Const::Command::python;
    case SyntaxType::ruby:
        return Const::Command::ruby;
    case SyntaxType::swift:
        return Const::Command::swift;
    // /bin/sh is often dash, which stops at the first bash or zsh feature of a script.
    case SyntaxType::bash:
        return Const::Command::bash;
    case SyntaxType::zsh:
        return QStringLiteral("/bin/zsh");
    default:
        return Const::Command::shell;
    }
}

} // namespace ScriptSyntax

} // namespace Vandra
