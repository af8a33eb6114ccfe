#pragma once

#include <QString>

namespace Vandra {

// Switches the notification agent on or off at login, through the login-item service, as
// the runAgent setting says.
namespace AgentSwitch {

// The agent's executable, beside the program's own.
[[nodiscard]] QString agentProgram();
// The name of the agent's login item.
[[nodiscard]] QString agentName();

// Registers or unregisters the agent at program as runAgent says. On the first launch of a
// major version the agent is unregistered first, so that a login item of an older version
// goes. An agent that is not there is never registered, and an entry of ours that starts a
// program which is gone is removed, so that no login tries to start a missing program.
void apply(const QString &program = agentProgram());
// Flips runAgent and applies it.
void toggle(const QString &program = agentProgram());

} // namespace AgentSwitch

} // namespace Vandra
