#pragma once

#include "store/finding.h"

#include <QCoreApplication>
#include <QIcon>
#include <QString>

#include <optional>

class QPainter;
class QRect;

namespace Vandra {

// The mark of the job doctor's worst finding on a job: a small coloured disc with a sign,
// drawn on its own or on the lower trailing corner of a job's icon. Every view draws it
// through here, so it looks the same in the grid, the tree, the list and the timeline.
class SeverityBadge final {
    Q_DECLARE_TR_FUNCTIONS(SeverityBadge)

public:
    SeverityBadge() = delete;

    // Draws the badge filling rect.
    static void paint(QPainter &painter, const QRect &rect, Finding::Severity severity);
    // The badge alone, for a list row or a column.
    [[nodiscard]] static QIcon icon(Finding::Severity severity);
    // base with the badge on its corner; base itself when there is no severity.
    [[nodiscard]] static QIcon badged(const QIcon &base, std::optional<Finding::Severity> severity);
    // "Error", "Warning" or "Note".
    [[nodiscard]] static QString title(Finding::Severity severity);
    // What a screen reader says for a job's item: its name and, when the doctor found
    // something, the worst of it.
    [[nodiscard]] static QString accessibleText(const QString &name,
                                                std::optional<Finding::Severity> severity);
};

} // namespace Vandra
