#pragma once

#include <QByteArray>

namespace Vandra {

// Cuts a byte stream into frames of the helpers' wire format (see helperframe.h).
class HelperFrameReader final {
public:
    enum class Status {
        incomplete, // more bytes are needed
        frame,      // one body was taken
        tooLong,    // the next frame announces a body over the limit; the stream is unusable
    };

    void append(const QByteArray &bytes);
    // Takes the next complete body off the stream.
    Status next(QByteArray *body);

    // Bytes of an unfinished frame are waiting.
    [[nodiscard]] bool hasPartialFrame() const { return m_offset < m_buffer.size(); }
    void clear();

private:
    QByteArray m_buffer;
    qsizetype m_offset = 0;
};

} // namespace Vandra
