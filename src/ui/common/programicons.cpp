#include "ui/common/programicons.h"

#include "model/joblist.h"
#include "model/kind.h"

#include <QMimeDatabase>

namespace Vandra {

ProgramIcons::ProgramIcons(QObject *parent)
    : QObject(parent) {
    connect(&JobList::shared(), &JobList::jobsUpdated, this, &ProgramIcons::clear);
}

QIcon ProgramIcons::icon(const QString &identity, Icons::Style style) {
    QHash<QString, QIcon> &icons =
        style == Icons::Style::symbolic ? m_symbolicIcons : m_colourIcons;
    const auto known = icons.constFind(identity);
    if (known != icons.cend())
        return *known;
    return *icons.insert(identity, Icons::lookUpIdentity(identity, style));
}

QIcon ProgramIcons::run(const Job &job) {
    return Icons::orExecutable(job.runIcon ? icon(*job.runIcon, Icons::Style::fullColour)
                                           : QIcon());
}

QIcon ProgramIcons::kind(Kind kind) {
    return icon(Kinds::icon(kind), Icons::Style::symbolic);
}

void ProgramIcons::clear() {
    m_colourIcons.clear();
    m_symbolicIcons.clear();
}

QMimeType ProgramIcons::typeOf(const QString &path) {
    return QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
}

} // namespace Vandra
