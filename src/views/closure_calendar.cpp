#include "views/closure_calendar.h"

#include "base/clock.h"
#include "base/weekdays.h"
#include "base/input.h"
#include "records/calendar.h"
#include "records/targets.h"
#include "rules/holidays_in_force.h"
#include "rules/national_holidays.h"
#include "ui/flex_grid.h"
#include "ui/palette.h"

namespace Grid休業 {

namespace {

constexpr int kCalendarSize = 7;       // weekday header + six weeks; seven weekdays
constexpr int kCalendarColWidth = 400; // twips
constexpr int kListDataRows = 60;

struct ListHeader {
    const char* text;
    int width; // twips
};
constexpr ListHeader kListHeaders[ListColumns] = {{"日付", 1000}, {"区", 300}, {"対", 300}, {"登録名", 1950}};

// The flag of a date: the target's own record, else the common calendar's, else open.
int flagInForce(const std::vector<records::CalendarDay>& days, const QString& target, const QDate& date)
{
    int flag = 0;
    for (const records::CalendarDay& day : days) {
        if (day.date != date)
            continue;
        if (day.target == target)
            return day.day.closed ? 1 : 0;
        if (day.target == records::kCommonTarget)
            flag = day.day.closed ? 1 : 0;
    }
    return flag;
}

// A cell's place in a list of the calendar's cells, row by row.
size_t cellIndex(int row, int col)
{
    return size_t(row) * kCalendarSize + size_t(col);
}

void writeListRow(FlexGrid* list, int row, const records::CalendarDay& day)
{
    list->setTextMatrix(row, DateColumn, input::dateText(day.date));
    list->setTextMatrix(row, KindColumn, day.day.closed ? kClosedMark : kBlankMark);
    list->setTextMatrix(row, CommonColumn, day.target == records::kCommonTarget ? kCommonMark : kBlankMark);
    list->setTextMatrix(row, NameColumn, day.day.name);
}

QDate firstOfMonth(const QDate& date)
{
    return QDate(date.year(), date.month(), 1);
}

// Red marks a closed day whatever else it is; a holiday the business works on is light magenta.
int dayNumberColour(bool closed, bool holiday)
{
    return closed ? 12 : holiday ? 13 : 1;
}

// What the mouse resting on a holiday shows: its name, and that a year after next is a forecast.
QString holidayTip(const QDate& date, const QString& name)
{
    return national_holidays::isForecast(date.year()) ? name + QStringLiteral("（予想）") : name;
}

} // namespace

void InitCalendarGrid(FlexGrid* calendar)
{
    calendar->startLayout(kCalendarSize, kCalendarSize, 0, 0);
    calendar->paintRow(0, 0, kCalendarSize - 1, ui::qbColor(14));
    calendar->setColWidth(-1, kCalendarColWidth);
    for (int col = 0; col < kCalendarSize; ++col) {
        calendar->setCol(col);
        calendar->setCellAlignment(FlexGrid::CenterBottom);
        calendar->setText(weekdays::name(col + 1));
        calendar->setCellForeColor(ui::qbColor(col == 0 ? 12 : col == kCalendarSize - 1 ? 9 : 0));
    }
    calendar->setRow(0);
    calendar->setCol(0);
}

int FillClosureList(const store::Database& db, int mode, FlexGrid* list, const CalendarState& state)
{
    list->startLayout(kListDataRows + 1, ListColumns, 1, 0);
    list->setCol(0);
    list->setRow(0);
    for (int col = 0; col < ListColumns; ++col) {
        list->setColWidth(col, kListHeaders[col].width);
        list->setTextMatrix(0, col, QString::fromUtf8(kListHeaders[col].text));
    }

    const QDate first = firstOfMonth(state.CalendarMonthStart);
    int count = 0;
    for (const records::CalendarDay& day : records::listCalendarDays(db, first, first.addMonths(1).addDays(-1))) {
        if (mode == RegularHolidays && (day.date < state.FiscalYearFirstDay || day.date > state.FiscalYearLastDay))
            continue;
        if (day.target != state.Target && day.target != records::kCommonTarget)
            continue;
        ++count;
        if (count >= list->rows())
            list->setRows(count + 1);
        writeListRow(list, count, day);
    }
    return count;
}

int LookUpDayFlag(const store::Database& db, const QString& target, const QDate& date)
{
    return flagInForce(records::listCalendarDays(db, date, date), target, date);
}

int DrawClosureCalendar(const store::Database& db, int mode, FlexGrid* calendar, FlexGrid* list, const CalendarState& state)
{
    InitCalendarGrid(calendar);
    const int count = FillClosureList(db, mode, list, state);

    const QDate first = firstOfMonth(state.CalendarMonthStart);
    const QDate today = appclock::today();
    const QDate last = first.addMonths(1).addDays(-1);
    const std::vector<records::CalendarDay> month = records::listCalendarDays(db, first, last);
    const national_holidays::HolidayNames holidays = national_holidays::holidayNamesBetween(db, first, last);
    std::vector<QString> tips(size_t(kCalendarSize) * kCalendarSize); // by cell, row by row
    int week = 1;
    for (QDate date = first; date.month() == first.month(); date = date.addDays(1)) {
        const int col = date.dayOfWeek() % 7; // Sunday first
        const QString holiday = holidays.on(date);
        calendar->setRow(week);
        calendar->setCol(col);
        calendar->setCellAlignment(FlexGrid::CenterCenter);
        calendar->setCellForeColor(ui::qbColor(dayNumberColour(flagInForce(month, state.Target, date) == 1, !holiday.isEmpty())));
        calendar->setText(QString::number(date.day()));
        calendar->setCellFramed(date == today);
        if (!holiday.isEmpty())
            tips[cellIndex(week, col)] = holidayTip(date, holiday);
        if (col == kCalendarSize - 1)
            ++week;
    }
    calendar->setToolTipSource([tips = std::move(tips)](int row, int col) {
        return row < kCalendarSize && col < kCalendarSize ? tips[cellIndex(row, col)] : QString();
    });
    calendar->setRow(0);
    calendar->setCol(0);
    return count;
}

} // namespace Grid休業
