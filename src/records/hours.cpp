#include "records/hours.h"

#include "store/store_error.h"

namespace hours_records {

namespace {

// The source's table positioned on the band of the key that starts at `start`.
store::Table seekBand(const Grid時間帯::HoursSource& source, const QString& start)
{
    store::Table table = store::Database::open().table(source.table);
    table.setIndex(source.index);
    table.seek("=", source.seekValues(start));
    return table;
}

} // namespace

void SaveBand(const Grid時間帯::HoursKey& key, const HoursBand& band)
{
    const std::optional<Grid時間帯::HoursSource> source = Grid時間帯::SourceOf(key);
    if (!source)
        throw store::StoreError(QStringLiteral("営業時間の登録先（対象・日付）が決まっていません。"));
    store::Table table = seekBand(*source, band.start);
    if (table.noMatch())
        table.addNew();
    else
        table.edit();
    for (const auto& [field, value] : source->keyFields)
        table.set(field, value);
    const QString& prefix = source->prefix;
    table.set(prefix + "開始時間", band.start);
    table.set(prefix + "終了時間", band.end);
    table.set(prefix + "営業フラグ", band.closed ? "1" : "0");
    table.set(prefix + "備考", band.remark);
    table.update();
}

bool DeleteBand(const Grid時間帯::HoursKey& key, const QString& start)
{
    const std::optional<Grid時間帯::HoursSource> source = Grid時間帯::SourceOf(key);
    if (!source)
        return false;
    store::Table table = seekBand(*source, start);
    if (table.noMatch())
        return false;
    table.remove();
    return true;
}

} // namespace hours_records
