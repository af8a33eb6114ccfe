#pragma once

#include "model/kind.h"
#include "ui/modes/modeview.h"

#include <QSet>

class GuardedTreeView;
class QToolButton;
class SectionModel;

// The tree mode: a row per kind with a button showing its number of jobs, which opens and
// closes the section; the jobs below. Which sections are open is kept across runs.
class TreeModeView final : public ModeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TreeModeView)

public:
    explicit TreeModeView(QWidget *parent = nullptr);

    void setJobs(const QList<JobPtr> &jobs) override;
    void showCurrentJob(const JobPtr &job) override;
    [[nodiscard]] QAbstractItemView *itemView() const override;
    [[nodiscard]] SectionModel *model() const { return m_model; }
    // The count button of a kind's section, or none.
    [[nodiscard]] QToolButton *countButton(Kind kind) const;

private:
    void restoreExpansion();
    void rememberExpansion(const QModelIndex &section, bool isExpanded);
    [[nodiscard]] static std::optional<QSet<int>> storedExpansion();

    SectionModel *m_model;
    GuardedTreeView *m_view;
    bool m_isRestoring = false;
};
