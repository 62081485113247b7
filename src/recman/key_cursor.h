// The position of one open file in the order of one of its keys, and the
// lookups that start from it. A position is (key, collation form, record
// position): Next finds the first row whose (collation form, position) is
// greater, Previous the last one less, so stepping stays right whatever other
// opens insert or delete in between, and goes on from a record that was
// deleted.
//
// Rows are read ahead while stepping (8 at first, doubling up to 64 KiB of
// records) and handed out while the file's change stamp stays the same; any
// write to the file, by any open, makes the next step look again.
//
// Lookups do not move the position: the caller moves it with MoveTo once
// the read has succeeded, so a read that fails leaves everything as it was.
#ifndef QAV_RECMAN_KEY_CURSOR_H_
#define QAV_RECMAN_KEY_CURSOR_H_

#include <cstdint>
#include <string>
#include <vector>

#include "recman/storage.h"

namespace qav {

enum class KeySeek { kEqual, kGreater, kGreaterOrEqual, kLess, kLessOrEqual, kFirst, kLast };

class KeyCursor {
 public:
  explicit KeyCursor(StoredFile* file);

  // Each lookup sets *row to a row that stays valid until the next call.
  int16_t Seek(KeySeek seek, int key, const std::string& collation, const StoredRow** row);
  int16_t Step(int key, bool forward, const StoredRow** row);
  int16_t Direct(int key, uint32_t position, const StoredRow** row);
  // The change stamp read before the last lookup.
  uint64_t LookupStamp() const { return lookup_stamp_; }

  // Makes the row (the last lookup's or any other) the current record.
  void MoveTo(int key, const StoredRow* row);
  // The current record is gone; Next and Previous go on from where it was.
  void ForgetRecord() { on_record_ = false; }

  bool positioned() const { return positioned_; }
  bool on_record() const { return on_record_; }
  int key() const { return key_; }
  uint32_t position() const { return position_; }

 private:
  int16_t Scan(int key, bool forward, const std::string* collation, int64_t position,
               size_t limit, bool stepping);

  StoredFile* file_;
  size_t max_batch_;

  bool positioned_ = false;
  bool on_record_ = false;
  int key_ = 0;
  uint32_t position_ = 0;
  std::string collation_;

  // Rows read ahead: in the order of ahead_key_ and ahead_forward_, those
  // after ahead_[next_ - 1]; valid while the stamp is ahead_stamp_ and the
  // position is still the row last handed out from them.
  std::vector<StoredRow> ahead_;
  size_t next_ = 0;
  bool ahead_valid_ = false;
  bool ahead_complete_ = false;  // the scan met the end of the file
  bool ahead_anchored_ = false;  // the position is ahead_[next_ - 1]
  bool ahead_stepping_ = false;  // filled by a step, so the next batch may grow
  int ahead_key_ = 0;
  bool ahead_forward_ = true;
  uint64_t ahead_stamp_ = 0;
  size_t batch_ = 0;

  uint64_t lookup_stamp_ = 0;
  StoredRow direct_;
};

}  // namespace qav

#endif  // QAV_RECMAN_KEY_CURSOR_H_
