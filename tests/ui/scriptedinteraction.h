#pragma once

#include "support/interaction.h"

#include <QList>

namespace Vandra {

// Answers alerts with a fixed button and remembers what was asked; installed for the life
// of the object.
class ScriptedInteraction final : public Interaction {
public:
    explicit ScriptedInteraction(int answer = firstButton)
        : m_answer(answer) {
        Interaction::setShared(this);
    }
    ~ScriptedInteraction() override { Interaction::setShared(nullptr); }
    ScriptedInteraction(const ScriptedInteraction &) = delete;
    ScriptedInteraction &operator=(const ScriptedInteraction &) = delete;

    void setAnswer(int answer) { m_answer = answer; }
    [[nodiscard]] const QList<AlertRequest> &alerts() const { return m_alerts; }

    int alert(const AlertRequest &request) override {
        m_alerts.append(request);
        return m_answer;
    }
    std::optional<QString> savePanel(const FilePanelRequest &) override { return std::nullopt; }
    std::optional<QString> openPanel(const FilePanelRequest &) override { return std::nullopt; }
    void beep() override {}

private:
    int m_answer;
    QList<AlertRequest> m_alerts;
};

} // namespace Vandra
