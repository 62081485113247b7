#include "datatool/csv_export.h"

#include <vector>

#include "datatool/csv_writer.h"
#include "recman/status.h"

namespace qav {

ToolStatus ExportCsv(Table table, DataFile* file, std::FILE* out,
                     const std::function<void(const std::string&)>& problem) {
  const TableInfo& info = InfoOf(table);
  if (const std::string layout = LayoutProblem(table, file->definition()); !layout.empty()) {
    return ToolStatus::Error(file->host_path() + ": " + layout);
  }
  CsvWriter writer(out);
  std::vector<std::string> header;
  for (size_t from = 0;;) {
    const std::string all = info.header;
    const size_t comma = all.find(',', from);
    header.push_back(
        all.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  writer.WriteRow(header);

  size_t left_out = 0;
  std::string record;
  std::vector<std::string> fields;
  int16_t status = file->ReadFirst(0, &record);
  for (; status == kRmOk; status = file->ReadNext(0, &record)) {
    const std::string reason = RecordProblem(table, record, &fields);
    if (!reason.empty()) {
      ++left_out;
      problem(file->host_path() + ": record at position " + std::to_string(file->Position()) +
              " (" + DescribeKey(table, record) + ") left out: " + reason);
      continue;
    }
    writer.WriteRow(fields);
  }
  const bool written = writer.Finish();
  if (status != kRmEndOfFile) {
    return ToolStatus::Error("cannot read " + file->host_path() + ": " + StatusText(status));
  }
  if (!written) return ToolStatus::Error("cannot write the CSV: output failed");
  if (left_out > 0) {
    return ToolStatus::Error(file->host_path() + ": " + std::to_string(left_out) +
                             " damaged record(s) left out of the export");
  }
  return ToolStatus();
}

}  // namespace qav
