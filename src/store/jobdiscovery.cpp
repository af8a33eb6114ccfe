#include "store/jobdiscovery.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "platform/autostart.h"
#include "platform/labelcollator.h"
#include "support/chunkedwork.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <QUrl>

#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <memory>
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
// A reader's buffer grows to the largest file read; past this it is let go after the file.
constexpr qsizetype largestBufferKept = 1024 * 1024;

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

// A job folder open for reading its entries relative to it, and the names of its entries in
// the order of the listing. Hidden entries count; broken links are listed too, so that the
// reader logs them. A folder that cannot be listed has no entries.
class ListedFolder final {
public:
    explicit ListedFolder(const QString &path)
        : m_path(path)
        , m_dir(::opendir(QFile::encodeName(path).constData())) {
        if (!m_dir)
            return;
        static const QByteArray dsStore = QFile::encodeName(Const::FileName::dsStore);
        while (const dirent *entry = ::readdir(m_dir.get())) {
            const QByteArrayView name(entry->d_name);
            if (name == "." || name == ".." || name == dsStore)
                continue;
            // One block for every name rather than one each: a folder may hold thousands.
            m_starts.push_back(quint32(m_names.size()));
            if (isAscii(name))
                m_names.append(name);
            else
                m_names.append(openableName(name));
            m_names.append('\0');
        }
    }

    [[nodiscard]] const QString &path() const { return m_path; }
    [[nodiscard]] int descriptor() const { return m_dir ? ::dirfd(m_dir.get()) : -1; }
    // Where each entry's name starts, in the order of the listing.
    [[nodiscard]] const std::vector<quint32> &starts() const { return m_starts; }
    [[nodiscard]] const char *name(quint32 start) const { return m_names.constData() + start; }
    [[nodiscard]] QString pathOf(quint32 start) const {
        return m_path + QLatin1Char('/') + QFile::decodeName(name(start));
    }

private:
    struct Close {
        void operator()(DIR *dir) const { ::closedir(dir); }
    };

    // The name as the entry's path spells it. A name that is no text in the encoding of file
    // names has a path that names no file; the entry is then opened by that path too, so
    // that it is skipped rather than listed under a path that cannot be opened again.
    static QByteArray openableName(QByteArrayView name) {
        return QFile::encodeName(QFile::decodeName(name.toByteArray()));
    }
    static bool isAscii(QByteArrayView name) {
        return std::all_of(name.begin(), name.end(), [](char c) { return uchar(c) < 0x80; });
    }

    QString m_path;
    std::unique_ptr<DIR, Close> m_dir;
    QByteArray m_names;
    std::vector<quint32> m_starts;
};

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
    const ListedFolder *folder;
    quint32 name;
    Kind kind;
    JobPtr job;
};

// Reads every entry on up to threads threads; the calling thread is one of them.
void readEntries(std::vector<Entry> &entries, const DiscoveryOptions &options, int threads) {
    ChunkedWork::run(entries.size(), entriesPerTake, threads, [&entries, &options] {
        return [&entries, &options, buffer = QByteArray()](std::size_t first,
                                                           std::size_t end) mutable {
            for (std::size_t i = first; i < end; ++i) {
                Entry &entry = entries[i];
                JobPtr job = JobReader::readJobAt(
                    entry.kind, entry.folder->descriptor(), entry.folder->name(entry.name),
                    entry.folder->pathOf(entry.name), options.reader, buffer);
                if (job && !options.keepsDictionaries) {
                    job->plist.reset();
                    job->textContent.reset();
                }
                entry.job = std::move(job);
                // One odd large file should not hold its memory for the rest of the pass.
                if (buffer.capacity() > largestBufferKept)
                    buffer = QByteArray();
            }
        };
    });
}

// A job and where the sort key of its label is among the keys of its kind.
struct Sortable {
    quint32 keyStart;
    quint32 keyEnd;
    JobPtr job;
};

// The order of LabelCollator::compare, through the keys.
bool keyLessThan(QByteArrayView a, QByteArrayView b) {
    const qsizetype common = std::min(a.size(), b.size());
    // An empty view may have no data at all, which memcmp must not be given.
    const int order = common == 0 ? 0 : std::memcmp(a.data(), b.data(), std::size_t(common));
    return order < 0 || (order == 0 && a.size() < b.size());
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
    std::vector<std::unique_ptr<ListedFolder>> folders(std::size_t(kinds.size()));
    std::size_t count = 0;
    for (qsizetype k = 0; k < kinds.size(); ++k) {
        if (const std::optional<QString> folder = Kinds::url(kinds.at(k))) {
            folders[std::size_t(k)] = std::make_unique<ListedFolder>(*folder);
            count += folders[std::size_t(k)]->starts().size();
        }
    }
    std::vector<Entry> entries;
    entries.reserve(count);
    std::vector<std::size_t> kindStarts;
    kindStarts.reserve(kinds.size() + 1);
    for (qsizetype k = 0; k < kinds.size(); ++k) {
        kindStarts.push_back(entries.size());
        if (const ListedFolder *listed = folders[std::size_t(k)].get()) {
            for (const quint32 name : listed->starts())
                entries.push_back({listed, name, kinds.at(k), {}});
        }
    }
    kindStarts.push_back(entries.size());
    readEntries(entries, options, threads);
    // Every entry is read: the folders and their names are no longer needed while sorting.
    folders.clear();

    QList<JobPtr> result;
    result.reserve(qsizetype(entries.size()));
    // The keys of one kind at a time, so that the keys of all never take room at once.
    QByteArray keys;
    std::vector<Sortable> jobs;
    const auto add = [&keys, &jobs](JobPtr &&job) {
        const auto start = quint32(keys.size());
        LabelCollator::appendSortKey(job->label, keys);
        jobs.push_back({start, quint32(keys.size()), std::move(job)});
    };
    const auto keyOf = [&keys](const Sortable &job) {
        return QByteArrayView(keys).sliced(job.keyStart, job.keyEnd - job.keyStart);
    };
    for (qsizetype k = 0; k < kinds.size(); ++k) {
        keys.truncate(0);
        jobs.clear();
        for (JobPtr &job : otherJobs(kinds.at(k), options))
            add(std::move(job));
        for (std::size_t i = kindStarts[k]; i < kindStarts[k + 1]; ++i) {
            if (entries[i].job)
                add(std::move(entries[i].job));
        }
        // Stable, as the order of equal labels is the listing's.
        std::stable_sort(jobs.begin(), jobs.end(), [&keyOf](const Sortable &a, const Sortable &b) {
            return keyLessThan(keyOf(a), keyOf(b));
        });
        for (Sortable &job : jobs)
            result.append(std::move(job.job));
    }
    return result;
}

QList<JobPtr> folderJobs(Kind kind, const QString &folder, const ReadOptions &options) {
    const ListedFolder listed(folder);
    QList<JobPtr> jobs;
    QByteArray buffer;
    for (const quint32 name : listed.starts()) {
        if (JobPtr job = JobReader::readJobAt(kind, listed.descriptor(), listed.name(name),
                                              listed.pathOf(name), options, buffer))
            jobs.append(std::move(job));
    }
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
