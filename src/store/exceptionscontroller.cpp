#include "store/exceptionscontroller.h"

#include "model/joblist.h"
#include "model/kind.h"
#include "platform/plistcodec.h"
#include "store/agentswitch.h"
#include "store/ownfiles.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/notifications.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace Vandra {

ExceptionsController::ExceptionsController(QObject *parent)
    : QObject(parent)
    , m_exceptionsURL(Locations::shared().appSupport() + QLatin1Char('/') +
                      Const::FileName::exceptions) {
    connect(&Notifications::shared(), &Notifications::jobsUpdated, this,
            &ExceptionsController::reload);
    // Read at once, so that a change never replaces the file's list with a partial one.
    loadExceptions();
}

bool ExceptionsController::isAgentRunning() const {
    return Defaults::shared().runAgent();
}

void ExceptionsController::reload() {
    const QList<Kind> &kinds = Kinds::folderKinds();
    m_content.clear();
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (job->kind && kinds.contains(*job->kind))
            m_content.append(job);
    }
    std::stable_sort(m_content.begin(), m_content.end(), jobLessThan);
    Q_EMIT contentChanged();
}

void ExceptionsController::loadExceptions() {
    const PlistReadResult result = PlistCodec::readFile(m_exceptionsURL);
    const PlistDict *dict = result.value ? result.value->dict() : nullptr;
    const std::optional<QStringList> labels =
        dict ? dict->value(Const::Key::exceptions).toStringList() : std::nullopt;
    if (labels) {
        m_exceptions = *labels;
        if (std::optional<QStringList> prefixes =
                dict->value(Const::Key::exceptionsPrefix).toStringList())
            m_exceptionsPrefix = *prefixes;
    }
    m_isFileUnusable = !labels && OwnFiles::isPresent(m_exceptionsURL);
    reload();
}

bool ExceptionsController::isJobEnabled(qsizetype row) const {
    if (row < 0 || row >= m_content.size())
        return false;
    return !m_exceptions.contains(m_content.at(row)->label);
}

void ExceptionsController::setJobEnabled(qsizetype row, bool enabled) {
    if (row < 0 || row >= m_content.size())
        return;
    const QString label = m_content.at(row)->label;
    if (label.isEmpty())
        return;
    if (!enabled) {
        if (!m_exceptions.contains(label))
            m_exceptions.append(label);
    } else {
        m_exceptions.removeAll(label);
    }
    if (!m_exceptionsPrefix)
        m_exceptionsPrefix = QStringList();
    write();
}

void ExceptionsController::runAgent() {
    AgentSwitch::toggle();
    reload();
}

bool ExceptionsController::write() {
    PlistDict dict;
    dict.insert(Const::Key::exceptions, PlistValue(m_exceptions));
    if (m_exceptionsPrefix && !m_exceptionsPrefix->isEmpty())
        dict.insert(Const::Key::exceptionsPrefix, PlistValue(*m_exceptionsPrefix));
    const std::optional<QByteArray> bytes = OwnFiles::encode(PlistValue(dict));
    if (!bytes)
        return false;
    // The file may hold prefixes or labels that could not be read; they are kept aside.
    if (m_isFileUnusable) {
        m_isFileUnusable = !OwnFiles::setAside(m_exceptionsURL);
        if (m_isFileUnusable)
            return false;
    }
    return OwnFiles::write(m_exceptionsURL, *bytes);
}

} // namespace Vandra
