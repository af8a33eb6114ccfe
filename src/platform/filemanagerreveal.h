#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

namespace Vandra {

// Shows a file selected in the desktop's file manager through the freedesktop FileManager1
// interface. Where no file manager answers on the bus, the caller's fallback gets the file's
// folder to open some other way. The call does not wait: the answer comes on the bus.
class FileManagerReveal final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileManagerReveal)

public:
    using Fallback = std::function<void(const QString &folder)>;

    static const QString service;
    static const QString path;
    static const QString interface;

    FileManagerReveal(const QDBusConnection &bus, Fallback fallback, QObject *parent = nullptr);

    void reveal(const QString &file);

Q_SIGNALS:
    // The file manager took the request (true), or the fallback was used (false).
    void finished(bool isShownByFileManager);

private:
    void fallBack(const QString &file);

    QDBusConnection m_bus;
    Fallback m_fallback;
};

} // namespace Vandra
