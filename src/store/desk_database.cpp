#include "store/desk_database.h"

#include "store/connection.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace store {

namespace {

// A file of the folder as messages name it.
QString inFolder(const QString& folder, const QString& file)
{
    return QDir(folder) == QDir::current() ? file : QDir(folder).filePath(file);
}

// The text after "connection=" in the group [database], or nothing when there is no such line.
std::optional<QString> connectionLine(const QByteArray& contents)
{
    bool inDatabase = false;
    std::optional<QString> found;
    for (const QByteArray& raw : contents.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inDatabase = line == QLatin1String("[database]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inDatabase || equals < 0 || line.left(equals).trimmed() != QLatin1String("connection"))
            continue;
        found = line.mid(equals + 1).trimmed();
    }
    return found;
}

} // namespace

QString DeskDatabase::mainFile() const
{
    return inFolder(folder, kMainFile);
}

QString DeskDatabase::backupFile() const
{
    return inFolder(folder, kBackupFile);
}

Database openDeskDatabase(const DeskDatabase& where)
{
    return where.onServer() ? Database::openServer(where.address) : Database::open(where.mainFile());
}

DeskDatabase deskDatabaseIn(const QString& folder)
{
    DeskDatabase desk{QDir(folder).absolutePath(), QString()};
    QFile settings(QDir(folder).filePath(kSettingsFile));
    if (!settings.exists())
        return desk;
    const QString shown = inFolder(folder, kSettingsFile);
    if (!settings.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("設定ファイル「%1」を読めません（%2）。").arg(shown, settings.errorString()));
    const std::optional<QString> address = connectionLine(settings.readAll());
    if (!address || address->isEmpty())
        throw StoreError(QStringLiteral("設定ファイル「%1」に接続先（[database] の connection=）が書かれていません。"
                                        "データベースサーバーの接続文字列を書くか、ファイルを削除してください。")
                             .arg(shown));
    if (const QString problem = detail::connectionStringProblem(*address); !problem.isEmpty())
        throw StoreError(QStringLiteral("設定ファイル「%1」の接続文字列を読めません（%2）。").arg(shown, problem));
    if (detail::holdsPassword(*address))
        throw StoreError(QStringLiteral("設定ファイル「%1」の接続文字列にパスワードが書かれています。パスワードは設定ファイルに書かず、"
                                        "~/.pgpass かサービスファイル（~/.pg_service.conf）に書いてください。")
                             .arg(shown));
    desk.address = *address;
    return desk;
}

void writeDeskSettings(const QString& folder, const QString& address)
{
    QSaveFile settings(QDir(folder).filePath(kSettingsFile));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[database]\nconnection=" + address.toUtf8() + "\n") < 0 ||
        !settings.commit())
        throw StoreError(
            QStringLiteral("設定ファイル「%1」を書けません（%2）。").arg(inFolder(folder, kSettingsFile), settings.errorString()));
}

} // namespace store
