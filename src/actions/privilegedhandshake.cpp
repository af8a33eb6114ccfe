#include "privilegedhandshake.h"

#include "support/localize.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

namespace Vandra {

Q_LOGGING_CATEGORY(lcHandshake, "vandra.actions.handshake", QtInfoMsg)

namespace {
// pkexec's exit status when the user dismissed the authorization dialog.
constexpr int dismissedByUser = 126;
} // namespace

PrivilegedHandshake::PrivilegedHandshake(const QStringList &launcher, const QString &program,
                                         const QStringList &arguments, int timeout, QObject *parent)
    : QObject(parent)
    , m_process(new QProcess(this))
    , m_timer(new QTimer(this)) {
    if (launcher.isEmpty()) {
        m_process->setProgram(program);
        m_process->setArguments(arguments);
    } else {
        m_process->setProgram(launcher.constFirst());
        m_process->setArguments(launcher.mid(1) + QStringList{program} + arguments);
    }
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_timer->setSingleShot(true);
    m_timer->setInterval(timeout);

    connect(m_process, &QProcess::readyReadStandardOutput, this, &PrivilegedHandshake::onOutput);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (m_isDone || error != QProcess::FailedToStart)
            return;
        m_isDone = true;
        m_timer->stop();
        qCWarning(lcHandshake) << "launcher failed:" << m_process->errorString();
        Q_EMIT failed(Localize::text("The helper could not be started."));
    });
    connect(m_process, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                qCDebug(lcHandshake) << "helper ended during the handshake:" << exitCode << status;
                finish({std::nullopt, std::nullopt,
                        status == QProcess::NormalExit && exitCode == dismissedByUser});
            });
    connect(m_timer, &QTimer::timeout, this, [this] {
        qCWarning(lcHandshake) << "no handshake within" << m_timer->interval() << "ms";
        finish({});
    });
}

PrivilegedHandshake::~PrivilegedHandshake() {
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(2000);
    }
}

void PrivilegedHandshake::start() {
    m_timer->start();
    m_process->start(QIODevice::ReadOnly);
}

QProcess *PrivilegedHandshake::takeProcess() {
    QProcess *process = m_process;
    m_process = nullptr;
    if (process) {
        process->disconnect(this);
        process->setParent(nullptr);
    }
    return process;
}

std::optional<QByteArray> PrivilegedHandshake::parseToken(const QByteArray &line) {
    if (line.size() != 64)
        return std::nullopt;
    for (char c : line) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    }
    return QByteArray::fromHex(line);
}

void PrivilegedHandshake::onOutput() {
    if (m_isDone) {
        m_process->readAllStandardOutput();
        return;
    }
    m_output.append(m_process->readAllStandardOutput());
    const QList<QByteArray> lines = m_output.split('\n');
    // Two complete lines are there once a third, possibly empty, piece follows them.
    if (lines.size() < 3) {
        if (m_output.size() > 4096)
            finish({});
        return;
    }
    const QString endpoint = QString::fromUtf8(lines.at(0));
    const auto token = parseToken(lines.at(1));
    if (!endpoint.startsWith(u'/') || !token) {
        qCWarning(lcHandshake) << "the helper's answer is not a handshake";
        finish({});
        return;
    }
    finish({endpoint, token, true});
}

void PrivilegedHandshake::finish(const Reply &reply) {
    if (m_isDone)
        return;
    m_isDone = true;
    m_timer->stop();
    if (!reply.endpoint && m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
    }
    Q_EMIT replied(reply);
}

} // namespace Vandra
