// The dates of a recurring booking, checked against a second expander, and its stored rule text.

#include "rules/recurrence.h"

#include "base/weekdays.h"

#include <QProcess>
#include <array>
#include <gtest/gtest.h>
#include <random>

namespace {

using namespace recurrence;

// Rules of every kind from a fixed seed, their first dates crowded at month and year ends, over
// years with and without 29 February, ending by dates and by counts, some running into the caps.
std::vector<Rule> generatedRules()
{
    std::mt19937 random(20261208);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::vector<Rule> rules;
    for (int n = 0; n < 400; ++n) {
        Rule rule;
        const int year = pick(2023, 2032);
        const int month = pick(0, 1) ? pick(1, 12) : std::array{1, 2, 12}[pick(0, 2)];
        const int days = QDate(year, month, 1).daysInMonth();
        rule.first = QDate(year, month, std::array{pick(1, days), pick(days - 6, days), pick(days - 2, days)}[pick(0, 2)]);
        // Only what the form asks for the repeat chosen, as the form fills it in.
        switch (pick(0, 2)) {
        case 0:
            rule.repeat = Repeat::Weekly;
            rule.intervalWeeks = pick(1, kMaxIntervalWeeks);
            for (int weekday = 1; weekday <= 7; ++weekday)
                rule.weekdays[weekday] = pick(0, 2) == 0;
            rule.weekdays[weekdays::numberOf(rule.first)] = true;
            break;
        case 1:
            rule.repeat = Repeat::MonthlyByDay;
            rule.monthEnd = monthEndOffered(rule.first) && pick(0, 1);
            break;
        default:
            rule.repeat = Repeat::MonthlyByWeekday;
            rule.lastWeekday = lastWeekdayOffered(rule.first) && pick(0, 1);
            break;
        }
        const int lastDay = static_cast<int>(rule.first.daysTo(lastAllowedDate(rule.first)));
        switch (pick(0, 3)) {
        case 0: rule.end = Count{std::array{kMaxDates, pick(1, 10)}[pick(0, 1)]}; break;
        case 1: rule.end = Count{pick(1, kMaxDates)}; break;
        case 2: rule.end = Until{lastAllowedDate(rule.first)}; break;
        default: rule.end = Until{rule.first.addDays(pick(0, lastDay))}; break;
        }
        rules.push_back(rule);
    }
    return rules;
}

QString line(const Expansion& expansion)
{
    QStringList words{expansion.cut == Cut::None ? "none" : expansion.cut == Cut::ByYears ? "years" : "dates"};
    for (const QDate& date : expansion.dates)
        words << date.toString("yyyyMMdd");
    return words.join(' ');
}

TEST(Recurrence, DatesMatchAnIndependentExpanderAcrossMonthEndsYearEndsAndLeapYears)
{
    const std::vector<Rule> rules = generatedRules();
    QByteArray input;
    for (const Rule& rule : rules)
        input += (rule.first.toString("yyyyMMdd") + ' ' + toRRule(rule) + '\n').toUtf8();
    QProcess oracle;
    oracle.start("python3", {KELVORA_RRULE_ORACLE});
    ASSERT_TRUE(oracle.waitForStarted());
    oracle.write(input);
    oracle.closeWriteChannel();
    ASSERT_TRUE(oracle.waitForFinished(60000));
    ASSERT_EQ(oracle.exitCode(), 0) << oracle.readAllStandardError().toStdString();
    const QStringList expected = QString::fromUtf8(oracle.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(expected.size(), static_cast<qsizetype>(rules.size()));

    int cutByYears = 0, cutByDates = 0;
    for (std::size_t n = 0; n < rules.size(); ++n) {
        const Expansion expansion = expand(rules[n]);
        EXPECT_EQ(line(expansion), expected[n])
            << rules[n].first.toString("yyyy/MM/dd").toStdString() << ' ' << toRRule(rules[n]).toStdString();
        cutByYears += expansion.cut == Cut::ByYears;
        cutByDates += expansion.cut == Cut::ByDates;
    }
    // The table reaches both caps.
    EXPECT_GT(cutByYears, 0);
    EXPECT_GT(cutByDates, 0);
}

TEST(Recurrence, TheStoredRuleTextReadsBackAsTheSameRuleAndNothingElseIsRead)
{
    Rule lastDayOfMonth{.first = QDate(2026, 1, 30), .repeat = Repeat::MonthlyByDay, .monthEnd = true, .end = Until{QDate(2026, 12, 31)}};
    EXPECT_EQ(toRRule(lastDayOfMonth), "FREQ=MONTHLY;BYMONTHDAY=28,29,30;BYSETPOS=-1;UNTIL=20261231");
    Rule everyOtherWeek{.first = QDate(2026, 12, 8), .intervalWeeks = 2, .end = Count{10}};
    everyOtherWeek.weekdays[weekdays::numberOf(QDate(2026, 12, 8))] = true;
    everyOtherWeek.weekdays[1] = true; // Sunday ends the week
    EXPECT_EQ(toRRule(everyOtherWeek), "FREQ=WEEKLY;WKST=MO;INTERVAL=2;BYDAY=TU,SU;COUNT=10");
    EXPECT_EQ(toRRule({.first = QDate(2026, 12, 29), .repeat = Repeat::MonthlyByWeekday, .lastWeekday = true, .end = Count{3}}),
              "FREQ=MONTHLY;BYDAY=-1TU;COUNT=3");

    for (const Rule& rule : generatedRules()) {
        QString error;
        EXPECT_EQ(fromRRule(toRRule(rule), rule.first, &error), rule) << toRRule(rule).toStdString() << error.toStdString();
    }
    // What the standard takes when left out may be written, in any case.
    Rule everyWeek = everyOtherWeek;
    everyWeek.intervalWeeks = 1;
    QString error;
    EXPECT_EQ(fromRRule("freq=weekly;interval=1;byday=tu,su;count=10", QDate(2026, 12, 8), &error), everyWeek);

    // Each text names the part the first date 2026/12/08 (the second Tuesday) or the form does not fit.
    for (const auto& [text, named] : std::vector<std::pair<QString, QString>>{
             {"FREQ=DAILY;COUNT=5", "FREQ=DAILY"},
             {"FREQ=WEEKLY;WKST=SU;INTERVAL=2;BYDAY=TU;COUNT=5", "WKST=SU"},
             {"FREQ=WEEKLY;BYDAY=TU;COUNT=5;COUNT=5", "COUNT=5"},
             {"FREQ=WEEKLY;BYDAY=TU;COUNT=5;UNTIL=20270101", "COUNT=5"},
             {"FREQ=WEEKLY;BYDAY=TU", "UNTIL も COUNT もありません"},
             {"FREQ=WEEKLY;BYDAY=TU;UNTIL=20270231", "UNTIL=20270231"},
             {"FREQ=WEEKLY;INTERVAL=9;BYDAY=TU;COUNT=5", "間隔に1～8の数字を入力してください"},
             {"FREQ=MONTHLY;BYDAY=3TU;COUNT=5", "BYDAY=3TU"},
             {"FREQ=MONTHLY;BYDAY=-1TU;COUNT=5", "最終は開始日が月の最後の7日間にあるときに選択してください"},
             {"FREQ=MONTHLY;BYMONTHDAY=8;BYSETPOS=-1;COUNT=5", "BYSETPOS=-1"},
             {"FREQ=MONTHLY;COUNT=5", "BYMONTHDAY=8 がありません"},
             {"FREQ=MONTHLY;BYMONTHDAY=8;UNTIL=20300101", "2029/12/08まで"},
         }) {
        EXPECT_FALSE(fromRRule(text, QDate(2026, 12, 8), &error)) << text.toStdString();
        EXPECT_TRUE(error.startsWith("定期予約の規則「" + text + "」が正しくありません（") && error.contains(named)) << error.toStdString();
    }
}

TEST(Recurrence, BadInputIsRefusedWithAMessageForItsBox)
{
    Rule weekly{.first = QDate(2026, 12, 8), .end = Until{QDate(2027, 3, 31)}};
    weekly.weekdays[weekdays::numberOf(weekly.first)] = true;
    ASSERT_EQ(check(weekly), std::nullopt);
    Rule interval = weekly, noWeekday = weekly, otherWeekday = weekly, lastWeekday = weekly;
    interval.intervalWeeks = 9;
    noWeekday.weekdays = {};
    otherWeekday.weekdays = {};
    otherWeekday.weekdays[5] = true;
    lastWeekday.repeat = Repeat::MonthlyByWeekday;
    lastWeekday.lastWeekday = true;
    Rule endBefore = weekly, endBeyond = weekly, noCount = weekly, tooMany = weekly;
    endBefore.end = Until{QDate(2026, 12, 7)};
    endBeyond.end = Until{QDate(2029, 12, 9)};
    noCount.end = Count{0};
    tooMany.end = Count{201};
    for (const auto& [rule, field, message] : std::vector<std::tuple<Rule, Field, QString>>{
             {interval, Field::Interval, "間隔に1～8の数字を入力してください"},
             {noWeekday, Field::Weekdays, "曜日を選択してください"},
             {otherWeekday, Field::Weekdays, "開始日の曜日（火）を選択してください"},
             {lastWeekday, Field::LastWeekday, "最終は開始日が月の最後の7日間にあるときに選択してください"},
             {endBefore, Field::EndDate, "終了日に開始日以降の日付を入力してください"},
             {endBeyond, Field::EndDate, "終了日に開始日から3年以内（2029/12/08まで）の日付を入力してください"},
             {noCount, Field::Count, "回数に1～200の数字を入力してください"},
             {tooMany, Field::Count, "回数に1～200の数字を入力してください"},
         }) {
        const std::optional<Problem> problem = check(rule);
        ASSERT_TRUE(problem) << message.toStdString();
        EXPECT_EQ(problem->field, field) << message.toStdString();
        EXPECT_EQ(problem->message, message);
        EXPECT_TRUE(expand(rule).dates.empty()) << message.toStdString();
    }
}

} // namespace
