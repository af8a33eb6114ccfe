#include "store/scriptrecovery.h"

#include "support/locations.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Vandra {

ScriptRecovery::ScriptRecovery(const QString &scriptPath) {
    // Named by a digest of the whole path, so scripts of the same name never share a copy.
    const QByteArray digest =
        QCryptographicHash::hash(QFileInfo(scriptPath).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    m_path = Locations::shared().appSupport() + QStringLiteral("/Recovery/") +
             QString::fromLatin1(digest) + u'-' + QFileInfo(scriptPath).fileName();
}

bool ScriptRecovery::write(const QString &text) const {
    QDir().mkpath(QFileInfo(m_path).path());
    QSaveFile file(m_path);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

std::optional<QString> ScriptRecovery::read() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

bool ScriptRecovery::exists() const {
    return QFileInfo::exists(m_path);
}

void ScriptRecovery::remove() const {
    QFile::remove(m_path);
}

} // namespace Vandra
