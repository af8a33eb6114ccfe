#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace Vandra {

// Builds binary property lists object by object, including ones no writer would make.
// References and offsets are 4 bytes wide.
class BinaryPlistBuilder final {
public:
    // Adds one object (marker and contents) and gives its index.
    int add(const QByteArray &object) {
        m_objects.append(object);
        return int(m_objects.size() - 1);
    }
    [[nodiscard]] int size() const { return int(m_objects.size()); }

    [[nodiscard]] QByteArray build(int top = 0) const {
        QByteArray out("bplist00");
        QList<quint32> offsets;
        for (const QByteArray &object : m_objects) {
            offsets.append(quint32(out.size()));
            out.append(object);
        }
        const quint64 tableOffset = quint64(out.size());
        for (const quint32 offset : offsets)
            out.append(bigEndian(offset));
        out.append(QByteArray(6, '\0'));
        out.append(char(4));
        out.append(char(4));
        out.append(bigEndian(quint64(m_objects.size())));
        out.append(bigEndian(quint64(top)));
        out.append(bigEndian(tableOffset));
        return out;
    }

    static QByteArray ascii(const QByteArray &text) { return char(0x50 | text.size()) + text; }
    static QByteArray utf16(const QString &text) {
        QByteArray object(1, char(0x60 | text.size()));
        for (const QChar c : text)
            object.append(bigEndian(quint16(c.unicode())));
        return object;
    }
    static QByteArray integer(qint64 value) { return char(0x13) + bigEndian(quint64(value)); }
    // A 16-byte integer from its high and low halves.
    static QByteArray integer128(quint64 high, quint64 low) {
        return char(0x14) + bigEndian(high) + bigEndian(low);
    }
    static QByteArray date(double secondsSince2001) {
        quint64 bits = 0;
        std::memcpy(&bits, &secondsSince2001, sizeof bits);
        return char(0x33) + bigEndian(bits);
    }
    static QByteArray array(const QList<int> &items) {
        QByteArray object(1, char(0xA0 | items.size()));
        for (const int item : items)
            object.append(bigEndian(quint32(item)));
        return object;
    }
    static QByteArray dict(const QList<int> &keys, const QList<int> &values) {
        QByteArray object(1, char(0xD0 | keys.size()));
        for (const int key : keys)
            object.append(bigEndian(quint32(key)));
        for (const int value : values)
            object.append(bigEndian(quint32(value)));
        return object;
    }

    template <typename T> static QByteArray bigEndian(T value) {
        QByteArray bytes(sizeof(T), '\0');
        qToBigEndian(value, bytes.data());
        return bytes;
    }

private:
    QList<QByteArray> m_objects;
};

} // namespace Vandra
