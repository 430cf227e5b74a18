#pragma once

#include "records/reservers.h"
#include "store/database.h"

#include <QString>
#include <QStringList>
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

// The names the reserver forms list beside their kana box: the reservers whose kana starts with
// what was typed, read as findReservers() reads kana (hiragana, katakana and half-width alike), in
// the order of their kana; everybody when nothing is typed.
QStringList namesByKana(const store::Database& db, const QString& typed);

} // namespace reserver_lookup
