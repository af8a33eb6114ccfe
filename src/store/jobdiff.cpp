#include "store/jobdiff.h"

#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "model/launchdkey.h"
#include "platform/plistcodec.h"

#include <QFile>
#include <QSet>

namespace Vandra {

namespace {

// The keys the writer rebuilds for each recorded change.
QStringList keysOf(Change change) {
    switch (change) {
    case Change::watchPath:
        return {LaunchdKey::WatchPaths};
    case Change::run:
        return {LaunchdKey::Program, LaunchdKey::ProgramArguments, QStringLiteral("What")};
    case Change::keepAlive:
        return {LaunchdKey::KeepAlive, LaunchdKey::OnDemand};
    case Change::machServices:
        return {LaunchdKey::MachServices};
    case Change::limitLoadToSessionType:
        return {LaunchdKey::LimitLoadToSessionType};
    case Change::time:
        return {LaunchdKey::StartInterval, LaunchdKey::StartCalendarInterval::key};
    case Change::generic:
    case Change::selfUpdating:
        break;
    }
    return {};
}

// The keys an edit of the user accounts for: those of the recorded changes, those the
// record's dictionary holds differently from the file (set directly or by raw editing),
// the name and the enabled state.
QSet<QString> touchedKeys(Job &job, const PlistDict &stored) {
    QSet<QString> keys;
    for (const Change change : job.changes()) {
        for (const QString &key : keysOf(change))
            keys.insert(key);
    }
    if (job.plist) {
        for (const QString &key : job.plist->keys() + stored.keys()) {
            if (job.plist->value(key) != stored.value(key))
                keys.insert(key);
        }
    }
    if (stored.value(LaunchdKey::Label).toString() != job.label)
        keys.insert(LaunchdKey::Label);
    if ((stored.value(LaunchdKey::Disabled).toBool() == true) == job.isEnabled())
        keys.insert(LaunchdKey::Disabled);
    return keys;
}

QList<KeyChange> keyChanges(const PlistDict &stored, const PlistDict &saved,
                            const QSet<QString> &touched) {
    QList<KeyChange> changes;
    for (const auto &[key, value] : saved) {
        const PlistValue *before = stored.find(key);
        if (before && *before == value)
            continue;
        changes.append({key, before ? KeyChange::Kind::changed : KeyChange::Kind::added,
                        touched.contains(key)});
    }
    for (const auto &[key, value] : stored) {
        if (!saved.contains(key))
            changes.append({key, KeyChange::Kind::removed, touched.contains(key)});
    }
    return changes;
}

} // namespace

JobDiff JobDiff::forJob(Job &job, const RuleRows *ruleRows) {
    JobDiff diff;
    diff.m_name = job.url.value_or(job.label);
    PlistDict stored;
    if (job.url && QFile::exists(*job.url)) {
        const PlistReadResult read = PlistCodec::readFile(*job.url);
        if (read.value && read.value->dict())
            stored = *read.value->dict();
        QFile file(*job.url);
        if (read.format != PlistFormat::Binary && file.open(QIODevice::ReadOnly))
            diff.m_storedText = QString::fromUtf8(file.read(PlistCodec::maximumFileSize));
        else
            diff.m_storedText = JobReader::plistText(stored).value_or(QString());
    }
    const PlistDict saved = JobWriter::makePlist(job, ruleRows);
    diff.m_savedText = JobReader::plistText(saved).value_or(QString());
    diff.m_lines =
        LineDiff::compare(LineDiff::lines(diff.m_storedText), LineDiff::lines(diff.m_savedText));
    diff.m_keys = keyChanges(stored, saved, touchedKeys(job, stored));
    return diff;
}

QStringList JobDiff::changedKeys() const {
    QStringList keys;
    for (const KeyChange &change : m_keys)
        keys.append(change.key);
    return keys;
}

QStringList JobDiff::untouchedKeys() const {
    QStringList keys;
    for (const KeyChange &change : m_keys) {
        if (!change.isTouched)
            keys.append(change.key);
    }
    return keys;
}

QString JobDiff::unified(int context) const {
    return LineDiff::unified(m_storedText, m_savedText, m_name + QStringLiteral("\t(stored)"),
                             m_name + QStringLiteral("\t(as saved)"), context);
}

QString JobDiff::summary() const {
    if (m_keys.isEmpty())
        return isEmpty() ? tr("Saving changes nothing.")
                         : tr("Saving changes only the layout of the file.");
    QString text = tr("Saving changes %1.").arg(changedKeys().join(QStringLiteral(", ")));
    if (const QStringList untouched = untouchedKeys(); !untouched.isEmpty()) {
        text += QLatin1Char(' ') +
                tr("Of these, you did not edit %1.").arg(untouched.join(QStringLiteral(", ")));
    }
    return text;
}

} // namespace Vandra
