#pragma once

#include "model/job.h"
#include "support/sharedinstance.h"

#include <QObject>

namespace Vandra {

// The editor's shared flags; controls follow their change signals.
class Bindings final : public QObject, public SharedInstance<Bindings> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Bindings)
    Q_PROPERTY(bool isEdited READ isEdited WRITE setEdited NOTIFY isEditedChanged)
    Q_PROPERTY(bool isLocked READ isLocked WRITE setLocked NOTIFY isLockedChanged)
    Q_PROPERTY(bool isScheduledEnabled READ isScheduledEnabled WRITE setScheduledEnabled NOTIFY
                   isScheduledEnabledChanged)
    Q_PROPERTY(bool isUserNameEnabled READ isUserNameEnabled WRITE setUserNameEnabled NOTIFY
                   isUserNameEnabledChanged)
    Q_PROPERTY(bool isKeepAliveSuccessfulExitEnabled READ isKeepAliveSuccessfulExitEnabled WRITE
                   setKeepAliveSuccessfulExitEnabled NOTIFY isKeepAliveSuccessfulExitEnabledChanged)
    Q_PROPERTY(bool isMachServicesEnabled READ isMachServicesEnabled WRITE setMachServicesEnabled
                   NOTIFY isMachServicesEnabledChanged)
    Q_PROPERTY(bool isLimitLoadToSessionTypeEnabled READ isLimitLoadToSessionTypeEnabled WRITE
                   setLimitLoadToSessionTypeEnabled NOTIFY isLimitLoadToSessionTypeEnabledChanged)
    Q_PROPERTY(bool isSaving READ isSaving WRITE setSaving NOTIFY isSavingChanged)

public:
    Bindings() = default;

    [[nodiscard]] bool isEdited() const { return m_isEdited; }
    void setEdited(bool value);
    [[nodiscard]] bool isLocked() const { return m_isLocked; }
    void setLocked(bool value);
    [[nodiscard]] bool isScheduledEnabled() const { return m_isScheduledEnabled; }
    void setScheduledEnabled(bool value);
    [[nodiscard]] bool isUserNameEnabled() const { return m_isUserNameEnabled; }
    void setUserNameEnabled(bool value);
    [[nodiscard]] bool isKeepAliveSuccessfulExitEnabled() const {
        return m_isSuccessfulExitEnabled;
    }
    void setKeepAliveSuccessfulExitEnabled(bool value);
    [[nodiscard]] bool isMachServicesEnabled() const { return m_isMachServicesEnabled; }
    void setMachServicesEnabled(bool value);
    [[nodiscard]] bool isLimitLoadToSessionTypeEnabled() const { return m_isSessionTypeEnabled; }
    void setLimitLoadToSessionTypeEnabled(bool value);
    // A save is on its way to a helper; the editor stays locked until its reply.
    [[nodiscard]] bool isSaving() const { return m_isSaving; }
    void setSaving(bool value);

    // The main window shows job as the current job: its original kind catches up and the
    // flags are copied from it. With no job the editor is locked.
    void update(const JobPtr &job);

    // Back to the state of a new process; for tests.
    void reset();

Q_SIGNALS:
    void isEditedChanged(bool value);
    void isLockedChanged(bool value);
    void isScheduledEnabledChanged(bool value);
    void isUserNameEnabledChanged(bool value);
    void isKeepAliveSuccessfulExitEnabledChanged(bool value);
    void isMachServicesEnabledChanged(bool value);
    void isLimitLoadToSessionTypeEnabledChanged(bool value);
    void isSavingChanged(bool value);

private:
    bool m_isEdited = false;
    bool m_isLocked = false;
    bool m_isScheduledEnabled = false;
    bool m_isUserNameEnabled = false;
    bool m_isSuccessfulExitEnabled = false;
    bool m_isMachServicesEnabled = false;
    bool m_isSessionTypeEnabled = false;
    bool m_isSaving = false;
};

} // namespace Vandra
