// The data tool's commands, as the qavdata program runs them once its
// arguments are read: each writes its output to standard output, its
// messages to standard error, and returns the exit code (0 done, 1 failed).
// `root_option` is the --root host folder, or empty for QAVROOT.
#ifndef QAV_DATATOOL_COMMANDS_H_
#define QAV_DATATOOL_COMMANDS_H_

#include <string>

#include "datatool/record_rows.h"
#include "datatool/sample_data.h"

namespace qav {

// Writes FinquesH.xdf, PropietH.xdf and CobramH.xdf into the host folder.
int RunDdf(const std::string& folder);

// Appends the rows of a CSV file to the table's record file, creating it
// when missing; all or nothing.
int RunImport(const std::string& root_option, Table table, const std::string& csv_path);

// Writes the table's CSV, in key order, to standard output.
int RunExport(const std::string& root_option, Table table);

// Writes the three sample CSV files into the host folder.
int RunGenerate(const SampleOptions& options, const std::string& folder);

// `file` is a table or file base name (properties, FinquesH, ...), looked
// for under the root, or else a host path (".dat" added when its last
// component has no extension).
int RunStat(const std::string& root_option, const std::string& file);
int RunCheck(const std::string& root_option, const std::string& file);

}  // namespace qav

#endif  // QAV_DATATOOL_COMMANDS_H_
