#pragma once

#include "model/job.h"
#include "ui/common/viewservices.h"
#include "ui/modes/listcolumn.h"

#include <QAbstractTableModel>

namespace Vandra {

// One row per job, in the columns of the list mode. The Sort role gives each column's key:
// a text, the kind's position among all kinds, or a flag.
class JobTableModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobTableModel)

public:
    // The status column, badges and icons come from services.
    explicit JobTableModel(const ViewServices &services, QObject *parent = nullptr);

    void setJobs(const QList<JobPtr> &jobs);
    [[nodiscard]] const QList<JobPtr> &jobs() const { return m_jobs; }
    // The row of a job: the same record, else the job of the same file; -1 if none.
    [[nodiscard]] int rowOfJob(const JobPtr &job) const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<JobPtr> m_jobs;
    ViewServices m_services;
};

} // namespace Vandra
