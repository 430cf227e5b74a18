#include "app/startup.h"

#include "base/app_state.h"
#include "base/clock.h"
#include "base/input.h"
#include "rules/slot_counts.h"
#include "store/database.h"
#include "store/store_error.h"
#include "ui/message_box.h"
#include "ui/palette.h"

namespace 初期処理 {

namespace {

const QString kMasterForm = QStringLiteral("マスター情報登録");
const QString kBasicForm = QStringLiteral("基本情報登録");

constexpr int kLongestValueShown = 20; // a value another tool wrote may be of any length

// A number setting as stored, or its default when the stored text is no number (a NULL reads as
// empty text); the line for the operator names the form, the item, the value and the default.
int numberOr(const store::Value& stored, int fallback, const QString& form, const QString& item, QStringList& problems)
{
    try {
        return int(stored.integer());
    } catch (const store::StoreError&) {
        const QString text = stored.text();
        const QString shown = text.size() > kLongestValueShown ? text.left(kLongestValueShown) + QStringLiteral("…") : text;
        problems << QStringLiteral("・%1「%2」：「%3」（既定値 %4）").arg(form, item, shown).arg(fallback);
        return fallback;
    }
}

} // namespace

void LoadStartupSettings()
{
    Settings& s = app().settings;
    s.OffHoursColour = ui::offHoursColour();
    s.WeekdayNames = {"日", "月", "火", "水", "木", "金", "土"};
    QStringList problems;
    LoadBasicSettings(problems);
    LoadMasterSettings(problems);
    if (!problems.isEmpty()) {
        msg::exclaim(QStringLiteral("次の登録内容は数値ではないため、既定値で処理します。\n%1\n各画面で正しく登録して下さい。")
                         .arg(problems.join('\n')),
                     QStringLiteral("初期処理"));
    }
}

void LoadBasicSettings(QStringList& problems)
{
    store::Database db = store::Database::open();
    store::Table basic = db.table("基本");
    basic.setIndex("Key_基本");
    basic.seek("=", {"00000"});
    app().settings.UnitMinutes =
        basic.eof() || basic.noMatch()
            ? 予約TBL::kDefaultUnitMinutes
            : 予約TBL::UnitMinutesFor(basic.text("基本_単位"),
                                      numberOr(basic.field("基本_設定"), 予約TBL::kDefaultUnitMinutes, kBasicForm,
                                               QStringLiteral("単位時間"), problems));
}

void LoadMasterSettings(QStringList& problems)
{
    Settings& s = app().settings;
    const Settings defaults;
    store::Database db = store::Database::open();
    store::Table master = db.table("マスタ");
    master.setIndex("idx_マスタ");
    for (int item = 1; item <= 7; ++item) {
        master.seek("=", {item});
        const bool found = !master.noMatch();
        const store::Value content = found ? master.field("マス_内容") : store::Value();
        const auto number = [&](int fallback, const char* caption) {
            return found ? numberOr(content, fallback, kMasterForm, QString::fromUtf8(caption), problems) : fallback;
        };
        switch (item) {
        case 1: s.RetentionMonths = number(defaults.RetentionMonths, "保持期限"); break;
        case 2: s.DailyHoursKind = number(defaults.DailyHoursKind, "特定日設定"); break;
        // Kept as typed ("４／１", " 10/01"); the forms read it as plain "MM/DD".
        case 3: s.FiscalYearStart = found ? input::normalized(content.text()) : defaults.FiscalYearStart; break;
        case 4: s.DisplayStartHour = number(defaults.DisplayStartHour, "表示開始時間"); break;
        case 5: s.DisplayEndHour = number(defaults.DisplayEndHour, "表示終了時間"); break;
        case 6: s.NumberPrefix = found ? content.text() : defaults.NumberPrefix; break;
        case 7: s.NumberingKind = found ? content.text() : defaults.NumberingKind; break;
        }
    }
}

} // namespace 初期処理
