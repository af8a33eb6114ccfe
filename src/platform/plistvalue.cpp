#include "platform/plistvalue.h"

#include <QHash>

#include <cmath>
#include <limits>

namespace Vandra {

namespace {

// Below this size a linear scan beats building a hash of the keys.
constexpr qsizetype smallDictionary = 16;

} // namespace

PlistDict::PlistDict(std::initializer_list<Entry> entries) {
    m_entries.reserve(qsizetype(entries.size()));
    for (const Entry &entry : entries)
        insert(entry.first, entry.second);
}

PlistDict PlistDict::fromEntries(QList<Entry> &&entries) {
    // The entries stay in the list they came in, moved up over repeated keys: a second list
    // would be one more allocation per dictionary read.
    const bool isSmall = entries.size() <= smallDictionary;
    QHash<QString, qsizetype> positions;
    if (!isSmall)
        positions.reserve(entries.size());
    qsizetype kept = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        qsizetype found = -1;
        if (isSmall) {
            for (qsizetype j = 0; j < kept && found < 0; ++j) {
                if (entries.at(j).first == entries.at(i).first)
                    found = j;
            }
        } else {
            found = positions.value(entries.at(i).first, -1);
        }
        if (found >= 0) {
            entries[found].second = std::move(entries[i].second);
            continue;
        }
        if (!isSmall)
            positions.insert(entries.at(i).first, kept);
        if (kept != i)
            entries[kept] = std::move(entries[i]);
        ++kept;
    }
    if (kept != entries.size())
        entries.resize(kept);
    PlistDict dict;
    dict.m_entries = std::move(entries);
    return dict;
}

qsizetype PlistDict::indexOf(const QString &key) const {
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first == key)
            return i;
    }
    return -1;
}

const PlistValue *PlistDict::find(const QString &key) const {
    const qsizetype i = indexOf(key);
    return i < 0 ? nullptr : &m_entries[i].second;
}

PlistValue *PlistDict::find(const QString &key) {
    const qsizetype i = indexOf(key);
    return i < 0 ? nullptr : &m_entries[i].second;
}

PlistValue PlistDict::value(const QString &key) const {
    const PlistValue *found = find(key);
    return found ? *found : PlistValue();
}

QStringList PlistDict::keys() const {
    QStringList keys;
    keys.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        keys.append(entry.first);
    return keys;
}

void PlistDict::insert(const QString &key, const PlistValue &value) {
    if (PlistValue *existing = find(key))
        *existing = value;
    else
        m_entries.append(Entry(key, value));
}

void PlistDict::insert(const QString &key, PlistValue &&value) {
    if (PlistValue *existing = find(key))
        *existing = std::move(value);
    else
        m_entries.append(Entry(key, std::move(value)));
}

void PlistDict::remove(const QString &key) {
    const qsizetype i = indexOf(key);
    if (i >= 0)
        m_entries.removeAt(i);
}

bool operator==(const PlistDict &a, const PlistDict &b) {
    if (a.size() != b.size())
        return false;
    if (a.size() <= smallDictionary) {
        for (const PlistDict::Entry &entry : a) {
            const PlistValue *other = b.find(entry.first);
            if (!other || !(entry.second == *other))
                return false;
        }
        return true;
    }
    QHash<QString, const PlistValue *> others;
    others.reserve(b.size());
    for (const PlistDict::Entry &entry : b)
        others.insert(entry.first, &entry.second);
    for (const PlistDict::Entry &entry : a) {
        const PlistValue *other = others.value(entry.first);
        if (!other || !(entry.second == *other))
            return false;
    }
    return true;
}

PlistValue::PlistValue(const QStringList &texts) {
    PlistArray array;
    array.reserve(texts.size());
    for (const QString &text : texts)
        array.append(PlistValue(text));
    m_value = std::move(array);
}

PlistValue::PlistValue(quint64 integer) {
    if (integer <= quint64(std::numeric_limits<qint64>::max()))
        m_value = qint64(integer);
    else
        m_value = BigInteger{integer};
}

std::optional<QString> PlistValue::toString() const {
    if (const auto *text = std::get_if<QString>(&m_value))
        return *text;
    return std::nullopt;
}

std::optional<bool> PlistValue::toBool() const {
    if (const auto *boolean = std::get_if<bool>(&m_value))
        return *boolean;
    return std::nullopt;
}

std::optional<qint64> PlistValue::toInteger() const {
    if (const auto *integer = std::get_if<qint64>(&m_value))
        return *integer;
    return std::nullopt;
}

std::optional<quint64> PlistValue::toUnsigned() const {
    if (const auto *integer = std::get_if<qint64>(&m_value)) {
        if (*integer >= 0)
            return quint64(*integer);
        return std::nullopt;
    }
    if (const auto *big = std::get_if<BigInteger>(&m_value))
        return big->value;
    return std::nullopt;
}

std::optional<double> PlistValue::toReal() const {
    if (const auto *real = std::get_if<double>(&m_value))
        return *real;
    return std::nullopt;
}

std::optional<double> PlistValue::toNumber() const {
    if (const auto *integer = std::get_if<qint64>(&m_value))
        return double(*integer);
    if (const auto *big = std::get_if<BigInteger>(&m_value))
        return double(big->value);
    return toReal();
}

std::optional<QDateTime> PlistValue::toDate() const {
    if (const auto *date = std::get_if<QDateTime>(&m_value))
        return *date;
    return std::nullopt;
}

std::optional<QByteArray> PlistValue::toData() const {
    if (const auto *data = std::get_if<QByteArray>(&m_value))
        return *data;
    return std::nullopt;
}

std::optional<QStringList> PlistValue::toStringList() const {
    const PlistArray *items = array();
    if (!items)
        return std::nullopt;
    QStringList texts;
    texts.reserve(items->size());
    for (const PlistValue &item : *items) {
        const auto *text = std::get_if<QString>(&item.m_value);
        if (!text)
            return std::nullopt;
        texts.append(*text);
    }
    return texts;
}

bool operator==(const PlistValue &a, const PlistValue &b) {
    if (a.m_value.index() != b.m_value.index())
        return false;
    if (const auto *real = std::get_if<double>(&a.m_value)) {
        const double other = std::get<double>(b.m_value);
        return *real == other || (std::isnan(*real) && std::isnan(other));
    }
    return a.m_value == b.m_value;
}

QString PlistValue::debugText() const {
    switch (type()) {
    case Type::None:
        return QStringLiteral("none");
    case Type::String:
        return QLatin1Char('"') + std::get<QString>(m_value) + QLatin1Char('"');
    case Type::Boolean:
        return std::get<bool>(m_value) ? QStringLiteral("true") : QStringLiteral("false");
    case Type::Integer:
        if (const auto *big = std::get_if<BigInteger>(&m_value))
            return QString::number(big->value);
        return QString::number(std::get<qint64>(m_value));
    case Type::Real:
        return QString::number(std::get<double>(m_value), 'g', QLocale::FloatingPointShortest) +
               QStringLiteral(" (real)");
    case Type::Date:
        return std::get<QDateTime>(m_value).toString(Qt::ISODateWithMs);
    case Type::Data:
        return QStringLiteral("<%1 bytes>").arg(std::get<QByteArray>(m_value).size());
    case Type::Array: {
        QStringList items;
        for (const PlistValue &item : std::get<PlistArray>(m_value))
            items.append(item.debugText());
        return QLatin1Char('(') + items.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    case Type::Dictionary: {
        QStringList items;
        for (const PlistDict::Entry &entry : std::get<PlistDict>(m_value))
            items.append(entry.first + QStringLiteral(" = ") + entry.second.debugText());
        return QLatin1Char('{') + items.join(QStringLiteral("; ")) + QLatin1Char('}');
    }
    }
    return {};
}

} // namespace Vandra
