#include "app/startup.h"

#include "base/input.h"
#include "records/basic.h"
#include "records/master_items.h"
#include "records/stored.h"
#include "records/targets.h"
#include "rules/slot_counts.h"
#include "ui/message_box.h"

namespace 初期処理 {

namespace {

const QString kMasterForm = QStringLiteral("マスター情報登録");
const QString kBasicForm = QStringLiteral("基本情報登録");
constexpr int kLongestValueShown = 20; // a value another tool wrote may be of any length

// A number setting as stored, or its default when the stored text is no number (a NULL reads as
// empty text); the line for the operator names the form, the item, the value and the default.
int numberOr(const QString& stored, int fallback, const QString& form, const QString& item, QStringList& problems)
{
    if (const std::optional<int> number = records::stored::number(stored))
        return *number;
    const QString shown = stored.size() > kLongestValueShown ? stored.left(kLongestValueShown) + QStringLiteral("…") : stored;
    problems << QStringLiteral("・%1「%2」：「%3」（既定値 %4）").arg(form, item, shown).arg(fallback);
    return fallback;
}

} // namespace

Settings LoadStartupSettings(const store::Database& db)
{
    Settings settings;
    QStringList problems;
    // A server is asked once for every setting.
    const store::ReadAhead together(db, {records::basicsRange(), records::masterItemsRange()});
    LoadBasicSettings(db, settings, problems);
    LoadMasterSettings(db, settings, problems);
    if (!problems.isEmpty()) {
        msg::exclaim(QStringLiteral("次の登録内容は数値ではないため、既定値で処理します。\n%1\n各画面で正しく登録して下さい。")
                         .arg(problems.join('\n')),
                     QStringLiteral("初期処理"));
    }
    return settings;
}

void LoadBasicSettings(const store::Database& db, Settings& settings, QStringList& problems)
{
    const std::optional<records::UnitSetting> unit = records::findUnitSetting(db, records::kCommonTarget);
    if (!unit) {
        settings.UnitMinutes = 予約TBL::kDefaultUnitMinutes;
        return;
    }
    const int setting =
        unit->setting ? *unit->setting
                      : numberOr(unit->settingAsStored, 予約TBL::kDefaultUnitMinutes, kBasicForm, QStringLiteral("単位時間"), problems);
    settings.UnitMinutes = 予約TBL::UnitMinutesFor(unit->kind, setting);
}

void LoadMasterSettings(const store::Database& db, Settings& settings, QStringList& problems)
{
    const Settings defaults;
    for (int item = 1; item <= 7; ++item) {
        const std::optional<records::MasterItem> stored = records::findMasterItem(db, item);
        const QString content = stored ? stored->content : QString();
        const auto number = [&](int fallback, const char* caption) {
            return stored ? numberOr(content, fallback, kMasterForm, QString::fromUtf8(caption), problems) : fallback;
        };
        switch (item) {
        case 1: settings.RetentionMonths = number(defaults.RetentionMonths, "保持期限"); break;
        case 2: settings.DailyHoursKind = number(defaults.DailyHoursKind, "特定日設定"); break;
        // Kept as typed ("４／１", " 10/01"); the forms read it as plain "MM/DD".
        case 3: settings.FiscalYearStart = stored ? input::normalized(content) : defaults.FiscalYearStart; break;
        case 4: settings.DisplayStartHour = number(defaults.DisplayStartHour, "表示開始時間"); break;
        case 5: settings.DisplayEndHour = number(defaults.DisplayEndHour, "表示終了時間"); break;
        case 6: settings.NumberPrefix = stored ? content : defaults.NumberPrefix; break;
        case 7: settings.NumberingKind = stored ? content : defaults.NumberingKind; break;
        }
    }
}

} // namespace 初期処理
