#include "store/jobdiscovery.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "platform/autostart.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/text.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace {

const QString appExtension = QStringLiteral("app");
// A URL host allows these besides letters, digits and "-._~".
const QByteArray hostAllowed = QByteArrayLiteral("!$&'()*+,;=:[]");

bool isApplication(const QFileInfo &entry) {
    return entry.suffix() == appExtension;
}

bool isHiddenHelper(const QString &name) {
    return name.startsWith(Const::AppName::vandrax) && !Defaults::shared().showInternalHelpers();
}

// Entries without the hidden ones, as applications' folders are searched.
QFileInfoList visibleEntries(const QString &folder, QDir::SortFlags sort = QDir::Unsorted) {
    return QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, sort);
}

void examineApplication(const QFileInfo &application, QList<JobPtr> &jobs) {
    const QString loginItems =
        application.absoluteFilePath() + QStringLiteral("/Contents/Library/LoginItems");
    if (!QFileInfo(loginItems).isDir())
        return;
    // Sorted by name, so that "the first helper" is the same on every file system.
    const QFileInfoList helpers = visibleEntries(loginItems, QDir::Name);
    if (helpers.isEmpty())
        return;
    const QFileInfo &helper = helpers.first();

    const QString name = application.completeBaseName();
    if (isHiddenHelper(name))
        return;
    auto job = std::make_shared<Job>();
    job->label = name;
    job->originalLabel = name;
    job->summary = helper.fileName();
    job->setRun(helper.absoluteFilePath());
    job->runIcon = application.absoluteFilePath();
    job->textContent = application.absoluteFilePath();
    job->kind = Kind::loginItemApplication;
    job->originalKind = Kind::loginItemApplication;
    job->setLocked(true);
    job->url = application.absoluteFilePath();
    if (!job->label.isEmpty() && !job->run().isEmpty())
        jobs.append(job);
}

} // namespace

namespace JobDiscovery {

const QList<Kind> &kindsToDiscover(bool showSystemJobs) {
    return showSystemJobs ? Kinds::allCases() : Kinds::nonSystemKinds();
}

QList<JobPtr> discoverJobs() {
    return discoverJobs(Defaults::shared().showSystemJobs());
}

QList<JobPtr> discoverJobs(bool showSystemJobs) {
    QList<JobPtr> result;
    for (const Kind kind : kindsToDiscover(showSystemJobs)) {
        QList<JobPtr> jobs = jobsOfKind(kind);
        std::stable_sort(jobs.begin(), jobs.end(), jobLessThan);
        result.append(jobs);
    }
    Bindings &bindings = Bindings::shared();
    bindings.setEdited(false);
    bindings.setScheduledEnabled(false);
    return result;
}

QList<JobPtr> jobsOfKind(Kind kind) {
    switch (kind) {
    case Kind::loginItemSystemPreferences:
        return loginItemJobs();
    case Kind::loginItemApplication:
        return applicationLoginItemJobs();
    default:
        break;
    }
    const std::optional<QString> folder = Kinds::url(kind);
    return folder ? folderJobs(kind, *folder) : QList<JobPtr>();
}

QList<JobPtr> folderJobs(Kind kind, const QString &folder) {
    QList<JobPtr> jobs;
    // Hidden entries count; broken links are listed too, so that the reader logs them.
    const QDir dir(folder);
    const QStringList names = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    jobs.reserve(names.size());
    for (const QString &name : names) {
        if (name == Const::FileName::dsStore)
            continue;
        JobReader::readJobFile(kind, dir.filePath(name), jobs);
    }
    return jobs;
}

QList<JobPtr> loginItemJobs() {
    QList<JobPtr> jobs;
    for (const AutostartEntry &item : Autostart::loginItems()) {
        if (item.name.isEmpty() || isHiddenHelper(item.name))
            continue;
        auto job = std::make_shared<Job>();
        job->label = item.name;
        job->originalLabel = item.name;
        if (!item.program.isEmpty()) {
            job->summary = Text::lastPathComponent(item.program);
            job->setRun(item.program);
            job->runIcon = item.program;
        }
        job->setLoginItemKind(QStringLiteral("Application"));
        job->kind = Kind::loginItemSystemPreferences;
        job->originalKind = Kind::loginItemSystemPreferences;
        job->setLocked(true);
        job->textContent = QString(job->label + job->run());
        job->url = QStringLiteral("LoginItem.SystemPreferences.") +
                   QString::fromLatin1(QUrl::toPercentEncoding(item.name, hostAllowed));
        if (!job->label.isEmpty() && !job->run().isEmpty())
            jobs.append(job);
    }
    return jobs;
}

QList<JobPtr> applicationLoginItemJobs() {
    QList<JobPtr> jobs;
    for (const QFileInfo &entry : visibleEntries(Locations::shared().applications())) {
        if (isApplication(entry)) {
            examineApplication(entry, jobs);
        } else if (entry.isDir()) {
            // One level down and no further.
            for (const QFileInfo &inner : visibleEntries(entry.absoluteFilePath())) {
                if (isApplication(inner))
                    examineApplication(inner, jobs);
            }
        }
    }
    return jobs;
}

void reloadJobs() {
    Bindings &bindings = Bindings::shared();
    if (bindings.isEdited())
        return;
    JobList &list = JobList::shared();
    const JobPtr current = list.currentJob();
    const QList<JobPtr> jobs = discoverJobs();
    list.setJobs(jobs);
    if (!current || !current->url)
        return;
    const auto same = std::find_if(jobs.cbegin(), jobs.cend(),
                                   [&](const JobPtr &job) { return job->url == current->url; });
    const JobPtr next = same == jobs.cend() ? JobPtr() : *same;
    list.setCurrentJob(next);
    bindings.update(next);
}

} // namespace JobDiscovery
