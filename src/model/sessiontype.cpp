#include "model/sessiontype.h"

namespace Vandra {

namespace SessionTypes {

const QList<SessionType> &allCases() {
    static const QList<SessionType> types = {SessionType::aqua, SessionType::background,
                                             SessionType::loginWindow, SessionType::standardIO,
                                             SessionType::system};
    return types;
}

QString rawValue(SessionType type) {
    switch (type) {
    case SessionType::aqua:
        return QStringLiteral("Aqua");
    case SessionType::background:
        return QStringLiteral("Background");
    case SessionType::loginWindow:
        return QStringLiteral("LoginWindow");
    case SessionType::standardIO:
        return QStringLiteral("StandardIO");
    case SessionType::system:
        return QStringLiteral("System");
    }
    return {};
}

std::optional<SessionType> fromRaw(const QString &text) {
    for (SessionType type : allCases()) {
        if (rawValue(type) == text)
            return type;
    }
    return std::nullopt;
}

std::optional<SessionType> fromIndex(qint64 index) {
    if (index < 0 || index >= allCases().size())
        return std::nullopt;
    return allCases().at(index);
}

} // namespace SessionTypes

} // namespace Vandra
