#pragma once

#include "records/reservations.h"
#include "store/table.h"

// The fields of a reservation in the two tables that hold one: 予約, and 予約取消 that keeps a
// cancelled reservation as it was.
namespace records::detail {

struct ReservationFields {
    const char* target;
    const char* date;
    const char* start;
    const char* reserverNo;
    const char* overlap;
    const char* end;
    const char* takenOn;
    const char* abbrev;
    const char* reserverName;
    const char* reserverKana;
    const char* remark;
};

inline constexpr ReservationFields kReservationFields{"予約_設定番号", "予約_年月日",       "予約_開始時間", "予約_予約者NO",
                                                      "予約_重複",     "予約_終了時間",     "予約_受付日",   "予約_略称",
                                                      "予約_予約者名", "予約_予約者名カナ", "予約_備考"};
inline constexpr ReservationFields kCancelledFields{"取消_設定番号", "取消_年月日",       "取消_開始時間", "取消_予約者NO",
                                                    "取消_重複",     "取消_終了時間",     "取消_受付日",   "取消_略称",
                                                    "取消_予約者名", "取消_予約者名カナ", "取消_備考"};

Reservation readReservation(const store::Table& table, const ReservationFields& f);
// Sets every field of the record being written.
void writeReservation(store::Table& table, const Reservation& r, const ReservationFields& f);

} // namespace records::detail
