#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

namespace Vandra {

// The user's notes on job files, kept in the notes file of the program's own folder and
// keyed by the job file's path, so that a note outlives edits and revisions of its job.
class NotesStore final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesStore)

public:
    // How long typing must pause before the notes are written.
    static constexpr int saveDelayMilliseconds = 300;

    NotesStore();

    [[nodiscard]] QString notesFile() const;
    // Every note, read from the file on first use.
    [[nodiscard]] const QHash<QString, QString> &notes();
    // The note on the job file at path, or the empty text.
    [[nodiscard]] QString note(const QString &path);
    // Keeps text as the note on path (an empty text too) and writes the notes once typing
    // has paused for the save delay.
    void setNote(const QString &path, const QString &text);
    [[nodiscard]] bool isSavePending() const { return m_saveTimer.isActive(); }
    // Writes every note now.
    void save();
    // Writes at once when a save is pending or the last write failed, as when the notes view
    // goes away or the program quits.
    void flush();

    // As in a new process; for tests.
    void reset();

Q_SIGNALS:
    // After each write, with its outcome.
    void saved(bool ok);

private:
    QHash<QString, QString> &loaded();

    std::optional<QHash<QString, QString>> m_notes;
    // The file was there but gave no notes; it is set aside before the first write.
    bool m_isFileUnusable = false;
    // Some note has not reached the file yet.
    bool m_isUnsaved = false;
    QTimer m_saveTimer;
};

} // namespace Vandra
