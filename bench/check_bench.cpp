// `kelvora-db check` on the generated database: the whole check of a sound file with about
// 1,000,000 reservations, which an operator runs before and after every repair.

#include "bench.h"

#include "store/file_tools.h"

#include <cstdio>

namespace bench {

int checkBench()
{
    const QString path = generatedDatabase();
    qsizetype problems = 0;
    const double micros = medianMicros(3, [&] { problems = store::checkDatabaseFile(path).size(); });
    std::printf("# check of %s: %lld problems\n", qPrintable(path), (long long)problems);
    printMillis("check_generated", micros);
    return problems == 0 ? 0 : 1;
}

} // namespace bench
