#include "rules/sheet_data.h"

#include "base/input.h"
#include "base/kinds.h"
#include "base/weekdays.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "rules/holidays_in_force.h"
#include "rules/overlap_settings.h"
#include "rules/slot_counts.h"
#include "rules/time_table.h"
#include "rules/waiting_list.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace sheets {

namespace {

const QStringList kKeyCaptions{QStringLiteral("予約日"), QStringLiteral("対象番号"), QStringLiteral("対象略称")};

// The reservers of a sheet, each read once however many bookings they have.
class ReserverBook {
public:
    explicit ReserverBook(const store::Database& db) : db_(db) {}

    const records::Reserver& of(const QString& number)
    {
        auto found = known_.find(number);
        if (found == known_.end())
            found = known_.emplace(number, records::findReserver(db_, number).value_or(records::Reserver{})).first;
        return found->second;
    }
    // The number to call: the phone, else the mobile.
    QString phoneOf(const QString& number)
    {
        const records::Reserver& reserver = of(number);
        return reserver.phone.isEmpty() ? reserver.mobile : reserver.phone;
    }

private:
    const store::Database& db_;
    std::map<QString, records::Reserver> known_;
};

QString countText(size_t count)
{
    return count == 0 ? QStringLiteral("予約なし") : QStringLiteral("%1件").arg(count);
}

QString totalText(size_t count)
{
    return QStringLiteral("合計 %1件").arg(count);
}

QString heading(const records::Target& target)
{
    QString text = target.abbrev;
    if (!target.name.isEmpty() && target.name != target.abbrev)
        text += QStringLiteral("　") + target.name;
    return text + QStringLiteral(" (%1)").arg(target.number);
}

// The closed time of a time-table column within the hours the grids show: the whole day, or the
// stretches outside its open time.
QString closedTime(const TimeTable& table, const TimeTableColumn& column, const SlotTimes& daySlots)
{
    if (column.CalendarFlag == 1)
        return QStringLiteral("休業日");
    QStringList spans;
    for (const 時間TBL::MinuteSpan& span : 時間TBL::DayHoursOf(table, column, daySlots).closedTimeShown())
        spans << input::timeText(span.start / 60, span.start % 60) + QStringLiteral("～") + input::timeText(span.end / 60, span.end % 60);
    return spans.isEmpty() ? QString() : QStringLiteral("休業時間 ") + spans.join(QStringLiteral("、"));
}

std::vector<records::Target> targetsOf(const store::Database& db, const std::optional<records::Target>& target)
{
    if (target)
        return {*target};
    std::vector<records::Target> targets = records::listTargets(db);
    std::erase_if(targets, [](const records::Target& t) { return t.number == records::kCommonTarget; });
    return targets;
}

QStringList key(const QDate& date, const records::Target& target)
{
    return {input::dateText(date), target.number, target.abbrev};
}

} // namespace

QStringList Sheet::csvHeader() const
{
    QStringList header = keyCaptions;
    for (const SheetColumn& column : columns)
        header << column.caption;
    return header;
}

std::vector<QStringList> Sheet::csvRows() const
{
    std::vector<QStringList> all;
    for (const SheetSection& section : sections) {
        for (const QStringList& row : section.rows)
            all.push_back(section.key + row);
    }
    return all;
}

QString dateWithWeekday(const QDate& date, const QString& holiday)
{
    return QStringLiteral("%1年%2月%3日(%4)").arg(date.year()).arg(date.month()).arg(date.day()).arg(weekdays::note(date, holiday));
}

namespace {

// The head of a sheet of one day: every target, or the one chosen; a holiday is named.
Sheet sheetOfDay(const store::Database& db, SheetKind kind, const QString& title, const QDate& date,
                 const std::optional<records::Target>& target)
{
    Sheet sheet;
    sheet.kind = kind;
    sheet.title = title;
    sheet.date = date;
    sheet.dateLine = dateWithWeekday(date, national_holidays::holidayNamesBetween(db, date, date).on(date));
    sheet.targetLine = target ? target->abbrev : QStringLiteral("全対象");
    return sheet;
}

} // namespace

Sheet BuildDaySheet(const store::Database& db, const Settings& settings, const QDate& date, const std::optional<records::Target>& target)
{
    store::Transaction oneReading(db, store::Transaction::ForReading);
    Sheet sheet = sheetOfDay(db, SheetKind::Day, QStringLiteral("日別一覧"), date, target);
    sheet.keyCaptions = kKeyCaptions;
    sheet.columns = {{"開始", 2}, {"終了", 2}, {"予約者NO", 4}, {"氏名", 5}, {"カナ", 5}, {"電話番号", 4}, {"備考", 7}};

    const std::vector<records::Target> targets = targetsOf(db, target);
    時間TBL::TimeTableRequest request;
    request.TimeTableMode = int(TimeTableMode::ByDay);
    request.InquiryKind = int(InquiryKind::ByDay);
    request.DailyHoursKind = settings.DailyHoursKind;
    request.SelectedDate = date;
    for (const records::Target& t : targets) {
        request.TargetList << t.number;
        request.TargetAbbrevList << t.abbrev;
    }
    const TimeTable table = 時間TBL::BuildTimeTable(db, request);
    const SlotTimes daySlots = 予約TBL::SlotTimesOf(settings);

    ReserverBook reservers(db);
    size_t total = 0;
    for (size_t i = 0; i < targets.size(); ++i) {
        SheetSection section{heading(targets[i]), closedTime(table, table.Columns[i], daySlots), key(date, targets[i]), {}, {}};
        for (const records::Reservation& r : records::reservationsOfDay(db, targets[i].number, date)) {
            section.rows.push_back({input::timeText(r.start), input::timeText(r.end), r.reserverNo, r.reserverName, r.reserverKana,
                                    reservers.phoneOf(r.reserverNo), r.remark});
        }
        section.count = countText(section.rows.size());
        total += section.rows.size();
        sheet.sections.push_back(std::move(section));
    }
    sheet.summary = totalText(total);
    oneReading.commit();
    return sheet;
}

Sheet BuildWeekSheet(const store::Database& db, const Settings& settings, const QDate& date, const records::Target& target)
{
    store::Transaction oneReading(db, store::Transaction::ForReading);
    const QDate last = date.addDays(6);
    const national_holidays::HolidayNames holidays = national_holidays::holidayNamesBetween(db, date, last);
    Sheet sheet;
    sheet.kind = SheetKind::Week;
    sheet.title = QStringLiteral("週間一覧");
    sheet.date = date;
    const QString lastLine = dateWithWeekday(last, holidays.on(last));
    sheet.dateLine =
        dateWithWeekday(date, holidays.on(date)) + QStringLiteral("～") + (last.year() == date.year() ? lastLine.mid(5) : lastLine);
    sheet.targetLine = target.abbrev;
    sheet.keyCaptions = kKeyCaptions;
    sheet.columns = {{"開始", 2}, {"終了", 2}, {"予約者NO", 4}, {"氏名", 5}, {"電話番号", 4}, {"備考", 9}};

    時間TBL::TimeTableRequest request;
    request.TimeTableMode = int(TimeTableMode::ByTarget);
    request.InquiryKind = int(InquiryKind::ByTarget);
    request.DailyHoursKind = settings.DailyHoursKind;
    request.CurrentTarget = target.number;
    request.CurrentTargetAbbrev = target.abbrev;
    request.WorkingDate = date;
    SheetGrid grid{時間TBL::BuildTimeTable(db, request), {}, 基本設定::LoadOverlapSettings(db, target.number).limit, holidays};
    grid.counts =
        予約TBL::BuildReservationCounts(db, {int(InquiryKind::ByTarget), target.number, date, {}, 予約TBL::SlotTimesOf(settings)});

    ReserverBook reservers(db);
    size_t total = 0;
    for (const TimeTableColumn& column : grid.table.Columns) {
        const QDate day = column.ColumnDate;
        SheetSection section{
            dateWithWeekday(day, holidays.on(day)).mid(5), closedTime(grid.table, column, grid.counts.Slots), key(day, target), {}, {}};
        for (const records::Reservation& r : records::reservationsOfDay(db, target.number, day)) {
            section.rows.push_back({input::timeText(r.start), input::timeText(r.end), r.reserverNo, r.reserverName,
                                    reservers.phoneOf(r.reserverNo), r.remark});
        }
        section.count = countText(section.rows.size());
        total += section.rows.size();
        sheet.sections.push_back(std::move(section));
    }
    sheet.summary = totalText(total);
    sheet.grid = std::move(grid);
    oneReading.commit();
    return sheet;
}

Sheet BuildCallSheet(const store::Database& db, const QDate& date, const std::optional<records::Target>& target)
{
    store::Transaction oneReading(db, store::Transaction::ForReading);
    Sheet sheet = sheetOfDay(db, SheetKind::Calls, QStringLiteral("確認電話一覧"), date, target);
    sheet.keyCaptions = {kKeyCaptions[0], QStringLiteral("区分")};
    sheet.columns = {{"開始", 2}, {"終了", 2}, {"対象略称", 4}, {"予約者NO", 4}, {"氏名", 5}, {"電話番号", 4}, {"携帯番号", 4}};

    std::vector<records::Reservation> day;
    for (const records::Target& t : targetsOf(db, target)) {
        for (records::Reservation& r : records::reservationsOfDay(db, t.number, date)) {
            r.abbrev = t.abbrev; // as the target is called now
            day.push_back(std::move(r));
        }
    }
    std::stable_sort(day.begin(), day.end(), [](const records::Reservation& a, const records::Reservation& b) {
        return std::tie(a.start, a.end) < std::tie(b.start, b.end);
    });

    ReserverBook reservers(db);
    SheetSection section{{}, {}, {input::dateText(date), QStringLiteral("予約")}, {}, {}};
    for (const records::Reservation& r : day) {
        const records::Reserver& reserver = reservers.of(r.reserverNo);
        section.rows.push_back(
            {input::timeText(r.start), input::timeText(r.end), r.abbrev, r.reserverNo, r.reserverName, reserver.phone, reserver.mobile});
    }
    sheet.summary = totalText(section.rows.size());
    sheet.sections.push_back(std::move(section));

    // The customers still waiting that day, to be told whether a place freed.
    SheetSection waiting{QStringLiteral("キャンセル待ち"), {}, {input::dateText(date), QStringLiteral("キャンセル待ち")}, {}, {}};
    for (const records::Target& t : targetsOf(db, target)) {
        for (const records::WaitingEntry& e : waiting_list::OfDay(db, t.number, date)) {
            waiting.rows.push_back({input::timeText(e.start), input::timeText(e.end), t.abbrev, e.reserverNo, e.reserverName, e.phone,
                                    reservers.of(e.reserverNo).mobile});
        }
    }
    if (!waiting.rows.empty()) {
        waiting.count = QStringLiteral("%1件").arg(waiting.rows.size());
        sheet.summary += QStringLiteral("　キャンセル待ち %1件").arg(waiting.rows.size());
        sheet.sections.push_back(std::move(waiting));
    }
    oneReading.commit();
    return sheet;
}

} // namespace sheets
