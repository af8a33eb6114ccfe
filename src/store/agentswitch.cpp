#include "store/agentswitch.h"

#include "platform/autostart.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/notifications.h"
#include "support/userdefaultskeys.h"

#include <QCoreApplication>
#include <QThread>

namespace AgentSwitch {

QString agentProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/vandra-agent");
}

QString agentName() {
    return Const::AppName::vandrax + QStringLiteral(" Agent");
}

void apply() {
    Defaults &defaults = Defaults::shared();
    if (defaults.firstMajorVersionLaunch()) {
        Autostart::setLoginItemEnabled(Const::agent, false, agentName(), agentProgram());
        defaults.setValue(UserDefaultsKeys::firstMajorVersionLaunch, false);
        // The login-item service settles the removal before the agent is registered again.
        QThread::msleep(100);
    }
    Autostart::setLoginItemEnabled(Const::agent, defaults.runAgent(), agentName(), agentProgram());
    Q_EMIT Notifications::shared().appStatusChanged();
}

void toggle() {
    Defaults::shared().negate(UserDefaultsKeys::runAgent);
    apply();
}

} // namespace AgentSwitch
