#pragma once

#include "model/job.h"

#include <QDialog>

class QPushButton;
class QWidget;

namespace Vandra {

// A sheet: a dialog modal to its window that Escape closes. A sheet with a frame name opens
// at the size and place it had when it was last closed.
class SheetDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SheetDialog)

public:
    SheetDialog(const QString &name, const QString &title, QWidget *parent);

protected:
    // Remembers the sheet's frame in the settings under the name.
    void rememberFrame(const QString &frameName);
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    // A push button with an object name and the accessible name of its title.
    QPushButton *button(const QString &name, const QString &title);
    // A sheet's title line: its name and, when it has one, the job's label.
    [[nodiscard]] static QString jobTitle(const QString &title, const JobPtr &job);
    // Names a child for tests and gives it an accessible name for screen readers.
    static void name(QWidget *widget, const QString &objectName, const QString &accessibleName);

private:
    [[nodiscard]] QString frameKey() const;

    QString m_frameName;
    bool m_isFrameRestored = false;
};

} // namespace Vandra
