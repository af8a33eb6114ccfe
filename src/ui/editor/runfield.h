#pragma once

#include <QLineEdit>

namespace Vandra {

// The Run field: a line of command text that also takes a file dropped on it, inserted the
// way the automatic help wants it.
class RunField final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RunField)

public:
    explicit RunField(QWidget *parent = nullptr);

Q_SIGNALS:
    // The user changed the text by dropping a file.
    void fileDropped(const QString &text);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace Vandra
