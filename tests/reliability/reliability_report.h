#pragma once

#include <QString>

// What the reliability suite tried and what held. When the environment variable
// KELVORA_RELIABILITY_REPORT names a file, the suite writes its report there as Markdown at the
// end of the run (scripts/reliability-report.sh makes docs/RELIABILITY.md with it).
namespace reliability_report {

enum class Section { HostileInput, StoreFault, Crash };

// One line of the report, noted at the end of a test: what was tried, how many times, and what
// held. A line noted by a test that has failed says so instead of what held.
void note(Section section, const QString& tried, int count, const QString& held);

} // namespace reliability_report
