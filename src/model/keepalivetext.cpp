#include "model/keepalivetext.h"

#include "model/launchdkey.h"

#include <QCoreApplication>
#include <QStringList>

namespace Vandra {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(KeepAliveText)
};

// One line for each entry of a condition that names paths or jobs: {name = Boolean}.
void describeNamed(const PlistValue &value, const char *whenTrue, const char *whenFalse,
                   const QString &key, QStringList &conditions) {
    const PlistDict *names = value.dict();
    if (!names) {
        conditions.append(key + QStringLiteral(" = ") + value.debugText());
        return;
    }
    for (const auto &[name, state] : *names) {
        if (const std::optional<bool> isTrue = state.toBool())
            conditions.append(Text::tr(*isTrue ? whenTrue : whenFalse).arg(name));
        else
            conditions.append(key + QStringLiteral(" ") + name + QStringLiteral(" = ") +
                              state.debugText());
    }
}

void describeCondition(const QString &key, const PlistValue &value, QStringList &conditions) {
    const std::optional<bool> flag = value.toBool();
    if (key == LaunchdKey::SuccessfulExit && flag)
        conditions.append(*flag ? Text::tr("after a successful exit")
                                : Text::tr("after a failed exit"));
    else if (key == QLatin1String("Crashed") && flag)
        conditions.append(*flag ? Text::tr("after a crash")
                                : Text::tr("after an exit without a crash"));
    else if (key == QLatin1String("NetworkState") && flag)
        conditions.append(*flag ? Text::tr("while the network is up")
                                : Text::tr("while the network is down"));
    else if (key == QLatin1String("AfterInitialDemand") && flag)
        conditions.append(*flag ? Text::tr("once it was started on demand")
                                : Text::tr("before it was started on demand"));
    else if (key == QLatin1String("PathState"))
        describeNamed(value, QT_TRANSLATE_NOOP("KeepAliveText", "while %1 exists"),
                      QT_TRANSLATE_NOOP("KeepAliveText", "while %1 does not exist"), key,
                      conditions);
    else if (key == QLatin1String("OtherJobEnabled"))
        describeNamed(value, QT_TRANSLATE_NOOP("KeepAliveText", "while job %1 is loaded"),
                      QT_TRANSLATE_NOOP("KeepAliveText", "while job %1 is not loaded"), key,
                      conditions);
    else if (key == QLatin1String("OtherJobActive"))
        describeNamed(value, QT_TRANSLATE_NOOP("KeepAliveText", "while job %1 runs"),
                      QT_TRANSLATE_NOOP("KeepAliveText", "while job %1 does not run"), key,
                      conditions);
    else
        conditions.append(key + QStringLiteral(" = ") + value.debugText());
}

} // namespace

namespace KeepAliveText {

QString describe(const PlistDict &plist) {
    const PlistValue keepAlive = plist.value(LaunchdKey::KeepAlive);
    if (keepAlive.isNone())
        return plist.value(LaunchdKey::OnDemand).toBool() == false ? Text::tr("yes")
                                                                   : Text::tr("no");
    if (const std::optional<bool> isOn = keepAlive.toBool())
        return *isOn ? Text::tr("yes") : Text::tr("no");
    const PlistDict *conditions = keepAlive.dict();
    if (!conditions)
        return Text::tr("no (KeepAlive is %1)").arg(keepAlive.debugText());
    if (conditions->isEmpty())
        return Text::tr("yes");
    QStringList texts;
    for (const auto &[key, value] : *conditions)
        describeCondition(key, value, texts);
    return Text::tr("yes, %1").arg(texts.join(QStringLiteral("; ")));
}

} // namespace KeepAliveText

} // namespace Vandra
