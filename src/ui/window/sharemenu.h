#pragma once

#include "ui/window/shareitems.h"

#include <QObject>
#include <QUrl>

#include <functional>

class QMenu;

namespace Vandra {

// The Share menu of the current job: copy its path, its file's text or its command, open the
// file in another program, or send the text by e-mail where the desktop has a mail program. It is
// filled anew each time it opens.
class ShareMenu final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShareMenu)

public:
    using UrlOpener = std::function<bool(const QUrl &)>;

    // menu: the menu to fill, not owned; opener hands URLs to the desktop; hasMailHandler
    // says whether e-mail can be offered.
    ShareMenu(QMenu *menu, std::function<JobPtr()> currentJob, UrlOpener opener,
              std::function<bool()> hasMailHandler);

    // Empties the menu and fills it with the items of the current job.
    void rebuild();

    // The e-mail that carries text as its body, titled after the job.
    [[nodiscard]] static QUrl mailUrl(const QString &subject, const QString &body);

private:
    QMenu *m_menu;
    std::function<JobPtr()> m_currentJob;
    UrlOpener m_opener;
    std::function<bool()> m_hasMailHandler;
};

} // namespace Vandra
