#include "ui/window/sharemenu.h"

#include "support/localize.h"
#include "ui/common/icons.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace Vandra {

namespace {

void copy(const QString &text) {
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

ShareMenu::ShareMenu(QMenu *menu, std::function<JobPtr()> currentJob, UrlOpener opener,
                     std::function<bool()> hasMailHandler)
    : QObject(menu)
    , m_menu(menu)
    , m_currentJob(std::move(currentJob))
    , m_opener(std::move(opener))
    , m_hasMailHandler(std::move(hasMailHandler)) {
    connect(menu, &QMenu::aboutToShow, this, &ShareMenu::rebuild);
}

void ShareMenu::rebuild() {
    m_menu->clear();
    const JobPtr job = m_currentJob();
    const ShareItems items = ShareItems::forJob(job);
    const auto add = [this](const char *name, const QString &title, const QString &icon,
                            std::function<void()> perform) {
        QAction *action = m_menu->addAction(Icons::themed(icon, Icons::Style::symbolic), title);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, std::move(perform));
    };

    if (const std::optional<QString> file = items.file) {
        add("copyPathAction", Localize::text("Copy Path"), QStringLiteral("edit-copy"),
            [file] { copy(*file); });
    }
    if (const std::optional<QString> text = items.xmlText) {
        add("copyXmlAction", Localize::text("Copy File Text"), QStringLiteral("edit-copy"),
            [text] { copy(*text); });
    }
    if (const std::optional<QString> run = items.runText) {
        add("copyRunAction", Localize::text("Copy Command"), QStringLiteral("edit-copy"),
            [run] { copy(*run); });
    }
    if (const std::optional<QString> file = items.file) {
        add("openWithAction", Localize::text("Open With Default Application"),
            QStringLiteral("document-open"),
            [this, file] { m_opener(QUrl::fromLocalFile(*file)); });
    }
    const std::optional<QString> body = items.xmlText ? items.xmlText : items.runText;
    if (body && m_hasMailHandler && m_hasMailHandler()) {
        add("mailAction", Localize::text("Send by E-mail"), QStringLiteral("mail-send"),
            [this, body, label = job ? job->label : QString()] {
                m_opener(mailUrl(label, *body));
            });
    }
    if (m_menu->isEmpty()) {
        QAction *none = m_menu->addAction(Localize::text("Nothing to Share"));
        none->setObjectName(QStringLiteral("nothingToShareAction"));
        none->setEnabled(false);
    }
}

QUrl ShareMenu::mailUrl(const QString &subject, const QString &body) {
    // Encoded by hand: a query item may hold "&", "+" and "=", which mail programs would
    // otherwise take for separators or spaces.
    QUrl url(QStringLiteral("mailto:"));
    url.setQuery(QStringLiteral("subject=") +
                     QString::fromLatin1(QUrl::toPercentEncoding(subject)) +
                     QStringLiteral("&body=") + QString::fromLatin1(QUrl::toPercentEncoding(body)),
                 QUrl::StrictMode);
    return url;
}

} // namespace Vandra
