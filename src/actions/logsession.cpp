#include "logsession.h"

#include "actions/actioncontroller.h"
#include "actions/helperconnection.h"
#include "platform/labelcollator.h"
#include "platform/relativedateformatter.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/userdefaultskeys.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <algorithm>

namespace Vandra {

Q_LOGGING_CATEGORY(lcLog, "vandra.actions.log")

namespace {

struct PeriodUnit {
    QChar letter;
    qint64 seconds;
};

PeriodUnit periodUnit(int periodIndex) {
    switch (periodIndex) {
    case int(LogSession::Period::minute):
        return {u'm', 60};
    case int(LogSession::Period::day):
        return {u'd', 86400};
    default:
        return {u'h', 3600};
    }
}

// Case and accents dropped, so that "resume" finds "Résumé".
QString folded(const QString &text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString result;
    result.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            result.append(c);
    }
    return result.toCaseFolded();
}

} // namespace

LogSession::LogSession(ActionController &controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_lengthIndex(Defaults::shared().logLength())
    , m_periodIndex(Defaults::shared().logPeriod())
    , m_usesPrivilegedHelper(needsPrivilegedHelper(systemLogIsReadable(), journalIsAvailable())) {}

const QList<int> &LogSession::lengthNumbers() {
    static const QList<int> numbers{1, 4, 8, 16, 30};
    return numbers;
}

QString LogSession::columnName(Column column) {
    return column == Column::date ? QStringLiteral("date") : QStringLiteral("message");
}

QMap<QString, QString> LogSession::query(int lengthIndex, int periodIndex, const QString &label) {
    const qint64 number = lengthIndex >= 0 && lengthIndex < lengthNumbers().size()
                              ? lengthNumbers().at(lengthIndex)
                              : 1;
    const PeriodUnit unit = periodUnit(periodIndex);
    return {
        {LogQueryKey::lastString, QString::number(number) + unit.letter},
        {LogQueryKey::lastSeconds, QString::number(number * unit.seconds)},
        {LogQueryKey::searchString, label},
    };
}

bool LogSession::systemLogIsReadable() {
    static const bool isReadable =
        QFileInfo(Locations::shared().underRoot(Action::systemLogFile())).isReadable();
    return isReadable;
}

bool LogSession::journalIsAvailable() {
    static const bool isAvailable = [] {
        if (qEnvironmentVariableIsSet("VANDRA_JOURNALCTL"))
            return !qEnvironmentVariableIsEmpty("VANDRA_JOURNALCTL");
        return !QStandardPaths::findExecutable(QStringLiteral("journalctl")).isEmpty();
    }();
    return isAvailable;
}

bool LogSession::needsPrivilegedHelper(bool isSystemLogReadable, bool isJournalAvailable) {
    // Most machines keep their log in the journal and have no log file: asking for a password
    // on every log view would gain nothing there, since the journal gives the user the lines
    // of their own jobs, and of every job to members of its readers' groups.
    return !isSystemLogReadable && !isJournalAvailable;
}

LogSession::Item LogSession::item(const LogEntry &entry) {
    return {RelativeDateFormatter::format(entry.date),
            double(entry.date.toMSecsSinceEpoch()) / 1000.0, entry.message};
}

void LogSession::fetch(const QString &label) {
    if (label.isEmpty()) {
        m_content.clear();
        Q_EMIT contentChanged();
        setState(State::rest);
        return;
    }
    setState(State::fetch);
    auto request = Action::make(Action::Kind::log);
    request->logQuery = query(m_lengthIndex, m_periodIndex, label);
    const bool sent =
        m_usesPrivilegedHelper ? m_controller.sendPrivileged(request) : m_controller.send(request);
    if (!sent) {
        qCWarning(lcLog) << "Cannot connect to helper tool to fetch log";
        reset();
        return;
    }
    // Cancelling breaks the service connection the request went out on. A privileged request
    // is only forgotten: breaking that connection would end the privileged helper and ask
    // for authorization again.
    m_currentConnection = m_usesPrivilegedHelper ? nullptr : m_controller.connection();
    m_currentAction = request;
    m_pendingAction = request;
}

void LogSession::cancel() {
    if (const ActionPtr action = m_currentAction.lock())
        action->presentError = false;
    // The broken connection's failure comes back silently.
    if (m_currentConnection)
        m_currentConnection->invalidate();
    reset();
}

void LogSession::forgetRequest() {
    m_currentConnection = nullptr;
    m_currentAction.reset();
    m_pendingAction.reset();
}

void LogSession::reset() {
    forgetRequest();
    m_content.clear();
    Q_EMIT contentChanged();
    setState(State::rest);
}

void LogSession::showEntries(const QList<LogEntry> &entries) {
    forgetRequest();
    QList<Item> items;
    items.reserve(entries.size());
    for (const LogEntry &entry : entries)
        items.append(item(entry));
    m_content = std::move(items);
    // Rows kept aside for an earlier filter belong to the previous fetch.
    m_savedContent.reset();
    if (!m_filterText.isEmpty()) {
        filter(m_filterText);
    }
    sortContent();
    Q_EMIT contentChanged();
    setState(State::rest);
}

void LogSession::setState(State state) {
    m_state = state;
    if (state == State::fetch) {
        m_content.clear();
        Q_EMIT contentChanged();
        Defaults::shared().setValue(UserDefaultsKeys::logLength, m_lengthIndex);
        Defaults::shared().setValue(UserDefaultsKeys::logPeriod, m_periodIndex);
    }
    Q_EMIT stateChanged(state);
}

void LogSession::setSortDescriptor(const std::optional<QString> &key, bool ascending) {
    m_sortKey = key;
    m_isAscending = ascending;
    sortContent();
    Q_EMIT contentChanged();
}

void LogSession::sortContent() {
    if (!m_sortKey)
        return;
    const bool ascending = m_isAscending;
    if (*m_sortKey == columnName(Column::date)) {
        std::stable_sort(m_content.begin(), m_content.end(),
                         [ascending](const Item &a, const Item &b) {
                             return ascending ? a.dateRaw < b.dateRaw : b.dateRaw < a.dateRaw;
                         });
    } else if (*m_sortKey == columnName(Column::message)) {
        std::stable_sort(m_content.begin(), m_content.end(),
                         [ascending](const Item &a, const Item &b) {
                             const int order = LabelCollator::compare(a.message, b.message);
                             return ascending ? order < 0 : order > 0;
                         });
    }
}

void LogSession::filter(const QString &text) {
    m_filterText = text;
    if (!m_savedContent)
        m_savedContent.emplace();
    if (m_savedContent->isEmpty())
        *m_savedContent = m_content;
    if (text.isEmpty()) {
        m_content = *m_savedContent;
        m_savedContent->clear();
    } else {
        const QString needle = folded(text);
        m_content.clear();
        for (const Item &item : std::as_const(*m_savedContent)) {
            if (folded(item.message).contains(needle))
                m_content.append(item);
        }
    }
    Q_EMIT contentChanged();
}

std::optional<QString> LogSession::copyText(QList<int> rows) const {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QString text;
    for (int row : std::as_const(rows)) {
        if (row < 0 || row >= m_content.size())
            continue;
        const Item &item = m_content.at(row);
        text += item.dateString + Const::separator + item.message + u'\n';
    }
    if (text.isEmpty())
        return std::nullopt;
    text.chop(1);
    return text;
}

} // namespace Vandra
