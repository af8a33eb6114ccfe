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
#include <QThread>
#include <QThreadPool>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace Vandra {

DiscoveryOptions DiscoveryOptions::fromSettings() {
    return fromSettings(Defaults::shared().showSystemJobs());
}

DiscoveryOptions DiscoveryOptions::fromSettings(bool showSystemJobs) {
    DiscoveryOptions options;
    options.showSystemJobs = showSystemJobs;
    options.reader = ReadOptions::fromSettings();
    options.applications = Locations::shared().applications();
    return options;
}

namespace {

const QString appExtension = QStringLiteral("app");
// A URL host allows these besides letters, digits and "-._~".
const QByteArray hostAllowed = QByteArrayLiteral("!$&'()*+,;=:[]");
// Entries a reader takes at a time: few enough to share the work out evenly, enough that
// the threads seldom meet at the counter.
constexpr std::size_t entriesPerTake = 32;

bool isApplication(const QFileInfo &entry) {
    return entry.suffix() == appExtension;
}

bool isHiddenHelper(const QString &name, const ReadOptions &options) {
    return name.startsWith(Const::AppName::vandrax) && !options.showInternalHelpers;
}

// Entries without the hidden ones, as applications' folders are searched.
QFileInfoList visibleEntries(const QString &folder, QDir::SortFlags sort = QDir::Unsorted) {
    return QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, sort);
}

// Every entry of a job folder that could hold a job, in the order of the listing. Hidden
// entries count; broken links are listed too, so that the reader logs them.
QStringList folderEntries(const QString &folder) {
    const QDir dir(folder);
    QStringList paths = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    paths.removeAll(Const::FileName::dsStore);
    for (QString &path : paths)
        path = dir.filePath(path);
    return paths;
}

void examineApplication(const QFileInfo &application, const ReadOptions &options,
                        QList<JobPtr> &jobs) {
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
    if (isHiddenHelper(name, options))
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

// One folder entry to read, and the record it gave.
struct Entry {
    Kind kind;
    QString path;
    JobPtr job;
};

// Reads every entry on up to threads threads; the calling thread is one of them.
void readEntries(std::vector<Entry> &entries, const DiscoveryOptions &options, int threads) {
    std::atomic<std::size_t> next = 0;
    const auto read = [&] {
        for (;;) {
            const std::size_t first = next.fetch_add(entriesPerTake, std::memory_order_relaxed);
            if (first >= entries.size())
                return;
            const std::size_t end = std::min(entries.size(), first + entriesPerTake);
            for (std::size_t i = first; i < end; ++i) {
                JobPtr job = JobReader::readJob(entries[i].kind, entries[i].path, options.reader);
                if (job && !options.keepsDictionaries) {
                    job->plist.reset();
                    job->textContent.reset();
                }
                entries[i].job = std::move(job);
            }
        }
    };
    const std::size_t helpers = std::min<std::size_t>(
        std::max(threads, 1) - 1, (entries.size() + entriesPerTake - 1) / entriesPerTake);
    std::vector<std::thread> pool;
    pool.reserve(helpers);
    for (std::size_t i = 0; i < helpers; ++i)
        pool.emplace_back(read);
    read();
    for (std::thread &thread : pool)
        thread.join();
}

// The non-folder kinds, read on the calling thread.
QList<JobPtr> otherJobs(Kind kind, const DiscoveryOptions &options) {
    switch (kind) {
    case Kind::loginItemSystemPreferences:
        return JobDiscovery::loginItemJobs(options.reader);
    case Kind::loginItemApplication:
        return JobDiscovery::applicationLoginItemJobs(options.applications, options.reader);
    default:
        return {};
    }
}

} // namespace

namespace JobDiscovery {

const QList<Kind> &kindsToDiscover(bool showSystemJobs) {
    return showSystemJobs ? Kinds::allCases() : Kinds::nonSystemKinds();
}

int defaultThreadCount() {
    return std::clamp(QThread::idealThreadCount(), 1, 4);
}

QList<JobPtr> discoverJobs() {
    return discoverJobs(DiscoveryOptions::fromSettings(), defaultThreadCount());
}

QList<JobPtr> discoverJobs(bool showSystemJobs) {
    return discoverJobs(DiscoveryOptions::fromSettings(showSystemJobs), defaultThreadCount());
}

QList<JobPtr> discoverJobs(const DiscoveryOptions &options, int threads) {
    const QList<Kind> &kinds = kindsToDiscover(options.showSystemJobs);
    // Listing is quick and fixes the order; reading and parsing the files is the work.
    std::vector<Entry> entries;
    std::vector<std::size_t> kindStarts;
    kindStarts.reserve(kinds.size() + 1);
    for (const Kind kind : kinds) {
        kindStarts.push_back(entries.size());
        if (const std::optional<QString> folder = Kinds::url(kind)) {
            for (const QString &path : folderEntries(*folder))
                entries.push_back({kind, path, {}});
        }
    }
    kindStarts.push_back(entries.size());
    readEntries(entries, options, threads);

    QList<JobPtr> result;
    result.reserve(qsizetype(entries.size()));
    for (qsizetype k = 0; k < kinds.size(); ++k) {
        QList<JobPtr> jobs = otherJobs(kinds.at(k), options);
        for (std::size_t i = kindStarts[k]; i < kindStarts[k + 1]; ++i) {
            if (entries[i].job)
                jobs.append(std::move(entries[i].job));
        }
        std::stable_sort(jobs.begin(), jobs.end(), jobLessThan);
        result.append(jobs);
    }
    return result;
}

QList<JobPtr> folderJobs(Kind kind, const QString &folder, const ReadOptions &options) {
    QList<JobPtr> jobs;
    for (const QString &path : folderEntries(folder))
        JobReader::readJobFile(kind, path, jobs, options);
    return jobs;
}

QList<JobPtr> loginItemJobs(const ReadOptions &options) {
    QList<JobPtr> jobs;
    for (const AutostartEntry &item : Autostart::loginItems()) {
        if (item.name.isEmpty() || isHiddenHelper(item.name, options))
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

QList<JobPtr> applicationLoginItemJobs(const QString &applications, const ReadOptions &options) {
    QList<JobPtr> jobs;
    for (const QFileInfo &entry : visibleEntries(applications)) {
        if (isApplication(entry)) {
            examineApplication(entry, options, jobs);
        } else if (entry.isDir()) {
            // One level down and no further.
            for (const QFileInfo &inner : visibleEntries(entry.absoluteFilePath())) {
                if (isApplication(inner))
                    examineApplication(inner, options, jobs);
            }
        }
    }
    return jobs;
}

} // namespace JobDiscovery

namespace {

// The reloads of the shared list, all on the thread of the list.
struct Reloads {
    // Counts the lists shown, so that a pass started before another list was shown drops
    // its older result.
    quint64 shown = 0;
    bool isRunning = false;
    bool isRequestedAgain = false;
};

Reloads &reloads() {
    static Reloads state;
    return state;
}

void showJobs(const QList<JobPtr> &jobs) {
    Bindings &bindings = Bindings::shared();
    JobList &list = JobList::shared();
    ++reloads().shown;
    bindings.setEdited(false);
    bindings.setScheduledEnabled(false);
    const JobPtr current = list.currentJob();
    list.setJobs(jobs);
    if (!current || !current->url)
        return;
    const auto same = std::find_if(jobs.cbegin(), jobs.cend(),
                                   [&](const JobPtr &job) { return job->url == current->url; });
    const JobPtr next = same == jobs.cend() ? JobPtr() : *same;
    list.setCurrentJob(next);
    bindings.update(next);
}

void finishReload(const QList<JobPtr> &jobs, quint64 shownAtStart) {
    Reloads &state = reloads();
    state.isRunning = false;
    if (state.isRequestedAgain) {
        // What changed meanwhile may be missing from this list; the next pass has it.
        state.isRequestedAgain = false;
        JobDiscovery::reloadJobsLater();
        return;
    }
    if (state.shown != shownAtStart || Bindings::shared().isEdited())
        return;
    showJobs(jobs);
}

} // namespace

namespace JobDiscovery {

void reloadJobs() {
    if (Bindings::shared().isEdited())
        return;
    showJobs(discoverJobs());
}

void reloadJobsLater() {
    Reloads &state = reloads();
    if (state.isRunning) {
        state.isRequestedAgain = true;
        return;
    }
    if (Bindings::shared().isEdited())
        return;
    state.isRunning = true;
    // The settings are read here; the worker touches nothing shared.
    const DiscoveryOptions options = DiscoveryOptions::fromSettings();
    JobList *list = &JobList::shared();
    const quint64 shownAtStart = state.shown;
    QThreadPool::globalInstance()->start([options, list, shownAtStart] {
        const QList<JobPtr> jobs = discoverJobs(options, defaultThreadCount());
        QMetaObject::invokeMethod(
            list, [jobs, shownAtStart] { finishReload(jobs, shownAtStart); }, Qt::QueuedConnection);
    });
}

bool isReloading() {
    return reloads().isRunning;
}

} // namespace JobDiscovery

} // namespace Vandra
