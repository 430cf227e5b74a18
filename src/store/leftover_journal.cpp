#include "store/leftover_journal.h"

#include "store/raw_file.h"
#include "store/store_error.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace store::detail {

namespace {

const QStringList kJournalSuffixes = {QStringLiteral("-journal"), QStringLiteral("-wal")};

// A journal SQLite would roll into the file: a rollback journal whose header is not blanked out
// (an empty or zeroed one is ignored), or any WAL.
bool isLive(const QString& journal)
{
    QFile file(journal);
    if (!file.exists())
        return false;
    if (journal.endsWith(QStringLiteral("-wal")))
        return true;
    char first = 0;
    return file.open(QIODevice::ReadOnly) && file.getChar(&first) && first != 0;
}

QString liveJournal(const QString& path)
{
    for (const QString& suffix : kJournalSuffixes) {
        if (isLive(path + suffix))
            return path + suffix;
    }
    return {};
}

} // namespace

void settleLeftoverJournal(const QString& path)
{
    if (liveJournal(path).isEmpty())
        return;
    // Opening the file it belongs to and reading it rolls a save cut short back, as the program
    // does; closing it takes the journal away. A journal that stays is one of a save going on now.
    if (QFileInfo(path).isFile()) {
        {
            RawFile earlier(path, RawFile::Mode::Read);
            earlier.rows(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        }
        if (!liveJournal(path).isEmpty())
            throw StoreError(
                QStringLiteral("データベース「%1」は他のプログラムが使用中です。しばらくしてからやり直してください。").arg(path));
        return;
    }
    throw StoreError(QStringLiteral("以前の「%2」の保存の途中で止まった変更の記録「%1」が残っています。新しいファイルを「%2」に置くと、"
                                    "この記録が新しいファイルに書き戻されて壊れるため、置きません。元のファイルを「%2」に戻して"
                                    "プログラムで開くか、記録が要らなければ別の場所に移してから、やり直してください。")
                         .arg(liveJournal(path), path));
}

void removeWithJournals(const QString& path)
{
    QFile::remove(path);
    for (const QString& suffix : kJournalSuffixes + QStringList{QStringLiteral("-shm")})
        QFile::remove(path + suffix);
}

} // namespace store::detail
