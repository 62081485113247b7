#include "datatool/commands.h"

#include <cstdio>
#include <unordered_set>

#include "datatool/csv_export.h"
#include "datatool/csv_import.h"
#include "datatool/data_definitions.h"
#include "datatool/data_file.h"
#include "datatool/file_check.h"
#include "datatool/suite_root.h"
#include "platform/cp850.h"
#include "recman/status.h"

namespace qav {
namespace {

int Fail(const ToolStatus& status) {
  std::fprintf(stderr, "qavdata: %s\n", status.message().c_str());
  return 1;
}

// The keys of the records the table's rows belong to, from the parent file
// when it exists.
std::unordered_set<std::string> ParentKeys(const std::string& root, Table table) {
  std::unordered_set<std::string> keys;
  const Table parent = table == Table::kOwners ? Table::kProperties : Table::kOwners;
  DataFile file;
  if (!OpenSuiteFile(root, parent, /*create=*/false, &file).ok()) return keys;
  const size_t length = InfoOf(parent).key_length;
  std::string record;
  for (int16_t status = file.ReadFirst(0, &record); status == kRmOk;
       status = file.ReadNext(0, &record)) {
    keys.insert(record.substr(0, length));
  }
  return keys;
}

// A file named on the command line: a table under the root, or a path.
ToolStatus ResolveFile(const std::string& root_option, const std::string& name,
                       std::string* suite_path, Table* table, bool* known) {
  *known = TableByName(name, table);
  if (*known) {
    std::string root;
    if (ToolStatus status = ResolveRoot(root_option, &root); !status.ok()) return status;
    *suite_path = RecordFilePath(root, *table);
    return ToolStatus();
  }
  if (name.find('\\') != std::string::npos || !IsCp850Representable(name)) {
    return ToolStatus::Error(
        "the path " + name +
        " has a character the suite cannot name (\\ or outside code page 850)");
  }
  *suite_path = Utf8ToCp850(name);
  const size_t slash = suite_path->rfind('/');
  std::string last = suite_path->substr(slash == std::string::npos ? 0 : slash + 1);
  const size_t dot = last.find('.');
  if (dot == std::string::npos) suite_path->append(".dat");
  *known = TableByName(last.substr(0, dot), table);
  return ToolStatus();
}

// Opens a file named on the command line without creating it.
ToolStatus OpenNamedFile(const std::string& root_option, const std::string& name,
                         DataFile* file, Table* table, bool* known) {
  std::string path;
  if (ToolStatus status = ResolveFile(root_option, name, &path, table, known); !status.ok()) {
    return status;
  }
  return file->Open(path);
}

}  // namespace

int RunDdf(const std::string& folder) {
  if (ToolStatus status = WriteDataDefinitions(folder); !status.ok()) return Fail(status);
  return 0;
}

int RunImport(const std::string& root_option, Table table, const std::string& csv_path) {
  std::string root;
  if (ToolStatus status = ResolveRoot(root_option, &root); !status.ok()) return Fail(status);
  std::unordered_set<std::string> parents;
  ImportOptions options;
  if (table != Table::kProperties) {
    parents = ParentKeys(root, table);
    options.parents = &parents;
  }
  DataFile file;
  if (ToolStatus status = OpenSuiteFile(root, table, /*create=*/true, &file); !status.ok()) {
    return Fail(status);
  }
  ImportSummary summary;
  const ToolStatus status = ImportCsv(table, csv_path, &file, options, &summary);
  if (!status.ok()) {
    std::fprintf(stderr, "%s\nqavdata: nothing imported into %s\n", status.message().c_str(),
                 file.host_path().c_str());
    return 1;
  }
  std::printf("%s: %zu %s added to %s\n", csv_path.c_str(), summary.added, InfoOf(table).name,
              file.host_path().c_str());
  if (summary.orphans > 0) {
    const bool owners = table == Table::kOwners;
    std::fprintf(stderr,
                 "qavdata: warning: %zu %s belong to no %s in %s (the first on %s:%d); "
                 "the report does not list them\n",
                 summary.orphans, owners ? "owners" : "receipts", owners ? "property" : "co-owner",
                 owners ? "FinquesH" : "PropietH", csv_path.c_str(), summary.first_orphan_line);
  }
  return 0;
}

int RunExport(const std::string& root_option, Table table) {
  std::string root;
  if (ToolStatus status = ResolveRoot(root_option, &root); !status.ok()) return Fail(status);
  DataFile file;
  if (ToolStatus status = OpenSuiteFile(root, table, /*create=*/true, &file); !status.ok()) {
    return Fail(status);
  }
  const ToolStatus status = ExportCsv(table, &file, stdout, [](const std::string& problem) {
    std::fprintf(stderr, "qavdata: %s\n", problem.c_str());
  });
  return status.ok() ? 0 : Fail(status);
}

int RunGenerate(const SampleOptions& options, const std::string& folder) {
  if (ToolStatus status = WriteSampleFiles(options, folder); !status.ok()) return Fail(status);
  return 0;
}

int RunStat(const std::string& root_option, const std::string& name) {
  DataFile file;
  Table table;
  bool known = false;
  if (ToolStatus status = OpenNamedFile(root_option, name, &file, &table, &known); !status.ok()) {
    return Fail(status);
  }
  FileDefinition definition;
  uint32_t records = 0;
  if (const int16_t status = file.Stat(&definition, &records); status != kRmOk) {
    return Fail(ToolStatus::Error("cannot read " + file.host_path() + ": " + StatusText(status)));
  }
  std::fputs(DescribeFile(file.host_path(), definition, records).c_str(), stdout);
  return 0;
}

int RunCheck(const std::string& root_option, const std::string& name) {
  DataFile file;
  Table table;
  bool known = false;
  if (ToolStatus status = OpenNamedFile(root_option, name, &file, &table, &known); !status.ok()) {
    return Fail(status);
  }
  const CheckReport report = CheckFile(&file, known ? &table : nullptr);
  const char* host = file.host_path().c_str();
  if (report.ok()) {
    std::printf("%s: OK, %u records, %zu key%s\n", host, report.records,
                file.definition().keys.size(), file.definition().keys.size() == 1 ? "" : "s");
    return 0;
  }
  for (const std::string& problem : report.problems) std::printf("%s: %s\n", host, problem.c_str());
  if (report.more_problems > 0) {
    std::printf("%s: and %zu more problems\n", host, report.more_problems);
  }
  std::printf("%s: %zu problem%s\n", host, report.problems.size() + report.more_problems,
              report.problems.size() + report.more_problems == 1 ? "" : "s");
  return 1;
}

}  // namespace qav
