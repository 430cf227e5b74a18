#include "maintenance/reorganise.h"

#include "base/input.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "ui/busy_cursor.h"
#include "ui/message_box.h"

#include <array>

namespace DB再編成 {

namespace {

struct CopyStep {
    QString table;
    QString index;     // the key order the copy is read in
    QString dateField; // written back as "yyyy/mm/dd", or empty
    QString completed; // the prompts after the step
    QString failed;
};

const std::array<CopyStep, kStepCount>& steps()
{
    static const std::array<CopyStep, kStepCount> all = {{
        {"カレンダー", "Key_カレンダー", "", "カレンダーは正常終了しました。残りを続けますか", "カレンダーは失敗しました。残りを続けますか"},
        {"マスタ", "idx_マスタ", "", "マスタ正常終了しました。残りを続けますか", "マスタ失敗しました。残りを続けますか"},
        {"営業", "Key_営業", "", "営業は正常終了しました。残りを続けますか", "営業は失敗しました。残りを続けますか"},
        {"基本", "Key_基本", "", "基本は正常終了しました。残りを続けますか", "基本は失敗しました。残りを続けますか"},
        {"設定", "Key_設定", "", "設定は正常終了しました。残りを続けますか", "設定は失敗しました。残りを続けますか"},
        {"特定日", "Key_特定日", "特定_日付", "特定日は正常終了しました。残りを続けますか", "特定日は失敗しました。残りを続けますか"},
        {"日別", "Key_日別", "", "日別は正常終了しました。残りを続けますか", "日別は失敗しました。残りを続けますか"},
        {"発番", "Key_発番", "", "発番は正常終了しました。残りを続けますか", "発番は失敗しました。残りを続けますか"},
        {"予約", "Key_予約", "予約_受付日", "予約は正常終了しました。残りを続けますか", "予約は失敗しました。残りを続けますか"},
        {"予約者", "Key_予約者", "", "予約者は正常終了しました。残りを続けますか", "予約者は失敗しました。残りを続けますか"},
    }};
    return all;
}

// A field of the copy as it is written to the main file: the date field of the step is
// rewritten as "yyyy/mm/dd" when it holds a date (the date a reservation was taken may be
// stored without leading zeros); any other value is copied as it is.
store::Value copiedValue(const store::Table& source, const QString& field, const CopyStep& step)
{
    const store::Value value = source.field(field);
    if (field == step.dateField) {
        if (const std::optional<QDate> date = input::date(value.text()))
            return input::dateText(*date);
    }
    return value;
}

void copyTable(const CopyStep& step)
{
    store::Database main = store::Database::open();
    store::Database copy = store::Database::open(store::kBackupFile);
    // A copy that is the main file itself (a link to it) would be emptied before it is read.
    if (copy.connection() == main.connection())
        throw store::StoreError(QStringLiteral("「%1」は「%2」そのものです。").arg(store::kBackupFile, store::kMainFile));

    // The copy, its table and its index must be readable before the main table is touched; the
    // empty text sorts below every key, so the cursor stands on the copy's first record.
    store::Table source = copy.table(step.table);
    source.setIndex(step.index);
    source.seek(">=", {store::Value()});

    const store::schema::TableDef& definition = *store::schema::findTable(step.table);
    store::Transaction transaction(main);
    main.execute(QStringLiteral("DELETE * FROM %1 ;").arg(step.table));
    store::Table target = main.table(step.table);
    for (; !source.eof(); source.moveNext()) {
        target.addNew();
        for (const store::schema::FieldDef& field : definition.fields)
            target.set(field.name, copiedValue(source, field.name, step));
        target.update();
    }
    target.close();
    transaction.commit();
}

} // namespace

bool CopyTableStep(int step)
{
    try {
        ui::BusyCursor busy;
        copyTable(steps().at(size_t(step - 1)));
        return true;
    } catch (const store::StoreError&) {
        return false;
    }
}

void ReorganiseDatabase()
{
    if (!msg::ask(kConfirmation, kTitle))
        return;
    for (int step = 1; step <= kStepCount; ++step) {
        const CopyStep& s = steps()[size_t(step - 1)];
        if (!msg::ask(CopyTableStep(step) ? s.completed : s.failed, kTitle))
            return;
    }
    msg::exclaim(QStringLiteral("ﾃﾞｰﾀ･ﾍﾞｽの再編成は完了しました。"), kTitle);
}

} // namespace DB再編成
