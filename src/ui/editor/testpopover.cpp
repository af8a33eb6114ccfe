#include "ui/editor/testpopover.h"

#include "actions/testrun.h"
#include "support/localize.h"
#include "ui/editor/controlnames.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace Vandra {

namespace {

constexpr QSize popoverSize(420, 240);
constexpr int outputPointSize = 13;

} // namespace

TestPopover::TestPopover(ActionController &controller, QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , m_testRun(new TestRun(controller, this))
    , m_progress(
          named(new QProgressBar(this), QStringLiteral("testProgress"), Localize::text("Testing")))
    , m_output(named(new QPlainTextEdit(this), QStringLiteral("testOutput"),
                     Localize::text("Test output")))
    , m_noError(named(new QLabel(Localize::noError(), this), QStringLiteral("testNoError"),
                      Localize::noError())) {
    setObjectName(QStringLiteral("testPopover"));
    setAccessibleName(Localize::text("Test"));
    setFrameShape(QFrame::StyledPanel);
    // A click on the Test button closes the popover and does not open it again.
    setAttribute(Qt::WA_NoMouseReplay);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(popoverSize);

    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_output->setReadOnly(true);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(outputPointSize);
    m_output->setFont(font);
    m_output->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_noError->setFont(font);
    m_noError->setAlignment(Qt::AlignCenter);
    m_noError->setForegroundRole(QPalette::PlaceholderText);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_progress);
    layout->addWidget(m_output, 1);
    layout->addWidget(m_noError, 1);
    m_output->hide();
    m_noError->hide();

    connect(m_testRun, &TestRun::runningChanged, m_progress, &QWidget::setVisible);
    connect(m_testRun, &TestRun::outputShown, this, &TestPopover::showText);
}

TestPopover::~TestPopover() = default;

void TestPopover::showAt(QWidget *anchor, const JobPtr &job) {
    m_output->hide();
    m_noError->hide();
    m_progress->show();
    QPoint place = anchor->mapToGlobal(QPoint(anchor->width() - width(), anchor->height()));
    if (const QScreen *screen = anchor->screen()) {
        const QRect room = screen->availableGeometry();
        place.setX(qBound(room.left(), place.x(), qMax(room.left(), room.right() - width())));
        if (place.y() + height() > room.bottom())
            place.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height());
    }
    move(place);
    show();
    // The test starts once the popover is on screen, as the user sees it spin.
    QTimer::singleShot(0, this, [this, job] { m_testRun->appear(job); });
}

void TestPopover::showOutput(const QString &output) {
    m_testRun->show(output);
}

void TestPopover::showText(const QString &text, bool isNoError) {
    m_progress->hide();
    m_output->setVisible(!isNoError);
    m_noError->setVisible(isNoError);
    if (!isNoError)
        m_output->setPlainText(text);
}

void TestPopover::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

void TestPopover::closeEvent(QCloseEvent *event) {
    if (!m_testRun->shouldClose()) {
        event->ignore();
        return;
    }
    m_testRun->removeJob();
    event->accept();
    Q_EMIT closed();
}

} // namespace Vandra
