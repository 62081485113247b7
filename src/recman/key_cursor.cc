#include "recman/key_cursor.h"

#include <algorithm>

#include "recman/status.h"

namespace qav {
namespace {

constexpr size_t kFirstStepBatch = 8;
constexpr size_t kMaxBatch = 256;
constexpr size_t kBatchBytes = 64 * 1024;

}  // namespace

KeyCursor::KeyCursor(StoredFile* file)
    : file_(file),
      max_batch_(std::clamp<size_t>(kBatchBytes / std::max<size_t>(1, file->definition().record_length),
                                    1, kMaxBatch)) {}

int16_t KeyCursor::Scan(int key, bool forward, const std::string* collation, int64_t position,
                        size_t limit, bool stepping) {
  ahead_valid_ = false;
  lookup_stamp_ = file_->ChangeStamp();
  const int16_t status = file_->Scan(key, forward, collation, position, limit, &ahead_);
  if (status != kRmOk) return status;
  ahead_valid_ = true;
  ahead_complete_ = ahead_.size() < limit;
  ahead_anchored_ = false;
  ahead_stepping_ = stepping;
  ahead_key_ = key;
  ahead_forward_ = forward;
  ahead_stamp_ = lookup_stamp_;
  batch_ = limit;
  next_ = 0;
  return kRmOk;
}

int16_t KeyCursor::Seek(KeySeek seek, int key, const std::string& collation,
                        const StoredRow** row) {
  int16_t status = kRmOk;
  switch (seek) {
    case KeySeek::kEqual:
    case KeySeek::kGreaterOrEqual:
      status = Scan(key, true, &collation, 0, 1, false);
      break;
    case KeySeek::kGreater:
      status = Scan(key, true, &collation, kMaxPosition, 1, false);
      break;
    case KeySeek::kLess:
      status = Scan(key, false, &collation, 1, 1, false);
      break;
    case KeySeek::kLessOrEqual:
      status = Scan(key, false, &collation, kMaxPosition + 1, 1, false);
      break;
    case KeySeek::kFirst:
      status = Scan(key, true, nullptr, 0, 1, false);
      break;
    case KeySeek::kLast:
      status = Scan(key, false, nullptr, 0, 1, false);
      break;
  }
  if (status != kRmOk) return status;
  if (ahead_.empty() || (seek == KeySeek::kEqual && ahead_[0].collation != collation)) {
    return seek == KeySeek::kEqual ? kRmKeyNotFound : kRmEndOfFile;
  }
  *row = &ahead_[0];
  return kRmOk;
}

int16_t KeyCursor::Step(int key, bool forward, const StoredRow** row) {
  if (!positioned_) return kRmNoCurrentRecord;
  if (key != key_) return kRmDifferentKeyNumber;
  const uint64_t stamp = file_->ChangeStamp();
  const bool continuing = ahead_valid_ && ahead_anchored_ && ahead_key_ == key &&
                          ahead_forward_ == forward && ahead_stamp_ == stamp;
  if (continuing) {
    lookup_stamp_ = stamp;
    if (next_ < ahead_.size()) {
      *row = &ahead_[next_];
      return kRmOk;
    }
    if (ahead_complete_) return kRmEndOfFile;
  }
  const size_t limit =
      continuing && ahead_stepping_ ? std::min(batch_ * 2, max_batch_)
                                    : std::min(kFirstStepBatch, max_batch_);
  // A step from the current record (or where it was): strictly beyond it.
  if (const int16_t status = Scan(key, forward, &collation_, position_, limit, true);
      status != kRmOk) {
    return status;
  }
  if (ahead_.empty()) return kRmEndOfFile;
  *row = &ahead_[0];
  return kRmOk;
}

int16_t KeyCursor::Direct(int key, uint32_t position, const StoredRow** row) {
  if (position == 0 || position > kMaxPosition) return kRmInvalidPosition;
  lookup_stamp_ = file_->ChangeStamp();
  if (const int16_t status = file_->Fetch(key, position, &direct_); status != kRmOk) return status;
  *row = &direct_;
  return kRmOk;
}

void KeyCursor::MoveTo(int key, const StoredRow* row) {
  const bool from_ahead = ahead_valid_ && ahead_key_ == key && next_ < ahead_.size() &&
                          row == &ahead_[next_];
  positioned_ = true;
  on_record_ = true;
  key_ = key;
  position_ = row->position;
  collation_ = row->collation;
  if (from_ahead) {
    ++next_;
    ahead_anchored_ = true;
  } else {
    ahead_valid_ = false;
  }
}

}  // namespace qav
