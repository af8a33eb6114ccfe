#include "store/knownkeys.h"

#include "model/launchdkey.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <vector>

namespace Vandra {

namespace KnownKeys {

namespace {

using enum Shape;

const QHash<QString, Shape> &table() {
    static const QHash<QString, Shape> keys = [] {
        QHash<QString, Shape> t;
        for (const char *key : {"Label", "Program", "UserName", "GroupName", "RootDirectory",
                                "WorkingDirectory", "StandardInPath", "StandardOutPath",
                                "StandardErrorPath", "ProcessType", "BundleProgram"})
            t.insert(QString::fromLatin1(key), text);
        for (const char *key : {"Disabled",
                                "RunAtLoad",
                                "StartOnMount",
                                "EnableGlobbing",
                                "EnableTransactions",
                                "EnablePressuredExit",
                                "OnDemand",
                                "Debug",
                                "WaitForDebugger",
                                "AbandonProcessGroup",
                                "LowPriorityIO",
                                "LowPriorityBackgroundIO",
                                "LaunchOnlyOnce",
                                "SessionCreate",
                                "LegacyTimers",
                                "InitGroups",
                                "HopefullyExitsFirst",
                                "HopefullyExitsLast",
                                "ServiceIPC",
                                "MaterializeDatalessFiles"})
            t.insert(QString::fromLatin1(key), boolean);
        for (const char *key :
             {"StartInterval", "TimeOut", "ExitTimeOut", "ThrottleInterval", "Nice"})
            t.insert(QString::fromLatin1(key), integer);
        for (const char *key : {"ProgramArguments", "WatchPaths", "QueueDirectories",
                                "LimitLoadToHosts", "LimitLoadFromHosts"})
            t.insert(QString::fromLatin1(key), texts);
        for (const char *key : {"LimitLoadToSessionType", "AssociatedBundleIdentifiers"})
            t.insert(QString::fromLatin1(key), textOrTexts);
        for (const char *key : {"EnvironmentVariables", "SoftResourceLimits", "HardResourceLimits",
                                "MachServices", "Sockets", "LaunchEvents", "inetdCompatibility",
                                "LimitLoadToHardware", "LimitLoadFromHardware"})
            t.insert(QString::fromLatin1(key), dictionary);
        t.insert(QStringLiteral("Umask"), integerOrText);
        t.insert(LaunchdKey::KeepAlive, keepAlive);
        t.insert(LaunchdKey::StartCalendarInterval::key, calendar);
        return t;
    }();
    return keys;
}

// Edits between two keys, letters compared without case; a swap of neighbours counts once.
int distance(const QString &a, const QString &b) {
    const QString x = a.toLower();
    const QString y = b.toLower();
    const qsizetype n = x.size();
    const qsizetype m = y.size();
    std::vector<std::vector<int>> d(size_t(n + 1), std::vector<int>(size_t(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        d[size_t(i)][0] = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        d[0][size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = x[i - 1] == y[j - 1] ? 0 : 1;
            int best = std::min({d[size_t(i - 1)][size_t(j)] + 1, d[size_t(i)][size_t(j - 1)] + 1,
                                 d[size_t(i - 1)][size_t(j - 1)] + cost});
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
                best = std::min(best, d[size_t(i - 2)][size_t(j - 2)] + 1);
            d[size_t(i)][size_t(j)] = best;
        }
    }
    return d[size_t(n)][size_t(m)];
}

bool isCalendarEntry(const PlistValue &value) {
    const PlistDict *entry = value.dict();
    return entry && std::all_of(entry->begin(), entry->end(),
                                [](const PlistDict::Entry &e) { return e.second.isInteger(); });
}

std::optional<bool> booleanFrom(const PlistValue &value) {
    if (const std::optional<qint64> number = value.toInteger();
        number && (*number == 0 || *number == 1))
        return *number == 1;
    if (const std::optional<QString> word = value.toString()) {
        const QString w = word->trimmed().toLower();
        if (w == QLatin1String("true") || w == QLatin1String("yes") || w == QLatin1String("1"))
            return true;
        if (w == QLatin1String("false") || w == QLatin1String("no") || w == QLatin1String("0"))
            return false;
    }
    return std::nullopt;
}

std::optional<qint64> integerFrom(const PlistValue &value) {
    if (const std::optional<QString> word = value.toString()) {
        bool ok = false;
        const qint64 number = word->trimmed().toLongLong(&ok);
        if (ok)
            return number;
    }
    if (const std::optional<double> real = value.toReal(); real && *real == double(qint64(*real)))
        return qint64(*real);
    return std::nullopt;
}

} // namespace

std::optional<Shape> shapeOf(const QString &key) {
    const auto found = table().constFind(key);
    if (found == table().cend())
        return std::nullopt;
    return *found;
}

bool isKnown(const QString &key) {
    return table().contains(key);
}

std::optional<QString> nearest(const QString &key) {
    // Short keys are too easily near something by chance.
    const int allowed = key.size() < 5 ? 0 : key.size() < 9 ? 1 : 2;
    std::optional<QString> best;
    int bestDistance = allowed + 1;
    QStringList candidates = table().keys();
    candidates.sort(); // the same answer in every run, whatever the hash order
    for (const QString &candidate : candidates) {
        const int d = distance(key, candidate);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidate;
        }
    }
    return best;
}

bool fits(const PlistValue &value, Shape shape) {
    switch (shape) {
    case text:
        return value.isString();
    case boolean:
        return value.isBool();
    case integer:
        return value.isInteger();
    case texts:
        return value.toStringList().has_value();
    case textOrTexts:
        return value.isString() || value.toStringList().has_value();
    case integerOrText:
        return value.isInteger() || value.isString();
    case dictionary:
        return value.isDict();
    case keepAlive:
        return value.isBool() || value.isDict();
    case calendar:
        if (const PlistArray *entries = value.array())
            return std::all_of(entries->begin(), entries->end(), isCalendarEntry);
        return isCalendarEntry(value);
    }
    return false;
}

std::optional<PlistValue> converted(const PlistValue &value, Shape shape) {
    switch (shape) {
    case boolean:
    case keepAlive:
        if (const std::optional<bool> b = booleanFrom(value))
            return PlistValue(*b);
        return std::nullopt;
    case integer:
        if (const std::optional<qint64> number = integerFrom(value))
            return PlistValue(*number);
        return std::nullopt;
    case texts:
        if (value.isString())
            return PlistValue(QStringList{*value.toString()});
        return std::nullopt;
    case text:
        if (const std::optional<qint64> number = value.toInteger())
            return PlistValue(QString::number(*number));
        return std::nullopt;
    case textOrTexts:
    case integerOrText:
    case dictionary:
    case calendar:
        return std::nullopt;
    }
    return std::nullopt;
}

QString describe(Shape shape) {
    switch (shape) {
    case text:
        return QCoreApplication::translate("KnownKeys", "a text");
    case boolean:
        return QCoreApplication::translate("KnownKeys", "true or false");
    case integer:
        return QCoreApplication::translate("KnownKeys", "a whole number");
    case texts:
        return QCoreApplication::translate("KnownKeys", "a list of texts");
    case textOrTexts:
        return QCoreApplication::translate("KnownKeys", "a text or a list of texts");
    case integerOrText:
        return QCoreApplication::translate("KnownKeys", "a number");
    case dictionary:
        return QCoreApplication::translate("KnownKeys", "a dictionary");
    case keepAlive:
        return QCoreApplication::translate("KnownKeys",
                                           "true, false or a dictionary of conditions");
    case calendar:
        return QCoreApplication::translate(
            "KnownKeys", "a dictionary or a list of dictionaries of whole numbers");
    }
    return {};
}

} // namespace KnownKeys

} // namespace Vandra
