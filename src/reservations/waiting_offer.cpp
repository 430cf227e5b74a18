#include "reservations/waiting_offer.h"

#include "reservations/waiting_list_form.h"
#include "rules/waiting_list.h"
#include "ui/forms.h"
#include "ui/message_box.h"

void OfferFreedTime(const Desk& desk, const booking_write::Outcome& outcome, const QString& title)
{
    if (outcome.kind != booking_write::Outcome::Kind::Written || outcome.freed.empty())
        return;
    const size_t waiting = waiting_list::Offers(desk.database, desk.settings, outcome.freed).size();
    if (waiting == 0)
        return;
    msg::exclaim(QStringLiteral("キャンセル待ちの方がいます。（%1件）").arg(waiting), title);
    // The list opened from the menu shows the offer instead of everybody.
    if (キャンセル待ち一覧* open = forms::find<キャンセル待ち一覧>())
        open->Offer(outcome.freed);
    forms::showModal<キャンセル待ち一覧>(desk, outcome.freed);
}
