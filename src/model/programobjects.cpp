#include "model/programobjects.h"

namespace Vandra {

ProgramObjects::ProgramObjects()
    : m_jobs(m_bindings, m_notifications) {
    Notifications::install(&m_notifications);
    Defaults::install(&m_defaults);
    Bindings::install(&m_bindings);
    JobList::install(&m_jobs);
}

ProgramObjects::~ProgramObjects() {
    JobList::install(nullptr);
    Bindings::install(nullptr);
    Defaults::install(nullptr);
    Notifications::install(nullptr);
}

} // namespace Vandra
