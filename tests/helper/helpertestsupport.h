#pragma once

// Running the real helper executables in tests and talking to them frame by frame.

#include "platform/helperframe.h"
#include "platform/helperframereader.h"
#include "platform/plistvalue.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

namespace Vandra {

namespace HelperTest {

inline QString program(const QString &name) {
    return QDir(qEnvironmentVariable("VANDRA_BIN")).filePath(name);
}

inline QString dataPath(const QString &name) {
    return QDir(qEnvironmentVariable("VANDRA_TEST_DATA"))
        .filePath(QStringLiteral("helper/") + name);
}

// A request of the given kind, as the program sends it, with any further fields.
inline PlistDict request(int kind, std::initializer_list<PlistDict::Entry> fields = {}) {
    PlistDict dict{{QStringLiteral("kind"), kind},
                   {QStringLiteral("presentError"), true},
                   {QStringLiteral("privileged"), false}};
    for (const auto &[key, value] : fields)
        dict.insert(key, value);
    return dict;
}

// Whether a helper answers at socketPath within timeout: the socket's file appears when the
// helper binds it, a moment before it listens, so only a connection tells.
inline bool waitForListener(const QString &socketPath, int timeout = 20000) {
    return QTest::qWaitFor(
        [&socketPath] {
            QLocalSocket probe;
            probe.connectToServer(socketPath);
            return probe.waitForConnected(1000);
        },
        timeout);
}

// A blocking client of one helper socket; every wait is bounded.
class Client {
public:
    explicit Client(const QString &socketPath) {
        m_socket.connectToServer(socketPath);
        m_socket.waitForConnected(10000);
    }

    [[nodiscard]] bool isConnected() const {
        return m_socket.state() == QLocalSocket::ConnectedState;
    }

    bool sendRaw(const QByteArray &bytes) {
        if (m_socket.write(bytes) != bytes.size())
            return false;
        while (m_socket.bytesToWrite() > 0) {
            if (!m_socket.waitForBytesWritten(10000))
                return false;
        }
        return true;
    }

    bool send(const PlistDict &request) {
        const auto frame = HelperFrame::encode(request);
        return frame && sendRaw(*frame);
    }

    // The next reply; none when the connection closes or nothing comes in time.
    std::optional<PlistDict> reply(int timeout = 30000) {
        QDeadlineTimer deadline(timeout);
        QByteArray body;
        for (;;) {
            const auto status = m_reader.next(&body);
            if (status == HelperFrameReader::Status::frame)
                return HelperFrame::decode(body).dict;
            if (status == HelperFrameReader::Status::tooLong)
                return std::nullopt;
            if (m_socket.bytesAvailable() > 0) {
                m_reader.append(m_socket.readAll());
                continue;
            }
            if (m_socket.state() != QLocalSocket::ConnectedState || deadline.hasExpired())
                return std::nullopt;
            m_socket.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 1000)));
        }
    }

    std::optional<PlistDict> request(const PlistDict &request, int timeout = 30000) {
        if (!send(request))
            return std::nullopt;
        return reply(timeout);
    }

    // Whether the helper closed the connection within the time.
    bool waitForClosed(int timeout = 10000) {
        QDeadlineTimer deadline(timeout);
        while (m_socket.state() == QLocalSocket::ConnectedState && !deadline.hasExpired()) {
            m_socket.waitForReadyRead(100);
            m_reader.append(m_socket.readAll());
        }
        return m_socket.state() != QLocalSocket::ConnectedState;
    }

    void close() { m_socket.abort(); }

private:
    QLocalSocket m_socket;
    HelperFrameReader m_reader;
};

// The error code of a reply, or none for a success.
inline std::optional<qint64> errorCode(const std::optional<PlistDict> &reply) {
    if (!reply)
        return -1000;
    const PlistValue *error = reply->find(QStringLiteral("error"));
    if (!error)
        return std::nullopt;
    const PlistDict *dict = error->dict();
    if (!dict || dict->value(QStringLiteral("domain")).toString() !=
                     QStringLiteral("VandraXActionErrorDomain"))
        return -1001;
    return dict->value(QStringLiteral("code")).toInteger().value_or(-1002);
}

// A helper process for one test, ended when the test ends.
class Process {
public:
    Process() {
        m_logFile.open();
        m_logFile.close();
    }
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;
    ~Process() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

    QProcess &process() { return m_process; }

    // Starts vandra-helper on socketPath and waits until it answers.
    bool
    startService(const QString &socketPath, const QStringList &arguments,
                 const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                 const std::function<void()> &childSetup = {}) {
        m_process.setProcessEnvironment(environment);
        m_process.setStandardErrorFile(m_logFile.fileName());
        if (childSetup)
            m_process.setChildProcessModifier(childSetup);
        m_process.start(program(QStringLiteral("vandra-helper")),
                        QStringList{QStringLiteral("--socket"), socketPath} + arguments);
        if (!m_process.waitForStarted(10000))
            return false;
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            QLocalSocket probe;
            probe.connectToServer(socketPath);
            if (probe.waitForConnected(500))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // Starts vandra-privileged-helper and reads its two handshake lines.
    bool startPrivileged(const QStringList &arguments, const QProcessEnvironment &environment) {
        m_process.setProcessEnvironment(environment);
        m_process.setStandardErrorFile(m_logFile.fileName());
        m_process.start(program(QStringLiteral("vandra-privileged-helper")), arguments);
        if (!m_process.waitForStarted(10000))
            return false;
        QDeadlineTimer deadline(30000);
        while (m_output.count('\n') < 2 && !deadline.hasExpired() &&
               m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(500);
            m_output += m_process.readAllStandardOutput();
        }
        return m_output.count('\n') >= 2;
    }

    [[nodiscard]] QByteArray handshakeOutput() const { return m_output; }
    [[nodiscard]] QString endpoint() const {
        return QString::fromUtf8(m_output.split('\n').value(0));
    }
    [[nodiscard]] QByteArray token() const {
        return QByteArray::fromHex(m_output.split('\n').value(1));
    }

    // Everything the helper logged so far.
    QString log() {
        QFile file(m_logFile.fileName());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    bool waitForExit(int timeout = 20000) {
        return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeout);
    }

private:
    QProcess m_process;
    QByteArray m_output;
    QTemporaryFile m_logFile;
};

} // namespace HelperTest

} // namespace Vandra
