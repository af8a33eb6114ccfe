#pragma once

#include "store/jobeditor.h"

#include <QMap>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace Vandra {

// The Advanced page: the launchd keys that need no page of their own, as check boxes, a
// session-type menu and text fields with Choose buttons for paths.
class AdvancedPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AdvancedPage)

public:
    explicit AdvancedPage(JobEditor &editor, QWidget *parent = nullptr);

    // Shows the current job, or empty controls without one.
    void showJob();

Q_SIGNALS:
    void edited();

private:
    QCheckBox *addBox(JobEditor::Box box, const QString &name, const QString &title);
    QLineEdit *addField(JobEditor::Field field, const QString &name, const QString &title);
    QPushButton *addChooseButton(JobEditor::PathButton button, const QString &name,
                                 const QString &title);
    void updateEnabling();

    JobEditor &m_editor;
    QMap<JobEditor::Box, QCheckBox *> m_boxes;
    QMap<JobEditor::Field, QLineEdit *> m_fields;
    QList<QPushButton *> m_chooseButtons;
    QComboBox *m_sessionTypeMenu;
};

} // namespace Vandra
