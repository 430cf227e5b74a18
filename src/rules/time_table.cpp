#include "rules/time_table.h"

#include "base/app_state.h"
#include "base/clock.h"
#include "base/input.h"

#include <QSet>
#include <algorithm>

namespace 時間TBL {

namespace {

const QString kCommonTarget = QStringLiteral("00000");

// A band read from one of the three hours tables, which share their field names after the
// table's prefix. Its times are read as times, so that a band the grid cannot place stops the
// build with the row named instead of leaving its time open.
HoursRow bandOf(const store::Table& table, const QString& prefix)
{
    return {input::timeText(table.time(prefix + "開始時間")), input::timeText(table.time(prefix + "終了時間", true)),
            table.text(prefix + "営業フラグ") == QLatin1String("1") ? 1 : 0};
}

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
        column.ColumnLabel = QString::number(dayOfMonthLabels ? date.day() : WeekdayNumber(date));
        columns.push_back(std::move(column));
    }
    return columns;
}

} // namespace

TimeTableRequest CurrentRequest()
{
    const AppState& a = app();
    TimeTableRequest request;
    request.TimeTableMode = a.modes.TimeTableMode;
    request.HoursFormKind = a.modes.HoursFormKind;
    request.InquiryKind = a.modes.InquiryKind;
    request.DailyHoursKind = a.settings.DailyHoursKind;
    request.CurrentTarget = a.targets.CurrentTarget;
    request.CurrentTargetAbbrev = a.targets.CurrentTargetAbbrev;
    request.WorkingDate = WorkingDay();
    request.SelectedDate = a.booking.SelectedDate;
    request.SystemDate = appclock::today();
    request.TargetList = a.targets.TargetList;
    request.TargetAbbrevList = a.targets.TargetAbbrevList;
    return request;
}

QDate WorkingDay()
{
    return input::date(app().settings.WorkingDate).value_or(appclock::today());
}

TimeTable BuildTimeTable(const TimeTableRequest& request)
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

    const store::Database db = store::Database::open();
    store::Transaction oneReading(db, store::Transaction::ForReading); // all look-ups under one read lock
    const auto [first, last] = std::minmax_element(table.Columns.begin(), table.Columns.end(),
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

void BuildTimeTable()
{
    app().timeTable = BuildTimeTable(CurrentRequest());
}

int WeekdayNumber(const QDate& date)
{
    return date.dayOfWeek() % 7 + 1;
}

std::vector<TimeTableColumn> FillWeekColumns(const QDate& workingDate)
{
    QDate sunday = workingDate;
    for (int step = 0; step < 7 && WeekdayNumber(sunday) != 1; ++step)
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

HoursTables::HoursTables(const store::Database& db, const QDate& first, const QDate& last, int dailyHoursKind,
                         const QStringList& targets)
{
    const QSet<QString> wanted(targets.begin(), targets.end());
    store::Table days = db.table("カレンダー");
    days.setIndex("Idx_照会");
    for (days.seek(">=", {first, ""}); !days.eof(); days.moveNext()) {
        const QDate date = days.field("カレ_年月日").date();
        if (date > last)
            break;
        calendar[{days.text("カレ_番号"), date}] = days.integer("カレ_休日FLG");
    }

    store::Table weekly = db.table("営業");
    weekly.setIndex("Key_営業");
    for (weekly.seek(">=", {"", ""}); !weekly.eof(); weekly.moveNext()) {
        const QString target = weekly.text("営業_番号");
        if (wanted.contains(target))
            regular[target].push_back(bandOf(weekly, "営業_"));
    }

    store::Table byDay = db.table("日別");
    byDay.setIndex("Key_日別");
    for (byDay.seek(">=", {"", "", "", ""}); !byDay.eof(); byDay.moveNext()) {
        const QString target = byDay.text("日別_番号");
        if (wanted.contains(target) && byDay.integer("日別_区分") == dailyHoursKind)
            daily[{target, byDay.integer("日別_日付")}].push_back(bandOf(byDay, "日別_"));
    }

    store::Table dated = db.table("特定日");
    dated.setIndex("Idx_日付");
    for (dated.seek(">=", {first}); !dated.eof(); dated.moveNext()) {
        const QDate date = dated.field("特定_日付").date();
        if (date > last)
            break;
        const QString target = dated.text("特定_番号");
        if (wanted.contains(target))
            specific[{target, date}].push_back(bandOf(dated, "特定_"));
    }
    // The date index gives a day's bands in the order they were stored; the grid wants time order.
    for (auto& [key, bands] : specific)
        std::stable_sort(bands.begin(), bands.end(), [](const HoursRow& a, const HoursRow& b) { return a.start < b.start; });
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
    const int dayKey = dailyHoursKind == 1 ? WeekdayNumber(date) : date.day();
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

} // namespace 時間TBL
