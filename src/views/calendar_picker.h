#pragma once

#include "views/calendar_state.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class FlexGrid;
class Form;
class QAbstractButton;
class QLineEdit;

// The month calendar and the list of closure rows of one form, drawn by Grid休業 and kept in step:
// a click on a day highlights it and the row in force for that day, a click on a list row
// highlights it and its day. The form says how a clicked day becomes a date and which of its
// controls receive the picked date, name and closed/open choice.
class CalendarPicker {
public:
    struct Receivers {
        // The date of a clicked day of the month; nothing when the form refuses it (having said why).
        std::function<std::optional<QDate>(int day)> dateOfDay;
        // Receives the picked date (the form's date box).
        std::function<void(const QDate&)> takeDate;
        // Optional: the registered name, and the options checked for a closed or an open row.
        QLineEdit* name = nullptr;
        QAbstractButton* closed = nullptr;
        QAbstractButton* open = nullptr;
    };

    // `owner` is the form whose grids they are, whose desk they read; `title` is the title of its
    // messages.
    CalendarPicker(const Form& owner, int mode, FlexGrid* calendar, FlexGrid* list, QString title, Receivers receivers);

    // The controls that receive a picked row's name and closed/open mark (the form makes them
    // after the picker).
    void setRowReceivers(QLineEdit* name, QAbstractButton* closed, QAbstractButton* open);

    CalendarState& state() { return state_; }
    const CalendarState& state() const { return state_; }

    // Draws the state's month afresh; no highlight survives.
    void draw();
    // Draws the month again as the file now holds it, the highlighted day and its row kept; the
    // form's boxes are left as the operator has them.
    void redraw();

    // 日付_Click: a click on the calendar grid.
    void calendarClicked();
    // 休業日_Click: a click on the list grid.
    void listClicked();

private:
    enum class ClickOrigin { Calendar, List }; // the grid the click being handled started on

    // Highlights the day and hands its date to the form, unless the click is refused. A click
    // that started on the calendar also highlights the day's list row in force.
    void pickDay(int row, int col, ClickOrigin origin);
    // Highlights a list row and hands its date, name and closed/open mark to the form.
    void pickListRow(int row);
    void clearListHighlight();
    // The list row to highlight for a date: the target's own row, else the first row of that date.
    int listRowInForce(const QDate& date) const;
    // The calendar cell showing a day of the month.
    bool findDay(int day, int* row, int* col) const;

    const Form& owner_;
    int mode_;
    FlexGrid* calendar_;
    FlexGrid* list_;
    QString title_;
    Receivers receivers_;
    CalendarState state_;
    int selRow_ = 0; // highlighted calendar cell; row 0 = none
    int selCol_ = 0;
    int listSelRow_ = 0; // highlighted list row; 0 = none
    int listCount_ = 0;  // data rows of the list
};
