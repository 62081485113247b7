// The statistics and the integrity check of a record file. The check reads
// the whole file in the order of each of its keys and finds: a key that
// reads a different number of records than the file's count, or other
// records than key 0; key values out of order or repeated in a unique key;
// and, for the suite's own files, a definition that does not fit the
// records' layout and records that do not decode (packed digits, dates,
// texts, bytes outside the columns; see record_rows.h).
#ifndef QAV_DATATOOL_FILE_CHECK_H_
#define QAV_DATATOOL_FILE_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "datatool/data_file.h"
#include "datatool/record_rows.h"
#include "recman/file_definition.h"

namespace qav {

// Lines of text: the path, record count, record length, page size, and
// every key with its segments.
std::string DescribeFile(const std::string& host_path, const FileDefinition& definition,
                         uint32_t records);

struct CheckReport {
  static constexpr size_t kMaxProblems = 20;

  uint32_t records = 0;               // as Stat counts them
  std::vector<std::string> problems;  // the first kMaxProblems
  size_t more_problems = 0;           // beyond those

  bool ok() const { return problems.empty(); }
};

// `table` is the file's layout when it is one of the suite's files, else
// null (only the keys are checked).
CheckReport CheckFile(DataFile* file, const Table* table);

}  // namespace qav

#endif  // QAV_DATATOOL_FILE_CHECK_H_
