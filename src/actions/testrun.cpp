#include "testrun.h"

#include "actions/actioncontroller.h"
#include "platform/plistcodec.h"
#include "run/runhelper.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUuid>

#include <unistd.h>

namespace Vandra {

namespace {

// The folder of temporary test jobs, private to the user. It is in the shared temporary
// folder: a link or a folder of someone else's found there is left alone, not changed through,
// and the helpers refuse to use it.
QString testJobsFolder() {
    const QString folder = Locations::shared().testJobsDir();
    if (QDir().mkpath(folder)) {
        const QFileInfo info(folder);
        if (!info.isSymLink() && info.isDir() && info.ownerId() == ::geteuid())
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folder;
}

QString newUuid() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

TestRun::TestRun(ActionController &controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller) {}

TestRun::~TestRun() {
    removeJob();
}

QStringList TestRun::programArguments(const QString &run) {
    QString command = RunHelper::addCommandFolder(run).value_or(run);
    command = RunHelper::expandTilde(command).value_or(command);
    return Text::separateCommand(command);
}

PlistDict TestRun::temporaryJob(const QStringList &programArguments, const QString &label,
                                const QString &outputPath) {
    PlistDict job;
    job.insert(QStringLiteral("ProgramArguments"), PlistValue(programArguments));
    job.insert(QStringLiteral("Label"), label);
    job.insert(QStringLiteral("RunAtLoad"), true);
    job.insert(QStringLiteral("StandardOutPath"), outputPath);
    job.insert(QStringLiteral("StandardErrorPath"), outputPath);
    job.insert(QStringLiteral("Debug"), true);
    return job;
}

void TestRun::appear(const JobPtr &job) {
    setRunning(true);
    if (!job || job->run().isEmpty()) {
        Interaction::shared().beep();
        show(QString());
        return;
    }
    runTest(job);
}

void TestRun::runTest(const JobPtr &job) {
    if (!job)
        return;
    const QString folder = testJobsFolder();
    const QString name = newUuid();
    const QString outputPath = folder + u'/' + name + QStringLiteral(".out");
    const QString testPath = folder + u'/' + name + QStringLiteral(".plist");
    const QString label = newUuid();

    const auto text = PlistCodec::toXml(
        PlistValue(temporaryJob(programArguments(job->run()), label, outputPath)));
    if (!text) {
        show(Localize::anUnknownErrorOccurred());
        return;
    }
    const ActionPtr request = Action::test(testPath, outputPath, QString::fromUtf8(*text), label);
    bool sent = false;
    const bool isUserSide = job->kind == Kind::userAgent || job->kind == Kind::localAgent;
    if (isUserSide) {
        sent = m_controller.send(request);
        m_jobToRemove = RemoveJob{label, false, testPath};
    } else {
        sent = m_controller.sendPrivileged(request);
        m_jobToRemove = RemoveJob{label, true, testPath};
        m_remainOpen = true;
    }
    if (sent) {
        m_request = request;
        if (!m_removeTimer) {
            m_removeTimer = new QTimer(this);
            m_removeTimer->setSingleShot(true);
            connect(m_removeTimer, &QTimer::timeout, this, &TestRun::removeJob);
        }
        m_removeTimer->start(m_removeDelay);
    } else {
        show(Localize::couldNotEstablishCommunicationWithHelperTool());
        m_jobToRemove.reset();
    }
}

void TestRun::removeJob() {
    if (m_removeTimer)
        m_removeTimer->stop();
    if (m_jobToRemove) {
        auto unload = Action::make(Action::Kind::unload);
        unload->label = m_jobToRemove->label;
        unload->url = m_jobToRemove->url;
        unload->cleanUp = false;
        if (m_jobToRemove->privileged)
            m_controller.sendPrivileged(unload);
        else
            m_controller.send(unload);
    }
    m_jobToRemove.reset();
    setRunning(false);
}

void TestRun::show(const QString &output) {
    m_request.reset();
    setRunning(false);
    m_output = output;
    m_showsNoError = output.isEmpty();
    Q_EMIT outputShown(m_showsNoError ? Localize::noError() : output, m_showsNoError);
}

bool TestRun::shouldClose() {
    if (m_remainOpen) {
        m_remainOpen = false;
        return false;
    }
    return true;
}

bool TestRun::isRemoveTimerActive() const {
    return m_removeTimer && m_removeTimer->isActive();
}

void TestRun::setRunning(bool running) {
    if (m_isRunning == running)
        return;
    m_isRunning = running;
    Q_EMIT runningChanged(running);
}

} // namespace Vandra
