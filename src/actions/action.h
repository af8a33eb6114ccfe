#pragma once

#include "platform/plistvalue.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace Vandra {

class Action;
using ActionPtr = std::shared_ptr<Action>;
using WeakAction = std::weak_ptr<Action>;

// One request to a helper: what is asked and the files it concerns.
//
// The creator owns the request; once sent, the controller holds it only weakly, so a request
// whose creator is gone has no effect when its reply arrives.
class Action final {
public:
    // Raw values are the wire values. 3 and 7 are valid numbers that no request uses. start,
    // stop and status act on jobs a helper has loaded into the service manager.
    enum class Kind {
        save = 0,
        saveAndLoad = 1,
        remove = 2,
        reserved3 = 3,
        unload = 4,
        load = 5,
        test = 6,
        reserved7 = 7,
        uninstallHelpers = 8,
        log = 9,
        start = 10,
        stop = 11,
        status = 12,
    };

    // The helpers' failure kinds. This side tells apart 1, 4, 5 and 7; the numbers are part
    // of the wire format, so never change them.
    enum class ErrorCode {
        unknown = 0,
        invalidHelperTool = 1, // no usable helper: refused authorization, wrong user
        unknownKind = 2,
        cantRemove = 4, // a job could not be added or removed
        cantLoad = 8,
        cantUnload = 3,
        logError = 7,
        testError = 6,
        cantSave = 5, // a job could not be written where asked; another name may do
    };

    explicit Action(Kind kind)
        : kind(kind) {}

    [[nodiscard]] static ActionPtr make(Kind kind) { return std::make_shared<Action>(kind); }
    // A save request for the job file at url.
    [[nodiscard]] static ActionPtr save(const QString &url, const QString &string,
                                        const QString &label);
    // A test run of the temporary job at testURL; its output goes to testOutputURL.
    [[nodiscard]] static ActionPtr test(const QString &testURL, const QString &testOutputURL,
                                        const QString &string, const QString &label);

    [[nodiscard]] static std::optional<Kind> kindFromRaw(qint64 raw);
    [[nodiscard]] static int rawValue(Kind kind) { return int(kind); }

    // The domain of the helpers' own errors.
    [[nodiscard]] static const QString &errorDomain();
    // The machine's log file; whether the user may read it decides where log requests go.
    [[nodiscard]] static const QString &systemLogFile();

    Kind kind;
    bool presentError = true;
    // End the editor's saving state when the reply or a failure arrives.
    bool cleanUp = true;
    bool privileged = false;
    std::optional<QString> url;
    std::optional<QString> deleteURL;
    std::optional<QString> testURL;
    std::optional<QString> testOutputURL;
    std::optional<QString> label;
    // Follow-ups through the helper service after a privileged success; never sent.
    std::optional<QString> localAgentLoadPath;
    std::optional<QString> localAgentUnloadPath;
    std::optional<QString> string;
    std::optional<QMap<QString, QString>> logQuery;
    // For a status request: answer only once the helper's status differs from the one of
    // this generation.
    std::optional<qint64> changedSince;
    // Called on the main thread with the reply, or with an error dictionary when the request
    // failed on its way; the controller then handles nothing else of it. Never sent.
    std::function<void(const PlistDict &reply)> onReply;
};

// The keys of the request, reply and error dictionaries.
namespace ActionKey {
inline const QString kind = QStringLiteral("kind");
inline const QString presentError = QStringLiteral("presentError");
inline const QString privileged = QStringLiteral("privileged");
inline const QString path = QStringLiteral("path");
inline const QString deletePath = QStringLiteral("deletePath");
inline const QString testPath = QStringLiteral("testPath");
inline const QString testOutputPath = QStringLiteral("testOutputPath");
inline const QString string = QStringLiteral("string");
inline const QString authData = QStringLiteral("authData");
inline const QString label = QStringLiteral("label");
inline const QString logQuery = QStringLiteral("logQuery");
inline const QString changedSince = QStringLiteral("changedSince");
// Replies.
inline const QString error = QStringLiteral("error");
inline const QString test = QStringLiteral("test");
// A status reply: each loaded job's status by label, the load backend's name, and the
// generation of the status, which changes whenever the status may have.
inline const QString status = QStringLiteral("status");
inline const QString backend = QStringLiteral("backend");
inline const QString generation = QStringLiteral("generation");
// Error dictionaries.
inline const QString domain = QStringLiteral("domain");
inline const QString code = QStringLiteral("code");
inline const QString description = QStringLiteral("description");
inline const QString suggestion = QStringLiteral("suggestion");
} // namespace ActionKey

// The keys of a log query.
namespace LogQueryKey {
inline const QString lastString = QStringLiteral("lastString");
inline const QString lastSeconds = QStringLiteral("lastSeconds");
inline const QString searchString = QStringLiteral("searchString");
} // namespace LogQueryKey

// The request dictionary of action. authData is the privileged connection's token, sent when
// the controller holds one.
[[nodiscard]] PlistDict actionDictionary(const Action &action,
                                         const std::optional<QByteArray> &authData);

// The path a request names for the file at url: a link is followed to its end, and for a file
// that does not exist yet the links in its folder are resolved.
[[nodiscard]] QString resolvedRequestPath(const QString &url);

// An error dictionary of the helpers' own domain.
[[nodiscard]] PlistDict actionErrorDictionary(Action::ErrorCode code,
                                              const QString &description = QString());

} // namespace Vandra
