#include "store/revisioncontroller.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "platform/plistcodec.h"
#include "store/ownfiles.h"
#include "store/schedulerows.h"
#include "support/const.h"
#include "support/dates.h"
#include "support/defaults.h"
#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace Vandra {

namespace {

// Dates of revisions are seconds since 1970; further off than this no save was made.
constexpr double maximumSeconds = 1e15;

bool isArrayOfDictionaries(const PlistValue &value) {
    const PlistArray *array = value.array();
    return array && std::all_of(array->cbegin(), array->cend(),
                                [](const PlistValue &entry) { return entry.isDict(); });
}

} // namespace

QString RevisionController::revisionsFile() const {
    return Locations::shared().appSupport() + QLatin1Char('/') + Const::FileName::revisions;
}

PlistDict &RevisionController::loaded() {
    if (!m_revisions) {
        // An unreadable file counts as empty; the next revision replaces it, once it is set
        // aside.
        const PlistReadResult result = PlistCodec::readFile(revisionsFile());
        const PlistDict *dict = result.value ? result.value->dict() : nullptr;
        m_revisions = dict ? *dict : PlistDict();
        m_isFileUnusable = !dict && OwnFiles::isPresent(revisionsFile());
    }
    return *m_revisions;
}

const PlistDict &RevisionController::revisions() {
    return loaded();
}

bool RevisionController::recordRevision(Job &job, const RuleRows *rows) {
    if (!job.url)
        return false;
    const QString key = *job.url;
    PlistDict &revisions = loaded();

    PlistArray entries;
    if (const PlistValue stored = revisions.value(key); isArrayOfDictionaries(stored))
        entries = *stored.array();

    RuleRows ownRows;
    if (!rows) {
        ownRows = ScheduleRows::forJob(job);
        rows = &ownRows;
    }
    const QDateTime moment = m_clock.value_or(QDateTime::currentDateTimeUtc());
    PlistDict entry;
    entry.insert(Const::Revision::date, PlistValue(double(moment.toMSecsSinceEpoch()) / 1000.0));
    entry.insert(Const::Revision::plist, PlistValue(JobWriter::makePlist(job, rows)));
    entries.prepend(PlistValue(entry));

    // A negative count keeps nothing, as zero does.
    const qsizetype limit = std::max<qint64>(0, Defaults::shared().numberOfSavedRevisions());
    if (entries.size() > limit)
        entries.resize(limit);
    revisions.insert(key, PlistValue(entries));

    const std::optional<QByteArray> bytes = OwnFiles::encode(PlistValue(revisions));
    if (bytes && m_isFileUnusable)
        m_isFileUnusable = !OwnFiles::setAside(revisionsFile());
    return bytes && !m_isFileUnusable && OwnFiles::write(revisionsFile(), *bytes);
}

const PlistArray *RevisionController::entriesOfCurrentJob() {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job || !job->url)
        return nullptr;
    const PlistValue *stored = revisions().find(*job->url);
    return stored && isArrayOfDictionaries(*stored) ? stored->array() : nullptr;
}

bool RevisionController::isRevertEnabled() {
    return !Bindings::shared().isEdited() && entriesOfCurrentJob();
}

QList<RevisionItem> RevisionController::revisionItems() {
    QList<RevisionItem> items;
    const PlistArray *entries = entriesOfCurrentJob();
    if (!entries)
        return items;
    for (const PlistValue &value : *entries) {
        const PlistDict &entry = *value.dict();
        const std::optional<double> seconds = entry.value(Const::Revision::date).toNumber();
        // Beyond the range of milliseconds in 64 bits the conversion would be undefined.
        if (!seconds || !std::isfinite(*seconds) || std::abs(*seconds) > maximumSeconds)
            continue;
        const QDateTime date = QDateTime::fromMSecsSinceEpoch(qint64(*seconds * 1000.0));
        items.append({Date::standardDateFormatter(date), entry});
    }
    return items;
}

bool RevisionController::insertRevision(const PlistDict &entry) {
    const PlistValue *stored = entry.find(Const::Revision::plist);
    const PlistDict *plist = stored ? stored->dict() : nullptr;
    if (!plist)
        return false;
    JobList &list = JobList::shared();
    const JobPtr current = list.currentJob();
    if (!current || !current->url || !current->kind)
        return false;
    const JobPtr job = JobReader::jobFromPlist(*plist, current->url, current->kind);
    if (!job)
        return false;
    job->plist = *plist;
    list.setCurrentJob(job);
    Bindings::shared().update(job);
    list.markChanged(Change::generic);
    return true;
}

void RevisionController::clearMenu() {
    if (QFile::remove(revisionsFile()))
        m_isFileUnusable = false;
    if (m_revisions && !m_revisions->isEmpty())
        m_revisions = PlistDict();
}

void RevisionController::reset() {
    m_revisions.reset();
    m_clock.reset();
    m_isFileUnusable = false;
}

} // namespace Vandra
