#include "action.h"

#include <QDir>
#include <QFileInfo>

namespace Vandra {

ActionPtr Action::save(const QString &url, const QString &string, const QString &label) {
    auto action = make(Kind::save);
    action->url = url;
    action->string = string;
    action->label = label;
    return action;
}

ActionPtr Action::test(const QString &testURL, const QString &testOutputURL, const QString &string,
                       const QString &label) {
    auto action = make(Kind::test);
    action->testURL = testURL;
    action->testOutputURL = testOutputURL;
    action->string = string;
    action->label = label;
    action->cleanUp = false;
    return action;
}

std::optional<Action::Kind> Action::kindFromRaw(qint64 raw) {
    if (raw < 0 || raw > 12)
        return std::nullopt;
    return Kind(raw);
}

const QString &Action::errorDomain() {
    static const QString domain = QStringLiteral("VandraXActionErrorDomain");
    return domain;
}

const QString &Action::systemLogFile() {
    // Linux keeps the traditional system log here when a syslog daemon runs.
    static const QString path = QStringLiteral("/var/log/syslog");
    return path;
}

QString resolvedRequestPath(const QString &url) {
    // Linux has no alias files: a symbolic link is the alias, followed to its end.
    const QFileInfo info(url);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (!folder.isEmpty())
        return folder + u'/' + info.fileName();
    return QDir::cleanPath(info.absoluteFilePath());
}

PlistDict actionDictionary(const Action &action, const std::optional<QByteArray> &authData) {
    PlistDict dict;
    dict.insert(ActionKey::kind, Action::rawValue(action.kind));
    dict.insert(ActionKey::presentError, action.presentError);
    dict.insert(ActionKey::privileged, action.privileged);
    if (action.url)
        dict.insert(ActionKey::path, resolvedRequestPath(*action.url));
    if (action.deleteURL)
        dict.insert(ActionKey::deletePath, *action.deleteURL);
    if (action.testURL)
        dict.insert(ActionKey::testPath, *action.testURL);
    if (action.testOutputURL)
        dict.insert(ActionKey::testOutputPath, *action.testOutputURL);
    if (action.string)
        dict.insert(ActionKey::string, *action.string);
    if (authData)
        dict.insert(ActionKey::authData, *authData);
    if (action.label)
        dict.insert(ActionKey::label, *action.label);
    if (action.logQuery) {
        PlistDict query;
        for (auto it = action.logQuery->cbegin(); it != action.logQuery->cend(); ++it)
            query.insert(it.key(), it.value());
        dict.insert(ActionKey::logQuery, query);
    }
    if (action.changedSince)
        dict.insert(ActionKey::changedSince, *action.changedSince);
    return dict;
}

PlistDict actionErrorDictionary(Action::ErrorCode code, const QString &description) {
    PlistDict error;
    error.insert(ActionKey::domain, Action::errorDomain());
    error.insert(ActionKey::code, qint64(code));
    if (!description.isEmpty())
        error.insert(ActionKey::description, description);
    return error;
}

} // namespace Vandra
