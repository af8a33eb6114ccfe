#include "schedule/whenswitches.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/kind.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/scheduledhelper.h"
#include "support/localize.h"

namespace Vandra {

namespace {

const QString runAtLoadKey = QStringLiteral("RunAtLoad");
const QString startOnMountKey = QStringLiteral("StartOnMount");

bool isPlistTrue(const Job &job, const QString &key) {
    return job.plist && job.plist->value(key).toBool() == true;
}

} // namespace

WhenSwitches::WhenSwitches(RuleEditorModel &editor, QObject *parent)
    : QObject(parent)
    , m_editor(editor) {}

QString WhenSwitches::title(Switch which) {
    switch (which) {
    case Switch::runAtLoad:
        return Localize::atStartupAndWhenSaving();
    case Switch::keepAlive:
        return Localize::launchAgainIfItCrashes();
    case Switch::mountedVolume:
        return Localize::mountingLogicalVolume();
    case Switch::scheduled:
        return Localize::scheduled();
    }
    return {};
}

void WhenSwitches::load() {
    m_editor.attach();
    m_editor.recordDefaultRows();
    update();
}

void WhenSwitches::update() {
    ScheduledHelper::shared().fillRuleEditor(m_editor);
    const JobPtr &job = JobList::shared().currentJob();
    show(Switch::runAtLoad, job && isPlistTrue(*job, runAtLoadKey));
    show(Switch::keepAlive, job && job->keepAlive().value_or(false));
    show(Switch::mountedVolume, job && isPlistTrue(*job, startOnMountKey));
    show(Switch::scheduled, job && job->isScheduledEnabled);
    m_editor.setEditable(job && (!job->kind || Kinds::isEditable(job->kind)));
}

bool WhenSwitches::isOn(Switch which) const {
    return m_states[int(which)];
}

void WhenSwitches::setSwitch(Switch which, bool isOn) {
    show(which, isOn);
    const JobPtr job = JobList::shared().currentJob();
    Bindings &bindings = Bindings::shared();
    switch (which) {
    case Switch::runAtLoad:
    case Switch::mountedVolume:
        // Switching off writes false rather than removing the key.
        if (job)
            job->setPlistBool(which == Switch::runAtLoad ? runAtLoadKey : startOnMountKey, isOn);
        break;
    case Switch::keepAlive:
        bindings.setKeepAliveSuccessfulExitEnabled(isOn);
        if (job) {
            job->setKeepAlive(isOn);
            job->isKeepAliveSuccessfulExitEnabled = isOn;
            // Switched back on, a job whose file keeps it alive shows the file's condition
            // again, so that the save leaves it as written.
            if (!job->isKeepAliveSuccessfulExitSet()) {
                const KeepAliveState file =
                    job->plist ? JobReader::keepAliveState(*job->plist) : KeepAliveState();
                job->setKeepAliveSuccessfulExitSet(file.keepAlive ? file.successfulExit : true);
            }
            if (!job->keepAlive().value_or(false))
                job->setKeepAliveSuccessfulExitSet(std::nullopt);
            job->recordChange(Change::keepAlive);
        }
        Q_EMIT advancedPageNeedsRefresh();
        break;
    case Switch::scheduled:
        bindings.setScheduledEnabled(isOn);
        if (job)
            job->isScheduledEnabled = isOn;
        if (isOn && m_editor.rowCount() == 0) {
            const ScheduledHelper &helper = ScheduledHelper::shared();
            if (const std::optional<RuleRow> row =
                    helper.rowForPath(m_editor.templatePath(Scheduled::Kind::repeatInterval)))
                m_editor.appendRow(*row);
        }
        ScheduledHelper::markTimeChanged();
        break;
    }
}

void WhenSwitches::show(Switch which, bool isOn) {
    bool &state = m_states[int(which)];
    if (state == isOn)
        return;
    state = isOn;
    Q_EMIT switchChanged(which, isOn);
}

} // namespace Vandra
