#pragma once

#include "schedule/timeline.h"

#include <QAbstractTableModel>
#include <QTimeZone>

// The rows of the timeline: day and interval headings, starts, jobs that repeat. Column 0 is
// the time of a start, column 1 the name; a heading's name is in column 0 and spans both.
class TimelineModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimelineModel)

public:
    enum Column { timeColumn = 0, nameColumn = 1, columnCount_ = 2 };
    static constexpr int groupRowHeight = 30;
    static constexpr int rowHeight = 26;

    explicit TimelineModel(QObject *parent = nullptr);

    void setRows(const QList<Timeline> &rows);
    [[nodiscard]] const QList<Timeline> &rows() const { return m_rows; }
    // The zone the times are shown in; the user's unless told.
    void setTimeZone(const QTimeZone &zone) { m_zone = zone; }
    // The first start or interval row of a job file; -1 if none.
    [[nodiscard]] int firstRowOfUrl(const QString &url) const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<Timeline> m_rows;
    QTimeZone m_zone = QTimeZone::systemTimeZone();
};
