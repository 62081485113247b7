// The program's run from start to end, in its fixed order: cursor hidden,
// session settings read, the suite's root made the current folder, the
// program named, its forms loaded, its three data files opened, the report
// driver run until the operator leaves, everything closed. The batch mode
// runs the same start-up without the terminal.
#ifndef QAV_REPORT_RUN_SEQUENCE_H_
#define QAV_REPORT_RUN_SEQUENCE_H_

#include <string>

namespace qav {

// Runs the program on the console in force; returns the exit code (0).
int RunKarvelot();

// Settings read, current folder, program name: what every way of running
// the program begins with.
void PrepareSession();

// Loads the forms and opens the three data files. A form file that cannot
// be used gives false with the reason in *error. A data file that cannot be
// opened goes to the record-access layer's open failure handler.
bool StartReportFiles(std::string* error);

}  // namespace qav

#endif  // QAV_REPORT_RUN_SEQUENCE_H_
