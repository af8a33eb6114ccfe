#pragma once

#include "ui/common/icons.h"

#include <QHash>
#include <QIcon>
#include <QMimeType>
#include <QObject>
#include <QString>

namespace Vandra {

// The icons of the programs that jobs run and of the kinds, looked up once per identity for
// the views of jobs: asking the file-type database and the icon theme for every row each time
// a view paints costs more than the whole rest of the paint. The answers are forgotten
// whenever the job list is read again, since an image file named as an icon may have changed
// meanwhile.
class ProgramIcons final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgramIcons)

public:
    explicit ProgramIcons(QObject *parent = nullptr);

    // Icons::lookUpIdentity, once per identity and style.
    [[nodiscard]] QIcon icon(const QString &identity, Icons::Style style);
    // Icons::run and Icons::kind, from what was looked up before.
    [[nodiscard]] QIcon run(const Job &job);
    [[nodiscard]] QIcon kind(Kind kind);
    void clear();

    // The file type of a program by its name alone: programs need not exist on this machine
    // (a job file copied from elsewhere).
    [[nodiscard]] static QMimeType typeOf(const QString &path);

private:
    QHash<QString, QIcon> m_colourIcons;
    QHash<QString, QIcon> m_symbolicIcons;
};

} // namespace Vandra
