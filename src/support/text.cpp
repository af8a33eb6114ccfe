#include "support/text.h"

#include "support/locations.h"

#include <QLocale>
#include <QStringDecoder>

#include <unicode/ucsdet.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace Vandra {

namespace Text {

namespace {

bool isQuote(QChar c) {
    return c == u'"' || c == u'\'';
}

// Where a quoted word that opens at `open` closes: the next same quote character that is
// followed by a space or the end of the text, or -1.
qsizetype closingQuote(const QString &command, qsizetype open) {
    const QChar quote = command.at(open);
    const qsizetype size = command.size();
    for (qsizetype at = command.indexOf(quote, open + 1); at >= 0;
         at = command.indexOf(quote, at + 1)) {
        if (at + 1 == size || command.at(at + 1) == u' ')
            return at;
    }
    return -1;
}

bool isValidUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

// Characters that continue a path name; the home folder is shortened only where it is not
// preceded or followed by one of them.
bool isPathCharacter(QChar c) {
    return c.isLetterOrNumber() || QStringView(u"/._-~\\+@%#").contains(c);
}

// The number of backslashes from `at` on.
qsizetype backslashRun(const QString &text, qsizetype at) {
    qsizetype end = at;
    while (end < text.size() && text.at(end) == u'\\')
        ++end;
    return end - at;
}

// The text as one unquoted word: a backslash before each space, the backslashes before a
// space or at the end doubled, and a leading quote escaped, as separateCommand reads them.
QString escaped(const QString &text) {
    QString word;
    qsizetype at = 0;
    const qsizetype leading = backslashRun(text, 0);
    if (leading < text.size() && isQuote(text.at(leading))) {
        word += QString(2 * leading + 1, u'\\') + text.at(leading);
        at = leading + 1;
    }
    while (at < text.size()) {
        const qsizetype backslashes = backslashRun(text, at);
        const qsizetype next = at + backslashes;
        if (next == text.size() || text.at(next) == u' ') {
            word += QString(2 * backslashes, u'\\');
            if (next < text.size())
                word += QStringLiteral("\\ ");
            at = next + 1;
        } else {
            word += QString(backslashes, u'\\') + text.at(next);
            at = next + 1;
        }
    }
    return word;
}

} // namespace

QStringList separateCommand(const QString &command) {
    QStringList words;
    const qsizetype size = command.size();
    qsizetype at = 0;
    while (at < size) {
        if (command.at(at) == u' ') {
            ++at;
            continue;
        }
        // A quote opens a quoted word only at the start of a word and only when it closes;
        // inside, every character is taken as it is.
        if (isQuote(command.at(at))) {
            const qsizetype close = closingQuote(command, at);
            if (close >= 0) {
                words.append(command.mid(at + 1, close - at - 1));
                at = close + 1;
                continue;
            }
        }
        QString word;
        const qsizetype run = backslashRun(command, at);
        if (run % 2 == 1 && at + run < size && isQuote(command.at(at + run))) {
            // An odd run of backslashes before a quote that starts a word: half of them
            // stay, the last makes the quote an ordinary character.
            word += QString(run / 2, u'\\') + command.at(at + run);
            at += run + 1;
        }
        while (at < size && command.at(at) != u' ') {
            if (command.at(at) != u'\\') {
                word += command.at(at);
                ++at;
                continue;
            }
            const qsizetype backslashes = backslashRun(command, at);
            const qsizetype next = at + backslashes;
            at = next;
            if (next < size && command.at(next) == u' ') {
                // Before a space, backslashes come in pairs and an odd one escapes it.
                word += QString(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    word += u' ';
                    ++at;
                }
            } else if (next == size && backslashes % 2 == 0) {
                word += QString(backslashes / 2, u'\\');
            } else {
                word += QString(backslashes, u'\\');
            }
        }
        words.append(word);
    }
    return words;
}

QString quote(const QString &text) {
    const qsizetype leading = backslashRun(text, 0);
    const bool startsWithQuote = leading < text.size() && isQuote(text.at(leading));
    // A trailing backslash would escape the space that separates the next word.
    if (!text.isEmpty() && !text.contains(u' ') && !startsWithQuote && !text.endsWith(u'\\'))
        return text;
    // A quoted word ends at its quote character followed by a space, so a text may be
    // wrapped in a quote character that it never has before a space.
    if (!text.contains(u"\" "))
        return u'"' + text + u'"';
    if (!text.contains(u"' "))
        return u'\'' + text + u'\'';
    return escaped(text);
}

QString joinCommand(const QStringList &words) {
    QStringList quoted;
    quoted.reserve(words.size());
    for (const QString &word : words)
        quoted.append(quote(word));
    return quoted.join(u' ');
}

std::optional<QString> guessEncoding(const QByteArray &bytes) {
    // Plain ASCII is UTF-8 too; NULs hint at UTF-16 or UTF-32, which ICU recognises.
    if (!bytes.isEmpty() && !bytes.contains('\0') && isValidUtf8(bytes))
        return QStringLiteral("UTF-8");
    // ICU rates 0 to 100; below this a guess is little better than chance.
    constexpr int minimumConfidence = 10;
    return detectEncoding(bytes, minimumConfidence);
}

std::optional<QString> detectEncoding(const QByteArray &bytes, int minimumConfidence) {
    if (bytes.isEmpty())
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                              &ucsdet_close);
    if (U_FAILURE(status))
        return std::nullopt;
    const auto length =
        int32_t(std::min<qsizetype>(bytes.size(), std::numeric_limits<int32_t>::max()));
    ucsdet_setText(detector.get(), bytes.constData(), length, &status);
    const UCharsetMatch *match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || match == nullptr)
        return std::nullopt;
    const int32_t confidence = ucsdet_getConfidence(match, &status);
    const char *name = ucsdet_getName(match, &status);
    if (U_FAILURE(status) || name == nullptr || confidence < minimumConfidence)
        return std::nullopt;
    return QString::fromLatin1(name);
}

std::optional<QString> fromBase64(const QString &base64) {
    QByteArray standard;
    standard.reserve(base64.size() + 3);
    qsizetype padding = 0;
    bool isStandardAlphabet = false;
    bool isURLAlphabet = false;
    for (const QChar c : base64) {
        const char16_t u = c.unicode();
        if (padding > 0) {
            if (u != u'=')
                return std::nullopt;
            ++padding;
        } else if (u == u'=') {
            padding = 1;
        } else if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
                   (u >= u'0' && u <= u'9')) {
            standard += char(u);
        } else if (u == u'+' || u == u'/') {
            isStandardAlphabet = true;
            standard += char(u);
        } else if (u == u'-' || u == u'_') {
            isURLAlphabet = true;
            standard += u == u'-' ? '+' : '/';
        } else {
            return std::nullopt;
        }
    }
    const qsizetype length = standard.size();
    if (isStandardAlphabet && isURLAlphabet)
        return std::nullopt;
    if (length % 4 == 1 || padding > 2 || (padding > 0 && (length + padding) % 4 != 0))
        return std::nullopt;
    standard.append((4 - length % 4) % 4, '=');

    const auto decoded =
        QByteArray::fromBase64Encoding(standard, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(*decoded);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString shortenHomeFolder(const QString &text) {
    QString home = Locations::shared().home();
    while (home.size() > 1 && home.endsWith(u'/'))
        home.chop(1);
    if (home.isEmpty() || home == u"/")
        return text;

    QString result;
    qsizetype copied = 0;
    qsizetype at = text.indexOf(home);
    while (at >= 0) {
        const qsizetype end = at + home.size();
        const bool startsPath = at == 0 || !isPathCharacter(text.at(at - 1));
        const bool endsName =
            end == text.size() || text.at(end) == u'/' || !isPathCharacter(text.at(end));
        if (startsPath && endsName) {
            result += QStringView(text).mid(copied, at - copied);
            result += u'~';
            copied = end;
            at = text.indexOf(home, end);
        } else {
            at = text.indexOf(home, at + 1);
        }
    }
    if (copied == 0)
        return text;
    result += QStringView(text).mid(copied);
    return result;
}

QString lastPathComponent(const QString &path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == u'/')
        --end;
    if (end == 0)
        return {};
    if (end == 1 && path.front() == u'/')
        return QStringLiteral("/");
    const qsizetype slash = path.lastIndexOf(u'/', end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

QString bidirectionalString(const QStringList &parts, const QString &separator) {
    if (QLocale().textDirection() != Qt::RightToLeft)
        return parts.join(separator);
    QStringList reversed(parts.crbegin(), parts.crend());
    return reversed.join(separator);
}

} // namespace Text

} // namespace Vandra
