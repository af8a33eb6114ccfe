#include "ui/sheets/revisionsmenu.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "store/revisioncontroller.h"
#include "support/localize.h"

#include <QAction>
#include <QMenu>

namespace Vandra {

RevisionsMenu::RevisionsMenu(QMenu *menu, RevisionController &controller, QMenu *fileMenu)
    : QObject(menu)
    , m_menu(menu)
    , m_controller(controller) {
    m_menu->setObjectName(QStringLiteral("revisionsMenu"));
    m_menu->setAccessibleName(m_menu->title());
    if (fileMenu)
        connect(fileMenu, &QMenu::aboutToShow, this, &RevisionsMenu::rebuild);
    // The availability also shows while the File menu is closed. Queued, because choosing an
    // item changes the current job while that item's action is still being triggered.
    connect(&Bindings::shared(), &Bindings::isEditedChanged, this, &RevisionsMenu::rebuild,
            Qt::QueuedConnection);
    connect(&JobList::shared(), &JobList::currentJobChanged, this, &RevisionsMenu::rebuild,
            Qt::QueuedConnection);
    rebuild();
}

void RevisionsMenu::rebuild() {
    if (!m_controller.isRevertEnabled()) {
        m_menu->menuAction()->setEnabled(false);
        return;
    }
    m_menu->clear();
    const QList<RevisionItem> items = m_controller.revisionItems();
    for (int i = 0; i < items.size(); ++i) {
        QAction *action = m_menu->addAction(items.at(i).title);
        action->setObjectName(QStringLiteral("revision%1").arg(i));
        const PlistDict entry = items.at(i).entry;
        connect(action, &QAction::triggered, this, [this, entry] {
            if (m_controller.insertRevision(entry))
                Q_EMIT revisionInserted();
        });
    }
    m_menu->addSeparator();
    QAction *clear = m_menu->addAction(Localize::clearMenu());
    clear->setObjectName(QStringLiteral("clearRevisions"));
    connect(clear, &QAction::triggered, this, [this] {
        m_controller.clearMenu();
        QMetaObject::invokeMethod(this, &RevisionsMenu::rebuild, Qt::QueuedConnection);
    });
    m_menu->menuAction()->setEnabled(true);
}

} // namespace Vandra
