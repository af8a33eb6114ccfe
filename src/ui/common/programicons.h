#pragma once

#include "ui/common/icons.h"

#include <QHash>
#include <QIcon>
#include <QMimeType>
#include <QString>

namespace Vandra {

// The icons and file types of the programs that jobs run, looked up once per path: asking
// the file-type database and the icon theme for every row each time a view paints costs more
// than the whole rest of the paint. The answers are forgotten whenever the job list is read
// again, since an image file named as an icon may have changed meanwhile.
class ProgramIcons final {
public:
    static ProgramIcons &shared();

    // Icons::lookUpIdentity, once per identity and style.
    [[nodiscard]] QIcon icon(const QString &identity, Icons::Style style);
    // typeOf, once per path.
    [[nodiscard]] QMimeType type(const QString &path);
    void clear();

    // The file type of a program by its name alone: programs need not exist on this machine
    // (a job file copied from elsewhere).
    [[nodiscard]] static QMimeType typeOf(const QString &path);

private:
    ProgramIcons();

    QHash<QString, QIcon> m_colourIcons;
    QHash<QString, QIcon> m_symbolicIcons;
    QHash<QString, QMimeType> m_types;
};

} // namespace Vandra
