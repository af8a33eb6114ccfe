#include "store/agentswitch.h"

#include "platform/autostart.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/notifications.h"
#include "support/userdefaultskeys.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace Vandra {

namespace {

bool isProgram(const QString &program) {
    const QString path =
        QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && info.isExecutable();
}

// Our entry stays when it starts a program that is there (an agent installed elsewhere),
// and goes when that program is gone.
void removeEntryOfMissingProgram() {
    const std::optional<AutostartEntry> entry = Autostart::userEntry(Const::agent);
    if (entry && !entry->isHidden && !isProgram(entry->program))
        Autostart::removeUserEntry(Const::agent);
}

} // namespace

namespace AgentSwitch {

QString agentProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/vandra-agent");
}

QString agentName() {
    return Const::AppName::vandrax + QStringLiteral(" Agent");
}

void apply(const QString &program) {
    Defaults &defaults = Defaults::shared();
    // Writing and removing an entry are done when the call returns, so the new entry can
    // follow at once.
    if (defaults.firstMajorVersionLaunch()) {
        Autostart::setLoginItemEnabled(Const::agent, false, agentName(), program);
        defaults.setValue(UserDefaultsKeys::firstMajorVersionLaunch, false);
    }
    if (!defaults.runAgent())
        Autostart::setLoginItemEnabled(Const::agent, false, agentName(), program);
    else if (isProgram(program))
        Autostart::setLoginItemEnabled(Const::agent, true, agentName(), program);
    else
        removeEntryOfMissingProgram();
    Q_EMIT Notifications::shared().appStatusChanged();
}

void toggle(const QString &program) {
    Defaults::shared().negate(UserDefaultsKeys::runAgent);
    apply(program);
}

} // namespace AgentSwitch

} // namespace Vandra
