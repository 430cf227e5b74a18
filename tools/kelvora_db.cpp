// kelvora-db: makes, fills, copies, checks and upgrades databases, and writes sheets and exports from
// a shell: files, or databases on a server named by a connection string wherever a FILE is asked
// for. The program itself never creates a database; this tool does.

#include "command_line.h"
#include "holidays_command.h"
#include "records/demo_data.h"
#include "sheet_commands.h"
#include "store/database.h"
#include "store/desk_database.h"
#include "store/file_tools.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <memory>
#include <unistd.h>

namespace {

int usage()
{
    QTextStream(stderr)
        << "usage: kelvora-db create FILE | demo FILE | backup [FROM [TO]] | check FILE | copy FROM TO | "
           "upgrade FILE | sheet FILE ... | export FILE ... | stats FILE ... | holidays YEAR [YEAR2] [--db FILE] (each FILE a file "
           "or a PostgreSQL connection string)\n";
    return 2;
}

// How far a long command is, on one line of the terminal rewritten in place; nothing when the
// output goes to a file or a pipe, whose readers want the result alone. The line is ended however
// the command ends, so a result or an error printed next starts on a line of its own.
class TerminalProgress {
public:
    TerminalProgress(QString what, QString unit) : what_(std::move(what)), unit_(std::move(unit)) {}
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;
    ~TerminalProgress()
    {
        if (lineOpen_)
            QTextStream(stderr) << '\n';
    }

    store::Progress report()
    {
        if (!isatty(STDERR_FILENO))
            return {};
        return [this](qint64 done, qint64 total) {
            QTextStream err(stderr);
            err << '\r' << what_ << ' ' << (total > 0 ? done * 100 / total : 0) << "% (" << done << '/' << total << ' ' << unit_ << ')';
            lineOpen_ = done < total;
            if (!lineOpen_)
                err << '\n';
            return true;
        };
    }

private:
    QString what_;
    QString unit_;
    bool lineOpen_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    // A sheet is painted with the program's fonts and its slot grid or chart, which need a GUI
    // application; a morning job has no screen, so it paints offscreen unless told otherwise.
    const bool painting = argc > 1 && (QByteArray(argv[1]) == "sheet" || QByteArray(argv[1]) == "stats");
    if (painting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application =
        painting ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString& command = args[0];
    try {
        if (command == "sheet")
            return runSheetCommand(args.mid(1));
        if (command == "export")
            return runExportCommand(args.mid(1));
        if (command == "holidays")
            return runHolidaysCommand(args.mid(1));
        if (command == "stats")
            return runStatsCommand(args.mid(1));
        if (command == "create" && args.size() == 2) {
            store::createDatabase(args[1]);
            return 0;
        }
        if (command == "demo" && args.size() == 2) {
            records::createDemoDatabase(args[1], QDate::currentDate());
            return 0;
        }
        if (command == "backup" && args.size() <= 3) {
            TerminalProgress progress(QStringLiteral("コピー中"), QStringLiteral("ページ"));
            // Without a name, the database of the current folder, as a desk started there finds it.
            const store::DeskDatabase here = store::deskDatabaseIn(QDir::currentPath());
            store::backupDatabase(args.value(1, here.onServer() ? here.address : here.mainFile()), args.value(2, here.backupFile()),
                                  progress.report());
            return 0;
        }
        if (command == "copy" && args.size() == 3) {
            store::copyDatabase(args[1], args[2]);
            return 0;
        }
        if (command == "check" && args.size() == 2) {
            QStringList problems;
            {
                TerminalProgress progress(QStringLiteral("検査中"), QStringLiteral("段階"));
                problems = store::checkDatabase(args[1], progress.report());
            }
            QTextStream out(stdout);
            for (const QString& problem : problems)
                out << problem << '\n';
            const QString shown = store::shownDatabase(args[1]);
            // A database on a server has been brought up to this version by opening it for the check.
            const int version = store::isServerAddress(args[1]) ? store::schema::kCurrentVersion : store::databaseFileVersion(args[1]);
            if (version < store::schema::kCurrentVersion) {
                // An older file is not broken: the program upgrades it when it opens it.
                out << QStringLiteral("%1: 古い版（%2）のファイルです。「kelvora-db upgrade %1」で版 %3 に更新してください"
                                      "（プログラムで開いても更新されます）。\n")
                           .arg(shown)
                           .arg(version)
                           .arg(store::schema::kCurrentVersion);
            } else if (problems.isEmpty()) {
                out << shown << ": OK\n";
            }
            return problems.isEmpty() ? 0 : 1;
        }
        if (command == "upgrade" && args.size() == 2 && store::isServerAddress(args[1])) {
            const store::Database database = store::Database::open(args[1]);
            QTextStream(stdout) << QStringLiteral("%1: 版 %2 です（サーバーのデータベースは開くときに更新されます）。\n")
                                       .arg(database.fileName())
                                       .arg(store::schema::kCurrentVersion);
            return 0;
        }
        if (command == "upgrade" && args.size() == 2) {
            const int version = store::upgradeDatabaseFile(args[1]);
            QTextStream out(stdout);
            if (version == store::schema::kCurrentVersion)
                out << QStringLiteral("%1: すでに版 %2 です。変更はありません。\n").arg(args[1]).arg(version);
            else
                out << QStringLiteral("%1: 版 %2 を版 %3 に更新しました。\n").arg(args[1]).arg(version).arg(store::schema::kCurrentVersion);
            return 0;
        }
    } catch (const store::StoreError& error) {
        return fail(error.message());
    }
    return usage();
}
