#include "views/hours_grid.h"

#include "base/app_state.h"
#include "ui/flex_grid.h"

namespace Grid時間帯 {

namespace {

const QString kFirstStart = QStringLiteral("00:00");

// Kind 2 with day 0 shows the first day of the target's cycle that has bands. The cursor is on
// the first record at or after day 0 of the target and cycle; it may belong to another target.
void takeFirstDay(const store::Table& table, HoursKey& key)
{
    if (key.HoursFormKind != 2 || key.HoursDay != 0 || table.eof())
        return;
    if (table.text("日別_番号") == key.Target && table.integer("日別_区分") == key.DailyHoursKind)
        key.HoursDay = table.integer("日別_日付");
}

} // namespace

HoursKey CurrentKey()
{
    const AppState& a = app();
    return {a.modes.HoursFormKind, a.targets.CurrentTarget, a.settings.DailyHoursKind, a.hours.HoursDay,
            a.hours.SpecificDate};
}

std::vector<store::Value> HoursSource::seekValues(const QString& start) const
{
    std::vector<store::Value> values;
    for (const auto& [field, value] : keyFields)
        values.push_back(value);
    values.push_back(start);
    return values;
}

bool HoursSource::holds(const store::Table& table) const
{
    for (const auto& [field, value] : keyFields) {
        if (table.text(field) != value.text())
            return false;
    }
    return true;
}

std::optional<HoursSource> SourceOf(const HoursKey& key)
{
    switch (key.HoursFormKind) {
    case 1:
        return HoursSource{"営業", "Key_営業", "営業_", {{"営業_番号", key.Target}}};
    case 2:
        return HoursSource{"日別", "Key_日別", "日別_",
                           {{"日別_番号", key.Target}, {"日別_区分", key.DailyHoursKind}, {"日別_日付", key.HoursDay}}};
    case 3:
        if (!key.SpecificDate.isValid())
            return std::nullopt;
        return HoursSource{"特定日", "Key_特定日", "特定_", {{"特定_番号", key.Target}, {"特定_日付", key.SpecificDate}}};
    default:
        return std::nullopt;
    }
}

HoursGridFill FillHoursGrid(FlexGrid* grid, HoursKey& key)
{
    HoursGridFill fill;
    std::optional<HoursSource> source = SourceOf(key);
    if (!source)
        return fill;
    store::Table table = store::Database::open().table(source->table);
    table.setIndex(source->index);
    table.seek(">=", source->seekValues(kFirstStart));
    takeFirstDay(table, key);
    source = SourceOf(key);

    const QString& prefix = source->prefix;
    QString previousEnd = kFirstStart;
    for (int row = 1; !table.eof() && source->holds(table); table.moveNext(), ++row) {
        if (row >= grid->rows())
            grid->setRows(row + 1);
        const QString start = table.text(prefix + "開始時間");
        const QString end = table.text(prefix + "終了時間");
        grid->setTextMatrix(row, 0, QString::number(row));
        grid->setRow(row);
        grid->setCol(1);
        grid->setCellAlignment(FlexGrid::RightBottom);
        grid->setText(start);
        grid->setTextMatrix(row, 2, end);
        if (table.text(prefix + "営業フラグ") == QLatin1String("1"))
            grid->setTextMatrix(row, 3, QStringLiteral("休"));
        grid->setCol(4);
        grid->setCellAlignment(FlexGrid::LeftCenter);
        grid->setText(table.text(prefix + "備考"));

        if (fill.OverlapFlag == 0 && previousEnd > start) {
            fill.OverlapFlag = 1;
            fill.OverlapRow = row;
        }
        previousEnd = end;
        fill.LastRow = row;
    }
    return fill;
}

HoursGridFill FillHoursGrid(FlexGrid* grid)
{
    if (app().hours.HoursAction != 1)
        return {};
    HoursKey key = CurrentKey();
    const HoursGridFill fill = FillHoursGrid(grid, key);
    app().hours.HoursDay = key.HoursDay;
    return fill;
}

} // namespace Grid時間帯
