#include "model/kind.h"

#include "support/const.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/text.h"

#include <QDir>

namespace Vandra {

namespace {

// The lists that follow the editSystemJobs setting, taken at first use.
struct SettingLists {
    bool isTaken = false;
    bool editSystemJobs = false;
    QList<Kind> editable;
    QList<Kind> locked;
    QList<Kind> deletable;
    QString systemIcon;
};

SettingLists &storedLists() {
    static SettingLists lists;
    return lists;
}

SettingLists &settingLists() {
    SettingLists &lists = storedLists();
    if (!lists.isTaken) {
        lists.isTaken = true;
        lists.editSystemJobs = Defaults::shared().editSystemJobs();
        if (lists.editSystemJobs) {
            lists.editable = {Kind::userAgent, Kind::localAgent, Kind::localDaemon,
                              Kind::systemAgent, Kind::systemDaemon};
            lists.locked = {Kind::loginItemSystemPreferences, Kind::loginItemApplication,
                            Kind::localStartupItem, Kind::systemStartupItem};
            lists.deletable = {Kind::userAgent,        Kind::localAgent,
                               Kind::localDaemon,      Kind::loginItemSystemPreferences,
                               Kind::localStartupItem, Kind::systemAgent,
                               Kind::systemDaemon,     Kind::systemStartupItem};
            lists.systemIcon = QStringLiteral("changes-allow");
        } else {
            lists.editable = {Kind::userAgent, Kind::localAgent, Kind::localDaemon};
            lists.locked = {Kind::loginItemSystemPreferences,
                            Kind::loginItemApplication,
                            Kind::localStartupItem,
                            Kind::systemAgent,
                            Kind::systemDaemon,
                            Kind::systemStartupItem};
            lists.deletable = {Kind::userAgent, Kind::localAgent, Kind::localDaemon,
                               Kind::loginItemSystemPreferences, Kind::localStartupItem};
            lists.systemIcon = QStringLiteral("changes-prevent");
        }
    }
    return lists;
}

QString folder(const QString &library, const QString &component) {
    return QDir::cleanPath(library + QLatin1Char('/') + component);
}

const char *const kindNames[] = {
    "userAgent",
    "localAgent",
    "localDaemon",
    "loginItemSystemPreferences",
    "loginItemApplication",
    "localStartupItem",
    "systemAgent",
    "systemDaemon",
    "systemStartupItem",
};

} // namespace

namespace Kinds {

const QList<Kind> &allCases() {
    static const QList<Kind> kinds = {
        Kind::userAgent,
        Kind::localAgent,
        Kind::localDaemon,
        Kind::loginItemSystemPreferences,
        Kind::loginItemApplication,
        Kind::localStartupItem,
        Kind::systemAgent,
        Kind::systemDaemon,
        Kind::systemStartupItem,
    };
    return kinds;
}

std::optional<Kind> fromRaw(qint64 raw) {
    if (raw < 0 || raw >= allCases().size())
        return std::nullopt;
    return Kind(raw);
}

QString name(Kind kind) {
    return QString::fromLatin1(kindNames[int(kind)]);
}

std::optional<Kind> fromName(const QString &name) {
    for (Kind kind : allCases()) {
        if (Kinds::name(kind) == name)
            return kind;
    }
    return std::nullopt;
}

std::optional<QString> url(Kind kind) {
    const Locations &locations = Locations::shared();
    switch (kind) {
    case Kind::userAgent:
        return folder(locations.userLibrary(), Const::PathComponent::launchAgents);
    case Kind::localAgent:
        return folder(locations.localLibrary(), Const::PathComponent::launchAgents);
    case Kind::localDaemon:
        return folder(locations.localLibrary(), Const::PathComponent::launchDaemons);
    case Kind::localStartupItem:
        return folder(locations.localLibrary(), Const::PathComponent::startupItems);
    case Kind::systemAgent:
        return folder(locations.systemLibrary(), Const::PathComponent::launchAgents);
    case Kind::systemDaemon:
        return folder(locations.systemLibrary(), Const::PathComponent::launchDaemons);
    case Kind::systemStartupItem:
        return folder(locations.systemLibrary(), Const::PathComponent::startupItems);
    case Kind::loginItemSystemPreferences:
    case Kind::loginItemApplication:
        break;
    }
    return std::nullopt;
}

QString title(Kind kind) {
    switch (kind) {
    case Kind::userAgent:
        return Localize::you();
    case Kind::localAgent:
        return Localize::everyone();
    case Kind::localDaemon:
        return QStringLiteral("root daemon");
    case Kind::loginItemSystemPreferences:
        return Text::bidirectionalString(
            {Localize::loginItems(), Const::AppName::systemPreferences}, Const::separator);
    case Kind::loginItemApplication:
        return Text::bidirectionalString({Localize::loginItems(), Localize::application()},
                                         Const::separator);
    case Kind::localStartupItem:
        return Const::PathComponent::startupItems;
    case Kind::systemAgent:
        return Text::bidirectionalString({QStringLiteral("Agents"), Localize::system()},
                                         Const::separator);
    case Kind::systemDaemon:
        return Text::bidirectionalString({QStringLiteral("Daemons"), Localize::system()},
                                         Const::separator);
    case Kind::systemStartupItem:
        return Text::bidirectionalString({Const::PathComponent::startupItems, Localize::system()},
                                         Const::separator);
    }
    return {};
}

QString icon(Kind kind) {
    switch (kind) {
    case Kind::userAgent:
        return QStringLiteral("avatar-default");
    case Kind::localAgent:
        return QStringLiteral("system-users");
    case Kind::localDaemon:
        return QStringLiteral("computer");
    case Kind::loginItemSystemPreferences:
        return QStringLiteral("preferences-system");
    case Kind::loginItemApplication:
        return QStringLiteral("application-x-executable");
    case Kind::localStartupItem:
    case Kind::systemStartupItem:
        return QStringLiteral("dialog-warning");
    case Kind::systemAgent:
    case Kind::systemDaemon:
        return settingLists().systemIcon;
    }
    return {};
}

const QList<Kind> &nonSystemKinds() {
    static const QList<Kind> kinds = {Kind::userAgent,
                                      Kind::localAgent,
                                      Kind::localDaemon,
                                      Kind::loginItemSystemPreferences,
                                      Kind::loginItemApplication,
                                      Kind::localStartupItem};
    return kinds;
}

const QList<Kind> &editableKinds() {
    return settingLists().editable;
}

const QList<Kind> &lockedKinds() {
    return settingLists().locked;
}

const QList<Kind> &deletableKinds() {
    return settingLists().deletable;
}

const QList<Kind> &nonPlistKinds() {
    static const QList<Kind> kinds = {Kind::loginItemSystemPreferences, Kind::loginItemApplication,
                                      Kind::localStartupItem, Kind::systemStartupItem};
    return kinds;
}

const QList<Kind> &folderKinds() {
    static const QList<Kind> kinds = {
        Kind::userAgent,         Kind::localAgent,  Kind::localDaemon, Kind::localStartupItem,
        Kind::systemStartupItem, Kind::systemAgent, Kind::systemDaemon};
    return kinds;
}

bool isEditable(std::optional<Kind> kind) {
    return kind && editableKinds().contains(*kind);
}

bool isDeletable(std::optional<Kind> kind) {
    return !kind || deletableKinds().contains(*kind);
}

bool isNonPlist(std::optional<Kind> kind) {
    return kind && nonPlistKinds().contains(*kind);
}

bool isLocked(std::optional<Kind> kind) {
    return kind && lockedKinds().contains(*kind);
}

void resetForTesting() {
    storedLists() = SettingLists();
}

} // namespace Kinds

} // namespace Vandra
