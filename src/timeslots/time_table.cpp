#include "timeslots/time_table.h"

#include "app/app_state.h"
#include "app/clock.h"
#include "ui/input.h"

namespace 時間TBL {

namespace {

const QString kCommonTarget = QStringLiteral("00000");

// Reads hours rows forward from a seek while `same` says the row still belongs to the key. The
// three hours tables share their field names after the table's prefix.
template <typename Same>
HoursList readHours(store::Table& table, const std::vector<store::Value>& keys, const QString& prefix, Same same)
{
    HoursList rows;
    for (table.seek(">=", keys); !table.eof(); table.moveNext()) {
        if (!same(table))
            break;
        rows.push_back({table.text(prefix + "開始時間"), table.text(prefix + "終了時間"),
                        table.text(prefix + "営業フラグ") == QLatin1String("1") ? 1 : 0});
    }
    return rows;
}

HoursList regularHoursOf(HoursTables& tables, const QString& target)
{
    return readHours(tables.regular, {target, "00:00"}, "営業_",
                     [&](const store::Table& t) { return t.text("営業_番号") == target; });
}

HoursList dailyHoursOf(HoursTables& tables, const QString& target, int kind, int dayKey)
{
    return readHours(tables.daily, {target, kind, dayKey, "00:00"}, "日別_", [&](const store::Table& t) {
        return t.text("日別_番号") == target && t.integer("日別_区分") == kind && t.integer("日別_日付") == dayKey;
    });
}

// The common calendar row, overridden by the target's own row when it has one.
int calendarFlagOf(HoursTables& tables, const QString& target, const QDate& date)
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
    return input::date(app().settings.WorkingDate).value_or(app().settings.Today);
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
    store::Transaction oneReading(db); // all look-ups under one read lock
    HoursTables tables(db);
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

HoursTables::HoursTables(const store::Database& db)
    : calendar(db.table("カレンダー")), regular(db.table("営業")), daily(db.table("日別")), specific(db.table("特定日"))
{
    calendar.setIndex("key_カレンダー");
    regular.setIndex("Key_営業");
    daily.setIndex("Key_日別");
    specific.setIndex("Key_特定日");
}

void BuildDateColumns(HoursTables& tables, TimeTable& table, int dailyHoursKind)
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

void BuildTargetColumns(HoursTables& tables, TimeTable& table, int dailyHoursKind)
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

std::optional<int> LookUpCalendarFlag(HoursTables& tables, const QString& target, const QDate& date)
{
    tables.calendar.seek("=", {target, date});
    if (tables.calendar.eof() || tables.calendar.noMatch())
        return std::nullopt;
    return tables.calendar.integer("カレ_休日FLG");
}

HoursList LoadCommonRegularHours(HoursTables& tables, const QString& target, bool targetColumns)
{
    HoursList rows = regularHoursOf(tables, kCommonTarget);
    if (!targetColumns) {
        HoursList own = regularHoursOf(tables, target);
        if (!own.empty())
            rows = std::move(own);
    }
    return rows;
}

void LoadTargetRegularHours(HoursTables& tables, TimeTableColumn& column)
{
    column.OwnRows = regularHoursOf(tables, column.Target);
    if (!column.OwnRows.empty())
        column.HasOwnHours = 1;
}

void LoadDailyHours(HoursTables& tables, TimeTableColumn& column, int dailyHoursKind)
{
    const QDate& date = column.ColumnDate;
    const int dayKey = dailyHoursKind == 1 ? WeekdayNumber(date) : date.day();
    for (const QString& target : {kCommonTarget, column.Target}) {
        HoursList rows = dailyHoursOf(tables, target, dailyHoursKind, dayKey);
        if (!rows.empty()) {
            column.OwnRows = std::move(rows);
            column.HasOwnHours = 1;
        }
    }
}

void LoadSpecificDayHours(HoursTables& tables, TimeTableColumn& column)
{
    const QString day = input::dateText(column.ColumnDate);
    column.SpecificRows = readHours(tables.specific, {column.Target, column.ColumnDate, "00:00"}, "特定_",
                                    [&](const store::Table& t) {
                                        return t.text("特定_番号") == column.Target && t.text("特定_日付") == day;
                                    });
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
