#pragma once

#include "platform/plistvalue.h"

#include <QString>

#include <optional>

namespace Vandra {

// The text of a job that the file view shows and the filter searches: the XML text of its
// dictionary as read, or a fixed text for items without one. The XML text is made on first
// use, since listing jobs never needs it, and kept, with its folded form for the filter, until
// the text is set again.
class JobText final {
public:
    JobText() = default;
    // A fixed text, or none.
    JobText(std::optional<QString> text); // NOLINT(google-explicit-constructor): a text is one
    JobText(const QString &text)
        : JobText(std::optional<QString>(text)) {}

    // The XML text of dict, made when first asked for. The dictionary is kept as it is now.
    [[nodiscard]] static JobText of(const PlistDict &dict);

    [[nodiscard]] const std::optional<QString> &text() const;
    [[nodiscard]] bool hasText() const { return text().has_value(); }
    // The text after fold (the filter's folding), made once; empty without a text.
    [[nodiscard]] const QString &folded(QString (*fold)(const QString &)) const;
    void reset() { *this = JobText(); }

private:
    // The dictionary the text is still to be made from.
    mutable std::optional<PlistDict> m_source;
    mutable std::optional<QString> m_text;
    mutable std::optional<QString> m_folded;
};

} // namespace Vandra
