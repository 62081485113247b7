// The program's run from start to end, in its fixed order: cursor hidden,
// session settings read, the suite's root made the current folder, the
// program named, its forms loaded, its three data files opened, the report
// driver run until the operator leaves, everything closed.
#ifndef QAV_REPORT_RUN_SEQUENCE_H_
#define QAV_REPORT_RUN_SEQUENCE_H_

namespace qav {

// Runs the program on the console in force; returns the exit code (0).
int RunKarvelot();

// The steps up to the program's name, shared by every way of running it
// (interactive and batch): settings read, current folder, program name.
void PrepareSession();

}  // namespace qav

#endif  // QAV_REPORT_RUN_SEQUENCE_H_
