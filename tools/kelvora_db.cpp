// kelvora-db: makes, fills, copies and checks databases: files, or databases on a server named by
// a connection string wherever a FILE is asked for. The program itself never creates a database;
// this tool does.

#include "demo_data.h"
#include "store/database.h"
#include "store/file_tools.h"
#include "store/store_error.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: kelvora-db create FILE | demo FILE | backup [FROM [TO]] | check FILE | copy FROM TO"
                           " (each a file or a PostgreSQL connection string)\n";
    return 2;
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
        if ((command == "create" || command == "demo") && args.size() == 2) {
            store::createDatabase(args[1]);
            if (command == "demo") {
                try {
                    writeDemoData(args[1], QDate::currentDate());
                } catch (...) {
                    if (!store::isServerAddress(args[1]))
                        QFile::remove(args[1]);
                    throw;
                }
            }
            return 0;
        }
        if (command == "backup" && args.size() <= 3) {
            store::backupDatabase(args.value(1, store::mainDatabase()), args.value(2, store::kBackupFile));
            return 0;
        }
        if (command == "copy" && args.size() == 3) {
            store::copyDatabase(args[1], args[2]);
            return 0;
        }
        if (command == "check" && args.size() == 2) {
            const QStringList problems = store::checkDatabase(args[1]);
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
