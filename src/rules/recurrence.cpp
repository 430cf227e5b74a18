#include "rules/recurrence.h"

#include "base/input.h"
#include "base/weekdays.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <limits>

namespace recurrence {

namespace {

// RFC 5545 weekday codes by QDate::dayOfWeek() (1 Monday to 7 Sunday).
const char* const kWeekdayCodes[] = {"", "MO", "TU", "WE", "TH", "FR", "SA", "SU"};

bool ticked(const Rule& rule, int dayOfWeek)
{
    return rule.weekdays[dayOfWeek % 7 + 1];
}

// 1 for the first such weekday of the month, up to 5.
int weekOfMonth(const QDate& date)
{
    return (date.day() - 1) / 7 + 1;
}

// The date of the rule in the month starting on `monthStart`; an invalid date when the month has
// none.
QDate monthlyDate(const Rule& rule, const QDate& monthStart)
{
    const int lastDay = monthStart.daysInMonth();
    if (rule.repeat == Repeat::MonthlyByDay) {
        if (rule.first.day() <= lastDay)
            return monthStart.addDays(rule.first.day() - 1);
        return rule.monthEnd ? monthStart.addDays(lastDay - 1) : QDate();
    }
    const int weekday = rule.first.dayOfWeek();
    if (rule.lastWeekday) {
        const QDate monthEnd = monthStart.addDays(lastDay - 1);
        return monthEnd.addDays(-((monthEnd.dayOfWeek() - weekday + 7) % 7));
    }
    const QDate date = monthStart.addDays((weekday - monthStart.dayOfWeek() + 7) % 7 + 7 * (weekOfMonth(rule.first) - 1));
    return date.month() == monthStart.month() ? date : QDate();
}

// Hands `take` the rule's dates from the first date up to `last`, in order, while it returns true.
template <typename Take> void forEachDate(const Rule& rule, const QDate& last, Take take)
{
    if (rule.repeat == Repeat::Weekly) {
        for (QDate monday = rule.first.addDays(1 - rule.first.dayOfWeek()); monday <= last;
             monday = monday.addDays(7 * qint64(rule.intervalWeeks))) {
            for (int dayOfWeek = 1; dayOfWeek <= 7; ++dayOfWeek) {
                const QDate date = monday.addDays(dayOfWeek - 1);
                if (date > last)
                    return;
                if (date >= rule.first && ticked(rule, dayOfWeek) && !take(date))
                    return;
            }
        }
        return;
    }
    for (QDate month(rule.first.year(), rule.first.month(), 1); month <= last; month = month.addMonths(1)) {
        const QDate date = monthlyDate(rule, month);
        if (date > last)
            return;
        if (date.isValid() && !take(date))
            return;
    }
}

// Parts that say what RFC 5545 takes when they are left out.
bool isDefaultPart(const QString& part)
{
    return part == QLatin1String("INTERVAL=1") || part == QLatin1String("WKST=MO");
}

QStringList partsOf(const QString& text)
{
    QStringList parts = text.toUpper().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    parts.removeIf(isDefaultPart);
    return parts;
}

// The rule the parts describe for a series starting on `first`, read loosely: whatever the form
// would not have written shows as a difference from toRRule() of the result. Nothing, with the
// reason, when they name no repeat the form offers or no end.
std::optional<Rule> looseRule(const QStringList& parts, const QDate& first, QString* reason)
{
    QString freq, byDay, count, until;
    bool setPos = false;
    Rule rule;
    rule.first = first;
    for (const QString& part : parts) {
        const QString name = part.section(QLatin1Char('='), 0, 0);
        const QString value = part.section(QLatin1Char('='), 1);
        if (name == QLatin1String("FREQ"))
            freq = value;
        else if (name == QLatin1String("INTERVAL"))
            rule.intervalWeeks = value.toInt();
        else if (name == QLatin1String("BYDAY"))
            byDay = value;
        else if (name == QLatin1String("BYSETPOS"))
            setPos = true;
        else if (name == QLatin1String("COUNT"))
            count = value;
        else if (name == QLatin1String("UNTIL"))
            until = value;
    }
    if (freq == QLatin1String("WEEKLY")) {
        rule.repeat = Repeat::Weekly;
        for (int dayOfWeek = 1; dayOfWeek <= 7; ++dayOfWeek)
            rule.weekdays[dayOfWeek % 7 + 1] = byDay.split(QLatin1Char(',')).contains(QLatin1String(kWeekdayCodes[dayOfWeek]));
    } else if (freq == QLatin1String("MONTHLY")) {
        rule.repeat = byDay.isEmpty() ? Repeat::MonthlyByDay : Repeat::MonthlyByWeekday;
        rule.monthEnd = setPos;
        rule.lastWeekday = byDay.startsWith(QLatin1String("-1"));
    } else {
        *reason = freq.isEmpty() ? QStringLiteral("FREQ がありません") : QStringLiteral("FREQ=") + freq;
        return std::nullopt;
    }
    if (!until.isEmpty()) {
        static const QRegularExpression eightDigits(QStringLiteral("^[0-9]{8}$"));
        std::optional<QDate> date;
        if (eightDigits.match(until).hasMatch())
            date = input::storedDate(QStringLiteral("%1/%2/%3").arg(until.mid(0, 4), until.mid(4, 2), until.mid(6, 2)));
        rule.end = Until{date.value_or(QDate())};
    } else if (!count.isEmpty()) {
        rule.end = Count{count.toInt()};
    } else {
        *reason = QStringLiteral("UNTIL も COUNT もありません");
        return std::nullopt;
    }
    return rule;
}

} // namespace

QDate lastAllowedDate(const QDate& first)
{
    return first.addYears(kMaxYears);
}

bool monthEndOffered(const QDate& first)
{
    return first.day() >= 29;
}

bool lastWeekdayOffered(const QDate& first)
{
    return first.daysInMonth() - first.day() < 7;
}

std::optional<Problem> check(const Rule& rule)
{
    if (!rule.first.isValid())
        return Problem{Field::FirstDate, QStringLiteral("開始日に正しく入力してください")};
    if (rule.repeat == Repeat::Weekly) {
        if (rule.intervalWeeks < 1 || rule.intervalWeeks > kMaxIntervalWeeks)
            return Problem{Field::Interval, QStringLiteral("間隔に1～%1の数字を入力してください").arg(kMaxIntervalWeeks)};
        if (std::none_of(rule.weekdays.begin() + 1, rule.weekdays.end(), [](bool tick) { return tick; }))
            return Problem{Field::Weekdays, QStringLiteral("曜日を選択してください")};
        // The first date is always the first of the dates, so its weekday has to be one of them.
        if (!ticked(rule, rule.first.dayOfWeek()))
            return Problem{Field::Weekdays,
                           QStringLiteral("開始日の曜日（%1）を選択してください").arg(weekdays::name(weekdays::numberOf(rule.first)))};
    }
    if (rule.repeat == Repeat::MonthlyByWeekday && rule.lastWeekday && !lastWeekdayOffered(rule.first))
        return Problem{Field::LastWeekday, QStringLiteral("最終は開始日が月の最後の7日間にあるときに選択してください")};
    if (const auto* until = std::get_if<Until>(&rule.end)) {
        if (!until->date.isValid())
            return Problem{Field::EndDate, QStringLiteral("終了日に正しく入力してください")};
        if (until->date < rule.first)
            return Problem{Field::EndDate, QStringLiteral("終了日に開始日以降の日付を入力してください")};
        if (until->date > lastAllowedDate(rule.first))
            return Problem{Field::EndDate, QStringLiteral("終了日に開始日から%1年以内（%2まで）の日付を入力してください")
                                               .arg(kMaxYears)
                                               .arg(input::dateText(lastAllowedDate(rule.first)))};
    } else if (const int dates = std::get<Count>(rule.end).dates; dates < 1 || dates > kMaxDates) {
        return Problem{Field::Count, QStringLiteral("回数に1～%1の数字を入力してください").arg(kMaxDates)};
    }
    return std::nullopt;
}

Expansion expand(const Rule& rule)
{
    Expansion expansion;
    if (check(rule))
        return expansion;
    // check() keeps an end date within the years allowed, so only a count can run past them.
    const auto* until = std::get_if<Until>(&rule.end);
    const auto* count = std::get_if<Count>(&rule.end);
    const std::size_t wanted = count ? static_cast<std::size_t>(count->dates) : std::numeric_limits<std::size_t>::max();
    forEachDate(rule, until ? until->date : lastAllowedDate(rule.first), [&](const QDate& date) {
        if (expansion.dates.size() == wanted)
            return false;
        if (expansion.dates.size() == static_cast<std::size_t>(kMaxDates)) {
            expansion.cut = Cut::ByDates;
            return false;
        }
        expansion.dates.push_back(date);
        return true;
    });
    // Every rule the form offers goes on for ever, so a count not reached was cut by the years.
    if (count && expansion.dates.size() < wanted)
        expansion.cut = Cut::ByYears;
    return expansion;
}

QString toRRule(const Rule& rule)
{
    QStringList parts;
    switch (rule.repeat) {
    case Repeat::Weekly: {
        parts << QStringLiteral("FREQ=WEEKLY") << QStringLiteral("WKST=MO");
        if (rule.intervalWeeks != 1)
            parts << QStringLiteral("INTERVAL=%1").arg(rule.intervalWeeks);
        QStringList codes;
        for (int dayOfWeek = 1; dayOfWeek <= 7; ++dayOfWeek) {
            if (ticked(rule, dayOfWeek))
                codes << QLatin1String(kWeekdayCodes[dayOfWeek]);
        }
        parts << QStringLiteral("BYDAY=") + codes.join(QLatin1Char(','));
        break;
    }
    case Repeat::MonthlyByDay:
        parts << QStringLiteral("FREQ=MONTHLY");
        if (rule.monthEnd && monthEndOffered(rule.first)) {
            // The last of the days from the 28th up to the chosen one that the month has.
            QStringList days;
            for (int day = 28; day <= rule.first.day(); ++day)
                days << QString::number(day);
            parts << QStringLiteral("BYMONTHDAY=") + days.join(QLatin1Char(',')) << QStringLiteral("BYSETPOS=-1");
        } else {
            parts << QStringLiteral("BYMONTHDAY=%1").arg(rule.first.day());
        }
        break;
    case Repeat::MonthlyByWeekday:
        parts << QStringLiteral("FREQ=MONTHLY")
              << QStringLiteral("BYDAY=%1%2")
                     .arg(rule.lastWeekday ? -1 : weekOfMonth(rule.first))
                     .arg(QLatin1String(kWeekdayCodes[rule.first.dayOfWeek()]));
        break;
    }
    if (const auto* until = std::get_if<Until>(&rule.end))
        parts << QStringLiteral("UNTIL=") + until->date.toString(QStringLiteral("yyyyMMdd"));
    else
        parts << QStringLiteral("COUNT=%1").arg(std::get<Count>(rule.end).dates);
    return parts.join(QLatin1Char(';'));
}

QString withUntil(const QString& text, const QDate& until)
{
    QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    parts.removeIf([](const QString& part) {
        return part.startsWith(QLatin1String("COUNT="), Qt::CaseInsensitive) ||
               part.startsWith(QLatin1String("UNTIL="), Qt::CaseInsensitive);
    });
    parts << QStringLiteral("UNTIL=") + until.toString(QStringLiteral("yyyyMMdd"));
    return parts.join(QLatin1Char(';'));
}

std::optional<Rule> fromRRule(const QString& text, const QDate& first, QString* error)
{
    const auto refuse = [&](const QString& what) {
        *error = QStringLiteral("定期予約の規則「%1」が正しくありません（%2）。").arg(text, what);
        return std::nullopt;
    };
    const QStringList parts = partsOf(text);
    QString reason;
    const std::optional<Rule> rule = looseRule(parts, first, &reason);
    if (!rule)
        return refuse(reason);
    // Only the very parts toRRule() writes for this rule and first date, each once.
    QStringList expected = partsOf(toRRule(*rule));
    for (const QString& part : parts) {
        if (!expected.removeOne(part))
            return refuse(part);
    }
    if (!expected.isEmpty())
        return refuse(QStringLiteral("%1 がありません").arg(expected.first()));
    if (const std::optional<Problem> problem = check(*rule))
        return refuse(problem->message);
    return rule;
}

} // namespace recurrence
