#include "platform/filemanagerreveal.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QUrl>

namespace Vandra {

namespace {

// A file manager that has to start first may take a moment; one that never answers should
// not keep the user waiting much longer.
constexpr int callTimeout = 10000;

} // namespace

const QString FileManagerReveal::service = QStringLiteral("org.freedesktop.FileManager1");
const QString FileManagerReveal::path = QStringLiteral("/org/freedesktop/FileManager1");
const QString FileManagerReveal::interface = QStringLiteral("org.freedesktop.FileManager1");

FileManagerReveal::FileManagerReveal(const QDBusConnection &bus, Fallback fallback, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_fallback(std::move(fallback)) {}

void FileManagerReveal::reveal(const QString &file) {
    if (!m_bus.isConnected()) {
        fallBack(file);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("ShowItems"));
    // The second argument is a startup notification id, which we do not have.
    call << QStringList{QString::fromLatin1(QUrl::fromLocalFile(file).toEncoded())} << QString();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, file](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                if (finished->isError()) {
                    fallBack(file);
                    return;
                }
                Q_EMIT this->finished(true);
            });
}

void FileManagerReveal::fallBack(const QString &file) {
    if (m_fallback)
        m_fallback(QFileInfo(file).absolutePath());
    Q_EMIT finished(false);
}

} // namespace Vandra
