// Helpers for the data tool's tests: a suite root in a temporary folder,
// CSV files written into it, and the import and export run in memory.
#ifndef QAV_TESTS_DATATOOL_DATATOOL_TEST_UTIL_H_
#define QAV_TESTS_DATATOOL_DATATOOL_TEST_UTIL_H_

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "datatool/csv_export.h"
#include "datatool/csv_import.h"
#include "datatool/data_file.h"
#include "datatool/suite_root.h"
#include "support/temp_dir.h"

namespace qav::testing {

// What a FILE* receives, as text.
class MemoryStream {
 public:
  MemoryStream() { stream_ = open_memstream(&data_, &size_); }
  ~MemoryStream() {
    if (stream_ != nullptr) std::fclose(stream_);
    std::free(data_);
  }
  std::FILE* get() { return stream_; }
  std::string Text() {
    std::fflush(stream_);
    return std::string(data_, size_);
  }

 private:
  std::FILE* stream_ = nullptr;
  char* data_ = nullptr;
  size_t size_ = 0;
};

// A suite root of its own: root() is its suite path, with DADES\ created on
// the first open.
class TestSuite {
 public:
  TestSuite() { std::filesystem::create_directories(root_); }

  const std::string& root() const { return root_; }
  const TempDir& dir() const { return dir_; }

  // Writes a CSV file and returns its host path.
  std::string Csv(const std::string& name, const std::string& text) const {
    return dir_.Write("csv/" + name, text);
  }

  ToolStatus Import(Table table, const std::string& csv_path, ImportSummary* summary = nullptr) {
    DataFile file;
    ToolStatus status = OpenSuiteFile(root_, table, /*create=*/true, &file);
    if (!status.ok()) return status;
    ImportSummary ignored;
    return ImportCsv(table, csv_path, &file, ImportOptions(), summary ? summary : &ignored);
  }

  // The export's CSV; *problems gets the records left out.
  std::string Export(Table table, std::vector<std::string>* problems = nullptr,
                     ToolStatus* result = nullptr) {
    DataFile file;
    ToolStatus status = OpenSuiteFile(root_, table, /*create=*/true, &file);
    if (!status.ok()) {
      if (result) *result = status;
      return "open failed: " + status.message();
    }
    MemoryStream out;
    status = ExportCsv(table, &file, out.get(), [&](const std::string& problem) {
      if (problems) problems->push_back(problem);
    });
    if (result) *result = status;
    return out.Text();
  }

  uint32_t Count(Table table) {
    DataFile file;
    if (!OpenSuiteFile(root_, table, /*create=*/true, &file).ok()) return 0xFFFFFFFF;
    FileDefinition definition;
    uint32_t records = 0;
    file.Stat(&definition, &records);
    return records;
  }

 private:
  TempDir dir_;
  std::string root_ = dir_.path() + "root/";
};

}  // namespace qav::testing

#endif  // QAV_TESTS_DATATOOL_DATATOOL_TEST_UTIL_H_
