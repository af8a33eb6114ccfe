#pragma once

#include "model/section.h"
#include "ui/common/viewservices.h"

#include <QAbstractItemModel>

namespace Vandra {

// The jobs grouped into sections by kind: one top-level row per section, its jobs as
// children. Column 0 is the title or label; column 1 holds a section's count button in the tree,
// and a job's status mark. The grid and the tree show it.
class SectionModel final : public QAbstractItemModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SectionModel)

public:
    enum Column { titleColumn = 0, countColumn = 1, columnCount_ = 2 };

    // Jobs' status marks, badges and icons come from services.
    explicit SectionModel(const ViewServices &services, QObject *parent = nullptr);

    void setSections(const QList<SectionPtr> &sections);
    [[nodiscard]] const QList<SectionPtr> &sections() const { return m_sections; }

    // The row of a job: the same record, else the job of the same file; invalid if none.
    [[nodiscard]] QModelIndex indexOfJob(const JobPtr &job) const;
    [[nodiscard]] QModelIndex indexOfSection(Kind kind) const;
    [[nodiscard]] static JobPtr jobAt(const QModelIndex &index);
    // What a screen reader says of a section's heading: its title and number of jobs.
    [[nodiscard]] static QString accessibleTitle(Kind kind, qsizetype count);

    [[nodiscard]] QModelIndex index(int row, int column,
                                    const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex &child) const override;
    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    [[nodiscard]] QVariant sectionData(const Section &section, int column, int role) const;
    [[nodiscard]] QVariant jobData(const JobPtr &record, int column, int role) const;
    // The doctor's verdict on some jobs became known: their badges are drawn again.
    void healthChanged();

    QList<SectionPtr> m_sections;
    ViewServices m_services;
};

} // namespace Vandra
