#include "helperframereader.h"

#include "platform/helperframe.h"

#include <QtEndian>

namespace Vandra {

void HelperFrameReader::append(const QByteArray &bytes) {
    // Drop what was consumed before growing, so a long stream keeps a small buffer.
    if (m_offset > 0 && (m_offset == m_buffer.size() || m_offset > 64 * 1024)) {
        m_buffer.remove(0, m_offset);
        m_offset = 0;
    }
    m_buffer.append(bytes);
}

HelperFrameReader::Status HelperFrameReader::next(QByteArray *body) {
    const qsizetype available = m_buffer.size() - m_offset;
    if (available < HelperFrame::headerLength)
        return Status::incomplete;
    const auto length = qFromBigEndian<quint32>(m_buffer.constData() + m_offset);
    if (length > HelperFrame::maximumLength)
        return Status::tooLong;
    if (available - HelperFrame::headerLength < qsizetype(length))
        return Status::incomplete;
    *body = m_buffer.mid(m_offset + HelperFrame::headerLength, length);
    m_offset += HelperFrame::headerLength + length;
    return Status::frame;
}

void HelperFrameReader::clear() {
    m_buffer.clear();
    m_offset = 0;
}

} // namespace Vandra
