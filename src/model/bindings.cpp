#include "model/bindings.h"

namespace Vandra {

#define VANDRA_BINDINGS_SETTER(setter, member, signal)                                             \
    void Bindings::setter(bool value) {                                                            \
        if (member == value)                                                                       \
            return;                                                                                \
        member = value;                                                                            \
        Q_EMIT signal(value);                                                                      \
    }

VANDRA_BINDINGS_SETTER(setEdited, m_isEdited, isEditedChanged)
VANDRA_BINDINGS_SETTER(setLocked, m_isLocked, isLockedChanged)
VANDRA_BINDINGS_SETTER(setScheduledEnabled, m_isScheduledEnabled, isScheduledEnabledChanged)
VANDRA_BINDINGS_SETTER(setUserNameEnabled, m_isUserNameEnabled, isUserNameEnabledChanged)
VANDRA_BINDINGS_SETTER(setKeepAliveSuccessfulExitEnabled, m_isSuccessfulExitEnabled,
                       isKeepAliveSuccessfulExitEnabledChanged)
VANDRA_BINDINGS_SETTER(setMachServicesEnabled, m_isMachServicesEnabled,
                       isMachServicesEnabledChanged)
VANDRA_BINDINGS_SETTER(setLimitLoadToSessionTypeEnabled, m_isSessionTypeEnabled,
                       isLimitLoadToSessionTypeEnabledChanged)
VANDRA_BINDINGS_SETTER(setSaving, m_isSaving, isSavingChanged)

#undef VANDRA_BINDINGS_SETTER

void Bindings::update(const JobPtr &job) {
    if (!job) {
        setLocked(true);
        return;
    }
    job->originalKind = job->kind;
    if (job->keepAlive() == true)
        job->isKeepAliveSuccessfulExitEnabled = true;
    setLocked(job->isLocked());
    setScheduledEnabled(job->isScheduledEnabled);
    setUserNameEnabled(job->isUserNameEnabled);
    setMachServicesEnabled(job->isMachServicesEnabled);
    setLimitLoadToSessionTypeEnabled(job->isLimitLoadToSessionTypeEnabled());
    setKeepAliveSuccessfulExitEnabled(job->isKeepAliveSuccessfulExitEnabled);
}

void Bindings::reset() {
    setEdited(false);
    setLocked(false);
    setScheduledEnabled(false);
    setUserNameEnabled(false);
    setKeepAliveSuccessfulExitEnabled(false);
    setMachServicesEnabled(false);
    setLimitLoadToSessionTypeEnabled(false);
    setSaving(false);
}

} // namespace Vandra
