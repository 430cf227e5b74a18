#include "ui/month_boxes.h"

#include "base/input.h"
#include "ui/message_box.h"

#include <QLineEdit>

namespace {
const QString kNoDate = QStringLiteral("表示年月に正しい数字を入力してください");
}

MonthBoxes::MonthBoxes(QLineEdit* year, QLineEdit* month, QString title) : year_(year), month_(month), title_(std::move(title))
{}

void MonthBoxes::show(const QDate& month)
{
    year_->setText(QString::number(month.year()));
    month_->setText(QString::number(month.month()));
    check_.pass(year_);
    check_.pass(month_);
}

bool MonthBoxes::checkYear()
{
    check_.clear();
    const QString year = year_->text();
    if (!input::isNumeric(year) || !input::dateOfParts({year, QStringLiteral("01"), QStringLiteral("01")}))
        return fail(year_, QStringLiteral("表示年に正しい数字を入力してください"));
    check_.pass(year_);
    return true;
}

bool MonthBoxes::checkMonth()
{
    check_.clear();
    if (!input::isNumeric(month_->text()))
        return fail(month_, QStringLiteral("表示月に正しい数字を入力してください"));
    if (!typedMonth())
        return fail(month_, kNoDate);
    check_.pass(month_);
    return true;
}

std::optional<QDate> MonthBoxes::typedMonth() const
{
    return input::dateOfParts({year_->text(), month_->text(), QStringLiteral("01")});
}

std::optional<QDate> MonthBoxes::steppedMonth(int months) const
{
    if (const std::optional<QDate> month = typedMonth()) {
        // A step out of the years a date can be typed with (0001 to 9999) is no date either.
        const QDate stepped = month->addMonths(months);
        if (input::isDate(input::dateText(stepped)))
            return stepped;
    }
    sayNoDate();
    return std::nullopt;
}

std::optional<QDate> MonthBoxes::dayOfTypedMonth(int day) const
{
    const std::optional<QDate> date = input::dateOfParts({year_->text(), month_->text(), QString::number(day)});
    if (!date)
        sayNoDate();
    return date;
}

bool MonthBoxes::fail(QLineEdit* box, const QString& message)
{
    check_.fail(box, message);
    msg::exclaim(message, title_);
    return false;
}

void MonthBoxes::sayNoDate() const
{
    msg::exclaim(kNoDate, title_);
}
