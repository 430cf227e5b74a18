#pragma once

#include "ui/field_check.h"

#include <QDate>
#include <QString>
#include <optional>

class QLineEdit;

// The year and month boxes (表示年, 表示月) of a calendar form that can show any month: their
// checks with the messages the operator sees, and the month and days they name. A failing check
// shows its message at once, paints the box light red and puts it first in the tab order.
class MonthBoxes {
public:
    MonthBoxes(QLineEdit* year, QLineEdit* month, QString title);

    // Writes a month into the boxes ("2026", "4") and paints them black.
    void show(const QDate& month);

    // The year must be a number that forms a date; true when it does.
    bool checkYear();
    // The month must be a number that forms a date with the year; true when it does.
    bool checkMonth();

    // The first day of the month typed, when the two boxes form one.
    std::optional<QDate> typedMonth() const;
    // The typed month moved by `months`, or a day of it; when the boxes form no date the operator
    // is told so and nothing is returned.
    std::optional<QDate> steppedMonth(int months) const;
    std::optional<QDate> dayOfTypedMonth(int day) const;

private:
    bool fail(QLineEdit* box, const QString& message);
    void sayNoDate() const;

    QLineEdit* year_;
    QLineEdit* month_;
    QString title_;
    ui::FieldCheck check_;
};
