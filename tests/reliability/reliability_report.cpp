#include "reliability_report.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace reliability_report {

namespace {

const char* kReportVariable = "KELVORA_RELIABILITY_REPORT";

struct Line {
    QString tried;
    int count = 0;
    QString held;
};

std::map<Section, std::vector<Line>>& lines()
{
    static std::map<Section, std::vector<Line>> all;
    return all;
}

struct SectionText {
    Section section;
    const char* heading;
    const char* introduction;
    const char* countHeader;
};

const SectionText kSections[] = {
    {Section::HostileInput, "Hostile input",
     "Every entry box of every form, typed into and left (its LostFocus check runs), then the form's action "
     "carried out (a save, a deletion, a month shown, an inquiry opened). After each input: no crash, no store "
     "error shown, nothing written unless every check passed, and what passed reads back exactly as typed "
     "(numbers, dates and times in their stored form).",
     "Inputs"},
    {Section::StoreFault, "Store faults",
     "Each fault met through the real forms. After each: one clear Japanese message, the program keeps "
     "running, the file is unchanged or holds exactly the records stored before the fault, and the "
     "database check passes.",
     "Runs"},
    {Section::Crash, "Crashes",
     "The program killed with SIGKILL at random points (fixed seeds) while it works. After each kill the "
     "file passes the integrity check and every multi-record action is either wholly applied or not at all.",
     "Kills"},
};

// A table cell: the pipe would end the cell.
QString cell(QString text)
{
    return text.replace(u'|', QStringLiteral("\\|"));
}

QString markdown()
{
    QStringList out;
    out << "# Reliability"
        << ""
        << "What the reliability suite (`tests/reliability`) tried and what held. This file is written by the suite; "
           "regenerate it with `scripts/reliability-report.sh`."
        << "";
    for (const SectionText& section : kSections) {
        out << QStringLiteral("## %1").arg(section.heading) << "" << section.introduction << "";
        out << QStringLiteral("| What was tried | %1 | What held |").arg(section.countHeader) << "|---|---:|---|";
        int total = 0;
        for (const Line& line : lines()[section.section]) {
            out << QStringLiteral("| %1 | %2 | %3 |").arg(cell(line.tried)).arg(line.count).arg(cell(line.held));
            total += line.count;
        }
        out << QStringLiteral("| **In all** | **%1** | |").arg(total) << "";
    }
    return out.join(u'\n');
}

class ReportWriter : public ::testing::Environment {
public:
    void TearDown() override
    {
        const QString path = qEnvironmentVariable(kReportVariable);
        if (path.isEmpty())
            return;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            ADD_FAILURE() << "cannot write the report to " << path.toStdString();
        else
            file.write(markdown().toUtf8());
    }
};

// Registered before main() runs, as GoogleTest allows for global environments.
[[maybe_unused]] const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new ReportWriter);

} // namespace

void note(Section section, const QString& tried, int count, const QString& held)
{
    const bool failed = ::testing::Test::HasFailure();
    lines()[section].push_back({tried, count, failed ? QStringLiteral("**FAILED** (see the test output)") : held});
}

} // namespace reliability_report
