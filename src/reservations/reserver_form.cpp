#include "reservations/reserver_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "rules/reserver_numbering.h"
#include "store/database.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("予約者更新");

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
    const store::Database db = database();
    store::Transaction saving(db);
    // A new reserver has no latest reservation date nor target yet: those stay empty.
    const records::Reserver reserver = ReserverToSave(db, [&] {
        return 予約NO発番::IssueReserverNumber(db, 2, QString(), 予約NO発番::SourceFor(settings(), QString(), appclock::today())).number;
    });
    records::saveReserver(db, reserver);
    saving.commit();
    予約者NO->setText(reserver.number);
    msg::exclaim(QStringLiteral("予約は更新(登録)されました。"), kTitle);
}

void 予約者更新::削除_Click()
{
    if (!msg::ask(QStringLiteral("登録内容を削除します。"), kTitle, msg::Icon::Exclamation))
        return;
    const QString number = 予約者NO->text();
    const store::Database db = database();
    if (records::reserverHasReservationsFrom(db, number, appclock::today()) &&
        !msg::ask(QStringLiteral("本日以降の予約があります､削除しますか？"), kTitle, msg::Icon::Exclamation))
        return;
    if (!records::removeReserver(db, number)) {
        msg::exclaim(QStringLiteral("予約者として登録されていません。"), kTitle);
        return;
    }
    msg::exclaim(QStringLiteral("予約者は削除されました。"), kTitle);
    ClearReserver();
    予約者カナ_Change();
}

void 予約者更新::終了_Click()
{
    close();
}
