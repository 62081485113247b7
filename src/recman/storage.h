// What the record manager needs of the place its records are kept: files
// created from a definition and opened, rows kept by position with one
// collation form per key, scans in (collation form, position) order, the
// record locks and the open modes, and a stamp telling whether anything may
// have changed. The call dispatch, the key handling and the statuses sit
// above this interface, so another backend (a database server) fits under
// them unchanged. Every operation returns a status of status.h.
#ifndef QAV_RECMAN_STORAGE_H_
#define QAV_RECMAN_STORAGE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "recman/file_definition.h"

namespace qav {

// Positions run from 1 to kMaxPosition and are never reused in a file.
constexpr int64_t kMaxPosition = 0x7FFFFFFF;

struct StoredRow {
  uint32_t position = 0;
  std::string data;
  std::string collation;  // of the key the row was looked up by
};

// A record with the collation form of each of its keys, in key order.
struct NewRecord {
  std::string data;
  std::vector<std::string> collations;
};

class StoredFile {
 public:
  virtual ~StoredFile() = default;

  virtual const FileDefinition& definition() const = 0;
  virtual int16_t Count(uint32_t* count) = 0;

  // Up to `limit` rows of `key` in order: forward, those whose (collation,
  // position) is greater than (*collation, position), ascending; backward,
  // those less, descending. A null collation starts at the first (forward)
  // or last (backward) row. Fewer than `limit` rows means the end was met.
  virtual int16_t Scan(int key, bool forward, const std::string* collation, int64_t position,
                       size_t limit, std::vector<StoredRow>* rows) = 0;
  // kRmInvalidPosition when no row has that position.
  virtual int16_t Fetch(int key, uint32_t position, StoredRow* row) = 0;

  // Each write is one transaction: all of it or nothing.
  virtual int16_t Insert(const NewRecord& record, uint32_t* position) = 0;
  // Stops at the first failing record, inserting none; *failed is its index.
  virtual int16_t InsertAll(const std::vector<NewRecord>& records, size_t* failed) = 0;
  virtual int16_t Update(uint32_t position, const NewRecord& record) = 0;
  virtual int16_t Delete(uint32_t position) = 0;

  // Record locks of this open; false when another open holds the record.
  virtual bool TryLockRecord(uint32_t position) = 0;
  virtual void UnlockRecord(uint32_t position) = 0;

  // Equal stamps read before two lookups mean no write to the file began or
  // ended between them, so rows read ahead are still what a lookup would
  // return.
  virtual uint64_t ChangeStamp() = 0;
};

class Storage {
 public:
  virtual ~Storage() = default;
  // replace: an existing file is replaced (kRmFileInUse while it is open);
  // otherwise an existing file gives kRmFileExists.
  virtual int16_t Create(const std::string& path, const FileDefinition& definition,
                         bool replace) = 0;
  virtual int16_t Open(const std::string& path, bool exclusive,
                       std::unique_ptr<StoredFile>* file) = 0;
};

// The backend for a host path: SQLite files for now.
Storage& StorageFor(const std::string& path);

}  // namespace qav

#endif  // QAV_RECMAN_STORAGE_H_
