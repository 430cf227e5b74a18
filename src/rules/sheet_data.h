#pragma once

#include "base/settings.h"
#include "records/targets.h"
#include "rules/holidays_in_force.h"
#include "rules/slot_types.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QRectF;

// The sheets of the desk as values: what a printed or exported list of reservations holds, built
// from the records without widgets. The painter lays them out on pages; the CSV takes their rows.
namespace sheets {

enum class SheetKind { Day, Week, Calls, Occupancy };

struct SheetColumn {
    QString caption;
    int share = 1;           // of the line's width
    bool alignRight = false; // figures stand right
};

// A run of rows under one heading: a target's day, one day of the week, or the whole list.
struct SheetSection {
    QString heading; // empty for a sheet of one list
    QString note;    // closed time of the target that day, if any
    QStringList key; // the values every row of the section shares, leading its CSV rows
    std::vector<QStringList> rows;
    QString count; // "3件", or "予約なし"
};

// The slot grid of the week sheet: the time table of the seven days and their counts.
struct SheetGrid {
    TimeTable table;
    SlotCounts counts;
    int limit = 0;                            // the target's overlap limit: a slot holding this many is full
    national_holidays::HolidayNames holidays; // named in the rows' labels
};

struct Sheet {
    SheetKind kind = SheetKind::Day;
    QString title;    // "日別一覧"
    QDate date;       // the first date shown
    QString dateLine; // "2026年12月8日(火)", "2026年7月20日(月・海の日)", or the week "2026年12月8日(火)～12月14日(月)"
    QString targetLine; // "全対象", or the target's abbreviation
    QStringList keyCaptions;
    std::vector<SheetColumn> columns;
    std::vector<SheetSection> sections;
    QString summary; // "合計 12件"
    std::optional<SheetGrid> grid;
    // A picture above the rows of the first page, drawn into the rectangle it is given, and the
    // share of the page's height it takes.
    std::function<void(QPainter&, const QRectF&)> picture;
    double pictureShare = 0.45;

    QStringList csvHeader() const;
    // Every row with its section's key in front, in order.
    std::vector<QStringList> csvRows() const;
};

// "2026年12月8日(火)", "2026年7月20日(月・海の日)".
QString dateWithWeekday(const QDate& date, const QString& holiday);

// The reservations of the date, target by target (every target but the common one when `target`
// is empty), with the closed time of each and the counts.
Sheet BuildDaySheet(const store::Database& db, const Settings& settings, const QDate& date, const std::optional<records::Target>& target);
// Seven days of one target from the date: the slot grid and the list of the week.
Sheet BuildWeekSheet(const store::Database& db, const Settings& settings, const QDate& date, const records::Target& target);
// The reservations of the date with the reservers' phone numbers, by time, for the calls the day
// before (of one target, or of all when `target` is empty), then the customers still waiting that
// day, target by target in the order they asked.
Sheet BuildCallSheet(const store::Database& db, const QDate& date, const std::optional<records::Target>& target);

} // namespace sheets
