// One record file as the data tool uses it: opened (and, when asked,
// created from its data definition) through RecordManagerCall, read in the
// order of any key, loaded with InsertRecords in one transaction, closed
// when the object goes. Failures come back as statuses or as messages that
// name the file by its host path.
#ifndef QAV_DATATOOL_DATA_FILE_H_
#define QAV_DATATOOL_DATA_FILE_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "datatool/tool_status.h"
#include "recman/file_definition.h"
#include "recman/record_manager.h"

namespace qav {

class DataFile {
 public:
  DataFile() = default;
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;
  ~DataFile() { Close(); }

  // Opens the record file at a suite path. With `create`, a missing file is
  // first created from the data definition file `definition_path` (a suite
  // path) when that exists, else from `builtin`.
  ToolStatus Open(const std::string& suite_path);
  ToolStatus OpenOrCreate(const std::string& suite_path, const std::string& definition_path,
                          const FileDefinition& builtin);
  void Close();

  bool is_open() const { return open_; }
  const std::string& host_path() const { return host_path_; }
  // The definition and record count from the record manager's Stat.
  const FileDefinition& definition() const { return definition_; }
  int16_t Stat(FileDefinition* definition, uint32_t* records);

  // The first record, or the one after the last read, in the order of key
  // `key`; the record manager's status (9 at the end).
  int16_t ReadFirst(int key, std::string* record);
  int16_t ReadNext(int key, std::string* record);
  // The position of the record last read (0 when there is none).
  uint32_t Position();

  // All the records or none; *failed is the index of the record that
  // stopped it, or records.size() when no one record did.
  int16_t InsertAll(const std::vector<std::string>& records, size_t* failed);

 private:
  int16_t Read(int16_t operation, int key, std::string* record);
  ToolStatus Failure(const std::string& what, int16_t status) const;
  ToolStatus AfterOpen();

  std::array<char, kPositionBlockSize> block_{};
  bool open_ = false;
  std::string host_path_;
  FileDefinition definition_;
};

// "text (status N)" for a record manager status.
std::string StatusText(int16_t status);

}  // namespace qav

#endif  // QAV_DATATOOL_DATA_FILE_H_
