#include "agent/notices.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace Vandra {

namespace {

constexpr qsizetype listedInBatch = 8;

// The texts' translation context, in a form lupdate finds.
class Text {
    Q_DECLARE_TR_FUNCTIONS(Notices)
};

QString summaryOf(JobChange::Type type) {
    switch (type) {
    case JobChange::Type::added:
        return Text::tr("Job added");
    case JobChange::Type::changed:
        return Text::tr("Job changed");
    case JobChange::Type::removed:
        return Text::tr("Job removed");
    case JobChange::Type::enabled:
        return Text::tr("Job enabled");
    case JobChange::Type::disabled:
        return Text::tr("Job disabled");
    }
    return {};
}

QString sentenceOf(const JobChange &change) {
    const char *text = "";
    switch (change.type) {
    case JobChange::Type::added:
        text = QT_TRANSLATE_NOOP("Notices", "%1, a %2, was added.");
        break;
    case JobChange::Type::changed:
        text = QT_TRANSLATE_NOOP("Notices", "%1, a %2, was changed.");
        break;
    case JobChange::Type::removed:
        text = QT_TRANSLATE_NOOP("Notices", "%1, a %2, was removed.");
        break;
    case JobChange::Type::enabled:
        text = QT_TRANSLATE_NOOP("Notices", "%1, a %2, was enabled.");
        break;
    case JobChange::Type::disabled:
        text = QT_TRANSLATE_NOOP("Notices", "%1, a %2, was disabled.");
        break;
    }
    return Text::tr(text).arg(change.label, Notices::kindText(change.kind));
}

} // namespace

namespace Notices {

QString kindText(Kind kind) {
    switch (kind) {
    case Kind::userAgent:
        return Text::tr("user agent");
    case Kind::localAgent:
        return Text::tr("local agent");
    case Kind::localDaemon:
        return Text::tr("local daemon");
    case Kind::loginItemSystemPreferences:
    case Kind::loginItemApplication:
        return Text::tr("login item");
    case Kind::localStartupItem:
        return Text::tr("local startup item");
    case Kind::systemAgent:
        return Text::tr("system agent");
    case Kind::systemDaemon:
        return Text::tr("system daemon");
    case Kind::systemStartupItem:
        return Text::tr("system startup item");
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
        lines.append(Text::tr("And %n more.", nullptr, int(changes.size() - listedInBatch)));
    return Notice{Text::tr("%n jobs changed", nullptr, int(changes.size())), lines.join(u'\n'),
                  QString()};
}

} // namespace Notices

} // namespace Vandra
