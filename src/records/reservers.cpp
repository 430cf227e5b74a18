#include "records/reservers.h"

#include "records/stored.h"
#include "store/reserver_keys.h"

#include <QSet>
#include <utility>

namespace records {

namespace {

store::Table byNumber(const store::Database& db)
{
    return db.table("予約者", "Key_予約者");
}

// Any stored value other than 1 and 0 reads as female, as the desk has always shown it.
Sex sexOf(int stored)
{
    return stored == int(Sex::Male) ? Sex::Male : stored == int(Sex::NotChosen) ? Sex::NotChosen : Sex::Female;
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
            sexOf(r.integer("予約者_性別")),
            stored::legacyDate(r, "予約者_最新予約日"),
            r.text("予約者_備考")};
}

store::Table keysByNumber(const store::Database& db)
{
    return db.table(store::reserver_keys::kTable, "Key_予約者検索");
}

// Reads the index on `field` from `prefix` on while the field starts with it, and adds the
// reserver numbers (`numberField`) not yet in `numbers` until it holds `limit`.
void addNumbersByPrefix(const store::Database& db, const QString& table, const char* index, const char* field, const char* numberField,
                        const QString& prefix, int limit, QStringList& numbers)
{
    QSet<QString> listed(numbers.begin(), numbers.end()); // a list of every reserver stays linear
    store::Table rows = db.table(table, index);
    for (rows.seek(">=", {prefix}); !rows.eof() && numbers.size() < limit; rows.moveNext()) {
        if (!rows.text(field).startsWith(prefix))
            break;
        const QString number = rows.text(numberField);
        if (!listed.contains(number)) {
            listed.insert(number);
            numbers << number;
        }
    }
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

store::Range reserverByNameRange(const QString& name)
{
    return {"予約者", "Idx_予約者名", {name}, {name}};
}

QHash<QString, QString> reserverNamesByNumber(const store::Database& db)
{
    QHash<QString, QString> names;
    store::Table reservers = byNumber(db);
    for (reservers.seek(">=", {QString()}); !reservers.eof(); reservers.moveNext())
        names.insert(reservers.text("予約者_予約者NO"), reservers.text("予約者_予約者名"));
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
    store::Transaction transaction(db);
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
    keepReserverKeys(db, r);
    transaction.commit();
}

bool removeReserver(const store::Database& db, const QString& number)
{
    store::Transaction transaction(db);
    keysByNumber(db).findAndRemove({number});
    const bool removed = byNumber(db).findAndRemove({number});
    transaction.commit();
    return removed;
}

int removeReserversLastBookedBetween(const store::Database& db, const QDate& from, const QDate& through, const store::Progress& progress)
{
    store::Transaction transaction(db);
    store::reserver_keys::removeOfLastBookedBetween(db, from, through);
    const int removed = stored::removeDatedBetween(db, "予約者", "Idx_日付", from, through, progress);
    transaction.commit();
    return removed;
}

void keepReserverKeys(const store::Database& db, const Reserver& r)
{
    const QStringList keys = store::reserver_keys::keysOf(r.number, r.phone, r.mobile, r.kana);
    const store::schema::TableDef& definition = *store::schema::findTable(store::reserver_keys::kTable);
    store::Table table = keysByNumber(db);
    table.seekForWrite({r.number});
    for (size_t i = 0; i < definition.fields.size(); ++i)
        table.set(definition.fields[i].name, keys[qsizetype(i)]);
    table.update();
}

void rebuildReserverKeys(const store::Database& db)
{
    store::Transaction transaction(db);
    db.execute(QStringLiteral("DELETE * FROM %1 ;").arg(store::reserver_keys::kTable));
    forEachReserver(db, [&](const Reserver& r) { keepReserverKeys(db, r); });
    transaction.commit();
}

std::vector<store::Range> reserverLookUpRanges(const QString& number, const QString& phoneEnd, const QString& kana, const QString& name,
                                               int limit)
{
    // A look-up of `limit` numbers reads one record more, where the keys no longer match.
    std::vector<store::Range> ranges = reserverRanges({number});
    const auto keys = [&](const char* index, const QString& from) {
        ranges.push_back({store::reserver_keys::kTable, index, {from}, {}, limit + 1});
    };
    if (!phoneEnd.isEmpty()) {
        keys("Idx_電話番号逆", store::reserver_keys::reversedDigits(phoneEnd));
        keys("Idx_携帯番号逆", store::reserver_keys::reversedDigits(phoneEnd));
    }
    if (!kana.isEmpty())
        ranges.push_back(reserverKanaRange(kana, limit + 1));
    ranges.push_back({"予約者", "Idx_予約者名", {name}, {}, limit + 1});
    return ranges;
}

store::Range reserverKanaRange(const QString& kana, int most)
{
    return {store::reserver_keys::kTable, "Idx_カナ", {kana}, {}, most};
}

std::vector<store::Range> reserverRanges(const QStringList& numbers)
{
    std::vector<store::Range> ranges;
    for (const QString& number : numbers)
        ranges.push_back({"予約者", "Key_予約者", {number}, {}, 1});
    return ranges;
}

std::vector<store::Range> reserverSaveRanges(const QString& number)
{
    return {{"予約者", "Key_予約者", {number}, {}, 1}, {store::reserver_keys::kTable, "Key_予約者検索", {number}, {}, 1}};
}

QStringList reserverNumbersByPhoneEnd(const store::Database& db, const QString& typed, int limit)
{
    const QString reversed = store::reserver_keys::reversedDigits(typed);
    QStringList numbers;
    for (const auto& [index, field] : {std::pair{"Idx_電話番号逆", "検索_電話番号逆"}, std::pair{"Idx_携帯番号逆", "検索_携帯番号逆"}})
        addNumbersByPrefix(db, store::reserver_keys::kTable, index, field, "検索_予約者NO", reversed, limit, numbers);
    return numbers;
}

QStringList reserverNumbersByKana(const store::Database& db, const QString& kana, int limit)
{
    QStringList numbers;
    addNumbersByPrefix(db, store::reserver_keys::kTable, "Idx_カナ", "検索_カナ", "検索_予約者NO", kana, limit, numbers);
    return numbers;
}

QStringList reserverNumbersByName(const store::Database& db, const QString& prefix, int limit)
{
    QStringList numbers;
    addNumbersByPrefix(db, "予約者", "Idx_予約者名", "予約者_予約者名", "予約者_予約者NO", prefix, limit, numbers);
    return numbers;
}

} // namespace records
