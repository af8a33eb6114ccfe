#include "agent/agentexceptions.h"

#include "platform/plistcodec.h"
#include "support/const.h"
#include "support/singlefoldermonitor.h"

#include <QFileInfo>

#include <algorithm>

namespace Vandra {

AgentExceptions::AgentExceptions(const QString &file, QObject *parent)
    : QObject(parent)
    , m_file(file)
    , m_folderMonitor(new SingleFolderMonitor(QFileInfo(file).path(), this))
    , m_fileWatcher(this) {
    connect(m_folderMonitor, &SingleFolderMonitor::changed, this, &AgentExceptions::reload);
    connect(&m_fileWatcher, &QFileSystemWatcher::fileChanged, this, &AgentExceptions::reload);
    reload();
}

bool AgentExceptions::isExcepted(const QString &label) const {
    if (m_labels.contains(label))
        return true;
    // An empty prefix would silence every job; it is taken as a slip, not a wish.
    return std::any_of(m_prefixes.cbegin(), m_prefixes.cend(), [&](const QString &prefix) {
        return !prefix.isEmpty() && label.startsWith(prefix);
    });
}

void AgentExceptions::reload() {
    watchFile();
    if (!QFileInfo::exists(m_file)) {
        m_labels.clear();
        m_prefixes.clear();
        return;
    }
    const PlistReadResult result = PlistCodec::readFile(m_file);
    const PlistDict *dict = result.value ? result.value->dict() : nullptr;
    if (!dict)
        return;
    m_labels = dict->value(Const::Key::exceptions).toStringList().value_or(QStringList());
    m_prefixes = dict->value(Const::Key::exceptionsPrefix).toStringList().value_or(QStringList());
}

// A file replaced by a rename is a new file: the watch moves to it.
void AgentExceptions::watchFile() {
    if (!m_fileWatcher.files().isEmpty())
        m_fileWatcher.removePaths(m_fileWatcher.files());
    if (QFileInfo::exists(m_file))
        m_fileWatcher.addPath(m_file);
}

} // namespace Vandra
