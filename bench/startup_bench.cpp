// Start-up as the operator sees it: from launching the real program in a folder with the demo
// database to the menu painted on the screen. The program is started as a child process, exactly
// as the launcher starts it; the moment of the menu's first paint is read from Qt's own logging of
// widget painting (the category qt.widgets.painting, switched on with QT_LOGGING_RULES), which
// Qt reports after the window's contents were painted and handed to the screen. Nothing in the
// program knows it is being measured.

#include "bench.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace bench {

namespace {

const QString kMenuName = QStringLiteral("メニュー");

// Waits for the line that reports the menu's first flush to the screen; false after 10 s
// without it, or when the program ends first. What the program printed is kept in `seen`.
bool waitForMenuPainted(QProcess& program, QByteArray& seen)
{
    const QByteArray menu = kMenuName.toUtf8();
    for (;;) {
        while (program.canReadLine()) {
            const QByteArray line = program.readLine();
            seen += line;
            if (line.contains("Flushing") && line.contains(menu))
                return true;
        }
        if (program.state() == QProcess::NotRunning || !program.waitForReadyRead(10000))
            return false;
    }
}

} // namespace

int startupBench()
{
    const QString folder = QCoreApplication::applicationDirPath();
    QTemporaryDir scratch;
    if (!scratch.isValid() || QProcess::execute(folder + "/kelvora-db", {"demo", scratch.filePath("Kelvora.mdb")}) != 0) {
        std::fprintf(stderr, "startup: cannot make the demo database\n");
        return 1;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains("QT_QPA_PLATFORM"))
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "qt.widgets.painting=true");

    constexpr int kRuns = 11;
    std::unique_ptr<QProcess> program;
    bool painted = true;
    QByteArray seen;
    const auto stop = [&] {
        if (program) {
            program->kill();
            program->waitForFinished();
        }
    };
    const double micros = medianMicros(
        kRuns,
        [&] {
            program->start();
            painted = painted && waitForMenuPainted(*program, seen);
        },
        [&] {
            stop();
            seen.clear();
            program = std::make_unique<QProcess>();
            program->setProgram(folder + "/kelvora");
            program->setWorkingDirectory(scratch.path());
            program->setProcessEnvironment(environment);
            program->setProcessChannelMode(QProcess::MergedChannels);
        });
    stop();
    if (!painted) {
        std::fprintf(stderr, "startup: the menu was not painted; the program said:\n%s\n", seen.constData());
        return 1;
    }
    std::printf("# %d launches of kelvora on the demo database, %s platform\n", kRuns, qPrintable(environment.value("QT_QPA_PLATFORM")));
    printMillis("startup_menu_painted", micros);
    return 0;
}

} // namespace bench
