#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

// Named attributes kept by the file system beside a file's contents ("user.*" on Linux).
// Where the file system has none, reads give none and writes fail quietly.
class ExtendedAttributes final {
public:
    ExtendedAttributes() = delete;

    // The attribute's value; none when the file or the attribute is missing, or the file
    // system keeps no attributes.
    [[nodiscard]] static std::optional<QByteArray> read(const QString &path, const QString &name);
    // False when the value could not be stored.
    static bool write(const QString &path, const QString &name, const QByteArray &value);
    static bool remove(const QString &path, const QString &name);
};

} // namespace Vandra
