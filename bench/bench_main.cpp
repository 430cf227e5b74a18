#include "bench.h"

#include <QApplication>
#include <QTextStream>
#include <map>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::map<QString, std::function<int()>> commands = {
        {"store", bench::storeBench},
        {"closures", bench::closuresBench},
        {"master", bench::masterBench},
        {"grid", bench::gridBench},
        {"maintenance", bench::maintenanceBench},
        {"booking", bench::bookingBench},
        {"hours", bench::hoursBench},
        {"sheets", bench::sheetsBench},
        {"check", bench::checkBench},
        {"startup", bench::startupBench},
        {"reservers", bench::reserversBench},
    };
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto found = commands.find(command);
    if (found == commands.end()) {
        QTextStream err(stderr);
        err << "usage: kelvora-bench COMMAND, with COMMAND one of:";
        for (const auto& [name, run] : commands)
            err << ' ' << name;
        err << '\n';
        return 2;
    }
    return found->second();
}
