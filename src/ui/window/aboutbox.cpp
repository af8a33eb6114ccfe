#include "ui/window/aboutbox.h"

#include "platform/libraryversions.h"
#include "support/localize.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <Qsci/qsciglobal.h>

namespace Vandra {

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent)
    , m_text(new QLabel(this))
    , m_backend(new QLabel(this)) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(Localize::text("About Vandra"));
    setAccessibleName(windowTitle());

    auto *title = new QLabel(QStringLiteral("<h2>Vandra</h2>"), this);
    title->setObjectName(QStringLiteral("aboutTitle"));
    title->setAccessibleName(QStringLiteral("Vandra"));

    const QString body =
        Localize::text("Version %1").arg(QStringLiteral(VANDRA_VERSION)) + u'\n' +
        Localize::text("An editor for launchd background jobs.") + u'\n' +
        Localize::text("Licensed under the GNU General Public License, version 3 or later.") +
        QStringLiteral("\n\n") + Localize::text("Built with:") + u'\n' + libraryLines().join(u'\n');
    m_text->setObjectName(QStringLiteral("aboutText"));
    m_text->setText(body);
    m_text->setAccessibleName(body);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_backend->setObjectName(QStringLiteral("aboutBackend"));
    m_backend->hide();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("aboutButtons"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_text);
    layout->addWidget(m_backend);
    layout->addWidget(buttons);
}

void AboutBox::setBackendLine(const QString &line) {
    m_backend->setText(line);
    m_backend->setAccessibleName(line);
    m_backend->setVisible(!line.isEmpty());
}

QString AboutBox::text() const {
    return m_backend->text().isEmpty() ? m_text->text()
                                       : m_text->text() + u'\n' + m_backend->text();
}

QStringList AboutBox::libraryLines() {
    return {QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
            QStringLiteral("QScintilla ") + QStringLiteral(QSCINTILLA_VERSION_STR),
            QStringLiteral("ICU ") + LibraryVersions::icu()};
}

} // namespace Vandra
