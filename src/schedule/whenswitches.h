#pragma once

#include <QObject>
#include <QString>

namespace Vandra {

class RuleEditorModel;

// The four switches of the When page and what using them does to the current job:
// run at load (RunAtLoad), launch again if it crashes (keep-alive), start when a volume is
// mounted (StartOnMount) and run on a schedule, which also governs the rule editor.
class WhenSwitches final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WhenSwitches)

public:
    enum class Switch { runAtLoad, keepAlive, mountedVolume, scheduled };
    Q_ENUM(Switch)

    explicit WhenSwitches(RuleEditorModel &editor, QObject *parent = nullptr);

    [[nodiscard]] static QString title(Switch which);

    // The page is loaded: the editor becomes the one saves read, its default rows are
    // recorded, and the switches show the current job.
    void load();
    // The current job is shown: the rule editor is filled and the switches follow the job.
    void update();

    [[nodiscard]] bool isOn(Switch which) const;
    // The user set a switch.
    void setSwitch(Switch which, bool isOn);

Q_SIGNALS:
    void switchChanged(WhenSwitches::Switch which, bool isOn);
    // The successful-exit option of the advanced page follows the keep-alive switch.
    void advancedPageNeedsRefresh();

private:
    void show(Switch which, bool isOn);

    RuleEditorModel &m_editor;
    bool m_states[4] = {false, false, false, false};
};

} // namespace Vandra
