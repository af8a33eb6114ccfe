#include "store/jobeditor.h"

#include "actions/actioncontroller.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "platform/autostart.h"
#include "platform/plistcodec.h"
#include "run/runhelper.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/whenswitches.h"
#include "store/jobdiscovery.h"
#include "store/revisioncontroller.h"
#include "store/schedulerows.h"
#include "support/delay.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "support/locations.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUuid>

#include <algorithm>

namespace Vandra {

namespace {

// How long the main thread waits after unloading a job through the helper service before
// the privileged helper writes it, so that the unload is done first.
constexpr int unloadPauseMs = 300;
// Requests kept alive for their replies; older ones have long been answered.
constexpr qsizetype keptRequests = 32;

void saveError() {
    Interaction::error(Localize::text("The job could not be saved."), Localize::pleaseTryAgain());
}

void wrongFormatError(const QString &path) {
    Interaction::error(
        Localize::format(Localize::text("The file “%@” couldn’t be opened because it isn’t in "
                                        "the correct format."),
                         {QFileInfo(path).fileName()}),
        QString());
}

// A name is taken by anything there, a broken link too: a new file must not be written
// through a link to some other place.
bool isTaken(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString uuidText() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QString plistKeyOf(JobEditor::Box box) {
    switch (box) {
    case JobEditor::Box::lowPriorityIO:
        return QStringLiteral("LowPriorityIO");
    case JobEditor::Box::legacyTimers:
        return QStringLiteral("LegacyTimers");
    case JobEditor::Box::sessionCreate:
        return QStringLiteral("SessionCreate");
    case JobEditor::Box::launchOnlyOnce:
        return QStringLiteral("LaunchOnlyOnce");
    case JobEditor::Box::abandonProcessGroup:
        return QStringLiteral("AbandonProcessGroup");
    case JobEditor::Box::successfulExit:
    case JobEditor::Box::limitLoadToSessionType:
        break;
    }
    return {};
}

QString plistKeyOf(JobEditor::Field field) {
    switch (field) {
    case JobEditor::Field::userName:
        return QStringLiteral("UserName");
    case JobEditor::Field::workingDirectory:
        return QStringLiteral("WorkingDirectory");
    case JobEditor::Field::standardOutPath:
        return QStringLiteral("StandardOutPath");
    case JobEditor::Field::standardErrorPath:
        return QStringLiteral("StandardErrorPath");
    case JobEditor::Field::machServices:
    case JobEditor::Field::watchPaths:
        break;
    }
    return {};
}

} // namespace

JobEditor::JobEditor(ActionController &controller, RevisionController &revisions, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_revisions(revisions)
    , m_ruleEditor(new RuleEditorModel(this))
    , m_whenSwitches(new WhenSwitches(*m_ruleEditor, this)) {
    m_controller.setDelegate(this);
    connect(&JobList::shared(), &JobList::currentJobChanged, this, [this] { updateForm(); });
    updateForm();
}

JobEditor::~JobEditor() {
    if (m_controller.delegate() == this)
        m_controller.setDelegate(nullptr);
    if (RuleEditorModel::attached() == m_ruleEditor)
        m_ruleEditor->detach();
}

void JobEditor::updateForm() {
    const JobPtr &job = JobList::shared().currentJob();
    m_nameField = job ? job->label : QString();
    m_runField = job ? job->run() : QString();
    if (job)
        (void)job->isEnabled();
    Q_EMIT formChanged();
}

// ---- Edits of the form

void JobEditor::setNameText(const QString &text) {
    m_nameField = text;
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return;
    job->label = text;
    job->recordChange(Change::generic);
}

void JobEditor::setRunText(const QString &text) {
    m_runField = text;
    if (const JobPtr &job = JobList::shared().currentJob())
        job->setRun(text);
}

void JobEditor::setKind(Kind kind) {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return;
    job->kind = kind;
    Bindings::shared().setUserNameEnabled(kind == Kind::localDaemon);
    job->recordChange(Change::generic);
}

void JobEditor::setEnabledChecked(bool isOn) {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return;
    markChanged(Change::selfUpdating);
    job->setEnabled(isOn);
}

void JobEditor::setBox(Box box, bool isOn) {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return;
    switch (box) {
    case Box::successfulExit:
        // The writer takes the condition from the set flag; the enabled flag alone would
        // leave the file as it was.
        job->isKeepAliveSuccessfulExitEnabled = isOn;
        job->setKeepAliveSuccessfulExitSet(isOn);
        Bindings::shared().setKeepAliveSuccessfulExitEnabled(isOn);
        markChanged(Change::keepAlive);
        break;
    case Box::limitLoadToSessionType:
        job->setLimitLoadToSessionTypeEnabled(isOn);
        Bindings::shared().setLimitLoadToSessionTypeEnabled(isOn);
        markChanged(Change::limitLoadToSessionType);
        break;
    default:
        job->setPlistBool(plistKeyOf(box), isOn);
        break;
    }
    Bindings::shared().setEdited(true);
}

void JobEditor::setFieldText(Field field, const QString &text) {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return;
    switch (field) {
    case Field::machServices:
        job->setMachServicesKey(text);
        markChanged(Change::machServices);
        break;
    case Field::watchPaths:
        job->setWatchPath(text);
        markChanged(Change::watchPath);
        break;
    default:
        job->setPlistText(plistKeyOf(field), text);
        break;
    }
    Bindings::shared().setEdited(true);
}

void JobEditor::setSessionTypeIndex(qint64 index) {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return;
    job->setLimitLoadToSessionTypeIndex(index);
    markChanged(Change::limitLoadToSessionType);
}

QString JobEditor::plistKey(Box box) {
    return plistKeyOf(box);
}

QString JobEditor::plistKey(Field field) {
    return plistKeyOf(field);
}

JobEditor::Field JobEditor::fieldOf(PathButton button) {
    switch (button) {
    case PathButton::watchPaths:
        return Field::watchPaths;
    case PathButton::workingDirectory:
        return Field::workingDirectory;
    case PathButton::standardOutPath:
        return Field::standardOutPath;
    case PathButton::standardErrorPath:
        return Field::standardErrorPath;
    }
    return Field::watchPaths;
}

void JobEditor::setChosenPath(PathButton button, const QString &path) {
    setFieldText(fieldOf(button), path);
}

bool JobEditor::choosePath(PathButton button) {
    if (!JobList::shared().currentJob())
        return false;
    FilePanelRequest request;
    request.canCreateFolders = false;
    const auto path = Interaction::shared().openPanel(request);
    if (!path)
        return false;
    setChosenPath(button, *path);
    return true;
}

void JobEditor::markChanged(Change change) {
    JobList::shared().markChanged(change);
}

// ---- Saving

void JobEditor::beginSaving() {
    Bindings::shared().setSaving(true);
    Bindings::shared().setLocked(true);
}

bool JobEditor::failSaving() {
    // Nothing was sent, so no reply will end the saving state: end it here, as a failed
    // reply would, and keep the edits.
    saveError();
    const bool isEdited = Bindings::shared().isEdited();
    endSaving();
    Bindings::shared().setEdited(isEdited);
    return false;
}

void JobEditor::keep(const ActionPtr &action) {
    m_sent.append(action);
    while (m_sent.size() > keptRequests)
        m_sent.removeFirst();
}

void JobEditor::sendUnload(const QString &file, const std::optional<QString> &label) {
    // A preliminary request: its reply must neither end the saving state nor reload the
    // list before the save itself is answered, so it is not kept.
    auto unload = Action::make(Action::Kind::unload);
    unload->url = file;
    unload->label = label;
    unload->cleanUp = false;
    m_controller.send(unload);
}

QString JobEditor::newFileName(const QString &folder, const QString &label) {
    QString name = label;
    name.replace(u'/', u'_');
    const QString file = folder + u'/' + name + QStringLiteral(".plist");
    if (!isTaken(file))
        return file;
    return folder + u'/' + name + uuidText() + QStringLiteral(".plist");
}

std::optional<QString> JobEditor::movedFile(const QString &file, Kind kind) {
    const auto folder = Kinds::url(kind);
    if (!folder)
        return std::nullopt;
    const QFileInfo info(file);
    const QString moved = *folder + u'/' + info.fileName();
    if (!isTaken(moved))
        return moved;
    return *folder + u'/' + info.completeBaseName() + uuidText() + QStringLiteral(".plist");
}

bool JobEditor::save() {
    if (!RunHelper::checkRunNotEmpty(m_runField))
        return false;
    const JobPtr job = JobList::shared().currentJob();
    if (!job) {
        saveError();
        return false;
    }
    RunHelper::applyAutomaticHelp(*job, m_runField, m_nameField);
    Q_EMIT formChanged();
    if (!job->kind || !job->originalKind) {
        saveError();
        return false;
    }
    beginSaving();
    const Kind kind = *job->kind;
    const Kind oldKind = *job->originalKind;
    if (!job->url) {
        if (const auto folder = Kinds::url(kind))
            job->url = newFileName(*folder, job->label);
    }
    job->setNewFile(false);
    if (!job->url)
        return failSaving();
    const RuleRows rows = ScheduleRows::forJob(*job);
    const auto text = JobWriter::fileText(*job, &rows);
    if (!text)
        return failSaving();

    const QString file = *job->url;
    const bool exists = QFileInfo::exists(file);
    const bool isEnabled = job->isEnabled();
    const ActionPtr request = Action::save(file, *text, job->originalLabel);
    request->kind = isEnabled ? Action::Kind::saveAndLoad : Action::Kind::save;
    const bool kindChanged = kind != oldKind;

    if (kind == Kind::userAgent) {
        if (kindChanged) {
            if (oldKind == Kind::localAgent)
                sendUnload(file, job->originalLabel);
            auto remove = Action::make(Action::Kind::remove);
            remove->deleteURL = file;
            if (const auto oldFolder = Kinds::url(oldKind); !exists && oldFolder)
                remove->deleteURL =
                    *oldFolder + u'/' + job->originalLabel + QStringLiteral(".plist");
            remove->label = job->originalLabel;
            remove->cleanUp = false;
            m_controller.sendPrivileged(remove);
            const auto moved = movedFile(file, Kind::userAgent);
            if (!moved)
                return failSaving();
            request->url = *moved;
        }
        job->url = request->url;
        keep(request);
        const bool isSent = m_controller.send(request);
        if (!isSent)
            job->url = file;
        return finishSending(isSent, *job, rows);
    }

    const PrivilegedSave privileged{job, request, file, kind, kindChanged, exists, isEnabled, rows};
    if (exists && (kind == Kind::localAgent || oldKind == Kind::userAgent)) {
        // The unload goes to the user's helper and the save to the privileged one: the save
        // follows a moment later, so that the job is unloaded before its file changes. The
        // editor stays in its saving state meanwhile.
        sendUnload(file, std::nullopt);
        QTimer::singleShot(unloadPauseMs, this,
                           [this, privileged] { sendPrivilegedSave(privileged); });
        return true;
    }
    return sendPrivilegedSave(privileged);
}

bool JobEditor::sendPrivilegedSave(const PrivilegedSave &save) {
    const ActionPtr &request = save.request;
    if (save.kind == Kind::localAgent)
        request->kind = Action::Kind::save;
    if (save.kindChanged && save.exists) {
        const auto moved = movedFile(save.file, save.kind);
        if (!moved)
            return failSaving();
        request->deleteURL = save.file;
        request->url = *moved;
    }
    if (save.kind == Kind::localAgent && save.isEnabled)
        request->localAgentLoadPath = *request->url;
    save.job->url = request->url;
    keep(request);
    const bool isSent = m_controller.sendPrivileged(request);
    if (!isSent && save.kind != Kind::localAgent)
        save.job->url = save.file;
    return finishSending(isSent, *save.job, save.rows);
}

bool JobEditor::finishSending(bool isSent, Job &job, const RuleRows &rows) {
    if (!isSent) {
        // The controller has told the user; nothing is on its way, so the editor is
        // unlocked again with the edits kept.
        const bool isEdited = Bindings::shared().isEdited();
        endSaving();
        Bindings::shared().setEdited(isEdited);
        return false;
    }
    m_revisions.recordRevision(job, &rows);
    return true;
}

// ---- New, duplicate, import, export

void JobEditor::insertAndSelect(const JobPtr &job) {
    JobList &list = JobList::shared();
    QList<JobPtr> jobs = list.jobs();
    jobs.prepend(job);
    list.setJobs(jobs);
    list.setCurrentJob(job);
    Bindings::shared().update(job);
    Bindings::shared().setEdited(true);
}

JobPtr JobEditor::newJob(const QString &label, const QString &run) {
    auto job = std::make_shared<Job>();
    job->label = label;
    job->setRun(run);
    job->setNewFile(true);
    job->plist = PlistDict{{QStringLiteral("RunAtLoad"), PlistValue(true)}};
    job->kind = Kind::userAgent;
    job->originalKind = Kind::userAgent;
    insertAndSelect(job);
    if (Kinds::isEditable(job->kind))
        Delay::after(0.01, this, [this] { Q_EMIT selectNameField(); });
    if (!run.isEmpty())
        markChanged(Change::run);
    return job;
}

JobPtr JobEditor::duplicate() {
    const JobPtr current = JobList::shared().currentJob();
    if (!current || !current->url || !current->kind || Bindings::shared().isEdited())
        return {};
    const PlistReadResult read = PlistCodec::readFile(*current->url);
    JobPtr copy;
    if (read.ok() && read.value->dict())
        copy = JobReader::jobFromPlist(*read.value->dict(), current->url, current->kind);
    if (!copy) {
        // The file changed or went away since the list was read.
        if (read.ok())
            wrongFormatError(*current->url);
        else
            Interaction::error(
                Localize::format(Localize::text("“%@” could not be duplicated."), {current->label}),
                read.error);
        return {};
    }
    copy->setNewFile(true);
    copy->url.reset();
    copy->label = Localize::format(Localize::text("%@ copy"), {current->label});
    copy->originalLabel.clear();
    insertAndSelect(copy);
    return copy;
}

JobPtr JobEditor::importAction() {
    FilePanelRequest request;
    request.canCreateFolders = false;
    const auto path = Interaction::shared().openPanel(request);
    return path ? importFile(*path) : JobPtr();
}

JobPtr JobEditor::importFile(const QString &path) {
    const PlistReadResult read = PlistCodec::readFile(path);
    JobPtr job;
    if (read.ok() && read.value->dict())
        job = JobReader::jobFromPlist(*read.value->dict(), path, Kind::userAgent);
    if (!job) {
        wrongFormatError(path);
        return {};
    }
    job->setNewFile(true);
    job->url.reset();
    job->originalLabel.clear();
    insertAndSelect(job);
    return job;
}

bool JobEditor::exportAction() {
    const JobPtr job = JobList::shared().currentJob();
    if (!job)
        return false;
    if (const RuleRows rows = ScheduleRows::forJob(*job); !JobWriter::fileText(*job, &rows))
        return false;
    FilePanelRequest request;
    request.directory = Locations::shared().home();
    request.proposedName = job->label;
    request.allowedSuffixes = {QStringLiteral("plist")};
    request.canCreateFolders = true;
    const auto path = Interaction::shared().savePanel(request);
    // The job the panel asked about, even if a reload made another one current meanwhile.
    return path && exportJob(*job, *path);
}

bool JobEditor::exportTo(const QString &path) {
    const JobPtr job = JobList::shared().currentJob();
    return job && exportJob(*job, path);
}

bool JobEditor::exportJob(Job &job, const QString &path) {
    const RuleRows rows = ScheduleRows::forJob(job);
    const auto text = JobWriter::fileText(job, &rows);
    QString reason;
    if (text && PlistCodec::writeFileAtomically(path, text->toUtf8(), &reason))
        return true;
    // The user chose the place and would otherwise take the missing copy for a good one.
    Interaction::error(Localize::format(Localize::text("The job could not be exported to “%@”."),
                                        {QFileInfo(path).fileName()}),
                       reason.isEmpty() ? Localize::pleaseTryAgain() : reason);
    return false;
}

// ---- Delete, discard, unsaved changes

bool JobEditor::deleteAction() {
    const JobPtr job = JobList::shared().currentJob();
    if (!job)
        return false;
    AlertRequest confirm;
    confirm.message =
        Localize::format(Localize::text("Are you sure you want to delete “%@”?"), {job->label});
    confirm.informativeText = Localize::youCantUndoThisAction();
    confirm.buttons = {Localize::deleteItem(), Localize::cancel()};
    confirm.isCritical = true;
    if (Interaction::shared().alert(confirm) != Interaction::firstButton)
        return false;

    if (job->kind == Kind::loginItemSystemPreferences) {
        if (job->label.isEmpty())
            return false;
        const QList<AutostartEntry> items = Autostart::loginItems();
        const bool isListed = std::any_of(items.cbegin(), items.cend(), [&](const auto &item) {
            return item.name == job->label;
        });
        // No item of that name: nothing to delete. One that stays is a failure to show.
        if (!isListed)
            return false;
        if (!Autostart::deleteLoginItem(job->label)) {
            Interaction::error(
                Localize::format(Localize::text("“%@” could not be deleted."), {job->label}),
                Localize::pleaseTryAgain());
            return false;
        }
        JobDiscovery::reloadJobsLater();
        return true;
    }
    if (!job->url)
        return false;
    auto remove = Action::make(Action::Kind::remove);
    remove->deleteURL = job->url;
    remove->label = job->originalLabel;
    keep(remove);
    if (job->kind == Kind::userAgent)
        return m_controller.send(remove);
    if (job->kind == Kind::localAgent)
        remove->localAgentUnloadPath = *job->url;
    return m_controller.sendPrivileged(remove);
}

void JobEditor::discard() {
    JobList &list = JobList::shared();
    if (const JobPtr &current = list.currentJob())
        current->textContent.reset();
    list.setCurrentJob({});
    updateForm();
    endSaving();
    Bindings::shared().setLocked(true);
    JobDiscovery::reloadJobsLater();
}

JobEditor::UnsavedAnswer JobEditor::unsavedChangesAlert() {
    AlertRequest request;
    request.message = Localize::unsavedChanges();
    request.informativeText = Localize::yourChangesWillBeLostIfYouDontSaveThem();
    request.buttons = {Localize::check(), Localize::discardChanges()};
    if (Interaction::shared().alert(request) == Interaction::firstButton + 1) {
        if (m_isQuitting) {
            Bindings::shared().setEdited(false);
            Q_EMIT quitRequested();
            return UnsavedAnswer::quit;
        }
        discard();
        return UnsavedAnswer::discarded;
    }
    m_isQuitting = false;
    return UnsavedAnswer::keepEditing;
}

// ---- Replies of the controller

void JobEditor::endSaving() {
    Bindings &bindings = Bindings::shared();
    bindings.setSaving(false);
    bindings.setEdited(false);
    bindings.setLocked(false);
}

void JobEditor::reloadJobs() {
    JobDiscovery::reloadJobsLater();
}

void JobEditor::clearSelectedJob() {
    JobList::shared().setCurrentJob({});
    Bindings::shared().update({});
    updateForm();
}

void JobEditor::showTestOutput(const QString &output) {
    Q_EMIT testOutputArrived(output);
}

void JobEditor::showLogEntries(const QList<LogEntry> &entries) {
    Q_EMIT logEntriesArrived(entries);
}

void JobEditor::resetLogViewer() {
    Q_EMIT logViewerReset();
}

} // namespace Vandra
