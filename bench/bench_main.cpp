#include "bench.h"

#include <QApplication>
#include <QTextStream>
#include <map>

namespace {

int usage(const QStringList& commands)
{
    QTextStream(stderr) << "usage: kelvora-bench COMMAND [--store sqlite|postgresql [--connection STRING | --latency MS]], with COMMAND "
                           "one of: "
                        << commands.join(u' ') << "\n(--store postgresql for store, grid, booking, stats, series and reservers)\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    bench::StoreOptions options;
    bool valid = !args.isEmpty();
    for (int i = 1; valid && i < args.size(); i += 2) {
        const QString value = args.value(i + 1);
        if (args[i] == "--store" && (value == "sqlite" || value == "postgresql"))
            options.server = value == "postgresql";
        else if (args[i] == "--connection" && !value.isEmpty())
            options.connection = value;
        else if (args[i] == "--latency") {
            bool number = false;
            options.latencyMs = value.toInt(&number);
            valid = number && options.latencyMs >= 0;
        } else
            valid = false;
    }
    const auto onStores = [&](int (*run)(const bench::StoreOptions&)) { return [&options, run] { return run(options); }; };
    const std::map<QString, std::function<int()>> commands = {
        {"store", onStores(bench::storeBench)},
        {"closures", bench::closuresBench},
        {"master", bench::masterBench},
        {"grid", onStores(bench::gridBench)},
        {"maintenance", bench::maintenanceBench},
        {"booking", onStores(bench::bookingBench)},
        {"hours", bench::hoursBench},
        {"sheets", bench::sheetsBench},
        {"check", bench::checkBench},
        {"startup", bench::startupBench},
        {"reservers", onStores(bench::reserversBench)},
        {"holidays", bench::holidaysBench},
        {"stats", onStores(bench::statsBench)},
        {"series", onStores(bench::seriesBench)},
    };
    QStringList names;
    for (const auto& [name, run] : commands)
        names << name;
    const auto found = valid ? commands.find(args[0]) : commands.end();
    const bool takesServer = QStringList{"store", "grid", "booking", "stats", "series", "reservers"}.contains(args.value(0));
    // The link is put in front of the run's own server.
    const bool linkUsable = options.latencyMs < 0 || (options.server && options.connection.isEmpty());
    if (found == commands.end() || (!options.connection.isEmpty() && !options.server) || (options.server && !takesServer) || !linkUsable)
        return usage(names);
    return found->second();
}
