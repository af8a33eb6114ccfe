#pragma once

#include "model/job.h"
#include "model/rulerow.h"
#include "platform/plistvalue.h"

#include <QDateTime>
#include <QList>
#include <QObject>

#include <optional>

namespace Vandra {

// One revision as the Revisions submenu lists it.
struct RevisionItem {
    QString title;   // the date of the save, formatted
    PlistDict entry; // what choosing the item restores
};

// Earlier versions of job files: every save keeps a copy of the dictionary saved, keyed by
// the job file's path, in the revisions file of the program's own folder.
class RevisionController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RevisionController)

public:
    RevisionController() = default;

    [[nodiscard]] QString revisionsFile() const;
    // Every job's revisions, read from the file on first use.
    [[nodiscard]] const PlistDict &revisions();

    // Keeps the dictionary the save of job writes, newest first, trimmed to the number of
    // saved revisions, and writes the file. The schedule comes from rows when given, else
    // from the rule editor that shows the job, else from the job's own rules. False when
    // nothing was recorded or the file could not be written (the reason is in the log).
    bool recordRevision(Job &job, const RuleRows *rows = nullptr);
    // The moment recorded with the next revision; the clock unless set, for tests.
    void setClock(std::optional<QDateTime> moment) { m_clock = moment; }

    // The submenu is offered only without unsaved edits, for a current job with a file
    // that has revisions.
    [[nodiscard]] bool isRevertEnabled();
    // The current job's revisions, newest first; those without a date are left out.
    [[nodiscard]] QList<RevisionItem> revisionItems();
    // Makes a revision the current job, as an unsaved change of the job of the current
    // file. False when entry or the current job cannot give a job.
    bool insertRevision(const PlistDict &entry);
    // Forgets the revisions of every job and deletes the file.
    void clearMenu();

    // As in a new process; for tests.
    void reset();

private:
    PlistDict &loaded();
    [[nodiscard]] const PlistArray *entriesOfCurrentJob();

    std::optional<PlistDict> m_revisions;
    // The file was there but could not be read; it is set aside before the first write.
    bool m_isFileUnusable = false;
    std::optional<QDateTime> m_clock;
};

} // namespace Vandra
