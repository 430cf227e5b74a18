#include "maintenance/reorganise.h"

#include "records/rebuild.h"
#include "store/database.h"
#include "store/store_error.h"
#include "ui/busy_cursor.h"
#include "ui/message_box.h"
#include "ui/work_progress.h"

#include <array>

namespace DB再編成 {

namespace {

// The prompts after each step, in the order records::rebuildTable rebuilds the tables.
struct StepPrompts {
    const char* completed;
    const char* failed;
};

constexpr std::array<StepPrompts, kStepCount> kPrompts = {{
    {"カレンダーは正常終了しました。残りを続けますか", "カレンダーは失敗しました。残りを続けますか"},
    {"マスタ正常終了しました。残りを続けますか", "マスタ失敗しました。残りを続けますか"},
    {"営業は正常終了しました。残りを続けますか", "営業は失敗しました。残りを続けますか"},
    {"基本は正常終了しました。残りを続けますか", "基本は失敗しました。残りを続けますか"},
    {"設定は正常終了しました。残りを続けますか", "設定は失敗しました。残りを続けますか"},
    {"特定日は正常終了しました。残りを続けますか", "特定日は失敗しました。残りを続けますか"},
    {"日別は正常終了しました。残りを続けますか", "日別は失敗しました。残りを続けますか"},
    {"発番は正常終了しました。残りを続けますか", "発番は失敗しました。残りを続けますか"},
    {"予約は正常終了しました。残りを続けますか", "予約は失敗しました。残りを続けますか"},
    {"予約者は正常終了しました。残りを続けますか", "予約者は失敗しました。残りを続けますか"},
    {"予約取消は正常終了しました。残りを続けますか", "予約取消は失敗しました。残りを続けますか"},
    {"祝日は正常終了しました。残りを続けますか", "祝日は失敗しました。残りを続けますか"},
    {"定期予約は正常終了しました。残りを続けますか", "定期予約は失敗しました。残りを続けますか"},
    {"定期日程は正常終了しました。残りを続けますか", "定期日程は失敗しました。残りを続けますか"},
    {"キャンセル待ちは正常終了しました。残りを続けますか", "キャンセル待ちは失敗しました。残りを続けますか"},
}};
static_assert(kStepCount == records::kRebuildSteps);

} // namespace

bool CopyTableStep(const store::Database& main, const QString& backupFile, int step)
{
    try {
        ui::BusyCursor busy;
        ui::WorkProgress progress(kTitle, ui::WorkProgress::Stop::Allowed);
        const QString what = QStringLiteral("%1／%2：%3を再編成しています").arg(step).arg(kStepCount).arg(records::rebuiltTableName(step));
        records::rebuildTable(main, store::Database::open(backupFile), step, progress.report(what));
        return true;
    } catch (const store::StoreError&) {
        return false;
    } catch (const store::Cancelled&) {
        // A stopped step is one that did not succeed: its table is as it was, and the step's
        // prompt asks whether to go on.
        return false;
    }
}

void ReorganiseDatabase(const store::Database& main, const QString& backupFile)
{
    // Tables are replaced whole: a desk working meanwhile would write into a table being replaced
    // and show what is no longer there.
    if (main.othersConnected()) {
        msg::exclaim(QStringLiteral("他の端末がﾃﾞｰﾀ･ﾍﾞｽを使用中のため、再編成は行えません。他の端末を終了してから行って下さい。"), kTitle);
        return;
    }
    if (!msg::ask(kConfirmation, kTitle))
        return;
    for (int step = 1; step <= kStepCount; ++step) {
        const StepPrompts& prompts = kPrompts[size_t(step - 1)];
        if (!msg::ask(QString::fromUtf8(CopyTableStep(main, backupFile, step) ? prompts.completed : prompts.failed), kTitle))
            return;
    }
    msg::exclaim(QStringLiteral("ﾃﾞｰﾀ･ﾍﾞｽの再編成は完了しました。"), kTitle);
}

} // namespace DB再編成
