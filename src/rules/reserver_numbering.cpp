#include "rules/reserver_numbering.h"

#include "base/app_state.h"
#include "base/clock.h"

namespace 予約NO発番 {

namespace {

store::Table numberingRow(const store::Database& db, const QString& key)
{
    store::Table numbering = db.table("発番");
    numbering.setIndex("Key_発番");
    numbering.seek("=", {key});
    return numbering;
}

bool found(const store::Table& table)
{
    return !table.eof() && !table.noMatch();
}

bool isHeld(const store::Database& db, const QString& number)
{
    store::Table reservers = db.table("予約者");
    reservers.setIndex("Key_予約者");
    reservers.seek("=", {number});
    return found(reservers);
}

// The first sequence, from `sequence` on, whose number no reserver holds yet: the counters of
// different targets, or a counter set back, must not hand out a number twice.
QString freeSequence(const store::Database& db, const QString& prefix, qint64 sequence)
{
    QString text = QString::number(sequence);
    while (isHeld(db, FormatReserverNumber(prefix, text)))
        text = QString::number(++sequence);
    return text;
}

// The sequence the key issues next, skipping numbers already held.
QString nextSequence(const store::Database& db, const store::Table& numbering, const QString& prefix)
{
    if (found(numbering))
        return freeSequence(db, prefix, numbering.field("発番_番号").integer() + 1);
    return freeSequence(db, prefix, 1).rightJustified(6, '0'); // a new counter starts at "000001"
}

} // namespace

IssuedNumber IssueReserverNumber(int step, const QString& reserverName)
{
    const AppState& a = app();
    const store::Database db = store::Database::open();
    const QString key = NumberingKey(a.settings.NumberingKind, a.targets.CurrentTarget);
    const QString prefix = a.settings.NumberPrefixOn(appclock::today());
    if (step == 2)
        return {ReserverStatus::New, TakeReserverNumber(db, key, prefix)};
    if (const std::optional<QString> existing = FindReserverByName(db, reserverName))
        return {ReserverStatus::Existing, *existing};
    return {ReserverStatus::New, PeekReserverNumber(db, key, prefix)};
}

QString NumberingKey(const QString& numberingKind, const QString& target)
{
    return numberingKind == QLatin1String("1") ? QStringLiteral("00000") : target;
}

QString FormatReserverNumber(const QString& prefix, const QString& sequence)
{
    return prefix + '-' + sequence.rightJustified(6, '0');
}

std::optional<QString> FindReserverByName(const store::Database& db, const QString& name)
{
    store::Table reservers = db.table("予約者");
    reservers.setIndex("Idx_予約者名");
    reservers.seek("=", {name});
    if (!found(reservers))
        return std::nullopt;
    return reservers.text("予約者_予約者NO");
}

QString PeekReserverNumber(const store::Database& db, const QString& key, const QString& prefix)
{
    const store::Table numbering = numberingRow(db, key);
    return FormatReserverNumber(prefix, nextSequence(db, numbering, prefix));
}

QString TakeReserverNumber(const store::Database& db, const QString& key, const QString& prefix)
{
    store::Table numbering = numberingRow(db, key);
    const QString sequence = nextSequence(db, numbering, prefix);
    if (found(numbering)) {
        numbering.edit();
    } else {
        numbering.addNew();
        numbering.set("発番_設備", key);
        numbering.set("発番_備考", "");
    }
    numbering.set("発番_番号", sequence);
    numbering.set("発番_PriFix", prefix);
    numbering.update();
    return FormatReserverNumber(prefix, sequence);
}

} // namespace 予約NO発番
