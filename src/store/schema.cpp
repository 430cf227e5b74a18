#include "store/schema.h"

namespace store::schema {

namespace {

using T = FieldType;

std::vector<TableDef> buildTables()
{
    using S = Shape;
    return {
        {"マスタ", {{"マス_番号", T::Integer}, {"マス_内容", T::Text}, {"マス_備考", T::Text}}},
        {"基本",
         {{"基本_番号", T::Text},
          {"基本_単位", T::Text, S::Digits},
          {"基本_設定", T::Integer},
          {"基本_重複", T::Flag, S::Flag},
          {"基本_重複数", T::Integer},
          {"基本_備考", T::Text}}},
        {"設定", {{"設定_番号", T::Text}, {"設定_名称", T::Text}, {"設定_略称", T::Text}, {"設定_備考", T::Text}}},
        {"営業",
         {{"営業_番号", T::Text},
          {"営業_開始時間", T::Text, S::Time},
          {"営業_終了時間", T::Text, S::EndTime},
          {"営業_営業フラグ", T::Text, S::Flag},
          {"営業_備考", T::Text}}},
        {"日別",
         {{"日別_番号", T::Text},
          {"日別_区分", T::Integer},
          {"日別_日付", T::Integer},
          {"日別_開始時間", T::Text, S::Time},
          {"日別_終了時間", T::Text, S::EndTime},
          {"日別_営業フラグ", T::Text, S::Flag},
          {"日別_備考", T::Text}}},
        {"特定日",
         {{"特定_番号", T::Text},
          {"特定_日付", T::Date, S::Date},
          {"特定_開始時間", T::Text, S::Time},
          {"特定_終了時間", T::Text, S::EndTime},
          {"特定_営業フラグ", T::Text, S::Flag},
          {"特定_備考", T::Text}}},
        {"カレンダー",
         {{"カレ_番号", T::Text}, {"カレ_年月日", T::Date, S::Date}, {"カレ_休日FLG", T::Integer, S::Flag}, {"カレ_備考", T::Text}}},
        {"発番", {{"発番_設備", T::Text}, {"発番_番号", T::Text, S::Digits}, {"発番_PriFix", T::Text}, {"発番_備考", T::Text}}},
        {"予約",
         {{"予約_設定番号", T::Text},
          {"予約_年月日", T::DateText, S::Date},
          {"予約_開始時間", T::Text, S::Time},
          {"予約_予約者NO", T::Text},
          {"予約_重複", T::Text},
          {"予約_終了時間", T::Text, S::EndTime},
          {"予約_受付日", T::DateText, S::DateOrEmpty},
          {"予約_略称", T::Text},
          {"予約_予約者名", T::Text},
          {"予約_予約者名カナ", T::Text},
          {"予約_備考", T::Text}}},
        {"予約者",
         {{"予約者_予約者NO", T::Text},
          {"予約者_予約者名カナ", T::Text},
          {"予約者_予約者名", T::Text},
          {"予約者_対象番号", T::Text},
          {"予約者_住所", T::Text},
          {"予約者_電話番号", T::Text},
          {"予約者_携帯番号", T::Text},
          {"予約者_年月日", T::DateText, S::DateOrEmpty},
          {"予約者_性別", T::Integer},
          {"予約者_最新予約日", T::DateText, S::DateOrEmpty},
          {"予約者_備考", T::Text}}},
        // A cancelled reservation, every field as it was, with when, why and of which kind.
        {"予約取消",
         {{"取消_設定番号", T::Text},
          {"取消_年月日", T::DateText, S::Date},
          {"取消_開始時間", T::Text, S::Time},
          {"取消_予約者NO", T::Text},
          {"取消_重複", T::Text},
          {"取消_終了時間", T::Text, S::EndTime},
          {"取消_受付日", T::DateText, S::DateOrEmpty},
          {"取消_略称", T::Text},
          {"取消_予約者名", T::Text},
          {"取消_予約者名カナ", T::Text},
          {"取消_備考", T::Text},
          {"取消_日時", T::Text, S::DateTime},
          {"取消_区分", T::Text, S::Digits},
          {"取消_理由", T::Text}},
         2},
        // The look-up keys of a reserver, made from its 予約者 record and written with it: the
        // digits of each phone number reversed, so that a number is found by its last digits
        // through an index, and the kana in one form (input::searchKey).
        {"予約者検索", {{"検索_予約者NO", T::Text}, {"検索_電話番号逆", T::Text}, {"検索_携帯番号逆", T::Text}, {"検索_カナ", T::Text}}, 3},
        // The operator's corrections of the computed national holidays: 1 a day added, 2 a
        // computed day taken away.
        {"祝日", {{"祝日_年月日", T::DateText, S::Date}, {"祝日_名称", T::Text}, {"祝日_区分", T::Integer}, {"祝日_備考", T::Text}}, 4},
        // A series of recurring bookings: its rule is an iCalendar RRULE text.
        {"定期予約",
         {{"定期_番号", T::Text, S::Digits},
          {"定期_設定番号", T::Text},
          {"定期_予約者NO", T::Text},
          {"定期_開始時間", T::Text, S::Time},
          {"定期_終了時間", T::Text, S::EndTime},
          {"定期_規則", T::Text},
          {"定期_開始日", T::DateText, S::Date},
          {"定期_終了日", T::DateText, S::Date},
          {"定期_登録日時", T::Text, S::DateTime},
          {"定期_備考", T::Text}},
         4},
        // One date of a series: its booking's key fields while booked, and its state (1 booked,
        // 2 left out, 3 cancelled, 4 changed alone).
        {"定期日程",
         {{"日程_定期番号", T::Text, S::Digits},
          {"日程_年月日", T::DateText, S::Date},
          {"日程_設定番号", T::Text},
          {"日程_開始時間", T::Text},
          {"日程_予約者NO", T::Text},
          {"日程_状態", T::Integer},
          {"日程_理由", T::Text}},
         4},
        // A customer waiting for a place in a full slot: 1 waiting, 2 booked, 3 withdrawn, 4 expired.
        {"キャンセル待ち",
         {{"待ち_番号", T::Text, S::Digits},
          {"待ち_設定番号", T::Text},
          {"待ち_年月日", T::DateText, S::Date},
          {"待ち_開始時間", T::Text, S::Time},
          {"待ち_終了時間", T::Text, S::EndTime},
          {"待ち_予約者NO", T::Text},
          {"待ち_予約者名", T::Text},
          {"待ち_電話番号", T::Text},
          {"待ち_登録日時", T::Text, S::DateTime},
          {"待ち_状態", T::Integer},
          {"待ち_備考", T::Text}},
         4},
        // The reservers whose look-up keys may no longer be theirs: the triggers of 予約者 note the
        // number of a reserver another program added, changed or removed, and the program makes
        // the keys of those noted when it opens the database.
        {"予約者変更", {{"変更_予約者NO", T::Text}}, 4},
    };
}

std::vector<IndexDef> buildIndexes()
{
    constexpr bool kUnique = true;
    return {
        {"idx_マスタ", "マスタ", {"マス_番号"}, kUnique},
        {"Key_基本", "基本", {"基本_番号"}, kUnique},
        {"Key_設定", "設定", {"設定_番号"}, kUnique},
        {"Idx_設定略称", "設定", {"設定_略称"}},
        {"Key_営業", "営業", {"営業_番号", "営業_開始時間"}, kUnique},
        {"Key_日別", "日別", {"日別_番号", "日別_区分", "日別_日付", "日別_開始時間"}, kUnique},
        {"Key_特定日", "特定日", {"特定_番号", "特定_日付", "特定_開始時間"}, kUnique},
        {"Idx_日付", "特定日", {"特定_日付"}},
        {"Key_カレンダー", "カレンダー", {"カレ_番号", "カレ_年月日"}, kUnique},
        {"Idx_カレンダー", "カレンダー", {"カレ_年月日"}},
        {"Idx_照会", "カレンダー", {"カレ_年月日", "カレ_番号"}},
        {"Key_発番", "発番", {"発番_設備"}, kUnique},
        {"Key_予約", "予約", {"予約_設定番号", "予約_年月日", "予約_開始時間", "予約_予約者NO"}, kUnique},
        {"Idx_日付", "予約", {"予約_年月日"}},
        {"Idx_期限", "予約", {"予約_設定番号", "予約_年月日"}},
        {"Idx_削除判定", "予約", {"予約_年月日", "予約_予約者NO"}},
        {"Idx_予約者NO", "予約", {"予約_予約者NO", "予約_年月日", "予約_開始時間"}, false, 3},
        {"Key_予約者", "予約者", {"予約者_予約者NO"}, kUnique},
        {"Idx_予約者名", "予約者", {"予約者_予約者名"}},
        {"Idx_カナ", "予約者", {"予約者_予約者名カナ"}},
        {"Idx_日付", "予約者", {"予約者_最新予約日"}},
        // A reservation may be cancelled, booked again and cancelled again: the moment tells
        // the records of one reservation key apart.
        {"Key_予約取消", "予約取消", {"取消_設定番号", "取消_年月日", "取消_開始時間", "取消_予約者NO", "取消_日時"}, kUnique, 2},
        {"Idx_予約者NO", "予約取消", {"取消_予約者NO", "取消_日時"}, false, 2},
        {"Idx_日付", "予約取消", {"取消_年月日"}, false, 2},
        {"Idx_日時", "予約取消", {"取消_日時"}, false, 2},
        {"Key_予約者検索", "予約者検索", {"検索_予約者NO"}, kUnique, 3},
        {"Idx_電話番号逆", "予約者検索", {"検索_電話番号逆"}, false, 3},
        {"Idx_携帯番号逆", "予約者検索", {"検索_携帯番号逆"}, false, 3},
        {"Idx_カナ", "予約者検索", {"検索_カナ"}, false, 3},
        {"Key_祝日", "祝日", {"祝日_年月日"}, kUnique, 4},
        {"Key_定期予約", "定期予約", {"定期_番号"}, kUnique, 4},
        {"Idx_予約者NO", "定期予約", {"定期_予約者NO", "定期_開始日"}, false, 4},
        {"Idx_終了日", "定期予約", {"定期_終了日"}, false, 4},
        {"Key_定期日程", "定期日程", {"日程_定期番号", "日程_年月日"}, kUnique, 4},
        // The series of a booking, found by the booking's key.
        {"Idx_予約", "定期日程", {"日程_設定番号", "日程_年月日", "日程_開始時間", "日程_予約者NO"}, false, 4},
        {"Idx_日付", "定期日程", {"日程_年月日"}, false, 4},
        {"Key_キャンセル待ち", "キャンセル待ち", {"待ち_番号"}, kUnique, 4},
        // The entries of a target's day in the order they were made.
        {"Idx_枠", "キャンセル待ち", {"待ち_設定番号", "待ち_年月日", "待ち_登録日時"}, false, 4},
        {"Idx_日付", "キャンセル待ち", {"待ち_年月日"}, false, 4},
        {"Idx_予約者NO", "予約者変更", {"変更_予約者NO"}, false, 4},
    };
}

// A reserver's number noted in 予約者変更 once.
QString noteReserver(const QString& row)
{
    return QStringLiteral("INSERT INTO \"予約者変更\" (\"変更_予約者NO\") SELECT %1.\"予約者_予約者NO\" WHERE NOT EXISTS "
                          "(SELECT 1 FROM \"予約者変更\" WHERE \"変更_予約者NO\" = %1.\"予約者_予約者NO\")")
        .arg(row);
}

std::vector<TriggerDef> buildTriggers()
{
    // The program writes a reserver's keys with it, which takes the note away again; another
    // program leaves it for the program to act on. A reserver removed with its keys needs none.
    const QString forget = QStringLiteral("DELETE FROM \"予約者変更\" WHERE \"変更_予約者NO\" = NEW.\"検索_予約者NO\"");
    const QStringList keyFields = {"予約者_予約者NO", "予約者_電話番号", "予約者_携帯番号", "予約者_予約者名カナ"};
    return {
        {"Trg_追加", "予約者", "INSERT", {}, noteReserver("NEW"), 4},
        {"Trg_更新", "予約者", "UPDATE", keyFields, noteReserver("NEW") + "; " + noteReserver("OLD"), 4},
        {"Trg_削除",
         "予約者",
         "DELETE",
         {},
         noteReserver("OLD") + " AND EXISTS (SELECT 1 FROM \"予約者検索\" WHERE \"検索_予約者NO\" = OLD.\"予約者_予約者NO\")",
         4},
        {"Trg_追加", "予約者検索", "INSERT", {}, forget, 4},
        {"Trg_更新", "予約者検索", "UPDATE", {}, forget, 4},
    };
}

// Lower-cases Latin letters only, so that "KEY_予約" and "key_予約" compare equal.
QString latinFolded(const QString& name)
{
    QString folded = name;
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return folded;
}

} // namespace

int TableDef::fieldIndex(const QString& fieldName) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == fieldName)
            return int(i);
    }
    return -1;
}

QString IndexDef::storedName() const
{
    return table + "." + name;
}

const std::vector<TableDef>& tables()
{
    static const std::vector<TableDef> all = buildTables();
    return all;
}

const std::vector<IndexDef>& indexes()
{
    static const std::vector<IndexDef> all = buildIndexes();
    return all;
}

QString TriggerDef::storedName() const
{
    return table + "." + name;
}

const std::vector<TriggerDef>& triggers()
{
    static const std::vector<TriggerDef> all = buildTriggers();
    return all;
}

const TableDef* findTable(const QString& name)
{
    for (const TableDef& table : tables()) {
        if (table.name == name)
            return &table;
    }
    return nullptr;
}

const IndexDef* findIndex(const QString& table, const QString& name)
{
    const QString wanted = latinFolded(name);
    for (const IndexDef& index : indexes()) {
        if (index.table == table && latinFolded(index.name) == wanted)
            return &index;
    }
    return nullptr;
}

QString sqlType(FieldType type, Engine engine)
{
    if (type == FieldType::Integer)
        return engine == Engine::File ? QStringLiteral("INTEGER") : QStringLiteral("bigint");
    return engine == Engine::File ? QStringLiteral("TEXT") : QStringLiteral("text");
}

QString quoted(const QString& identifier)
{
    QString escaped = identifier;
    escaped.replace('"', "\"\"");
    return '"' + escaped + '"';
}

namespace {

QString createTable(const TableDef& table, Engine engine)
{
    const bool server = engine == Engine::Server;
    QStringList columns;
    if (server)
        columns << QStringLiteral("rowid bigserial PRIMARY KEY");
    for (const FieldDef& field : table.fields) {
        const QString fallback = field.type == FieldType::Integer ? "0" : "''";
        const QString collation = server && field.type != FieldType::Integer ? QStringLiteral(" COLLATE \"C\"") : QString();
        columns << QString("%1 %2%3 NOT NULL DEFAULT %4").arg(quoted(field.name), sqlType(field.type, engine), collation, fallback);
    }
    return QString("CREATE TABLE %1 (%2)%3").arg(quoted(table.name), columns.join(", "), server ? "" : " STRICT");
}

QString createIndex(const IndexDef& index, Engine engine)
{
    QStringList keys;
    for (const QString& key : index.keys)
        keys << quoted(key);
    if (engine == Engine::Server)
        keys << QStringLiteral("rowid");
    return QString("CREATE INDEX %1 ON %2 (%3)").arg(quoted(index.storedName()), quoted(index.table), keys.join(", "));
}

// A server's trigger runs a function: one of the same name for each.
QStringList createTrigger(const TriggerDef& trigger, Engine engine)
{
    const bool server = engine == Engine::Server;
    QStringList changed;
    for (const QString& field : trigger.changedFields)
        changed << QString("OLD.%1 %2 NEW.%1").arg(quoted(field), server ? "IS DISTINCT FROM" : "IS NOT");
    const QString name = quoted(trigger.storedName());
    const QString on = QString("AFTER %1 ON %2").arg(trigger.event, quoted(trigger.table));
    if (!server) {
        const QString when = changed.isEmpty() ? QString() : QString(" WHEN %1").arg(changed.join(" OR "));
        return {QString("CREATE TRIGGER %1 %2%3 BEGIN %4; END").arg(name, on, when, trigger.body)};
    }
    const QString when = changed.isEmpty() ? QString() : QString(" WHEN (%1)").arg(changed.join(" OR "));
    return {QString("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql SET search_path FROM CURRENT "
                    "AS $$BEGIN %2; RETURN NULL; END$$")
                .arg(name, trigger.body),
            QString("CREATE TRIGGER %1 %2 FOR EACH ROW%3 EXECUTE FUNCTION %1()").arg(name, on, when)};
}

} // namespace

QStringList upgradeStatements(int fromVersion, Engine engine)
{
    QStringList statements;
    for (const TableDef& table : tables()) {
        if (table.since > fromVersion)
            statements << createTable(table, engine);
    }
    for (const IndexDef& index : indexes()) {
        if (index.since > fromVersion)
            statements << createIndex(index, engine);
    }
    for (const TriggerDef& trigger : triggers()) {
        if (trigger.since > fromVersion)
            statements << createTrigger(trigger, engine);
    }
    if (engine == Engine::File)
        statements << QString("PRAGMA user_version = %1").arg(kCurrentVersion);
    return statements;
}

QStringList createStatements(Engine engine)
{
    return upgradeStatements(0, engine);
}

QStringList createTableStatements(Engine engine)
{
    QStringList statements;
    for (const TableDef& table : tables())
        statements << createTable(table, engine);
    return statements;
}

QStringList createIndexStatements(Engine engine)
{
    QStringList statements;
    for (const IndexDef& index : indexes())
        statements << createIndex(index, engine);
    return statements;
}

QStringList createTriggerStatements(Engine engine)
{
    QStringList statements;
    for (const TriggerDef& trigger : triggers())
        statements << createTrigger(trigger, engine);
    return statements;
}

} // namespace store::schema
