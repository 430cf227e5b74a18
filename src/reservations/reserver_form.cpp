#include "reservations/reserver_form.h"

#include "base/app_state.h"
#include "base/clock.h"
#include "base/input.h"
#include "store/database.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("予約者更新");

// Whether the reserver has a reservation dated on or after `first`. Idx_削除判定 orders by date,
// then reserver: each date that has reservations costs two seeks, however many it has.
bool hasReservationFrom(const store::Database& db, const QDate& first, const QString& reserverNo)
{
    store::Table reservations = db.table("予約");
    reservations.setIndex("Idx_削除判定");
    reservations.seek(">=", {input::dateText(first)});
    while (!reservations.eof() && !reservations.noMatch()) {
        const QString day = reservations.text("予約_年月日");
        reservations.seek("=", {day, reserverNo});
        if (!reservations.noMatch())
            return true;
        reservations.seek(">", {day});
    }
    return false;
}

} // namespace

予約者更新::予約者更新() : ReserverDetailsForm(QStringLiteral("予約者更新"), QStringLiteral("予約者更新"), kTitle)
{
    QPushButton* save = button("確定", "確定");
    save->setDefault(true); // Enter saves, after the usual question
    QPushButton* remove = button("削除", "削除");
    QPushButton* close = button("終了", "終了");
    ui::onClick(save, [this] { 確定_Click(); });
    ui::onClick(remove, [this] { 削除_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    QBoxLayout* buttons = buttonRow({save, remove, close});

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(12);
    page->addLayout(reserverLayout(), 1);
    page->addLayout(buttons);
}

void 予約者更新::Form_Load()
{
    check_.clear();
    予約者NO->clear();
    予約者カナ->clear();
    予約者カナ_Change();
}

bool 予約者更新::ValidateReserver()
{
    check_.clear();
    CheckReserverName();
    CheckReserverKana();
    CheckBirthDate();
    return !check_.reportFailure(kTitle);
}

void 予約者更新::確定_Click()
{
    if (!ValidateReserver())
        return;
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), kTitle, msg::Icon::Exclamation))
        return;
    const store::Database db = store::Database::open();
    store::Transaction saving(db);
    store::Table reservers = db.table("予約者");
    // A new reserver has no latest reservation date nor target yet: those stay empty.
    const QString number = BeginReserverRecord(reservers);
    WriteParticulars(reservers);
    reservers.update();
    saving.commit();
    予約者NO->setText(number);
    msg::exclaim(QStringLiteral("予約は更新(登録)されました。"), kTitle);
}

void 予約者更新::削除_Click()
{
    if (!msg::ask(QStringLiteral("登録内容を削除します。"), kTitle, msg::Icon::Exclamation))
        return;
    const QString number = 予約者NO->text();
    const store::Database db = store::Database::open();
    if (hasReservationFrom(db, appclock::today(), number)
        && !msg::ask(QStringLiteral("本日以降の予約があります､削除しますか？"), kTitle, msg::Icon::Exclamation))
        return;
    store::Table reservers = db.table("予約者");
    reservers.setIndex("Key_予約者");
    reservers.seek("=", {number});
    if (reservers.eof() || reservers.noMatch()) {
        msg::exclaim(QStringLiteral("予約者として登録されていません。"), kTitle);
        return;
    }
    reservers.remove();
    msg::exclaim(QStringLiteral("予約者は削除されました。"), kTitle);
    ClearReserver();
    予約者カナ_Change();
}

void 予約者更新::終了_Click()
{
    close();
}
