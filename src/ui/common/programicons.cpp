#include "ui/common/programicons.h"

#include "model/joblist.h"

#include <QMimeDatabase>

namespace Vandra {

ProgramIcons &ProgramIcons::shared() {
    static ProgramIcons icons;
    return icons;
}

ProgramIcons::ProgramIcons() {
    JobList &jobs = JobList::shared();
    QObject::connect(&jobs, &JobList::jobsUpdated, &jobs, [] { shared().clear(); });
}

QIcon ProgramIcons::icon(const QString &identity, Icons::Style style) {
    QHash<QString, QIcon> &icons =
        style == Icons::Style::symbolic ? m_symbolicIcons : m_colourIcons;
    const auto known = icons.constFind(identity);
    if (known != icons.cend())
        return *known;
    return *icons.insert(identity, Icons::lookUpIdentity(identity, style));
}

QMimeType ProgramIcons::type(const QString &path) {
    const auto known = m_types.constFind(path);
    if (known != m_types.cend())
        return *known;
    return *m_types.insert(path, typeOf(path));
}

void ProgramIcons::clear() {
    m_colourIcons.clear();
    m_symbolicIcons.clear();
    m_types.clear();
}

QMimeType ProgramIcons::typeOf(const QString &path) {
    return QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
}

} // namespace Vandra
