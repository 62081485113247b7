// Where the data tool finds the suite's record files: as karvelot does,
// under the root folder, which is QAVROOT as given (paths are formed by
// appending to it) or the host folder of the --root option. A record file is
// root + "DADES\<base>.dat"; a missing one is created from
// root + "ddf\<base>.xdf" when that exists, else from the built-in
// definition, after creating the DADES folder when it is missing.
#ifndef QAV_DATATOOL_SUITE_ROOT_H_
#define QAV_DATATOOL_SUITE_ROOT_H_

#include <string>

#include "datatool/data_file.h"
#include "datatool/record_rows.h"
#include "datatool/tool_status.h"

namespace qav {

// The root as a suite path (code page 850). `root_option` is the --root
// host folder (UTF-8), or empty to take QAVROOT.
ToolStatus ResolveRoot(const std::string& root_option, std::string* root);

// root + "DADES\" + base + ".dat".
std::string RecordFilePath(const std::string& root, Table table);

// Opens the table's record file; with `create`, makes the DADES folder and
// the file when they are missing.
ToolStatus OpenSuiteFile(const std::string& root, Table table, bool create, DataFile* file);

}  // namespace qav

#endif  // QAV_DATATOOL_SUITE_ROOT_H_
