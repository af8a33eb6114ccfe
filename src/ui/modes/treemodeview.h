#pragma once

#include "model/kind.h"
#include "ui/common/viewservices.h"
#include "ui/modes/modeview.h"

#include <QSet>

class QToolButton;

namespace Vandra {

class GuardedTreeView;
class JobFilterProxy;
class SectionModel;

// The tree mode: a row per kind with a button showing its number of jobs, which opens and
// closes the section; the jobs below. Which sections are open is kept across runs. The tree
// is built once per job list; a new filter text only hides and shows rows.
class TreeModeView final : public ModeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TreeModeView)

public:
    explicit TreeModeView(const ViewServices &services, QWidget *parent = nullptr);

    void setJobs(const QList<JobPtr> &jobs) override;
    void showJobs(const QList<JobPtr> &jobs, const QString &filterText) override;
    void showCurrentJob(const JobPtr &job) override;
    [[nodiscard]] QAbstractItemView *itemView() const override;
    // The sections and jobs shown: those that pass the filter.
    [[nodiscard]] QAbstractItemModel *model() const;
    // The row of a kind's section as shown; invalid while it has no job shown.
    [[nodiscard]] QModelIndex indexOfSection(Kind kind) const;
    // The count button of a kind's section, or none.
    [[nodiscard]] QToolButton *countButton(Kind kind) const;

private:
    // Gives each section shown its count button, showing the number of its jobs shown.
    void updateCountButtons();
    void removeCountButtons();
    void restoreExpansion();
    void rememberExpansion(const QModelIndex &section, bool isExpanded);
    [[nodiscard]] static std::optional<QSet<int>> storedExpansion();

    SectionModel *m_model;
    JobFilterProxy *m_proxy;
    GuardedTreeView *m_view;
    bool m_isRestoring = false;
};

} // namespace Vandra
