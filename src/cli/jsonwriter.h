#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QStringView>
#include <QVarLengthArray>

#include <concepts>
#include <cstddef>
#include <optional>
#include <type_traits>

namespace Vandra {

// Integers other than bool and the character types, which are no numbers in JSON.
template <typename T>
concept JsonInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                      !std::same_as<T, char8_t> && !std::same_as<T, char16_t> &&
                      !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>;

// Writes one JSON value as UTF-8 text, straight into one growing buffer. The indented
// layout is byte for byte that of QJsonDocument::toJson(QJsonDocument::Indented), with the
// members of an object in the order they are written; the compact one is that of
// QJsonDocument::Compact. Text that is not valid UTF-16 (a lone surrogate) is written as
// U+FFFD, so the output is always valid UTF-8.
class JsonWriter final {
public:
    enum class Layout { indented, compact };

    explicit JsonWriter(Layout layout = Layout::indented);

    // Room for this many bytes in all, so that a large document grows its buffer once.
    void reserve(qsizetype bytes) { m_out.reserve(bytes); }

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // The name of the next member of the current object; its value follows.
    void key(QLatin1StringView name);
    void key(QStringView name);
    void key(const char *) = delete; // say which encoding: "name"_L1 or u"name"

    void value(QStringView text);
    void value(QLatin1StringView text);
    // A pointer would otherwise become a Boolean.
    template <typename C> void value(const C *) = delete;
    void value(bool isTrue);
    void value(double number); // NaN and the infinities are not JSON: null
    void value(std::nullptr_t);

    template <JsonInteger T> void value(T number) {
        if constexpr (std::is_signed_v<T>)
            writeInteger(qint64(number));
        else
            writeUnsigned(quint64(number));
    }

    template <typename T> void value(const std::optional<T> &maybe) {
        if (maybe)
            value(*maybe);
        else
            value(nullptr);
    }

    // The text so far; complete once the outermost value is closed.
    [[nodiscard]] const QByteArray &data() const { return m_out; }
    [[nodiscard]] QByteArray take() { return std::move(m_out); }

private:
    struct Level {
        bool isObject = false;
        bool hasItems = false;
    };

    void beginKey();
    void endKey();
    void beforeValue();
    void afterValue();
    void beginContainer(char open, bool isObject);
    void endContainer(char close, bool isObject);
    void newItem();
    void indent(qsizetype depth);
    void writeString(QStringView text);
    void writeString(QLatin1StringView text);
    void writeInteger(qint64 number);
    void writeUnsigned(quint64 number);
    // Makes room for at most extra more bytes and returns where they go; commit() then sets
    // how many were written.
    char *claim(qsizetype extra);
    void commit(const char *end);

    QByteArray m_out;
    QVarLengthArray<Level, 16> m_levels;
    bool m_isIndented;
    bool m_isAfterKey = false;
};

} // namespace Vandra
