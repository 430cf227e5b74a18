#pragma once

#include "base/input.h"
#include "base/settings.h"
#include "rules/booking_write.h"
#include "rules/overlap_settings.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

// What the desk is asked before a booking is saved, moved or removed, wherever that happens.

inline const QString kClosedTimeQuestion = QStringLiteral("指定時間帯に休業時間が含まれています､登録を行いますか");

// A booking as a question that changes it names it: "2026/12/08 10:00～11:00 会議室A 山田太郎"
// (date, time, target, reserver; the reserver left out for a place not yet booked).
QString BookingText(const QDate& date, const input::TimeOfDay& start, const input::TimeOfDay& end, const QString& target,
                    const QString& reserver = QString());

// Asks whether to book past a limit or over closed time. No is the default button, so that Enter
// pressed again and again never books a slot beyond its limit; `detail` names what the question
// concerns (the booking, or the dates of a series). True for Yes.
bool AskToOverride(booking_write::Question question, const QString& detail, const QString& title);
// The same for a slot that holds `count` bookings (the most of the slots a booking covers): asked
// only when the slot is full by the target's rule.
bool AcceptSlotCount(const 基本設定::Overlap& rule, int count, const QString& detail, const QString& title);

// How a form has the guarded write ask its questions and confirm.
struct Asking {
    QString title;
    // What a question concerns, named under it: the booking, or the dates of a series.
    std::function<QString(const booking_write::Outcome&)> detail;
    // The form's own question before anything is written ("入力内容で更新します。"); asked once,
    // after the booking fits what the operator agreed to. Empty: none.
    std::function<bool()> confirm;
    // For the dates of a series: No to a question leaves out the changes it concerns (the
    // outcome's `concerned`, by their place in the request) and the rest goes on. Without it, No
    // stops everything.
    std::function<void(const booking_write::Outcome& asked)> leaveOut = nullptr;
    // The write itself, handed the changes still in and what was agreed for each, for a form that
    // writes more in the same transaction (a series); booking_write::Write when empty.
    std::function<booking_write::Outcome(const std::vector<booking_write::Change>&, const std::vector<booking_write::Consent>&)> write =
        nullptr;
    // A full slot is not asked about: the outcome Ask comes back instead (a freed place offered
    // to a waiting customer that another booking took meanwhile).
    bool fullIsFinal = false;
};

// Runs the guarded write of `changes`: each question Check() or Write() returns is asked with no
// lock held (No stops it all, or leaves out what it concerns), the confirmation once, then the
// write; when another desk booked meanwhile beyond what was agreed, the write rolls back and the
// question comes again. Nothing when the operator stopped it or left every change out; otherwise
// what happened (written, gone, changed elsewhere, key taken), its `concerned` by their place in
// `changes` and its `stored` in the order of the changes written; or a full slot when that is final.
std::optional<booking_write::Outcome> WriteAsking(const store::Database& db, const Settings& settings,
                                                  const std::vector<booking_write::Change>& changes,
                                                  std::vector<booking_write::Consent> consents, const Asking& asking);
