#include "datatool/csv_import.h"

#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "datatool/csv_reader.h"
#include "recman/status.h"

namespace qav {
namespace {

std::function<void()>& BeforeInsertHook() {
  static std::function<void()> hook;
  return hook;
}

std::string Joined(const std::vector<std::string>& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out.push_back(',');
    out += fields[i];
  }
  return out;
}

}  // namespace

void SetBeforeInsertHookForTest(std::function<void()> hook) {
  BeforeInsertHook() = std::move(hook);
}

ToolStatus ImportCsv(Table table, const std::string& csv_path, DataFile* file,
                     const ImportOptions& options, ImportSummary* summary) {
  *summary = ImportSummary();
  const TableInfo& info = InfoOf(table);
  if (const std::string problem = LayoutProblem(table, file->definition()); !problem.empty()) {
    return ToolStatus::Error(file->host_path() + ": " + problem);
  }
  CsvReader reader;
  if (!reader.Open(csv_path)) {
    return ToolStatus::Error("cannot open " + csv_path + ": " + std::strerror(errno));
  }
  auto at_line = [&](int line, const std::string& reason) {
    return ToolStatus::Error(csv_path + ":" + std::to_string(line) + ": " + reason);
  };

  std::vector<std::string> fields;
  CsvReader::Result result = reader.Next(&fields);
  if (result == CsvReader::kError) return at_line(reader.line(), reader.error());
  if (result == CsvReader::kEnd || Joined(fields) != info.header) {
    return at_line(reader.line(), std::string("the first row must be the header ") + info.header);
  }

  const size_t record_length = file->definition().record_length;
  std::vector<std::string> records;
  std::vector<int> lines;
  std::unordered_map<std::string, int> first_line_of_key;
  std::string record;
  while ((result = reader.Next(&fields)) == CsvReader::kRow) {
    const std::string reason = RowToRecord(table, fields, record_length, &record);
    if (!reason.empty()) return at_line(reader.line(), reason);
    const auto [seen, added] =
        first_line_of_key.emplace(record.substr(0, info.key_length), reader.line());
    if (!added) {
      return at_line(reader.line(), "duplicate key (" + DescribeKey(table, record) +
                                        "): also on line " + std::to_string(seen->second));
    }
    if (options.parents != nullptr && options.parents->count(ParentKey(table, record)) == 0) {
      if (summary->orphans++ == 0) summary->first_orphan_line = reader.line();
    }
    records.push_back(record);
    lines.push_back(reader.line());
  }
  if (result == CsvReader::kError) return at_line(reader.line(), reader.error());
  first_line_of_key.clear();

  if (BeforeInsertHook()) BeforeInsertHook()();
  size_t failed = records.size();
  const int16_t status = file->InsertAll(records, &failed);
  if (status != kRmOk) {
    summary->orphans = 0;
    if (failed >= records.size()) {
      return ToolStatus::Error(csv_path + ": cannot store the rows in " + file->host_path() + ": " +
                               StatusText(status));
    }
    if (status == kRmDuplicateKey) {
      return at_line(lines[failed], "duplicate key (" + DescribeKey(table, records[failed]) +
                                        "): already in " + file->host_path());
    }
    return at_line(lines[failed],
                   "cannot store the row in " + file->host_path() + ": " + StatusText(status));
  }
  summary->added = records.size();
  return ToolStatus();
}

}  // namespace qav
