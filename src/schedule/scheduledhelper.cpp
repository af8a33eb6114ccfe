#include "schedule/scheduledhelper.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/schedulerules.h"
#include "schedule/datepickercriterion.h"
#include "schedule/everyhourcriterion.h"
#include "schedule/repeatintervalcriterion.h"
#include "schedule/ruleeditormodel.h"
#include "support/dates.h"
#include "support/localize.h"

namespace Vandra {

namespace {

constexpr int daysInLongestMonth = 31;

CriterionPtr titled(const QString &name, QList<CriterionPtr> children = {}) {
    return std::make_shared<Criterion>(name, std::move(children));
}

CriterionPtr titledWithTimePicker(const QString &name) {
    return titled(name, {std::make_shared<DatePickerCriterion>()});
}

QList<CriterionPtr> dayNumbersWithTimePickers() {
    QList<CriterionPtr> days;
    days.reserve(daysInLongestMonth);
    for (int day = 1; day <= daysInLongestMonth; ++day)
        days.append(titledWithTimePicker(Localize::integer(day)));
    return days;
}

QList<CriterionPtr> buildCriteria() {
    QList<CriterionPtr> units;
    for (auto unit :
         {Scheduled::RepeatInterval::Unit::seconds, Scheduled::RepeatInterval::Unit::minutes,
          Scheduled::RepeatInterval::Unit::hours, Scheduled::RepeatInterval::Unit::days}) {
        units.append(
            titled(Scheduled::unitTitle(unit), {std::make_shared<RepeatIntervalCriterion>()}));
    }

    const QList<CriterionPtr> everyHour{std::make_shared<EveryHourCriterion>(
        QString(), QList<CriterionPtr>{titled(Localize::Lowercase::minute())})};

    QList<CriterionPtr> weekdays;
    for (const QString &name : Date::weekdays())
        weekdays.append(titledWithTimePicker(name));
    weekdays.append(titledWithTimePicker(Localize::weekdays()));
    weekdays.append(titledWithTimePicker(Localize::weekends()));

    QList<CriterionPtr> months;
    for (const QString &name : Date::months())
        months.append(titled(name, dayNumbersWithTimePickers()));

    return {
        titled(Localize::repeatInterval(), units),
        titled(Localize::everyHour(), everyHour),
        titled(Localize::everyDay(), {std::make_shared<DatePickerCriterion>()}),
        titled(Localize::dayOfWeek(), weekdays),
        titled(Localize::dayOfMonth(), dayNumbersWithTimePickers()),
        titled(Localize::dayOfYear(), months),
    };
}

// Where each kind's row keeps its text field or time picker.
constexpr qsizetype repeatIntervalFieldColumn = 2;
constexpr qsizetype everyHourFieldColumn = 1;

} // namespace

ScheduledHelper::ScheduledHelper()
    : m_criteria(buildCriteria()) {}

const ScheduledHelper &ScheduledHelper::shared() {
    static const ScheduledHelper helper;
    return helper;
}

qsizetype ScheduledHelper::numberOfChildren(const Criterion *criterion) const {
    return criterion ? criterion->childCount() : m_criteria.size();
}

CriterionPtr ScheduledHelper::child(qsizetype index, const Criterion *criterion) const {
    if (criterion)
        return criterion->child(index);
    return index >= 0 && index < m_criteria.size() ? m_criteria.at(index) : nullptr;
}

RuleValue ScheduledHelper::displayValue(const Criterion &criterion) const {
    return criterion.displayValue();
}

std::optional<QList<CriterionPtr>> ScheduledHelper::criteriaForPath(const QList<int> &path) const {
    QList<CriterionPtr> criteria;
    const Criterion *parent = nullptr;
    for (int index : path) {
        CriterionPtr next = child(index, parent);
        if (!next)
            return std::nullopt;
        criteria.append(next);
        parent = next.get();
    }
    if (!parent || parent->childCount() > 0)
        return std::nullopt;
    return criteria;
}

std::optional<RuleRow> ScheduledHelper::rowForPath(const QList<int> &path) const {
    const std::optional<QList<CriterionPtr>> criteria = criteriaForPath(path);
    if (!criteria)
        return std::nullopt;
    RuleRow row;
    row.path = path;
    for (const CriterionPtr &criterion : *criteria)
        row.values.append(displayValue(*criterion));
    return row;
}

QList<int> ScheduledHelper::defaultPath(Scheduled::Kind kind) const {
    QList<int> path{int(kind)};
    const Criterion *criterion = child(int(kind), nullptr).get();
    while (criterion && criterion->childCount() > 0) {
        path.append(0);
        criterion = criterion->child(0).get();
    }
    return path;
}

std::optional<Scheduled::Kind> ScheduledHelper::kindOfPath(const QList<int> &path) {
    if (path.isEmpty())
        return std::nullopt;
    return Scheduled::kindFromRaw(path.first());
}

std::optional<RuleRow> ScheduledHelper::rowForRule(const ScheduledType &rule) const {
    return rowForRule(rule, defaultPath(scheduledKind(rule)));
}

std::optional<RuleRow> ScheduledHelper::rowForRule(const ScheduledType &rule,
                                                   QList<int> path) const {
    const Scheduled::Kind kind = scheduledKind(rule);
    // A value that does not fit an int cannot name a child either.
    auto place = [&path](qsizetype level, qint64 value) {
        if (level < path.size())
            path[level] = value >= 0 && value <= 1000 ? int(value) : -1;
    };
    std::optional<RuleTextField> field;
    std::optional<QTime> time;

    if (const auto *interval = std::get_if<Scheduled::RepeatInterval>(&rule)) {
        place(1, qint64(interval->unit));
        field = RuleTextField{Localize::integer(interval->interval)};
    } else if (const auto *everyHour = std::get_if<Scheduled::EveryHour>(&rule)) {
        field = RuleTextField{Localize::integer(everyHour->minute)};
    } else if (const auto *everyDay = std::get_if<Scheduled::EveryDay>(&rule)) {
        time = everyDay->time;
    } else if (const auto *dayOfWeek = std::get_if<Scheduled::DayOfWeek>(&rule)) {
        place(1, dayOfWeek->day);
        time = dayOfWeek->time;
    } else if (const auto *dayOfMonth = std::get_if<Scheduled::DayOfMonth>(&rule)) {
        place(1, dayOfMonth->day);
        time = dayOfMonth->time;
    } else if (const auto *dayOfYear = std::get_if<Scheduled::DayOfYear>(&rule)) {
        place(1, dayOfYear->month);
        place(2, dayOfYear->day);
        time = dayOfYear->time;
    }

    std::optional<RuleRow> row = rowForPath(path);
    if (!row)
        return std::nullopt;
    if (field) {
        const qsizetype column = kind == Scheduled::Kind::repeatInterval ? repeatIntervalFieldColumn
                                                                         : everyHourFieldColumn;
        row->values[column] = *field;
    }
    if (time)
        row->values.last() = *time;
    return row;
}

void ScheduledHelper::fillRuleEditor(RuleEditorModel &editor) const {
    RuleRows rows;
    const JobPtr &job = JobList::shared().currentJob();
    if (job && job->scheduled) {
        for (const ScheduledType &rule : *job->scheduled) {
            if (std::optional<RuleRow> row =
                    rowForRule(rule, editor.templatePath(scheduledKind(rule))))
                rows.append(*row);
        }
    }
    editor.setRows(rows);
}

void ScheduledHelper::markTimeChanged() {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return;
    job->changes().insert(Change::time);
    Bindings::shared().setEdited(true);
}

} // namespace Vandra
