#include "platform/plistcodec.h"

#include "platform/atomicfile.h"
#include "platform/binaryplistreader.h"
#include "platform/binaryplistwriter.h"
#include "platform/openstepparser.h"
#include "platform/xmlplistreader.h"
#include "platform/xmlplistscanner.h"
#include "platform/xmlplistwriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace Vandra {

namespace PlistCodec {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(PlistCodec)
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// XML starts with a declaration, a comment, a doctype or a property-list element. Old-style
// data ("<0fbd>") starts with '<' too, but only hexadecimal digits follow it, and every
// element name below has a letter past 'f'.
bool looksLikeXml(QByteArrayView text) {
    if (text.size() < 2 || text[0] != '<')
        return false;
    if (text[1] == '?' || text[1] == '!')
        return true;
    static constexpr const char *names[] = {"plist", "dict", "array", "string", "key", "integer",
                                            "real",  "true", "false", "date",   "data"};
    for (const char *name : names) {
        const QByteArrayView word(name);
        if (text.sliced(1).startsWith(word) &&
            (text.size() == word.size() + 1 || text[word.size() + 1] == '>' ||
             text[word.size() + 1] == '/' || isSpace(text[word.size() + 1])))
            return true;
    }
    return false;
}

// The first characters of UTF-16 text as Latin-1, enough to recognise XML.
QByteArray utf16Start(QByteArrayView bytes, bool isLittleEndian) {
    QByteArray start;
    for (qsizetype i = 0; i + 1 < bytes.size() && start.size() < 16; i += 2) {
        const uchar low = uchar(bytes[isLittleEndian ? i : i + 1]);
        const uchar high = uchar(bytes[isLittleEndian ? i + 1 : i]);
        start.append(high == 0 && low < 0x80 ? char(low) : '?');
    }
    return start;
}

PlistFormat textFormat(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QByteArray decoded;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        decoded = utf16Start(bytes.sliced(2), bytes[0] == '\xFF');
        bytes = decoded;
    }
    bytes = bytes.trimmed();
    // XML in UTF-16 without a byte-order mark: "<" and "?" with NULs between.
    if (bytes.size() >= 4 && ((bytes[0] == '<' && bytes[1] == '\0' && bytes[2] == '?') ||
                              (bytes[0] == '\0' && bytes[1] == '<' && bytes[3] == '?')))
        return PlistFormat::Xml;
    return looksLikeXml(bytes) ? PlistFormat::Xml : PlistFormat::OpenStep;
}

} // namespace

PlistReadResult read(const QByteArray &bytes) {
    if (bytes.startsWith("bplist"))
        return BinaryPlistReader::read(bytes);
    if (QByteArrayView(bytes).trimmed().isEmpty()) {
        PlistReadResult result;
        result.error = Text::tr("The property list is empty.");
        return result;
    }
    if (textFormat(bytes) == PlistFormat::Xml) {
        if (std::optional<PlistValue> value = XmlPlistScanner::read(bytes)) {
            PlistReadResult result;
            result.value = std::move(value);
            return result;
        }
        return XmlPlistReader::read(bytes);
    }
    return OpenStepParser::parse(bytes);
}

PlistReadResult readFile(const QString &path) {
    QByteArray buffer;
    return readFileAt(AT_FDCWD, QFile::encodeName(path).constData(), path, buffer);
}

PlistReadResult readFileAt(int folder, const char *name, const QString &path, QByteArray &buffer) {
    PlistReadResult result;
    // One open, one fstat and the reads: discovery reads thousands of files, and QFile and
    // QFileInfo would add buffering and several more system calls to each. Non-blocking, so
    // that a named pipe in a job folder is refused instead of waiting for a writer.
    const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int openError = errno;
        const QFileInfo info(path);
        if (openError == ENOENT) {
            result.error =
                info.isSymLink()
                    ? Text::tr("The symbolic link %1 points to %2, which does not exist.")
                          .arg(path, info.symLinkTarget())
                    : Text::tr("The file %1 does not exist.").arg(path);
        } else {
            result.error = Text::tr("Cannot read %1: %2.")
                               .arg(path, QString::fromLocal8Bit(std::strerror(openError)));
        }
        return result;
    }
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        result.error =
            Text::tr("Cannot read %1: %2.").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return result;
    }
    if (S_ISDIR(status.st_mode)) {
        result.error = Text::tr("%1 is a folder, not a property-list file.").arg(path);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.error = Text::tr("%1 is not a regular file.").arg(path);
        return result;
    }
    if (status.st_size > maximumFileSize) {
        result.error = Text::tr("%1 is too large for a property list (%2 bytes).")
                           .arg(path)
                           .arg(qint64(status.st_size));
        return result;
    }
    // Read by the measured size and one byte more, to notice a file that grew since.
    buffer.resize(qsizetype(status.st_size) + 1);
    qsizetype size = 0;
    for (;;) {
        if (size == buffer.size()) {
            if (size > maximumFileSize) {
                result.error = Text::tr("%1 is too large for a property list.").arg(path);
                return result;
            }
            buffer.resize(qMin(size * 2, maximumFileSize + 1));
        }
        const ssize_t count = ::read(fd, buffer.data() + size, size_t(buffer.size() - size));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            result.error = Text::tr("Cannot read %1: %2.")
                               .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return result;
        }
        if (count == 0)
            break;
        size += count;
        // A read that stops short with every byte the file had is at its end: asking again
        // for the nothing that follows would cost each of thousands of files a system call.
        if (size == qsizetype(status.st_size) && size < buffer.size())
            break;
    }
    buffer.truncate(size);
    return read(buffer);
}

std::optional<QByteArray> toXml(const PlistValue &value, QString *error) {
    return XmlPlistWriter::write(value, error);
}

std::optional<QByteArray> toBinary(const PlistValue &value, QString *error) {
    return BinaryPlistWriter::write(value, error);
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error) {
    return AtomicFile::write(path, bytes, 0644, error);
}

} // namespace PlistCodec

} // namespace Vandra
