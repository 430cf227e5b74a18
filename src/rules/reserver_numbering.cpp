#include "rules/reserver_numbering.h"

#include "records/numbering.h"
#include "records/reservers.h"
#include "records/stored.h"

namespace 予約NO発番 {

namespace {

// The first sequence, from `sequence` on, whose number no reserver holds yet: the counters of
// different targets, or a counter set back, must not hand out a number twice.
QString freeSequence(const store::Database& db, const QString& prefix, qint64 sequence)
{
    QString text = QString::number(sequence);
    while (records::findReserver(db, FormatReserverNumber(prefix, text)))
        text = QString::number(++sequence);
    return text;
}

// The sequence the key issues next, skipping numbers already held.
QString nextSequence(const store::Database& db, const std::optional<records::NumberingRow>& row, const QString& prefix)
{
    if (row)
        return freeSequence(db, prefix, store::Value(row->lastSequence).integer() + 1);
    return freeSequence(db, prefix, 1).rightJustified(6, '0'); // a new counter starts at "000001"
}

} // namespace

NumberingSource SourceFor(const Settings& settings, const QString& target, const QDate& day)
{
    return {NumberingKey(settings.NumberingKind, target), settings.NumberPrefixOn(day)};
}

IssuedNumber IssueReserverNumber(const store::Database& db, int step, const QString& reserverName, const NumberingSource& source)
{
    if (step == 2)
        return {ReserverStatus::New, TakeReserverNumber(db, source.key, source.prefix)};
    if (const std::optional<records::Reserver> existing = records::findReserverByName(db, reserverName))
        return {ReserverStatus::Existing, existing->number};
    return {ReserverStatus::New, PeekReserverNumber(db, source.key, source.prefix)};
}

QString NumberingKey(const QString& numberingKind, const QString& target)
{
    return numberingKind == QLatin1String("1") ? QStringLiteral("00000") : target;
}

QString FormatReserverNumber(const QString& prefix, const QString& sequence)
{
    return prefix + '-' + sequence.rightJustified(6, '0');
}

QString PeekReserverNumber(const store::Database& db, const QString& key, const QString& prefix)
{
    return FormatReserverNumber(prefix, nextSequence(db, records::findNumbering(db, key), prefix));
}

QString FirstCandidateNumber(const store::Database& db, const QString& key, const QString& prefix)
{
    const std::optional<records::NumberingRow> row = records::findNumbering(db, key);
    return FormatReserverNumber(prefix, QString::number(row ? store::Value(row->lastSequence).integer() + 1 : 1));
}

QString TakeReserverNumber(const store::Database& db, const QString& key, const QString& prefix)
{
    std::optional<records::NumberingRow> row = records::findNumbering(db, key);
    const QString sequence = nextSequence(db, row, prefix);
    if (!row)
        row = records::NumberingRow{key, QString(), QString(), QString()};
    row->lastSequence = sequence;
    row->prefix = prefix;
    records::saveNumbering(db, *row);
    return FormatReserverNumber(prefix, sequence);
}

} // namespace 予約NO発番
