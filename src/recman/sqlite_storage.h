// Record files as SQLite databases, one per record file at its own path:
//
//   definition(layout BLOB, record_count INTEGER)   one row: the creation
//       data as file_definition.h lays them out, and the number of records
//   records(position INTEGER PRIMARY KEY AUTOINCREMENT, data BLOB,
//           k0 BLOB, k1 BLOB, ...)                  the records; kN holds
//       the collation form of key N, so that SQLite's BLOB order is the key
//       order
//   records_kN                                       one index per key over
//       kN (UNIQUE for keys without duplicates); SQLite keeps the rowid in
//       every index, so (kN, position) is the order of the key with ties by
//       position
//
// The application id 0x514D5246 marks our files; anything else at the path
// (an empty file, another kind of file, another program's database) is
// refused with kRmNotARecordFile rather than changed. AUTOINCREMENT keeps a
// deleted record's position from ever coming back.
//
// Durability: WAL journal with synchronous=FULL, so a call that returned
// success is on the disk (it survives a crash of the program and of the
// machine), and each write is one transaction, so a crash at any moment
// leaves all of a call or none of it. Readers never wait for writers;
// writers wait up to 5 seconds for each other and then give kRmFileInUse.
//
// Create builds the new database beside the path (path + ".new") and renames
// it into place, so a crash during Create leaves the old file or the new one.
#ifndef QAV_RECMAN_SQLITE_STORAGE_H_
#define QAV_RECMAN_SQLITE_STORAGE_H_

#include "recman/storage.h"

namespace qav {

class SqliteStorage : public Storage {
 public:
  static constexpr int kApplicationId = 0x514D5246;

  int16_t Create(const std::string& path, const FileDefinition& definition,
                 bool replace) override;
  int16_t Open(const std::string& path, bool exclusive,
               std::unique_ptr<StoredFile>* file) override;
};

}  // namespace qav

#endif  // QAV_RECMAN_SQLITE_STORAGE_H_
