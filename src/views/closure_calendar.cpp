#include "views/closure_calendar.h"

#include "base/app_state.h"
#include "base/input.h"
#include "records/calendar.h"
#include "ui/flex_grid.h"
#include "ui/palette.h"

namespace Grid休業 {

namespace {

constexpr int kCalendarSize = 7;      // weekday header + six weeks; seven weekdays
constexpr int kCalendarColWidth = 400; // twips
constexpr int kListDataRows = 60;

struct ListHeader {
    const char* text;
    int width; // twips
};
constexpr ListHeader kListHeaders[ListColumns] = {{"日付", 1000}, {"区", 300}, {"対", 300}, {"登録名", 1950}};

int flagInForce(store::Table& calendar, const QString& target, const QDate& date)
{
    int flag = 0;
    if (auto common = closure_days::find(calendar, closure_days::kCommonTarget, date))
        flag = common->closed ? 1 : 0;
    if (auto own = closure_days::find(calendar, target, date))
        flag = own->closed ? 1 : 0;
    return flag;
}

void writeListRow(FlexGrid* list, int row, const store::Table& calendar)
{
    const bool closed = calendar.integer(QStringLiteral("カレ_休日FLG")) == 1;
    const bool common = calendar.text(QStringLiteral("カレ_番号")) == closure_days::kCommonTarget;
    list->setTextMatrix(row, DateColumn, input::dateText(calendar.field(QStringLiteral("カレ_年月日")).date()));
    list->setTextMatrix(row, KindColumn, closed ? kClosedMark : kBlankMark);
    list->setTextMatrix(row, CommonColumn, common ? kCommonMark : kBlankMark);
    list->setTextMatrix(row, NameColumn, calendar.text(QStringLiteral("カレ_備考")));
}

} // namespace

void InitCalendarGrid(FlexGrid* calendar)
{
    calendar->startLayout(kCalendarSize, kCalendarSize, 0, 0);
    calendar->setRow(0);
    calendar->setCol(0);
    calendar->setColSel(kCalendarSize - 1);
    calendar->setCellBackColor(ui::qbColor(14));
    calendar->setColWidth(-1, kCalendarColWidth);
    const QStringList& names = app().settings.WeekdayNames;
    for (int col = 0; col < kCalendarSize; ++col) {
        calendar->setCol(col);
        calendar->setCellAlignment(FlexGrid::CenterBottom);
        calendar->setText(names.value(col));
        calendar->setCellForeColor(ui::qbColor(col == 0 ? 12 : col == kCalendarSize - 1 ? 9 : 0));
    }
    calendar->setRow(0);
    calendar->setCol(0);
}

int FillClosureList(int mode, FlexGrid* list, const CalendarState& state)
{
    list->startLayout(kListDataRows + 1, ListColumns, 1, 0);
    list->setCol(0);
    list->setRow(0);
    for (int col = 0; col < ListColumns; ++col) {
        list->setColWidth(col, kListHeaders[col].width);
        list->setTextMatrix(0, col, QString::fromUtf8(kListHeaders[col].text));
    }

    const QDate first(state.CalendarMonthStart.year(), state.CalendarMonthStart.month(), 1);
    const QDate nextMonth = first.addMonths(1);
    store::Table calendar = store::Database::open().table(QStringLiteral("カレンダー"));
    calendar.setIndex(QStringLiteral("Idx_照会"));
    int count = 0;
    for (calendar.seek(">=", {first}); !calendar.eof(); calendar.moveNext()) {
        const QDate date = calendar.field(QStringLiteral("カレ_年月日")).date();
        if (date >= nextMonth)
            break;
        if (mode == RegularHolidays) {
            if (date > state.FiscalYearLastDay)
                break;
            if (date < state.FiscalYearFirstDay)
                continue;
        }
        const QString number = calendar.text(QStringLiteral("カレ_番号"));
        if (number != state.Target && number != closure_days::kCommonTarget)
            continue;
        ++count;
        if (count >= list->rows())
            list->setRows(count + 1);
        writeListRow(list, count, calendar);
    }
    return count;
}

int LookUpDayFlag(const QString& target, const QDate& date)
{
    store::Table calendar = closure_days::openByKey(store::Database::open());
    return flagInForce(calendar, target, date);
}

int DrawClosureCalendar(int mode, FlexGrid* calendar, FlexGrid* list, const CalendarState& state)
{
    InitCalendarGrid(calendar);
    const int count = FillClosureList(mode, list, state);

    store::Table days = closure_days::openByKey(store::Database::open());
    const QDate first(state.CalendarMonthStart.year(), state.CalendarMonthStart.month(), 1);
    int week = 1;
    for (QDate date = first; date.month() == first.month(); date = date.addDays(1)) {
        const int col = date.dayOfWeek() % 7; // Sunday first
        calendar->setRow(week);
        calendar->setCol(col);
        calendar->setCellAlignment(FlexGrid::CenterCenter);
        calendar->setCellForeColor(ui::qbColor(flagInForce(days, state.Target, date) == 1 ? 12 : 1));
        calendar->setText(QString::number(date.day()));
        if (col == kCalendarSize - 1)
            ++week;
    }
    calendar->setRow(0);
    calendar->setCol(0);
    return count;
}

} // namespace Grid休業
