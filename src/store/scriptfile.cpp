#include "store/scriptfile.h"

#include "platform/extendedattributes.h"
#include "support/const.h"
#include "support/text.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Vandra {

namespace {

QString tr(const char *source) {
    return QCoreApplication::translate("Vandra::ScriptFile", source);
}

QString displayName(const QString &path) {
    return QFileInfo(path).fileName();
}

std::optional<ScriptText> decodeAs(const std::optional<TextEncoding> &encoding,
                                   const QByteArray &bytes) {
    if (!encoding)
        return std::nullopt;
    std::optional<QString> text = encoding->decode(bytes);
    // A NUL marks a binary file, or bytes read in the wrong width.
    if (!text || text->contains(QChar(u'\0')))
        return std::nullopt;
    return ScriptText{*std::move(text), *encoding};
}

std::optional<TextEncoding> namedEncoding(const std::optional<QString> &name) {
    return name ? TextEncoding::named(*name) : std::nullopt;
}

} // namespace

std::optional<ScriptText> ScriptFile::decode(const QByteArray &bytes,
                                             const std::optional<QByteArray> &attribute) {
    if (const std::optional<TextEncoding> marked = TextEncoding::fromByteOrderMark(bytes))
        return decodeAs(marked, bytes);
    const std::optional<TextEncoding> candidates[] = {
        attribute ? TextEncoding::fromAttributeValue(*attribute) : std::nullopt,
        namedEncoding(Text::detectEncoding(bytes)),
        namedEncoding(Text::guessEncoding(bytes)),
        TextEncoding::utf8(),
        TextEncoding::system(),
        TextEncoding::named(QStringLiteral("ISO-8859-1")),
    };
    for (const std::optional<TextEncoding> &candidate : candidates) {
        if (std::optional<ScriptText> script = decodeAs(candidate, bytes))
            return script;
    }
    return std::nullopt;
}

ScriptFile::ReadResult ScriptFile::read(const QString &path) {
    const QString couldNotOpen =
        tr("The document “%1” could not be opened.").arg(displayName(path));
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {std::nullopt, {couldNotOpen, file.errorString()}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, {couldNotOpen, file.errorString()}};
    std::optional<ScriptText> script =
        decode(bytes, ExtendedAttributes::read(path, Const::textEncodingAttributeName));
    if (!script)
        return {std::nullopt,
                {couldNotOpen, tr("Its contents are not text in any encoding Vandra knows.")}};
    return {std::move(script), {}};
}

std::optional<ScriptFileError> ScriptFile::write(const QString &path, const QString &text,
                                                 const TextEncoding &encoding) {
    const std::optional<QByteArray> bytes = encoding.encode(text);
    if (!bytes) {
        const QString character = encoding.firstUnencodable(text).value_or(QString());
        return ScriptFileError{
            tr("The document “%1” could not be saved in the text encoding %2.")
                .arg(displayName(path), encoding.name()),
            tr("The character “%1” cannot be written in that encoding. Remove it and try again.")
                .arg(character)};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        qWarning("Error: %s", qUtf8Printable(file.errorString()));
        return ScriptFileError{tr("The document “%1” could not be saved.").arg(displayName(path)),
                               file.errorString()};
    }
    // A file system without attributes keeps the file all the same; the next read guesses.
    ExtendedAttributes::write(path, Const::textEncodingAttributeName, encoding.attributeValue());
    return std::nullopt;
}

} // namespace Vandra
