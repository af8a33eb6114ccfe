#pragma once

#include <QString>

// Switches the notification agent on or off at login, through the login-item service, as
// the runAgent setting says.
namespace AgentSwitch {

// The agent's executable, beside the program's own.
[[nodiscard]] QString agentProgram();
// The name of the agent's login item.
[[nodiscard]] QString agentName();

// Registers or unregisters the agent as runAgent says. On the first launch of a major
// version the agent is unregistered first, so that a login item of an older version goes.
void apply();
// Flips runAgent and applies it.
void toggle();

} // namespace AgentSwitch
