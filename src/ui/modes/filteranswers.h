#pragma once

#include "model/job.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// Which jobs passed the last few filter texts, so that a new text reads the texts of only the
// jobs it can change: typing a letter keeps out every job the shorter text kept out, taking
// one back keeps every job the longer text let through. A job's text stays as it is while its
// record is in the list.
class FilterAnswers final {
public:
    // Makes text the one asked about; an empty text lets every job through.
    void setText(const QString &text);
    [[nodiscard]] const QString &text() const { return m_text; }
    // Whether job holds the text, ignoring case and accents.
    [[nodiscard]] bool passes(const Job &job);
    // Forgets what was learnt of the records: a new list brings new ones.
    void forgetJobs();

private:
    struct Answers {
        QString folded;
        QHash<const Job *, bool> passes;
    };
    // How an earlier text relates to the one now: held by it (letters were typed since), or
    // holding it (letters were taken away).
    enum class Relation { other, held, holding };

    [[nodiscard]] std::optional<bool> knownAnswer(const Job *job) const;

    QString m_text;
    // The answers for the text now first, then those of the texts typed before it.
    QList<Answers> m_answers;
    QList<Relation> m_relations;
};

} // namespace Vandra
