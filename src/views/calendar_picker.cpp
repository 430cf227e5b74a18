#include "views/calendar_picker.h"

#include "base/input.h"
#include "records/calendar.h"
#include "ui/flex_grid.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "views/closure_calendar.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace {

constexpr int kWeekRows = 6;
constexpr int kWeekdays = 7;
constexpr int kHighlight = 10;
constexpr int kCleared = 15;

} // namespace

CalendarPicker::CalendarPicker(const Form& owner, int mode, FlexGrid* calendar, FlexGrid* list, QString title, Receivers receivers)
    : owner_(owner), mode_(mode), calendar_(calendar), list_(list), title_(std::move(title)), receivers_(std::move(receivers))
{}

void CalendarPicker::setRowReceivers(QLineEdit* name, QAbstractButton* closed, QAbstractButton* open)
{
    receivers_.name = name;
    receivers_.closed = closed;
    receivers_.open = open;
}

void CalendarPicker::draw()
{
    listCount_ = Grid休業::DrawClosureCalendar(owner_.database(), mode_, calendar_, list_, state_);
    selRow_ = selCol_ = listSelRow_ = 0;
}

void CalendarPicker::redraw()
{
    const int row = selRow_;
    const int col = selCol_;
    const std::optional<QDate> listed = listSelRow_ ? input::date(list_->text(listSelRow_, Grid休業::DateColumn)) : std::nullopt;
    draw();
    if (row != 0) {
        calendar_->paintRow(row, col, col, ui::qbColor(kHighlight));
        selRow_ = row;
        selCol_ = col;
    }
    if (listed) {
        listSelRow_ = listRowInForce(*listed);
        if (listSelRow_ != 0)
            list_->paintRow(listSelRow_, 0, Grid休業::ListColumns - 1, ui::qbColor(kHighlight));
    }
}

void CalendarPicker::calendarClicked()
{
    pickDay(calendar_->row(), calendar_->col(), ClickOrigin::Calendar);
}

void CalendarPicker::listClicked()
{
    const int row = list_->row();
    if (row < 1 || row > listCount_) {
        msg::exclaim(QStringLiteral("休業日指定が有効範囲外です。"), title_);
        return;
    }
    pickListRow(row);
    const std::optional<QDate> date = input::date(list_->text(row, Grid休業::DateColumn));
    int dayRow = 0;
    int dayCol = 0;
    if (date && findDay(date->day(), &dayRow, &dayCol))
        pickDay(dayRow, dayCol, ClickOrigin::List);
}

void CalendarPicker::pickDay(int row, int col, ClickOrigin origin)
{
    const int day = input::wholeNumber16(calendar_->text(row, col)).value_or(0);
    if (row < 1 || day < 1 || day > 31) {
        msg::exclaim(QStringLiteral("日付が有効範囲外です。"), title_);
        return;
    }
    const std::optional<QDate> date = receivers_.dateOfDay(day);
    if (!date)
        return;

    if (selRow_ != 0)
        calendar_->paintRow(selRow_, selCol_, selCol_, ui::qbColor(kCleared));
    if (origin != ClickOrigin::List)
        clearListHighlight();
    calendar_->paintRow(row, col, col, ui::qbColor(kHighlight));
    selRow_ = row;
    selCol_ = col;

    receivers_.takeDate(*date);
    if (origin == ClickOrigin::List)
        return; // the list row picked has given the name and the closed/open choice
    if (receivers_.name) {
        if (auto own = records::findClosureDay(owner_.database(), state_.Target, *date))
            receivers_.name->setText(own->name);
    }
    if (const int listRow = listRowInForce(*date))
        pickListRow(listRow);
}

void CalendarPicker::pickListRow(int row)
{
    clearListHighlight();
    list_->paintRow(row, 0, Grid休業::ListColumns - 1, ui::qbColor(kHighlight));
    listSelRow_ = row;

    if (const std::optional<QDate> date = input::date(list_->text(row, Grid休業::DateColumn)))
        receivers_.takeDate(*date);
    const bool closed = list_->text(row, Grid休業::KindColumn) == Grid休業::kClosedMark;
    if (closed && receivers_.closed)
        receivers_.closed->setChecked(true);
    if (!closed && receivers_.open)
        receivers_.open->setChecked(true);
    if (receivers_.name)
        receivers_.name->setText(list_->text(row, Grid休業::NameColumn));
}

void CalendarPicker::clearListHighlight()
{
    if (listSelRow_ != 0)
        list_->paintRow(listSelRow_, 0, Grid休業::ListColumns - 1, ui::qbColor(kCleared));
    listSelRow_ = 0;
}

int CalendarPicker::listRowInForce(const QDate& date) const
{
    const QString dateText = input::dateText(date);
    int first = 0;
    for (int row = 1; row <= listCount_; ++row) {
        if (list_->text(row, Grid休業::DateColumn) != dateText)
            continue;
        if (list_->text(row, Grid休業::CommonColumn) != Grid休業::kCommonMark)
            return row;
        if (first == 0)
            first = row;
    }
    return first;
}

bool CalendarPicker::findDay(int day, int* row, int* col) const
{
    const QString text = QString::number(day);
    for (int r = 1; r <= kWeekRows; ++r) {
        for (int c = 0; c < kWeekdays; ++c) {
            if (calendar_->text(r, c) == text) {
                *row = r;
                *col = c;
                return true;
            }
        }
    }
    return false;
}
