#pragma once

#include "schedule/virtualtimeline.h"
#include "ui/common/viewservices.h"

#include <QAbstractTableModel>
#include <QTimeZone>

#include <array>
#include <memory>

namespace Vandra {

// The rows of the timeline: day and interval headings, starts, jobs that repeat. Column 0 is
// the time of a start, column 1 the name; a heading's name is in column 0 and spans both.
// A month of many jobs runs to millions of rows, so rows are made when a view asks for them
// and only the last ones made are kept. A view is given a first screen's worth of rows and
// more as it scrolls towards their end (canFetchMore): its header keeps a record for every
// row it is told of, which took more memory and time than the rows themselves.
class TimelineModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimelineModel)

public:
    enum Column { timeColumn = 0, nameColumn = 1, columnCount_ = 2 };
    static constexpr int groupRowHeight = 30;
    static constexpr int rowHeight = 26;
    static constexpr int keptRows = 256;
    static constexpr int firstRows = 4096;

    // The rows' badges come from services.
    explicit TimelineModel(const ViewServices &services, QObject *parent = nullptr);
    ~TimelineModel() override;

    // Shows timeline. The rows that both have keep their place in the view, which is told of
    // their new data and of the rows added or removed at the end: a reset would have it lay
    // out millions of rows again.
    void setTimeline(std::unique_ptr<VirtualTimeline> timeline);
    // Row index, made or kept.
    [[nodiscard]] Timeline row(int index) const;
    // The rows of the headings, ascending.
    [[nodiscard]] QList<int> headingRows() const;
    // The zone the times are shown in; the user's unless told.
    void setTimeZone(const QTimeZone &zone) { m_zone = zone; }
    // The first start or interval row of a job file, given to the view if it was not yet;
    // -1 if none.
    [[nodiscard]] int firstRowOfUrl(const QString &url);
    // Every row of the timeline, given to the view or not.
    [[nodiscard]] int totalRowCount() const { return m_total; }
    // What the rows take: the timeline's own tables and the rows kept.
    [[nodiscard]] qsizetype heldBytes() const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    [[nodiscard]] bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

Q_SIGNALS:
    // A new timeline is shown; its headings may be at other rows.
    void timelineChanged();

private:
    struct KeptRow {
        int index = -1;
        Timeline row;
    };

    // Gives the view the rows up to row.
    void showRowsTo(int row);
    [[nodiscard]] const Timeline &keptRow(int index) const;
    [[nodiscard]] QVariant timeData(const Timeline &row, int role) const;
    [[nodiscard]] QVariant nameData(const Timeline &row, int role) const;

    ViewServices m_services;
    std::unique_ptr<VirtualTimeline> m_timeline;
    // The timeline's rows, but no more than a view can count (an int).
    int m_total = 0;
    // The rows the view was given; between the steps of showing a new timeline, those of the
    // one before.
    int m_rows = 0;
    // Rows by their index modulo the size: a view asks for the same rows many times over.
    mutable std::unique_ptr<std::array<KeptRow, keptRows>> m_kept;
    QTimeZone m_zone = QTimeZone::systemTimeZone();
};

} // namespace Vandra
