#include "agent/notices.h"

#include <QCoreApplication>

namespace {

constexpr qsizetype listedInBatch = 8;

QString tr(const char *text, int n = -1) {
    return QCoreApplication::translate("Notices", text, nullptr, n);
}

QString summaryOf(JobChange::Type type) {
    switch (type) {
    case JobChange::Type::added:
        return tr("Job added");
    case JobChange::Type::changed:
        return tr("Job changed");
    case JobChange::Type::removed:
        return tr("Job removed");
    case JobChange::Type::enabled:
        return tr("Job enabled");
    case JobChange::Type::disabled:
        return tr("Job disabled");
    }
    return {};
}

QString sentenceOf(const JobChange &change) {
    const char *text = "";
    switch (change.type) {
    case JobChange::Type::added:
        text = "%1, a %2, was added.";
        break;
    case JobChange::Type::changed:
        text = "%1, a %2, was changed.";
        break;
    case JobChange::Type::removed:
        text = "%1, a %2, was removed.";
        break;
    case JobChange::Type::enabled:
        text = "%1, a %2, was enabled.";
        break;
    case JobChange::Type::disabled:
        text = "%1, a %2, was disabled.";
        break;
    }
    return tr(text).arg(change.label, Notices::kindText(change.kind));
}

} // namespace

namespace Notices {

QString kindText(Kind kind) {
    switch (kind) {
    case Kind::userAgent:
        return tr("user agent");
    case Kind::localAgent:
        return tr("local agent");
    case Kind::localDaemon:
        return tr("local daemon");
    case Kind::loginItemSystemPreferences:
    case Kind::loginItemApplication:
        return tr("login item");
    case Kind::localStartupItem:
        return tr("local startup item");
    case Kind::systemAgent:
        return tr("system agent");
    case Kind::systemDaemon:
        return tr("system daemon");
    case Kind::systemStartupItem:
        return tr("system startup item");
    }
    return {};
}

Notice forChange(const JobChange &change) {
    const bool canShow = change.type != JobChange::Type::removed;
    return Notice{summaryOf(change.type), sentenceOf(change), canShow ? change.path : QString()};
}

Notice forBatch(const QList<JobChange> &changes) {
    QStringList lines;
    for (qsizetype i = 0; i < changes.size() && i < listedInBatch; ++i)
        lines.append(sentenceOf(changes.at(i)));
    if (changes.size() > listedInBatch)
        lines.append(tr("And %n more.", int(changes.size() - listedInBatch)));
    return Notice{tr("%n jobs changed", int(changes.size())), lines.join(u'\n'), QString()};
}

} // namespace Notices
