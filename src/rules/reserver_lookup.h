#pragma once

#include "records/reservers.h"
#include "store/database.h"

#include <QString>
#include <vector>

// Finding a reserver from one line the desk types while a customer is on the phone: a phone or
// mobile number (whole, or its last four digits or more), the first letters of the kana or of the
// name, or the reserver number.
namespace reserver_lookup {

// The most reservers one look-up lists.
constexpr int kMostFound = 100;

struct Found {
    std::vector<records::Reserver> reservers; // the number's, then the phones', the kana's, the name's
    bool more = false;                        // more than kMostFound matched
};

Found findReservers(const store::Database& db, const QString& typed);

} // namespace reserver_lookup
