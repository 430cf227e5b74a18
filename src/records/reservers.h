#pragma once

#include "store/database.h"
#include "store/progress.h"
#include "store/read_ahead.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Table 予約者: the reserver master, one record per reserver number, with its look-up keys in
// 予約者検索, which every function here that writes or removes a reserver keeps in step.
namespace records {

// 予約者_性別: 0 when neither was chosen.
enum class Sex { NotChosen = 0, Male = 1, Female = 2 };

struct Reserver {
    QString number; // "prefix-000001"
    QString kana;
    QString name;
    QString target; // the target of the reserver's latest booking
    QString address;
    QString phone;
    QString mobile;
    std::optional<QDate> birth;
    Sex sex = Sex::NotChosen;
    std::optional<QDate> lastBooked; // 予約者_最新予約日
    QString remark;
};

std::optional<Reserver> findReserver(const store::Database& db, const QString& number);
std::optional<Reserver> findReserverByName(const store::Database& db, const QString& name);
// What findReserverByName() reads, to be read ahead.
store::Range reserverByNameRange(const QString& name);
// The name of every reserver by its number, read in one pass.
QHash<QString, QString> reserverNamesByNumber(const store::Database& db);
// Every reserver in number order.
void forEachReserver(const store::Database& db, const std::function<void(const Reserver&)>& visit);
// Adds the reserver, or changes the one with its number.
void saveReserver(const store::Database& db, const Reserver& reserver);
bool removeReserver(const store::Database& db, const QString& number);
// Deletes the reservers whose latest booking is dated from `from` through `through`.
int removeReserversLastBookedBetween(const store::Database& db, const QDate& from, const QDate& through,
                                     const store::Progress& progress = {});
// Writes the look-up keys of one reserver as it is stored (every save of a reserver does).
void keepReserverKeys(const store::Database& db, const Reserver& r);
// Makes the look-up keys of every reserver again (after the reservers were replaced whole).
void rebuildReserverKeys(const store::Database& db);

// The numbers of at most `limit` reservers, in the order of the key looked up:
// whose phone or mobile number ends with the digits of `typed`,
QStringList reserverNumbersByPhoneEnd(const store::Database& db, const QString& typed, int limit);
// whose kana starts with `kana` (input::searchKey form),
QStringList reserverNumbersByKana(const store::Database& db, const QString& kana, int limit);
// whose name starts with `prefix` as stored.
QStringList reserverNumbersByName(const store::Database& db, const QString& prefix, int limit);
// What a look-up reads, to be read ahead: findReserver() of `number`, and the look-ups above with
// `limit` (the phone or the kana look-up left out when its text is empty).
std::vector<store::Range> reserverLookUpRanges(const QString& number, const QString& phoneEnd, const QString& kana, const QString& name,
                                               int limit);
// What reserverNumbersByKana() reads of its first `most` keys.
store::Range reserverKanaRange(const QString& kana, int most);
// What findReserver() reads of each number.
std::vector<store::Range> reserverRanges(const QStringList& numbers);
// What saveReserver() reads of the reserver with `number` (its record and its look-up keys).
std::vector<store::Range> reserverSaveRanges(const QString& number);

} // namespace records
