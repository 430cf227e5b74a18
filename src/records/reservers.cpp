#include "records/reservers.h"

#include "records/stored.h"

namespace records {

namespace {

store::Table byNumber(const store::Database& db)
{
    return db.table("予約者", "Key_予約者");
}

Reserver read(const store::Table& r)
{
    return {r.text("予約者_予約者NO"),
            r.text("予約者_予約者名カナ"),
            r.text("予約者_予約者名"),
            r.text("予約者_対象番号"),
            r.text("予約者_住所"),
            r.text("予約者_電話番号"),
            r.text("予約者_携帯番号"),
            stored::legacyDate(r, "予約者_年月日"),
            r.integer("予約者_性別") == int(Sex::Male) ? Sex::Male : Sex::Female,
            stored::legacyDate(r, "予約者_最新予約日"),
            r.text("予約者_備考")};
}

std::optional<Reserver> findBy(store::Table reservers, const QString& key)
{
    if (!reservers.find({key}))
        return std::nullopt;
    return read(reservers);
}

} // namespace

std::optional<Reserver> findReserver(const store::Database& db, const QString& number)
{
    return findBy(byNumber(db), number);
}

std::optional<Reserver> findReserverByName(const store::Database& db, const QString& name)
{
    return findBy(db.table("予約者", "Idx_予約者名"), name);
}

QStringList reserverNamesByKana(const store::Database& db, const QString& prefix)
{
    QStringList names;
    store::Table reservers = db.table("予約者", "Idx_カナ");
    for (reservers.seek(">=", {prefix}); !reservers.eof(); reservers.moveNext()) {
        if (!reservers.text("予約者_予約者名カナ").startsWith(prefix))
            break;
        names << reservers.text("予約者_予約者名");
    }
    return names;
}

void forEachReserver(const store::Database& db, const std::function<void(const Reserver&)>& visit)
{
    store::Table reservers = byNumber(db);
    for (reservers.seek(">=", {QString()}); !reservers.eof(); reservers.moveNext())
        visit(read(reservers));
}

void saveReserver(const store::Database& db, const Reserver& r)
{
    store::Table reservers = byNumber(db);
    reservers.seekForWrite({r.number});
    reservers.set("予約者_予約者NO", r.number);
    reservers.set("予約者_予約者名カナ", r.kana);
    reservers.set("予約者_予約者名", r.name);
    reservers.set("予約者_対象番号", r.target);
    reservers.set("予約者_住所", r.address);
    reservers.set("予約者_電話番号", r.phone);
    reservers.set("予約者_携帯番号", r.mobile);
    reservers.set("予約者_年月日", stored::dateText(r.birth));
    reservers.set("予約者_性別", int(r.sex));
    reservers.set("予約者_最新予約日", stored::dateText(r.lastBooked));
    reservers.set("予約者_備考", r.remark);
    reservers.update();
}

bool removeReserver(const store::Database& db, const QString& number)
{
    return byNumber(db).findAndRemove({number});
}

int removeReserversLastBookedBetween(const store::Database& db, const QDate& from, const QDate& through,
                                     const store::Progress& progress)
{
    return stored::removeDatedBetween(db, "予約者", "Idx_日付", "予約者_最新予約日", from, through, progress);
}

} // namespace records
