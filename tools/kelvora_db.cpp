// kelvora-db: makes, fills, copies and checks database files from a shell.

#include "records/demo_data.h"
#include "store/file_tools.h"
#include "store/store_error.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QTextStream>
#include <unistd.h>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: kelvora-db create FILE | demo FILE | backup [FROM [TO]] | check FILE\n";
    return 2;
}

// How far a long command is, on one line of the terminal rewritten in place; nothing when the
// output goes to a file or a pipe, whose readers want the result alone.
store::Progress terminalProgress(const QString& what, const QString& unit)
{
    if (!isatty(STDERR_FILENO))
        return {};
    return [what, unit](qint64 done, qint64 total) {
        QTextStream err(stderr);
        err << '\r' << what << ' ' << (total > 0 ? done * 100 / total : 0) << "% (" << done << '/' << total << ' ' << unit << ')';
        if (done >= total)
            err << '\n';
        return true;
    };
}

int fail(const QString& message)
{
    QTextStream(stderr) << "kelvora-db: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args[0];
    try {
        if (command == "create" && args.size() == 2) {
            store::createDatabaseFile(args[1]);
            return 0;
        }
        if (command == "demo" && args.size() == 2) {
            records::createDemoDatabaseFile(args[1], QDate::currentDate());
            return 0;
        }
        if (command == "backup" && args.size() <= 3) {
            store::backupDatabaseFile(args.value(1, "Kelvora.mdb"), args.value(2, "Kelvorabkup.mdb"),
                                      terminalProgress(QStringLiteral("コピー中"), QStringLiteral("ページ")));
            return 0;
        }
        if (command == "check" && args.size() == 2) {
            const QStringList problems =
                store::checkDatabaseFile(args[1], terminalProgress(QStringLiteral("検査中"), QStringLiteral("段階")));
            QTextStream out(stdout);
            for (const QString& problem : problems)
                out << problem << '\n';
            if (problems.isEmpty())
                out << args[1] << ": OK\n";
            return problems.isEmpty() ? 0 : 1;
        }
    } catch (const store::StoreError& error) {
        return fail(error.message());
    }
    return usage();
}
