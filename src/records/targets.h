#pragma once

#include <QString>
#include <optional>

// The records a reservation target owns besides its row in 設定: the number rule of the target
// form, the question whether reservations lie ahead, and the basic record that goes with the
// target.
namespace targets {

// A typed target number in its stored form: one to five digits (full-width digits read as
// half-width, blanks around ignored), padded with zeros to five ("3" -> "00003"); nothing for
// anything else.
std::optional<QString> paddedNumber(const QString& typed);

// Whether the target has a reservation dated on or after the working date ("yyyy/m/d" or
// "yyyy/mm/dd").
bool HasFutureReservations(const QString& number, const QString& workingDate);

// Removes the target's basic record, when it has one.
void DeleteTargetBasic(const QString& number);

// Adds the common target "00000" (name and abbreviation "共通基本情報") when `target` is not a
// registered target and the common target is not registered either. Saving the common basic
// information the first time registers the common target this way.
void EnsureCommonTarget(const QString& target);

} // namespace targets
