#include "store/store_error.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

namespace store {

namespace {

// Every write goes through a journal beside the file, named after it.
const QString kJournalSuffix = QStringLiteral("-journal");

bool mayWrite(const QString& path, int mode = W_OK)
{
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

// The longest path of a database file that SQLite opens: it makes the path absolute and needs
// room for the journal's name after it.
qsizetype longestPath()
{
    const sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    return (vfs ? vfs->mxPathname : 512) - kJournalSuffix.size();
}

} // namespace

StoreError::StoreError(const QString& message, int sqliteCode)
    : std::runtime_error(message.toStdString()), message_(message), sqliteCode_(sqliteCode)
{}

QString failureMessage(int code, const QString& file, const QString& what, const QString& detail)
{
    const QString place = what.isEmpty() ? QString() : QStringLiteral("（%1）").arg(what);
    // The journal lies beside the file that a link names.
    const QFileInfo info(QFileInfo(file).exists() ? QFileInfo(file).canonicalFilePath() : file);
    const QString folder = info.absolutePath();
    const QString journal = info.fileName() + kJournalSuffix;
    const bool folderWritable = mayWrite(folder, W_OK | X_OK);
    const bool cannotOpen = (code & 0xff) == SQLITE_CANTOPEN;

    if (code == SQLITE_READONLY_ROLLBACK || code == SQLITE_READONLY_RECOVERY) {
        return QStringLiteral("データベース「%1」には保存の途中で止まった変更が残っています。その記録「%2」で元に戻すには"
                              "ファイルとフォルダへの書き込みが必要です。書き込めるようにしてからやり直してください。"
                              "記録「%2」は削除しないでください（データベースが壊れます）。%3")
            .arg(file, journal, place);
    }
    // Every save makes the journal in the folder, so a writable file in a folder that is not
    // cannot be saved into.
    if (code == SQLITE_READONLY_DIRECTORY || (cannotOpen && info.isFile() && mayWrite(info.filePath()) && !folderWritable)) {
        return QStringLiteral("フォルダ「%1」に書き込めないため、データベース「%2」に書き込めません。"
                              "保存のたびにフォルダに作業用のファイル「%3」を作ります。%4")
            .arg(folder, file, journal, place);
    }
    if (cannotOpen && !info.exists() && !folderWritable)
        return QStringLiteral("フォルダ「%1」に書き込めないため、「%2」を作れません。").arg(folder, file);
    if (const qsizetype bytes = QFile::encodeName(info.absoluteFilePath()).size(); cannotOpen && bytes > longestPath()) {
        return QStringLiteral("データベース「%1」のパスが長すぎるため開けません（%2 バイト、%3 バイトまで）。"
                              "もっと短いパスのフォルダに置いてください。")
            .arg(file)
            .arg(bytes)
            .arg(longestPath());
    }
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("データベース「%1」は他のプログラムが使用中です。しばらくしてからやり直してください。%2").arg(file, place);
    case SQLITE_READONLY: return QStringLiteral("データベース「%1」は読み取り専用のため書き込めません。%2").arg(file, place);
    case SQLITE_FULL: return QStringLiteral("ディスクの空きが不足しているため、データベース「%1」に書き込めません。%2").arg(file, place);
    case SQLITE_NOTADB: return QStringLiteral("「%1」はデータベースファイルではありません。").arg(file);
    case SQLITE_CORRUPT: return QStringLiteral("データベース「%1」が壊れています。%2").arg(file, place);
    case SQLITE_CANTOPEN: return QStringLiteral("データベース「%1」を開けません。%2").arg(file, place);
    case SQLITE_IOERR:
        // A file made read-only while the program had it open fails at the write itself.
        if (info.exists() && !info.isWritable())
            return QStringLiteral("データベース「%1」は読み取り専用のため書き込めません。%2").arg(file, place);
        return QStringLiteral("データベース「%1」の読み書きに失敗しました。%2").arg(file, place);
    default: return QStringLiteral("データベース「%1」の操作に失敗しました。%2 [%3]").arg(file, place, detail);
    }
}

QString serverFailureMessage(const QByteArray& state, const QString& database, const QString& server, const QString& what,
                             const QString& reason)
{
    const QString place = what.isEmpty() ? QString() : QStringLiteral("（%1）").arg(what);
    if (state.startsWith("08") || state == "57P01" || state == "57P02" || state == "57P03") {
        return QStringLiteral("データベースサーバー「%1」との接続が切れました。%2保存の途中だった変更は取り消されました。"
                              "サーバーが使えるようになってから、やり直してください。（理由: %3）")
            .arg(server, place, reason);
    }
    if (state == "42501")
        return QStringLiteral("データベース「%1」に書き込む権限がありません。%2（理由: %3）").arg(database, place, reason);
    if (state == "25006")
        return QStringLiteral("データベース「%1」は読み取り専用のため書き込めません。%2").arg(database, place);
    if (state == "40001" || state == "40P01" || state == "55P03")
        return QStringLiteral("データベース「%1」は他の端末が使用中です。しばらくしてからやり直してください。%2").arg(database, place);
    if (state == "53100")
        return QStringLiteral("データベースサーバー「%1」のディスクの空きが不足しているため書き込めません。%2").arg(server, place);
    return QStringLiteral("データベース「%1」の操作に失敗しました。%2 [%3]").arg(database, place, reason);
}

QString serverSilentMessage(const QString& server, const QString& what, int seconds)
{
    const QString place = what.isEmpty() ? QString() : QStringLiteral("（%1）").arg(what);
    return QStringLiteral("データベースサーバー「%1」から %2 秒たっても応答がないため、接続を切りました。%3保存の途中だった変更は"
                          "取り消されました。サーバーが使えるようになってから、やり直してください。")
        .arg(server)
        .arg(seconds)
        .arg(place);
}

QString commitKeptMessage(const QString& server, const QString& what)
{
    const QString place = what.isEmpty() ? QString() : QStringLiteral("（%1）").arg(what);
    return QStringLiteral("データベースサーバー「%1」との接続が保存の途中で切れましたが、つなぎ直して確かめたところ、変更は保存されて"
                          "いました。%2")
        .arg(server, place);
}

QString commitUnknownMessage(const QString& server, const QString& what, const QString& reason)
{
    const QString place = what.isEmpty() ? QString() : QStringLiteral("（%1）").arg(what);
    return QStringLiteral("データベースサーバー「%1」との接続が保存の途中で切れたため、変更が保存されたかどうかを確かめられませんでした。"
                          "%2サーバーが使えるようになってから、保存されているかを確かめてください。（理由: %3）")
        .arg(server, place, reason);
}

QString connectFailureMessage(const QString& address, const QString& reason)
{
    QString host = QStringLiteral("localhost");
    QString port = QStringLiteral("5432");
    QString database;
    if (PQconninfoOption* options = PQconninfoParse(address.toUtf8().constData(), nullptr)) {
        for (PQconninfoOption* option = options; option->keyword; ++option) {
            const QString value = QString::fromUtf8(option->val ? option->val : "");
            const QByteArray keyword(option->keyword);
            if (value.isEmpty())
                continue;
            if (keyword == "host" || (keyword == "hostaddr" && host == QLatin1String("localhost")))
                host = value;
            else if (keyword == "port")
                port = value;
            else if (keyword == "dbname")
                database = value;
            else if (keyword == "service")
                database = QStringLiteral("service=%1").arg(value);
        }
        PQconninfoFree(options);
    } else {
        return QStringLiteral("データベースの接続文字列が正しくありません。（理由: %1）").arg(reason);
    }
    return QStringLiteral("データベースサーバー「%1:%2」のデータベース「%3」に接続できません。"
                          "サーバーが動いているか、接続先の設定が正しいかを確かめてください。（理由: %4）")
        .arg(host, port, database, reason);
}

QString shownDatabase(const QString& name)
{
    PQconninfoOption* options = PQconninfoParse(name.toUtf8().constData(), nullptr);
    if (!options)
        return name;
    bool hidden = false;
    QStringList settings;
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
        if (!option->val)
            continue;
        const QString value = QString::fromUtf8(option->val);
        if (QByteArray(option->keyword) == "password") {
            hidden = !value.isEmpty();
            continue;
        }
        // Quoted as libpq reads a value that is empty or holds a blank, a quote or a backslash.
        const bool plain =
            !value.isEmpty() && std::none_of(value.begin(), value.end(), [](QChar c) { return c.isSpace() || c == u'\'' || c == u'\\'; });
        QString quoted = value;
        if (!plain)
            quoted = u'\'' + quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'")) + u'\'';
        settings << QStringLiteral("%1=%2").arg(QString::fromUtf8(option->keyword), quoted);
    }
    PQconninfoFree(options);
    return hidden ? settings.join(u' ') : name;
}

} // namespace store
