#include "records/rebuild.h"

#include "base/input.h"
#include "records/reservers.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <array>

namespace records {

namespace {

struct RebuildStep {
    const char* table;
    const char* index;     // the key order the copy is read in
    const char* dateField; // written back as "yyyy/mm/dd", or empty
};

constexpr std::array<RebuildStep, kRebuildSteps> kSteps = {{
    {"カレンダー", "Key_カレンダー", ""},
    {"マスタ", "idx_マスタ", ""},
    {"営業", "Key_営業", ""},
    {"基本", "Key_基本", ""},
    {"設定", "Key_設定", ""},
    {"特定日", "Key_特定日", "特定_日付"},
    {"日別", "Key_日別", ""},
    {"発番", "Key_発番", ""},
    {"予約", "Key_予約", "予約_受付日"},
    {"予約者", "Key_予約者", ""},
    {"予約取消", "Key_予約取消", ""},
    {"祝日", "Key_祝日", ""},
    {"定期予約", "Key_定期予約", ""},
    {"定期日程", "Key_定期日程", ""},
    {"キャンセル待ち", "Key_キャンセル待ち", ""},
}};

// A field of the copy as it is written to the main file: the date field of the step is
// rewritten as "yyyy/mm/dd" when it holds a date (the date a reservation was taken may be
// stored without leading zeros); any other value is copied as it is.
store::Value copiedValue(const store::Table& source, const QString& field, const RebuildStep& step)
{
    store::Value value = source.field(field);
    if (field == QString::fromUtf8(step.dateField)) {
        if (const std::optional<QDate> date = input::date(value.text()))
            return input::dateText(*date);
    }
    return value;
}

} // namespace

QString rebuiltTableName(int step)
{
    return QString::fromUtf8(kSteps.at(size_t(step - 1)).table);
}

void rebuildTable(const store::Database& main, const store::Database& copy, int step, const store::Progress& progress)
{
    const RebuildStep& s = kSteps.at(size_t(step - 1));
    // A copy that is the main file itself (a link to it) would be emptied before it is read.
    if (copy.connection() == main.connection())
        throw store::StoreError(QStringLiteral("「%1」は「%2」そのものです。").arg(copy.fileName(), main.fileName()));

    // The copy, its table and its index must be readable before the main table is touched; the
    // empty text sorts below every key, so the cursor stands on the copy's first record.
    store::Table source = copy.table(s.table, s.index);
    source.seek(">=", {store::Value()});

    const store::schema::TableDef& definition = *store::schema::findTable(s.table);
    store::Transaction transaction(main);
    main.execute(QStringLiteral("DELETE * FROM %1 ;").arg(QString::fromUtf8(s.table)));
    store::Table target = main.table(s.table);
    qint64 copied = 0;
    for (; !source.eof(); source.moveNext()) {
        store::report(progress, copied++, 0);
        target.addNew();
        for (const store::schema::FieldDef& field : definition.fields)
            target.set(field.name, copiedValue(source, field.name, s));
        target.update();
    }
    target.close();
    // The look-up keys are made from the reservers, in the same transaction, rather than copied:
    // they follow the reservers as the main file now holds them, whatever the copy's are.
    if (definition.name == QStringLiteral("予約者"))
        rebuildReserverKeys(main);
    transaction.commit();
}

} // namespace records
