#include "ui/editor/runfield.h"

#include "run/runhelper.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace Vandra {

namespace {

bool hasFile(const QMimeData *data) {
    return data && data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile();
}

// A file is taken as a copy; anything else is left to the line edit.
bool acceptFile(QDropEvent *event) {
    if (!hasFile(event->mimeData()))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

} // namespace

RunField::RunField(QWidget *parent)
    : QLineEdit(parent) {
    setAcceptDrops(true);
}

void RunField::dragEnterEvent(QDragEnterEvent *event) {
    if (!acceptFile(event))
        QLineEdit::dragEnterEvent(event);
}

void RunField::dragMoveEvent(QDragMoveEvent *event) {
    if (!acceptFile(event))
        QLineEdit::dragMoveEvent(event);
}

void RunField::dropEvent(QDropEvent *event) {
    if (!hasFile(event->mimeData()) || isReadOnly()) {
        QLineEdit::dropEvent(event);
        return;
    }
    // Only the first file counts, inserted where it was dropped.
    const QString path = event->mimeData()->urls().first().toLocalFile();
    const int position = cursorPositionAt(event->position().toPoint());
    QString changed = text();
    changed.insert(position, RunHelper::droppedFileText(path));
    setText(changed);
    acceptFile(event);
    Q_EMIT fileDropped(changed);
}

} // namespace Vandra
