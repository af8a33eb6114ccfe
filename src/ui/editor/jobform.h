#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Vandra {

class JobEditor;
class RunField;

// The first page of the editor: the job's kind, name, command and enabled state. Every edit
// goes straight to the job editor.
class JobForm final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobForm)

public:
    explicit JobForm(JobEditor &editor, QWidget *parent = nullptr);

    // Shows the current job.
    void updateForm();

Q_SIGNALS:
    // The user changed the job.
    void edited();

private:
    void buildKindMenu();
    void chooseProgram();
    void updateEnabling();

    JobEditor &m_editor;
    QComboBox *m_kindMenu;
    QLineEdit *m_nameField;
    RunField *m_runField;
    QLabel *m_runIcon;
    QPushButton *m_chooseButton;
    QCheckBox *m_enabledBox;
};

} // namespace Vandra
