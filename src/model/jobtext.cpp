#include "model/jobtext.h"

#include "model/jobreader.h"

namespace Vandra {

JobText::JobText(std::optional<QString> text)
    : m_text(std::move(text)) {}

JobText JobText::of(const PlistDict &dict) {
    JobText text;
    // The dictionary's entries are shared, not copied, until either side changes.
    text.m_source = dict;
    return text;
}

const std::optional<QString> &JobText::text() const {
    if (m_source) {
        m_text = JobReader::plistText(*m_source);
        m_source.reset();
    }
    return m_text;
}

const QString &JobText::folded(QString (*fold)(const QString &)) const {
    if (!m_folded)
        m_folded = text() ? fold(*text()) : QString();
    return *m_folded;
}

} // namespace Vandra
