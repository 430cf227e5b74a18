#include "app/startup.h"

#include "base/app_state.h"
#include "base/clock.h"
#include "base/input.h"
#include "rules/slot_counts.h"
#include "store/database.h"
#include "ui/palette.h"

namespace 初期処理 {

void LoadStartupSettings()
{
    Settings& s = app().settings;
    s.OffHoursColour = ui::offHoursColour();
    s.WeekdayNames = {"日", "月", "火", "水", "木", "金", "土"};
    LoadToday();
    LoadBasicSettings();
    LoadMasterSettings();
}

void LoadToday()
{
    Settings& s = app().settings;
    s.Today = appclock::today();
    s.WorkingDate = QStringLiteral("%1/%2/%3").arg(s.Today.year()).arg(s.Today.month()).arg(s.Today.day());
}

void LoadBasicSettings()
{
    store::Database db = store::Database::open();
    store::Table basic = db.table("基本");
    basic.setIndex("Key_基本");
    basic.seek("=", {"00000"});
    app().settings.UnitMinutes = basic.eof() || basic.noMatch()
                                     ? 予約TBL::kDefaultUnitMinutes
                                     : 予約TBL::UnitMinutesFor(basic.text("基本_単位"), basic.integer("基本_設定"));
}

void LoadMasterSettings()
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
        switch (item) {
        case 1: s.RetentionMonths = found ? int(content.integer()) : defaults.RetentionMonths; break;
        case 2: s.DailyHoursKind = found ? int(content.integer()) : defaults.DailyHoursKind; break;
        // Kept as typed ("４／１", " 10/01"); the forms read it as plain "MM/DD".
        case 3: s.FiscalYearStart = found ? input::normalized(content.text()) : defaults.FiscalYearStart; break;
        case 4: s.DisplayStartHour = found ? int(content.integer()) : defaults.DisplayStartHour; break;
        case 5: s.DisplayEndHour = found ? int(content.integer()) : defaults.DisplayEndHour; break;
        case 6:
            // "YYYY" (upper case only) stands for the current year.
            s.NumberPrefix = !found ? defaults.NumberPrefix
                             : content.text() == QLatin1String("YYYY") ? QString::number(s.Today.year())
                                                                        : content.text();
            break;
        case 7: s.NumberingKind = found ? content.text() : defaults.NumberingKind; break;
        }
    }
}

} // namespace 初期処理
