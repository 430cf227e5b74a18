#include "records/holidays.h"

#include "store/store_error.h"

namespace records {

namespace {

store::Table byDate(const store::Database& db)
{
    return db.table("祝日", "Key_祝日");
}

HolidayCorrection read(const store::Table& holidays, const QDate& date)
{
    const QString kind = holidays.text("祝日_区分");
    if (kind != QLatin1String("1") && kind != QLatin1String("2"))
        throw store::StoreError(
            QStringLiteral("%1 の項目「%2」の値「%3」を読めません。").arg(holidays.whichRecord(), QStringLiteral("祝日_区分"), kind));
    return {date, holidays.text("祝日_名称"), HolidayCorrectionKind(kind.toInt()), holidays.text("祝日_備考")};
}

} // namespace

std::vector<HolidayCorrection> listHolidayCorrections(const store::Database& db, const QDate& first, const QDate& last)
{
    std::vector<HolidayCorrection> corrections;
    if (!db.hasTable(QStringLiteral("祝日")))
        return corrections; // a database of an earlier version, read as it is, has none
    store::Table holidays = byDate(db);
    const QString lastText = input::dateText(last);
    for (holidays.seek(">=", {first}); !holidays.eof(); holidays.moveNext()) {
        const QString text = holidays.text("祝日_年月日");
        if (text > lastText)
            break;
        if (const std::optional<QDate> date = input::storedDate(text))
            corrections.push_back(read(holidays, *date));
    }
    return corrections;
}

store::Range holidayCorrectionsRange(const QDate& first, const QDate& last)
{
    return {"祝日", "Key_祝日", {first}, {last}};
}

std::optional<HolidayCorrection> findHolidayCorrection(const store::Database& db, const QDate& date)
{
    store::Table holidays = byDate(db);
    if (!holidays.find({date}))
        return std::nullopt;
    return read(holidays, date);
}

void saveHolidayCorrection(const store::Database& db, const HolidayCorrection& correction)
{
    store::Table holidays = byDate(db);
    holidays.seekForWrite({correction.date});
    holidays.set("祝日_年月日", correction.date);
    holidays.set("祝日_名称", correction.name);
    holidays.set("祝日_区分", int(correction.kind));
    holidays.set("祝日_備考", correction.remark);
    holidays.update();
}

bool removeHolidayCorrection(const store::Database& db, const QDate& date)
{
    return byDate(db).findAndRemove({date});
}

} // namespace records
