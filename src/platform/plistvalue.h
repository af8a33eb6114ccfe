#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <variant>

namespace Vandra {

class PlistValue;
using PlistArray = QList<PlistValue>;

// A property-list dictionary: text keys in the order they were read or inserted.
// Inserting an existing key replaces its value in place. Equality ignores the order.
class PlistDict final {
public:
    using Entry = std::pair<QString, PlistValue>;

    PlistDict() = default;
    PlistDict(std::initializer_list<Entry> entries);
    // Takes the entries over; of keys given twice the last value wins, at the first position.
    [[nodiscard]] static PlistDict fromEntries(QList<Entry> &&entries);

    [[nodiscard]] qsizetype size() const { return m_entries.size(); }
    [[nodiscard]] bool isEmpty() const { return m_entries.isEmpty(); }
    [[nodiscard]] bool contains(const QString &key) const { return indexOf(key) >= 0; }
    // The value of key, or nullptr.
    [[nodiscard]] const PlistValue *find(const QString &key) const;
    [[nodiscard]] PlistValue *find(const QString &key);
    // The value of key, or a none value.
    [[nodiscard]] PlistValue value(const QString &key) const;
    [[nodiscard]] QStringList keys() const;
    void insert(const QString &key, const PlistValue &value);
    void insert(const QString &key, PlistValue &&value);
    void remove(const QString &key);
    void reserve(qsizetype size) { m_entries.reserve(size); }

    [[nodiscard]] const QList<Entry> &entries() const { return m_entries; }
    [[nodiscard]] auto begin() const { return m_entries.cbegin(); }
    [[nodiscard]] auto end() const { return m_entries.cend(); }

    friend bool operator==(const PlistDict &a, const PlistDict &b);

private:
    [[nodiscard]] qsizetype indexOf(const QString &key) const;

    QList<Entry> m_entries;
};

// One property-list value. The type tests and accessors never convert: an integer is not a
// Boolean, a real is not an integer, a text "true" is not a Boolean.
class PlistValue final {
public:
    enum class Type { None, String, Boolean, Integer, Real, Date, Data, Array, Dictionary };

    PlistValue() = default; // none: absent, not a property-list value of its own
    PlistValue(const QString &text)
        : m_value(text) {}
    PlistValue(const char *) = delete; // say QStringLiteral; no silent conversions
    PlistValue(bool boolean)
        : m_value(boolean) {}
    PlistValue(int integer)
        : m_value(qint64(integer)) {}
    PlistValue(qint64 integer)
        : m_value(integer) {}
    // Values above the signed range are kept as unsigned 64-bit integers, as launchd's
    // property lists allow.
    PlistValue(quint64 integer);
    PlistValue(double real)
        : m_value(real) {}
    PlistValue(const QDateTime &date)
        : m_value(date.toUTC()) {}
    PlistValue(const QByteArray &data)
        : m_value(data) {}
    PlistValue(const PlistArray &array)
        : m_value(array) {}
    PlistValue(const PlistDict &dict)
        : m_value(dict) {}
    PlistValue(const QStringList &texts);

    [[nodiscard]] Type type() const {
        return m_value.index() == bigIntegerIndex ? Type::Integer : Type(m_value.index());
    }
    [[nodiscard]] bool isNone() const { return type() == Type::None; }
    [[nodiscard]] bool isString() const { return type() == Type::String; }
    [[nodiscard]] bool isBool() const { return type() == Type::Boolean; }
    [[nodiscard]] bool isInteger() const { return type() == Type::Integer; }
    [[nodiscard]] bool isReal() const { return type() == Type::Real; }
    [[nodiscard]] bool isDate() const { return type() == Type::Date; }
    [[nodiscard]] bool isData() const { return type() == Type::Data; }
    [[nodiscard]] bool isArray() const { return type() == Type::Array; }
    [[nodiscard]] bool isDict() const { return type() == Type::Dictionary; }
    // Integer or real.
    [[nodiscard]] bool isNumber() const { return isInteger() || isReal(); }

    [[nodiscard]] std::optional<QString> toString() const;
    [[nodiscard]] std::optional<bool> toBool() const;
    // An integer within the signed 64-bit range; an integer above it gives none.
    [[nodiscard]] std::optional<qint64> toInteger() const;
    // A non-negative integer, up to 2^64 - 1.
    [[nodiscard]] std::optional<quint64> toUnsigned() const;
    [[nodiscard]] std::optional<double> toReal() const;
    // An integer or a real as a real.
    [[nodiscard]] std::optional<double> toNumber() const;
    [[nodiscard]] std::optional<QDateTime> toDate() const;
    [[nodiscard]] std::optional<QByteArray> toData() const;
    // The list of texts when this is an array whose every element is text.
    [[nodiscard]] std::optional<QStringList> toStringList() const;

    // Pointers into the value: never taken from a temporary, which would leave them dangling.
    [[nodiscard]] const PlistArray *array() const & { return std::get_if<PlistArray>(&m_value); }
    [[nodiscard]] PlistArray *array() & { return std::get_if<PlistArray>(&m_value); }
    const PlistArray *array() const && = delete;
    [[nodiscard]] const PlistDict *dict() const & { return std::get_if<PlistDict>(&m_value); }
    [[nodiscard]] PlistDict *dict() & { return std::get_if<PlistDict>(&m_value); }
    const PlistDict *dict() const && = delete;

    // Dates compare to the millisecond; reals compare exactly, and two NaNs count as equal
    // so that an unchanged value never looks edited.
    friend bool operator==(const PlistValue &a, const PlistValue &b);

    // A short description for logs and test failures.
    [[nodiscard]] QString debugText() const;

private:
    // An integer above the signed 64-bit range; any smaller integer is held as qint64, so
    // that each integer has one form and equal integers compare equal.
    struct BigInteger {
        quint64 value = 0;
        friend bool operator==(const BigInteger &, const BigInteger &) = default;
    };
    static constexpr std::size_t bigIntegerIndex = 9;

    std::variant<std::monostate, QString, bool, qint64, double, QDateTime, QByteArray, PlistArray,
                 PlistDict, BigInteger>
        m_value;
};

} // namespace Vandra
