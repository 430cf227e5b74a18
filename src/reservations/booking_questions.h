#pragma once

#include "base/input.h"
#include "rules/overlap_settings.h"

#include <QDate>
#include <QString>

// What the desk is asked before a booking is saved, moved or removed, wherever that happens.

inline const QString kClosedTimeQuestion = QStringLiteral("指定時間帯に休業時間が含まれています､登録を行いますか");

// A booking as a question that changes it names it: "2026/12/08 10:00～11:00 会議室A 山田太郎"
// (date, time, target, reserver; the reserver left out for a place not yet booked).
QString BookingText(const QDate& date, const input::TimeOfDay& start, const input::TimeOfDay& end, const QString& target,
                    const QString& reserver = QString());

// Asks whether to book beyond the target's limit; the question names the limit: the number
// allowed, or no overlap at all. True for Yes.
bool ConsentToOverbooking(const 基本設定::Overlap& rule, const QString& title);

// Whether a booking may go into slots already holding `count` reservations (the most of the slots
// it covers): without overlap a held slot asks, with overlap a slot at its limit asks.
bool AcceptSlotCount(const 基本設定::Overlap& rule, int count, const QString& title);
