#include "rules/time_table.h"

#include "base/weekdays.h"
#include "records/calendar.h"
#include "records/hours.h"
#include "records/targets.h"

#include <QSet>
#include <algorithm>

namespace 時間TBL {

namespace {

const QString kCommonTarget = records::kCommonTarget;

template <typename Key> const HoursList& rowsOf(const std::map<Key, HoursList>& rows, const Key& key)
{
    static const HoursList none;
    const auto found = rows.find(key);
    return found == rows.end() ? none : found->second;
}

// The common calendar row, overridden by the target's own row when it has one.
int calendarFlagOf(const HoursTables& tables, const QString& target, const QDate& date)
{
    const int common = LookUpCalendarFlag(tables, kCommonTarget, date).value_or(0);
    return LookUpCalendarFlag(tables, target, date).value_or(common);
}

std::vector<TimeTableColumn> dateColumns(QDate date, int days, bool dayOfMonthLabels)
{
    std::vector<TimeTableColumn> columns;
    for (int i = 0; i < days; ++i, date = date.addDays(1)) {
        TimeTableColumn column;
        column.ColumnDate = date;
        column.ColumnLabel = QString::number(dayOfMonthLabels ? date.day() : weekdays::numberOf(date));
        columns.push_back(std::move(column));
    }
    return columns;
}

} // namespace

TimeTable BuildTimeTable(const store::Database& db, const TimeTableRequest& request)
{
    TimeTable table;
    switch (request.TimeTableMode) {
    case 1:
        table.Columns = request.HoursFormKind == 3 || request.DailyHoursKind != 1 ? FillMonthColumns(request.SystemDate)
                                                                                  : FillWeekColumns(request.WorkingDate);
        break;
    case 2:
        table.TargetColumns = true;
        for (qsizetype i = 0; i < request.TargetList.size(); ++i) {
            TimeTableColumn column;
            column.ColumnDate = request.SelectedDate;
            column.Target = request.TargetList[i];
            column.TargetAbbrev = request.TargetAbbrevList.value(i);
            table.Columns.push_back(std::move(column));
        }
        break;
    case 3:
        if (request.InquiryKind == 1)
            table.Columns = FillSevenDayColumns(request.WorkingDate);
        break;
    }
    if (table.Columns.empty())
        return table;

    store::Transaction oneReading(db, store::Transaction::ForReading); // all look-ups under one read lock
    const auto [first, last] =
        std::minmax_element(table.Columns.begin(), table.Columns.end(),
                            [](const TimeTableColumn& a, const TimeTableColumn& b) { return a.ColumnDate < b.ColumnDate; });
    QStringList targets{kCommonTarget};
    for (const TimeTableColumn& column : table.Columns)
        targets << (table.TargetColumns ? column.Target : request.CurrentTarget);
    const HoursTables tables(db, first->ColumnDate, last->ColumnDate, request.DailyHoursKind, targets);
    if (table.TargetColumns) {
        BuildTargetColumns(tables, table, request.DailyHoursKind);
    } else {
        for (TimeTableColumn& column : table.Columns) {
            column.Target = request.CurrentTarget;
            column.TargetAbbrev = request.CurrentTargetAbbrev;
        }
        BuildDateColumns(tables, table, request.DailyHoursKind);
    }
    oneReading.commit();
    return table;
}

std::vector<store::Range> TimeTableRanges(const QDate& first, const QDate& last)
{
    std::vector<store::Range> ranges = records::bandsRanges(first, last);
    ranges.push_back(records::calendarDaysRange(first, last));
    return ranges;
}

std::vector<TimeTableColumn> FillWeekColumns(const QDate& workingDate)
{
    QDate sunday = workingDate;
    for (int step = 0; step < 7 && weekdays::numberOf(sunday) != 1; ++step)
        sunday = sunday.addDays(1);
    return dateColumns(sunday, 7, false);
}

std::vector<TimeTableColumn> FillSevenDayColumns(const QDate& workingDate)
{
    return dateColumns(workingDate, 7, false);
}

std::vector<TimeTableColumn> FillMonthColumns(const QDate& systemDate)
{
    return dateColumns(QDate(systemDate.year(), systemDate.month(), 1), systemDate.daysInMonth(), true);
}

HoursTables::HoursTables(const store::Database& db, const QDate& first, const QDate& last, int dailyHoursKind, const QStringList& targets)
{
    const QSet<QString> shown(targets.begin(), targets.end());
    for (const records::CalendarDay& day : records::listCalendarDays(db, first, last))
        calendar[{day.target, day.date}] = day.day.closed ? 1 : 0;
    regular = records::regularBands(db, shown);
    daily = records::dailyBands(db, dailyHoursKind, shown);
    specific = records::specificBands(db, first, last, shown);
}

void BuildDateColumns(const HoursTables& tables, TimeTable& table, int dailyHoursKind)
{
    if (table.Columns.empty())
        return;
    for (TimeTableColumn& column : table.Columns)
        column.CalendarFlag = calendarFlagOf(tables, column.Target, column.ColumnDate);
    table.CommonRows = LoadCommonRegularHours(tables, table.Columns.front().Target, false);
    for (TimeTableColumn& column : table.Columns) {
        LoadDailyHours(tables, column, dailyHoursKind);
        LoadSpecificDayHours(tables, column);
    }
}

void BuildTargetColumns(const HoursTables& tables, TimeTable& table, int dailyHoursKind)
{
    for (TimeTableColumn& column : table.Columns)
        column.CalendarFlag = calendarFlagOf(tables, column.Target, column.ColumnDate);
    table.CommonRows = LoadCommonRegularHours(tables, kCommonTarget, true);
    for (TimeTableColumn& column : table.Columns) {
        LoadTargetRegularHours(tables, column);
        LoadDailyHours(tables, column, dailyHoursKind);
        LoadSpecificDayHours(tables, column);
    }
}

std::optional<int> LookUpCalendarFlag(const HoursTables& tables, const QString& target, const QDate& date)
{
    const auto found = tables.calendar.find({target, date});
    if (found == tables.calendar.end())
        return std::nullopt;
    return found->second;
}

HoursList LoadCommonRegularHours(const HoursTables& tables, const QString& target, bool targetColumns)
{
    const HoursList& own = rowsOf(tables.regular, target);
    return !targetColumns && !own.empty() ? own : rowsOf(tables.regular, kCommonTarget);
}

void LoadTargetRegularHours(const HoursTables& tables, TimeTableColumn& column)
{
    column.OwnRows = rowsOf(tables.regular, column.Target);
    if (!column.OwnRows.empty())
        column.HasOwnHours = 1;
}

void LoadDailyHours(const HoursTables& tables, TimeTableColumn& column, int dailyHoursKind)
{
    const QDate& date = column.ColumnDate;
    const int dayKey = dailyHoursKind == 1 ? weekdays::numberOf(date) : date.day();
    for (const QString& target : {kCommonTarget, column.Target}) {
        const HoursList& rows = rowsOf(tables.daily, std::pair(target, dayKey));
        if (!rows.empty()) {
            column.OwnRows = rows;
            column.HasOwnHours = 1;
        }
    }
}

void LoadSpecificDayHours(const HoursTables& tables, TimeTableColumn& column)
{
    column.SpecificRows = rowsOf(tables.specific, std::pair(column.Target, column.ColumnDate));
    if (!column.SpecificRows.empty())
        column.HasSpecificHours = 1;
}

const HoursList& HoursInForce(const TimeTable& table, const TimeTableColumn& column)
{
    if (column.HasSpecificHours == 1)
        return column.SpecificRows;
    if (column.HasOwnHours == 1)
        return column.OwnRows;
    return table.CommonRows;
}

DayHours DayHoursOf(const TimeTable& table, const TimeTableColumn& column, const SlotTimes& daySlots)
{
    if (column.CalendarFlag == 1)
        return {true, {}, daySlots};
    return {false, HoursInForce(table, column), daySlots};
}

std::vector<DayHours> DayHoursOn(const store::Database& db, const QString& target, const std::vector<QDate>& dates, int dailyHoursKind,
                                 const SlotTimes& daySlots)
{
    if (dates.empty())
        return {};
    TimeTable table;
    for (const QDate& date : dates) {
        TimeTableColumn column;
        column.ColumnDate = date;
        column.Target = target;
        table.Columns.push_back(std::move(column));
    }
    const auto [first, last] = std::minmax_element(dates.begin(), dates.end());
    const HoursTables tables(db, *first, *last, dailyHoursKind, {kCommonTarget, target});
    BuildDateColumns(tables, table, dailyHoursKind);
    std::vector<DayHours> days;
    for (const TimeTableColumn& column : table.Columns)
        days.push_back(DayHoursOf(table, column, daySlots));
    return days;
}

namespace {

constexpr int kDayMinutes = 24 * 60;

// The time the bands of one kind cover, merged, in order and within the day.
std::vector<MinuteSpan> coveredBy(const HoursList& bands, bool closed)
{
    std::vector<MinuteSpan> spans;
    for (const HoursRow& band : bands) {
        const int start = std::max(band.start.minutes(), 0);
        const int end = std::min(band.end.minutes(), kDayMinutes);
        if (band.closed == closed && start < end)
            spans.push_back({start, end});
    }
    std::sort(spans.begin(), spans.end(), [](const MinuteSpan& a, const MinuteSpan& b) { return a.start < b.start; });
    std::vector<MinuteSpan> merged;
    for (const MinuteSpan& span : spans) {
        if (!merged.empty() && span.start <= merged.back().end)
            merged.back().end = std::max(merged.back().end, span.end);
        else
            merged.push_back(span);
    }
    return merged;
}

} // namespace

std::vector<MinuteSpan> DayHours::openTime() const
{
    if (closedDay)
        return {};
    const bool anyOpenBand = std::any_of(bands.begin(), bands.end(), [](const HoursRow& band) { return !band.closed; });
    const std::vector<MinuteSpan> open = anyOpenBand ? coveredBy(bands, false) : std::vector<MinuteSpan>{{0, kDayMinutes}};
    const std::vector<MinuteSpan> closed = coveredBy(bands, true);
    std::vector<MinuteSpan> left;
    for (MinuteSpan span : open) {
        for (const MinuteSpan& cut : closed) {
            if (cut.end <= span.start || cut.start >= span.end)
                continue;
            if (cut.start > span.start)
                left.push_back({span.start, cut.start});
            span.start = std::max(span.start, cut.end);
        }
        if (span.start < span.end)
            left.push_back(span);
    }
    return left;
}

std::vector<MinuteSpan> DayHours::closedTimeShown() const
{
    const int shownFrom = daySlots.count() > 0 ? daySlots.start(0) : daySlots.WindowEnd;
    std::vector<MinuteSpan> closed;
    int from = shownFrom;
    for (const MinuteSpan& open : openTime()) {
        if (std::min(open.start, daySlots.WindowEnd) > from)
            closed.push_back({from, std::min(open.start, daySlots.WindowEnd)});
        from = std::max(from, open.end);
    }
    if (from < daySlots.WindowEnd)
        closed.push_back({from, daySlots.WindowEnd});
    return closed;
}

std::vector<bool> DayHours::closedSlots() const
{
    const std::vector<MinuteSpan> open = openTime();
    std::vector<bool> closed;
    for (int slot = 0; slot < daySlots.count(); ++slot) {
        const int from = daySlots.start(slot);
        const int to = std::min(daySlots.end(slot), kDayMinutes);
        closed.push_back(
            std::none_of(open.begin(), open.end(), [&](const MinuteSpan& span) { return span.start < to && from < span.end; }));
    }
    return closed;
}

bool DayHours::coversClosedTime(int start, int end) const
{
    if (closedDay)
        return true;
    const std::vector<bool> closed = closedSlots();
    const auto [first, last] = daySlots.covering(start, end);
    return std::any_of(closed.begin() + first, closed.begin() + last, [](bool c) { return c; });
}

} // namespace 時間TBL
