// Writes one of the suite's record files as CSV (see record_rows.h), in the
// order of key 0, row by row, so a file of any size streams out. A record
// that would not come back byte for byte through an import (malformed
// packed digits, an impossible date, a control character, data in the bytes
// outside the columns) is left out and told, and the export then fails:
// its output is not the whole file.
#ifndef QAV_DATATOOL_CSV_EXPORT_H_
#define QAV_DATATOOL_CSV_EXPORT_H_

#include <cstdio>
#include <functional>
#include <string>

#include "datatool/data_file.h"
#include "datatool/record_rows.h"
#include "datatool/tool_status.h"

namespace qav {

// `problem` receives one message per record left out.
ToolStatus ExportCsv(Table table, DataFile* file, std::FILE* out,
                     const std::function<void(const std::string&)>& problem);

}  // namespace qav

#endif  // QAV_DATATOOL_CSV_EXPORT_H_
