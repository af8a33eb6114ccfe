#pragma once

#include <QObject>

class QMenu;

namespace Vandra {

class RevisionController;

// Fills the File menu's Revisions submenu with the current job's revisions, newest first,
// and a Clear Menu item; the submenu is offered only when the controller allows it.
class RevisionsMenu final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RevisionsMenu)

public:
    // menu: the Revisions submenu, rebuilt each time fileMenu (when given) is about to show.
    RevisionsMenu(QMenu *menu, RevisionController &controller, QMenu *fileMenu = nullptr);

    // Rebuilds the items and decides whether the submenu can be chosen.
    void rebuild();

Q_SIGNALS:
    // A revision became the current job, as an unsaved edit.
    void revisionInserted();

private:
    QMenu *m_menu;
    RevisionController &m_controller;
};

} // namespace Vandra
