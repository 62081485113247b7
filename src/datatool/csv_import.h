// Loads a CSV file (see record_rows.h for its columns) into one of the
// suite's record files, all of it or nothing: every row is read and checked
// first, duplicates within the file included, and then all the records go
// in through one InsertRecords transaction, which also refuses a key that
// the record file already holds. A process killed in the middle leaves the
// file as it was before. A refused row is told as "FILE:LINE: reason", LINE
// being the line on which the row begins.
#ifndef QAV_DATATOOL_CSV_IMPORT_H_
#define QAV_DATATOOL_CSV_IMPORT_H_

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>

#include "datatool/data_file.h"
#include "datatool/record_rows.h"
#include "datatool/tool_status.h"

namespace qav {

struct ImportOptions {
  // When set: the keys of the records the imported rows belong to (the
  // property codes for owners, the owner keys for receipts), so that rows
  // belonging to none can be counted. They are stored all the same.
  const std::unordered_set<std::string>* parents = nullptr;
};

struct ImportSummary {
  size_t added = 0;
  size_t orphans = 0;  // rows whose parent key is not in the parents
  int first_orphan_line = 0;
};

// `csv_path` is a host path; messages name it as given.
ToolStatus ImportCsv(Table table, const std::string& csv_path, DataFile* file,
                     const ImportOptions& options, ImportSummary* summary);

// Called after the rows are checked, just before the records are stored;
// tests use it to stop a writer at that point.
void SetBeforeInsertHookForTest(std::function<void()> hook);

}  // namespace qav

#endif  // QAV_DATATOOL_CSV_IMPORT_H_
