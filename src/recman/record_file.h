// A record file as a C++ object, for the data tool and tests: the calls of
// record_manager.h with the buffers managed. Every operation returns the
// call's status; records and key values are byte strings.
#ifndef QAV_RECMAN_RECORD_FILE_H_
#define QAV_RECMAN_RECORD_FILE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "recman/file_definition.h"
#include "recman/record_manager.h"

namespace qav {

class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { Close(); }

  // `path` is a suite path, as for the call.
  static int16_t Create(std::string_view path, const FileDefinition& definition,
                        bool replace = false);

  int16_t Open(std::string_view path, bool exclusive = false);
  int16_t Close();

  int16_t Insert(std::string_view record, int key = 0);
  int16_t InsertAll(const std::vector<std::string>& records, size_t* failed = nullptr);
  int16_t Update(std::string_view record);
  int16_t Delete();

  // Any read operation (5-13, 23, with or without the lock bias). For
  // searches `key_value` is the value sought; for Get Direct `position`.
  // On success *record and *key_value (when given) hold what was read.
  int16_t Read(int16_t operation, int key, std::string_view key_value, std::string* record,
               std::string* found_key = nullptr, uint32_t position = 0);
  int16_t Unlock();

  int16_t Stat(FileDefinition* definition, uint32_t* record_count);
  int16_t Position(uint32_t* position);

  void* block() { return block_.data(); }
  // As Stat found it at Open.
  const FileDefinition& definition() const { return definition_; }

 private:
  int16_t Call(int16_t operation, std::string* data, uint32_t length, std::string* key_buffer);

  std::array<unsigned char, kPositionBlockSize> block_{};
  int key_ = 0;
  FileDefinition definition_;
};

}  // namespace qav

#endif  // QAV_RECMAN_RECORD_FILE_H_
