#pragma once

#include "actions/action.h"
#include "actions/logentry.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

namespace Vandra {

class ActionController;
class HelperConnection;

// The core of the log viewer: builds the query for the selected job, asks a helper for the
// lines, and keeps the rows shown with their sorting, filtering and copying.
class LogSession final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogSession)

public:
    enum class State { rest, fetch };
    // The length menu's items, with their numbers 1, 4, 8, 16 and 30.
    enum class Length { first, second, third, fourth, fifth };
    enum class Period { minute, hour, day };
    // The table's columns; their names are the sort keys.
    enum class Column { date, message };

    struct Item {
        QString dateString; // as shown
        double dateRaw = 0; // seconds since 1970, for sorting
        QString message;
    };

    explicit LogSession(ActionController &controller, QObject *parent = nullptr);

    [[nodiscard]] static const QList<int> &lengthNumbers();
    [[nodiscard]] static QString columnName(Column column);
    // The query for the selected menu items and a label. An index outside the length menu
    // counts as the number 1; one outside the period menu as hours.
    [[nodiscard]] static QMap<QString, QString> query(int lengthIndex, int periodIndex,
                                                      const QString &label);
    // Whether the user may read the machine's log file; decided once per process.
    [[nodiscard]] static bool systemLogIsReadable();
    // Whether the helper service reads a journal: the journal reader it runs (VANDRA_JOURNALCTL
    // when set, empty for none, else journalctl) is there.
    [[nodiscard]] static bool journalIsAvailable();
    // Where the log is read: the helper service when it has a journal or the log file is
    // readable, else the privileged helper.
    [[nodiscard]] static bool needsPrivilegedHelper(bool isSystemLogReadable,
                                                    bool isJournalAvailable);
    [[nodiscard]] static Item item(const LogEntry &entry);

    // The selected menu items; read from the settings when made, stored when a fetch starts.
    [[nodiscard]] int lengthIndex() const { return m_lengthIndex; }
    void setLengthIndex(int index) { m_lengthIndex = index; }
    [[nodiscard]] int periodIndex() const { return m_periodIndex; }
    void setPeriodIndex(int index) { m_periodIndex = index; }
    // Log requests go to the privileged helper only when neither a journal nor the log file
    // can be read without it.
    [[nodiscard]] bool usesPrivilegedHelper() const { return m_usesPrivilegedHelper; }
    void setUsesPrivilegedHelper(bool privileged) { m_usesPrivilegedHelper = privileged; }

    // Asks for the lines that mention label; an empty label shows nothing.
    void fetch(const QString &label);
    // Stops waiting for the outstanding request, silently.
    void cancel();
    // The lines of a reply.
    void showEntries(const QList<LogEntry> &entries);
    // After a failure: forget the request, no rows, at rest.
    void reset();

    // Sorts by the column named key (the table's first sort descriptor); none or an unknown
    // key leaves the order.
    void setSortDescriptor(const std::optional<QString> &key, bool ascending = true);
    // Keeps the rows whose message contains text, ignoring case and accents; empty text
    // brings every row back in its previous order.
    void filter(const QString &text);
    // The text of the rows at the given indices for the pasteboard: date, separator and
    // message, one row a line. None when no row was collected (the caller beeps).
    [[nodiscard]] std::optional<QString> copyText(QList<int> rows) const;

    [[nodiscard]] State state() const { return m_state; }
    [[nodiscard]] const QList<Item> &content() const { return m_content; }
    [[nodiscard]] bool isFilterEnabled() const { return m_state == State::rest; }
    [[nodiscard]] const ActionPtr currentAction() const { return m_currentAction.lock(); }
    [[nodiscard]] HelperConnection *currentConnection() const { return m_currentConnection; }

Q_SIGNALS:
    void stateChanged(LogSession::State state);
    // The rows changed: reload the table.
    void contentChanged();

private:
    void setState(State state);
    void forgetRequest();
    void sortContent();

    ActionController &m_controller;
    State m_state = State::rest;
    int m_lengthIndex = 0;
    int m_periodIndex = 1;
    bool m_usesPrivilegedHelper = false;
    QPointer<HelperConnection> m_currentConnection;
    WeakAction m_currentAction;
    // The session is the request's creator and keeps it until its answer.
    ActionPtr m_pendingAction;
    QList<Item> m_content;
    std::optional<QList<Item>> m_savedContent;
    QString m_filterText;
    std::optional<QString> m_sortKey;
    bool m_isAscending = true;
};

} // namespace Vandra
