#pragma once

#include "base/input.h"
#include "records/reservations.h"
#include "rules/overlap_settings.h"
#include "rules/slot_types.h"
#include "store/database.h"

#include <optional>

// Module 予約上限: whether a booking fits the overlap limit of its target in every slot it covers.
namespace 予約上限 {

// A slot holding `booked` reservations takes no more without the operator's consent: with
// overlap allowed when it holds the limit, without overlap when it holds any.
bool IsFull(int booked, const 基本設定::Overlap& overlap);

// The most reservations one slot holds among the slots a booking of the target on the date from
// `start` to `end` covers, counted by the slot rule of the grids; `edited` (the reservation being
// changed, which the booking replaces) is left out.
int MostBookedSlot(const store::Database& db, const SlotTimes& daySlots, const records::ReservationKey& booking,
                   const input::TimeOfDay& end, const std::optional<records::ReservationKey>& edited);

} // namespace 予約上限
