#pragma once

#include <QWidget>

class QCheckBox;
class QSpinBox;

namespace Vandra {

class Defaults;

// The General tab: automatic help and PATH while editing, and how many revisions stay.
class GeneralPreferences final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GeneralPreferences)

public:
    explicit GeneralPreferences(Defaults &defaults, QWidget *parent = nullptr);

private:
    Defaults &m_defaults;
    QCheckBox *m_automaticHelp;
    QCheckBox *m_automaticPATH;
    QSpinBox *m_revisions;
};

} // namespace Vandra
