#include "views/reservation_status.h"

#include "records/basic.h"
#include "ui/flex_grid.h"
#include "ui/palette.h"
#include "views/business_status.h"

#include <QHash>
#include <algorithm>

namespace 予約状色付 {

std::vector<基本設定::Overlap> ColourReservationStatus(const store::Database& db, FlexGrid* grid, const TimeTable& table,
                                                       const SlotCounts& counts)
{
    // One read lock for all the per-row look-ups.
    store::Transaction oneReading(db, store::Transaction::ForReading);
    const 基本設定::Overlap common = 基本設定::LoadCommonOverlap(db);
    std::vector<基本設定::Overlap> rows;
    if (table.TargetColumns) {
        QStringList targets;
        for (const TimeTableColumn& column : table.Columns)
            targets << column.Target;
        rows = LoadGridListOverlap(db, targets, common);
    } else if (!table.Columns.empty()) {
        rows = LoadGridTargetOverlap(db, table.Columns.front().Target, table.ColumnCount(), common);
    }
    oneReading.commit();
    std::vector<int> limits;
    limits.reserve(rows.size());
    for (const 基本設定::Overlap& row : rows)
        limits.push_back(row.limit);
    PaintReservationCounts(grid, counts, limits);
    return rows;
}

std::vector<基本設定::Overlap> LoadGridListOverlap(const store::Database& db, const QStringList& targets, const 基本設定::Overlap& common)
{
    // One pass over the basic records instead of a look-up per target.
    QHash<QString, 基本設定::Overlap> own;
    for (const records::BasicRecord& basic : records::listBasics(db))
        own.insert(basic.target, 基本設定::overlapOf(basic));
    std::vector<基本設定::Overlap> rows;
    for (const QString& target : targets)
        rows.push_back(own.value(target, common));
    return rows;
}

std::vector<基本設定::Overlap> LoadGridTargetOverlap(const store::Database& db, const QString& target, int rows,
                                                     const 基本設定::Overlap& common)
{
    return std::vector<基本設定::Overlap>(size_t(std::max(rows, 0)), 基本設定::LoadTargetOverlap(db, target, common));
}

void PaintReservationCounts(FlexGrid* grid, const SlotCounts& counts, const std::vector<int>& limits)
{
    const int rows = std::min(int(counts.ReservationCount.size()), grid->rows() - 営業状色付::kFirstDataRow);
    for (int column = 0; column < rows; ++column)
        PaintRowCounts(grid, column, counts.ReservationCount[size_t(column)], size_t(column) < limits.size() ? limits[size_t(column)] : 0,
                       size_t(column) < counts.WaitingCount.size() ? counts.WaitingCount[size_t(column)] : std::vector<int>());
}

void PaintRowCounts(FlexGrid* grid, int column, const std::vector<int>& rowCounts, int limit, const std::vector<int>& waiting)
{
    const int row = 営業状色付::GridRowOf(column);
    if (row >= grid->rows())
        return;
    const int slotCount = std::min(int(rowCounts.size()), grid->cols() - 1);
    for (int slot = 0; slot < slotCount; ++slot) {
        const int count = rowCounts[size_t(slot)];
        const int col = SlotTimes::column(slot);
        grid->setTextMatrix(row, col, CountText(count, size_t(slot) < waiting.size() && waiting[size_t(slot)] > 0));
        if (count > 0)
            grid->paintRow(row, col, col, CountColour(count, limit));
    }
}

QString CountText(int count, bool waiting)
{
    if (waiting)
        return CountText(count) + QStringLiteral("待");
    // Most cells show a small count; their texts are made once.
    static const std::vector<QString> small = [] {
        std::vector<QString> texts(100);
        for (size_t n = 0; n < texts.size(); ++n)
            texts[n] = QString::number(n);
        return texts;
    }();
    return count >= 0 && count < int(small.size()) ? small[size_t(count)] : QString::number(count);
}

QColor CountColour(int count, int limit)
{
    if (count <= 0)
        return ui::qbColor(15);
    return ui::qbColor(count < limit ? 11 : 12);
}

} // namespace 予約状色付
