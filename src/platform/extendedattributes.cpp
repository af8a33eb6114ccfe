#include "platform/extendedattributes.h"

#include <QFile>

#include <cerrno>
#include <sys/xattr.h>

namespace Vandra {

std::optional<QByteArray> ExtendedAttributes::read(const QString &path, const QString &name) {
    const QByteArray file = QFile::encodeName(path);
    const QByteArray key = name.toUtf8();
    // The value may grow between asking its size and reading it; try again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = getxattr(file.constData(), key.constData(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray value(qsizetype(size), Qt::Uninitialized);
        const ssize_t read =
            getxattr(file.constData(), key.constData(), value.data(), size_t(size));
        if (read >= 0) {
            value.truncate(qsizetype(read));
            return value;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

bool ExtendedAttributes::write(const QString &path, const QString &name, const QByteArray &value) {
    return setxattr(QFile::encodeName(path).constData(), name.toUtf8().constData(),
                    value.constData(), size_t(value.size()), 0) == 0;
}

bool ExtendedAttributes::remove(const QString &path, const QString &name) {
    return removexattr(QFile::encodeName(path).constData(), name.toUtf8().constData()) == 0;
}

} // namespace Vandra
