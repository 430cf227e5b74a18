#include "rules/reserver_lookup.h"

#include "base/input.h"

#include <algorithm>
#include <limits>

namespace reserver_lookup {

namespace {

// The fewest digits that look a phone number up by its end.
constexpr int kFewestDigits = 4;

bool isKanaOnly(const QString& key)
{
    return !key.isEmpty() && std::all_of(key.begin(), key.end(), [](QChar c) { return c.unicode() >= 0x30A1 && c.unicode() <= 0x30FC; });
}

void addNew(QStringList& numbers, const QStringList& more)
{
    for (const QString& number : more) {
        if (!numbers.contains(number))
            numbers << number;
    }
}

} // namespace

Found findReservers(const store::Database& db, const QString& typed)
{
    // Control characters pasted with the text are no part of what the desk looks for.
    QString text;
    for (QChar c : typed)
        text += c.category() == QChar::Other_Control ? QChar(u' ') : c;
    text = input::normalized(text);
    const QString key = input::searchKey(text);
    if (text.isEmpty() || key.isEmpty())
        return {};

    // One read lock for the look-ups and the records they lead to. A server is asked twice: for
    // every look-up at once, then for the records they found.
    store::Transaction reading(db, store::Transaction::ForReading);
    const int wanted = kMostFound + 1;
    const bool byPhone = input::isDigitsOnly(key) && key.size() >= kFewestDigits;
    const bool byKana = isKanaOnly(key);
    QStringList numbers;
    {
        const store::ReadAhead lookUps(
            db, records::reserverLookUpRanges(text, byPhone ? key : QString(), byKana ? key : QString(), text, wanted));
        if (records::findReserver(db, text))
            numbers << text;
        if (byPhone)
            addNew(numbers, records::reserverNumbersByPhoneEnd(db, key, wanted));
        if (byKana)
            addNew(numbers, records::reserverNumbersByKana(db, key, wanted));
        addNew(numbers, records::reserverNumbersByName(db, text, wanted));
    }

    Found found;
    found.more = numbers.size() > kMostFound;
    numbers = numbers.mid(0, kMostFound);
    const store::ReadAhead records(db, records::reserverRanges(numbers));
    for (const QString& number : numbers) {
        if (std::optional<records::Reserver> reserver = records::findReserver(db, number))
            found.reservers.push_back(std::move(*reserver));
    }
    reading.commit();
    return found;
}

QStringList namesByKana(const store::Database& db, const QString& typed)
{
    store::Transaction reading(db, store::Transaction::ForReading);
    const QString key = input::searchKey(typed);
    QStringList numbers;
    {
        // The keys of a short list at once (a server: one round trip); a long one reads on.
        const store::ReadAhead keys(db, {records::reserverKanaRange(key, kMostFound + 1)});
        numbers = records::reserverNumbersByKana(db, key, std::numeric_limits<int>::max());
    }
    QStringList names;
    if (key.isEmpty()) {
        // Everybody: one pass over the reservers costs a fraction of a look-up each.
        const QHash<QString, QString> byNumber = records::reserverNamesByNumber(db);
        for (const QString& number : numbers)
            names << byNumber.value(number);
    } else {
        const store::ReadAhead found(db, records::reserverRanges(numbers));
        for (const QString& number : numbers) {
            if (const std::optional<records::Reserver> reserver = records::findReserver(db, number))
                names << reserver->name;
        }
    }
    reading.commit();
    return names;
}

} // namespace reserver_lookup
