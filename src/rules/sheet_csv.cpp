#include "rules/sheet_csv.h"

#include "base/csv.h"
#include "base/input.h"
#include "records/reservations.h"
#include "records/reservers.h"

namespace sheets {

namespace {

QString dateOrEmpty(const std::optional<QDate>& date)
{
    return date ? input::dateText(*date) : QString();
}

bool finish(csv::File& file, QString* error)
{
    if (file.commit())
        return true;
    *error = file.errorString();
    return false;
}

} // namespace

bool writeSheetCsv(const Sheet& sheet, const QString& path, QString* error)
{
    csv::File file(path);
    file.writeRow(sheet.csvHeader());
    for (const QStringList& row : sheet.csvRows())
        file.writeRow(row);
    return finish(file, error);
}

bool writeReservationsCsv(const store::Database& db, const QDate& first, const QDate& last, const QString& path, QString* error)
{
    csv::File file(path);
    file.writeRow({"予約日", "対象番号", "対象略称", "開始", "終了", "予約者NO", "氏名", "カナ", "重複", "受付日", "備考"});
    store::Transaction oneReading(db, store::Transaction::ForReading);
    records::forEachReservationBetween(db, first, last, [&](const records::Reservation& r) {
        file.writeRow({input::dateText(r.date), r.target, r.abbrev, input::timeText(r.start), input::timeText(r.end), r.reserverNo,
                       r.reserverName, r.reserverKana, r.overlapAllowed ? "1" : "0", dateOrEmpty(r.takenOn), r.remark});
    });
    oneReading.commit();
    return finish(file, error);
}

bool writeReserversCsv(const store::Database& db, const QString& path, QString* error)
{
    csv::File file(path);
    file.writeRow({"予約者NO", "氏名", "カナ", "住所", "電話番号", "携帯番号", "生年月日", "性別", "対象番号", "最新予約日", "備考"});
    store::Transaction oneReading(db, store::Transaction::ForReading);
    records::forEachReserver(db, [&](const records::Reserver& r) {
        file.writeRow({r.number, r.name, r.kana, r.address, r.phone, r.mobile, dateOrEmpty(r.birth),
                       r.sex == records::Sex::Male     ? "男"
                       : r.sex == records::Sex::Female ? "女"
                                                       : "",
                       r.target, dateOrEmpty(r.lastBooked), r.remark});
    });
    oneReading.commit();
    return finish(file, error);
}

} // namespace sheets
