// Move mode of the time inquiry: a booking chosen in the list goes to the next slot clicked.

#include "reservations/time_inquiry_form.h"

#include "reservations/booking_questions.h"
#include "reservations/waiting_offer.h"
#include "rules/slot_counts.h"
#include "store/database.h"
#include "store/read_ahead.h"
#include "ui/message_box.h"
#include "views/business_status.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {
const QString& kTitle = kTimeInquiryTitle;
}

void 時間照会::移動_Click()
{
    if (moving_) {
        LeaveMoveMode();
        return;
    }
    const records::Reservation* chosen = RequireChosenReservation();
    if (!chosen) {
        移動->setChecked(false);
        return;
    }
    moving_ = *chosen;
    movingColumn_ = column_;
    移動->setChecked(true);
    移動案内->show();
}

void 時間照会::LeaveMoveMode()
{
    moving_.reset();
    movingColumn_ = -1;
    移動->setChecked(false);
    移動案内->hide();
}

void 時間照会::MoveTo(int column, int slot)
{
    const records::Reservation from = *moving_;
    const TimeTableColumn& place = table_.Columns[size_t(column)];
    const int start = counts_.Slots.start(slot);
    const int end = start + from.end.minutes() - from.start.minutes();
    if (place.Target == from.target && place.ColumnDate == from.date && start == from.start.minutes()) {
        LeaveMoveMode(); // put back where it was
        return;
    }
    if (end > 24 * 60) {
        msg::exclaim(QStringLiteral("移動先では予約が24:00を超えます｡ "), kTitle);
        return;
    }
    const 基本設定::Overlap& rule = rowOverlap_[size_t(column)];
    const input::TimeOfDay newStart{start / 60, start % 60};
    const input::TimeOfDay newEnd{end / 60, end % 60};
    // The reserver, the remark and the day it was taken go with it; it takes the new target's
    // short name and overlap rule.
    booking_write::Change move;
    move.kind = booking_write::Change::Kind::Move;
    move.read = from;
    move.result = from;
    move.result.target = place.Target;
    move.result.abbrev = place.TargetAbbrev;
    move.result.date = place.ColumnDate;
    move.result.start = newStart;
    move.result.end = newEnd;
    move.result.overlapAllowed = rule.allowed;
    QString detail =
        QStringLiteral("移動元: %1\n移動先: %2")
            .arg(BookingText(from.date, from.start, from.end, table_.Columns[size_t(movingColumn_)].TargetAbbrev, from.reserverName),
                 BookingText(place.ColumnDate, newStart, newEnd, place.TargetAbbrev));
    const std::optional<booking_write::Outcome> outcome =
        WriteAsking(database(), settings(), {move}, {},
                    {kTitle, [detail](const booking_write::Outcome&) { return detail; },
                     [detail] { return msg::askAbout(QStringLiteral("予約を移動します。"), detail, kTitle); }});
    if (!outcome)
        return;
    using Kind = booking_write::Outcome::Kind;
    if (outcome->kind == Kind::KeyTaken) {
        msg::exclaim(QStringLiteral("移動先には同じ予約者NO「%1」の予約があります。予約は移動されませんでした。").arg(from.reserverNo),
                     kTitle);
        return;
    }
    const int fromColumn = movingColumn_;
    LeaveMoveMode();
    if (outcome->kind == Kind::Gone)
        msg::exclaim(QStringLiteral("予約は登録されていません。"), kTitle);
    else if (outcome->kind == Kind::ChangedElsewhere)
        msg::exclaim(QStringLiteral("予約は他の端末で変更されています。"), kTitle);
    // Both rows as the file now holds them, read at once; the new place becomes the chosen slot.
    std::vector<store::Range> reads = 予約TBL::DayRanges(from.target, from.date);
    for (store::Range& range : 予約TBL::DayRanges(place.Target, place.ColumnDate))
        reads.push_back(std::move(range));
    const store::ReadAhead rows(database(), reads);
    RecountRow(fromColumn);
    RecountRow(column);
    slotRow_ = 0;
    ChooseSlot(営業状色付::GridRowOf(column), SlotTimes::column(slot), column, slot);
    OfferFreedTime(desk(), *outcome, kTitle);
}
