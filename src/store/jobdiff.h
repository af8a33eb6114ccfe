#pragma once

#include "model/job.h"
#include "model/rulerow.h"
#include "store/linediff.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

namespace Vandra {

// A top-level key a save changes.
struct KeyChange {
    enum class Kind { added, removed, changed };

    QString key;
    Kind kind = Kind::changed;
    // Whether an edit of the user accounts for it; a key the save changes on its own (a
    // schedule written in its normal form, a search path added) is not touched.
    bool isTouched = true;

    friend bool operator==(const KeyChange &, const KeyChange &) = default;
};

// What a save of a job would change: the file as stored beside the text the save writes,
// line by line, and the keys that change, each marked by whether an edit accounts for it.
class JobDiff final {
    Q_DECLARE_TR_FUNCTIONS(JobDiff)

public:
    // ruleRows as for writing the job. A job without a file compares with an empty text.
    [[nodiscard]] static JobDiff forJob(Job &job, const RuleRows *ruleRows);

    // The stored file's text: its own bytes when it is text, else the XML of what it holds.
    [[nodiscard]] const QString &storedText() const { return m_storedText; }
    [[nodiscard]] const QString &savedText() const { return m_savedText; }
    [[nodiscard]] const QList<DiffLine> &lines() const { return m_lines; }
    [[nodiscard]] const QList<KeyChange> &keys() const { return m_keys; }
    [[nodiscard]] bool isEmpty() const { return m_storedText == m_savedText; }

    [[nodiscard]] QStringList changedKeys() const;
    // The keys the save would change although no edit of the user touched them.
    [[nodiscard]] QStringList untouchedKeys() const;
    // The diff in unified form, headed by the job's file; empty when nothing changes.
    [[nodiscard]] QString unified(int context = 3) const;
    // One or two sentences naming the keys that change, for a tool tip or a confirmation.
    [[nodiscard]] QString summary() const;

private:
    QString m_name;
    QString m_storedText;
    QString m_savedText;
    QList<DiffLine> m_lines;
    QList<KeyChange> m_keys;
};

} // namespace Vandra
