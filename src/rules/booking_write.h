#pragma once

#include "base/settings.h"
#include "records/cancellations.h"
#include "records/reservations.h"
#include "store/database.h"
#include "store/read_ahead.h"

#include <functional>
#include <optional>
#include <vector>

// The one write of every change of a booking: a new booking or a changed one, a move, a
// cancellation, a restore, and the dates of a series, all through Write(). It takes what the form
// read and what the operator agreed to, and inside one transaction
//   1. compares each booking being changed or removed with what the form read, in every stored
//      field (gone, or changed by another desk: nothing is written);
//   2. counts every slot a booking covers against its target's limit;
//   3. finds closed time inside it;
// and returns what happened, or which question to ask. The questions are asked with no lock held
// (Check() reads without one); when the conditions no longer fit the answer given, the write rolls
// back and the question comes again. The forms only ask and show.
namespace booking_write {

// One change of a booking.
struct Change {
    enum class Kind {
        Book,    // a new booking, or a change of the one read (the entry form's 確定)
        Move,    // the one read to another start, day or target
        Cancel,  // the one read cancelled, kept in 予約取消
        Restore, // the cancelled booking read booked again
    };
    Kind kind = Kind::Book;
    // The booking as the form read it: the one changed, moved or cancelled; none for a new one.
    std::optional<records::Reservation> read;
    // The booking to store (Book, Move, Restore). For Book its reserver number is the one
    // saveReserver gives, when there is that step.
    records::Reservation result;
    // Restore: the cancellation as the form read it.
    std::optional<records::Cancellation> restoring;
    // Cancel: of which kind, and why.
    records::CancelKind cancelKind = records::CancelKind::Request;
    QString cancelReason;
    // Book: writes the reserver inside the transaction (a new one takes its number there) and
    // gives the number the booking is stored under.
    std::function<QString(const store::Database&)> saveReserver;
    // What saveReserver reads, read ahead with the checks.
    std::vector<store::Range> reserverReads;
    // What else it reads, as found from what those bring (the records of the number a new reserver
    // takes): Check() works it out from what it read and leaves it in `foundReads`, which the
    // write reads ahead with the rest (a server: in the same round trip).
    std::function<std::vector<store::Range>(const store::Database&)> findReads;
    std::vector<store::Range> foundReads;
    // Written in the same transaction after the booking (a series' date, a waiting entry taken).
    std::function<void(const store::Database&, const records::Reservation& stored)> alsoWrite;
    // What else the form read that must still hold when the change is written (a waiting entry
    // still waiting); false makes the outcome Gone.
    std::function<bool(const store::Database&)> stillAsRead;
};

// The questions that let a booking past a limit or over closed time.
enum class Question {
    OverLimit,  // the slot holds as many as the target allows
    Overlap,    // the target allows no overlap and the slot is taken
    ClosedTime, // the booking covers closed time
};

// What the operator agreed to for one change.
struct Consent {
    // The most bookings a slot held when he agreed to book beyond the limit (-1: not agreed).
    int booked = -1;
    bool closedTime = false;
};

struct Outcome {
    enum class Kind {
        Fits,             // Check(): nothing to ask
        Written,          // Write(): every change stored
        Ask,              // a question first (nothing written)
        Gone,             // a booking or cancellation read is no longer stored
        ChangedElsewhere, // another desk changed the booking read: `now` is how it is
        KeyTaken,         // another booking holds the key the change would write: `now`, of `holder`
    };
    Kind kind = Kind::Fits;
    // The changes the outcome concerns, by their place in the request: those the question is about
    // (each date of a series), or the one that is gone, changed or blocked.
    std::vector<size_t> concerned;
    Question question = Question::OverLimit;
    // Ask: for each change concerned, the most bookings a slot holds (what Yes agrees to).
    std::vector<int> booked;
    std::optional<records::Reservation> now;
    QString holder;
    // Written: each booking as stored, in the order of the changes (an empty one for a cancel),
    // and whether a Book replaced a booking already on its key.
    std::vector<records::Reservation> stored;
    std::vector<bool> replaced;
    // Written: the time the changes set free (a booking cancelled, moved away or shortened), a
    // span of one target's day a piece.
    std::vector<records::ReservationSpan> freed;
};

// What the operator's Yes to the outcome's question agrees to, noted in `consents`.
void Agree(const Outcome& asked, std::vector<Consent>& consents);

// Whether the changes can be written as agreed: reads only, under one read lock, and never
// Written. Fills each change's `foundReads`.
Outcome Check(const store::Database& db, const Settings& settings, std::vector<Change>& changes, const std::vector<Consent>& consents);
// The changes in one transaction, checked again inside it; all or nothing.
Outcome Write(const store::Database& db, const Settings& settings, const std::vector<Change>& changes,
              const std::vector<Consent>& consents);

} // namespace booking_write
