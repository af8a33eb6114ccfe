#pragma once

#include <QObject>

class QWidget;

namespace Vandra {

// Follows the sheets of a window: the dialogs modal to it that are open. Commands are
// unavailable while one is, since the sheet asks about the job they would act on.
class SheetWatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SheetWatcher)

public:
    explicit SheetWatcher(QWidget &window);

    [[nodiscard]] bool hasSheet() const;

Q_SIGNALS:
    void sheetChanged(bool hasSheet);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void recheck();

    QWidget &m_window;
    bool m_hasSheet = false;
};

} // namespace Vandra
