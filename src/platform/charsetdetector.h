#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// ICU's guess at the encoding of bytes of unknown origin.
class CharsetDetector final {
public:
    CharsetDetector() = delete;

    // The name of the most likely encoding, however unsure ICU is; none for no bytes.
    [[nodiscard]] static std::optional<QString> mostLikely(const QByteArray &bytes);
};
