#include "recman/record_manager.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>

#include "platform/suite_path.h"
#include "recman/file_definition.h"
#include "recman/key_collation.h"
#include "recman/open_file_table.h"
#include "recman/status.h"
#include "recman/storage.h"

namespace qav {
namespace {

// How often a locked read looks again when the record it found is deleted
// between finding and locking it; beyond that the record counts as in use.
constexpr int kLockedReadAttempts = 16;

std::mutex& CallMutex() {
  static std::mutex mutex;
  return mutex;
}

// The arguments of one call, with the buffers' sizes made safe to use: a
// missing buffer has size 0.
struct Call {
  void* block;
  unsigned char* data;
  uint32_t* data_length;
  size_t data_size;
  unsigned char* key;
  size_t key_size;
  int16_t key_number;

  std::string_view Data(size_t size) const {
    return {reinterpret_cast<const char*>(data), std::min(size, data_size)};
  }
  void SetLength(uint32_t length) const {
    if (data_length != nullptr) *data_length = length;
  }
  // Up to the first zero byte.
  std::string_view Text() const {
    if (key_size == 0) return {};
    const auto* begin = reinterpret_cast<const char*>(key);
    const auto* end = static_cast<const char*>(std::memchr(begin, 0, key_size));
    return {begin, end ? static_cast<size_t>(end - begin) : key_size};
  }
};

bool IsRead(int operation) {
  return (operation >= kOpGetEqual && operation <= kOpGetLast) || operation == kOpGetDirect;
}

int16_t FailRead(const Call& call, int16_t status) {
  call.SetLength(0);
  return status;
}

// Copies as much of `bytes` as the data buffer takes; 22 when cut.
int16_t ReturnData(const Call& call, std::string_view bytes) {
  const size_t size = std::min(bytes.size(), call.data_size);
  if (size > 0) std::memcpy(call.data, bytes.data(), size);
  call.SetLength(static_cast<uint32_t>(size));
  return size < bytes.size() ? kRmDataBufferTooShort : kRmOk;
}

// The key value straight from the record's segments into the key buffer.
void ReturnKey(const Call& call, const FileDefinition& definition, int key,
               std::string_view record) {
  unsigned char* out = call.key;
  for (const KeySegment& segment : definition.keys[key].segments) {
    std::memcpy(out, record.data() + segment.position - 1, segment.length);
    out += segment.length;
  }
}

// The key number and key buffer a call names: kRmOk or the status that refuses them.
int16_t CheckKey(const Call& call, const FileDefinition& definition) {
  if (call.key_number < 0 || static_cast<size_t>(call.key_number) >= definition.keys.size()) {
    return kRmInvalidKeyNumber;
  }
  if (call.key_size < static_cast<size_t>(definition.keys[call.key_number].Length())) {
    return kRmKeyBufferTooShort;
  }
  return kRmOk;
}

// The record of an Insert or Update with the collation form of every key.
int16_t NewRecordOf(const Call& call, const FileDefinition& definition, NewRecord* record) {
  if (call.data == nullptr || call.data_length == nullptr ||
      *call.data_length != definition.record_length) {
    return kRmInvalidRecordLength;
  }
  record->data.assign(reinterpret_cast<const char*>(call.data), definition.record_length);
  record->collations.clear();
  for (size_t k = 0; k < definition.keys.size(); ++k) {
    record->collations.push_back(CollationForm(definition, static_cast<int>(k),
                                               KeyValue(definition, static_cast<int>(k),
                                                        record->data)));
  }
  return kRmOk;
}

int16_t DoOpen(const Call& call) {
  if (call.block == nullptr || FindOpenFile(call.block) != nullptr) return kRmInvalidOperation;
  if (call.key_number != kOpenNormal && call.key_number != kOpenExclusive) {
    return kRmInvalidOperation;
  }
  const std::string_view name = call.Text();
  if (name.empty()) return kRmInvalidFileName;
  const std::string path = HostPath(name);
  std::unique_ptr<StoredFile> stored;
  const int16_t status =
      StorageFor(path).Open(path, call.key_number == kOpenExclusive, &stored);
  if (status != kRmOk) return status;
  AddOpenFile(std::make_unique<OpenFile>(std::move(stored)), call.block);
  return kRmOk;
}

int16_t DoCreate(const Call& call) {
  if (call.key_number != kCreateReplace && call.key_number != kCreateNew) {
    return kRmInvalidOperation;
  }
  const std::string_view name = call.Text();
  if (name.empty()) return kRmInvalidFileName;
  FileDefinition definition;
  const size_t offered = call.data_length ? *call.data_length : 0;
  if (const int16_t status = ParseFileDefinition(call.Data(offered), &definition);
      status != kRmOk) {
    return status;
  }
  const std::string path = HostPath(name);
  return StorageFor(path).Create(path, definition, call.key_number == kCreateReplace);
}

// Finds the record a read asks for, without moving anything.
int16_t Lookup(OpenFile& file, int operation, const Call& call, const StoredRow** row) {
  const FileDefinition& definition = file.file->definition();
  const int key = call.key_number;
  KeyCursor& cursor = file.cursor;
  switch (operation) {
    case kOpGetNext:
      return cursor.Step(key, /*forward=*/true, row);
    case kOpGetPrevious:
      return cursor.Step(key, /*forward=*/false, row);
    case kOpGetFirst:
      return cursor.Seek(KeySeek::kFirst, key, {}, row);
    case kOpGetLast:
      return cursor.Seek(KeySeek::kLast, key, {}, row);
    case kOpGetDirect: {
      if (call.data_size < 4) return kRmInvalidPosition;
      const uint32_t position = call.data[0] | call.data[1] << 8 | call.data[2] << 16 |
                                static_cast<uint32_t>(call.data[3]) << 24;
      return cursor.Direct(key, position, row);
    }
    default:
      break;
  }
  const std::string_view value(reinterpret_cast<const char*>(call.key),
                               definition.keys[key].Length());
  const std::string collation = CollationForm(definition, key, value);
  static constexpr KeySeek kSeeks[] = {KeySeek::kEqual, KeySeek::kEqual, KeySeek::kEqual,
                                       KeySeek::kGreater, KeySeek::kGreaterOrEqual,
                                       KeySeek::kLess, KeySeek::kLessOrEqual};
  return cursor.Seek(kSeeks[operation - kOpGetEqual], key, collation, row);
}

int16_t DoRead(OpenFile& file, int operation, bool lock, const Call& call) {
  const FileDefinition& definition = file.file->definition();
  if (const int16_t status = CheckKey(call, definition); status != kRmOk) {
    return FailRead(call, status);
  }
  StoredRow fresh;
  for (int attempt = 0;; ++attempt) {
    const StoredRow* row = nullptr;
    if (const int16_t status = Lookup(file, operation, call, &row); status != kRmOk) {
      return FailRead(call, status);
    }
    const bool newly_locked = lock && file.locked != row->position;
    if (newly_locked) {
      if (!file.file->TryLockRecord(row->position)) return FailRead(call, kRmRecordInUse);
      // A write that ended between the lookup and the lock may have changed
      // the record: return it as it is now that nobody else can write it.
      if (file.file->ChangeStamp() != file.cursor.LookupStamp()) {
        const int16_t status = file.file->Fetch(call.key_number, row->position, &fresh);
        if (status != kRmOk) {
          file.file->UnlockRecord(row->position);
          if (status == kRmInvalidPosition && operation != kOpGetDirect &&
              attempt + 1 < kLockedReadAttempts) {
            continue;  // deleted meanwhile: look again
          }
          return FailRead(call, status == kRmInvalidPosition && operation != kOpGetDirect
                                    ? kRmRecordInUse
                                    : status);
        }
        row = &fresh;
      }
    }
    if (file.locked != 0 && file.locked != row->position) {
      file.file->UnlockRecord(file.locked);
      file.locked = 0;
    }
    if (newly_locked) file.locked = row->position;
    ReturnKey(call, definition, call.key_number, row->data);
    const int16_t status = ReturnData(call, row->data);
    file.cursor.MoveTo(call.key_number, row);
    return status;
  }
}

// Takes the record lock for a write unless this open holds it already.
// *taken tells whether the caller must give it back.
bool LockForWrite(OpenFile& file, uint32_t position, bool* taken) {
  *taken = false;
  if (file.locked == position) return true;
  if (!file.file->TryLockRecord(position)) return false;
  *taken = true;
  return true;
}

int16_t DoInsert(OpenFile& file, const Call& call) {
  const FileDefinition& definition = file.file->definition();
  NewRecord record;
  if (const int16_t status = NewRecordOf(call, definition, &record); status != kRmOk) {
    return status;
  }
  if (const int16_t status = CheckKey(call, definition); status != kRmOk) return status;
  uint32_t position = 0;
  if (const int16_t status = file.file->Insert(record, &position); status != kRmOk) {
    return status;
  }
  ReturnKey(call, definition, call.key_number, record.data);
  const StoredRow row{position, record.data, record.collations[call.key_number]};
  file.cursor.MoveTo(call.key_number, &row);
  return kRmOk;
}

int16_t DoUpdate(OpenFile& file, const Call& call) {
  const FileDefinition& definition = file.file->definition();
  if (!file.cursor.on_record()) return kRmNoCurrentRecord;
  NewRecord record;
  if (const int16_t status = NewRecordOf(call, definition, &record); status != kRmOk) {
    return status;
  }
  if (const int16_t status = CheckKey(call, definition); status != kRmOk) return status;
  const uint32_t position = file.cursor.position();
  bool taken = false;
  if (!LockForWrite(file, position, &taken)) return kRmRecordInUse;
  const int16_t status = file.file->Update(position, record);
  if (taken) file.file->UnlockRecord(position);
  if (status != kRmOk) return status;
  ReturnKey(call, definition, call.key_number, record.data);
  const StoredRow row{position, record.data, record.collations[call.key_number]};
  file.cursor.MoveTo(call.key_number, &row);
  return kRmOk;
}

int16_t DoDelete(OpenFile& file) {
  if (!file.cursor.on_record()) return kRmNoCurrentRecord;
  const uint32_t position = file.cursor.position();
  bool taken = false;
  if (!LockForWrite(file, position, &taken)) return kRmRecordInUse;
  const int16_t status = file.file->Delete(position);
  if (taken || (status == kRmOk && file.locked == position)) {
    file.file->UnlockRecord(position);
    if (file.locked == position) file.locked = 0;
  }
  if (status == kRmOk) file.cursor.ForgetRecord();
  return status;
}

int16_t DoStat(OpenFile& file, const Call& call) {
  uint32_t count = 0;
  if (const int16_t status = file.file->Count(&count); status != kRmOk) {
    call.SetLength(0);
    return status;
  }
  return ReturnData(call, EncodeFileDefinition(file.file->definition(), count));
}

int16_t DoGetPosition(OpenFile& file, const Call& call) {
  if (!file.cursor.on_record()) {
    call.SetLength(0);
    return kRmNoCurrentRecord;
  }
  const uint32_t position = file.cursor.position();
  const char bytes[4] = {static_cast<char>(position), static_cast<char>(position >> 8),
                         static_cast<char>(position >> 16), static_cast<char>(position >> 24)};
  return ReturnData(call, std::string_view(bytes, 4));
}

int16_t DoUnlock(OpenFile& file) {
  if (file.locked != 0) file.file->UnlockRecord(file.locked);
  file.locked = 0;
  return kRmOk;
}

int16_t Dispatch(int16_t operation, const Call& call) {
  int op = operation;
  bool lock = false;
  if (op >= kLockBias && IsRead(op - kLockBias)) {
    op -= kLockBias;
    lock = true;
  }
  switch (op) {
    case kOpOpen:
      return DoOpen(call);
    case kOpCreate:
      return DoCreate(call);
    case kOpReset:
      CloseAllOpenFiles();
      return kRmOk;
    default:
      break;
  }
  const bool known = IsRead(op) || op == kOpClose || op == kOpInsert || op == kOpUpdate ||
                     op == kOpDelete || op == kOpStat || op == kOpGetPosition ||
                     op == kOpUnlock;
  if (!known) return kRmInvalidOperation;
  OpenFile* file = FindOpenFile(call.block);
  if (file == nullptr) return IsRead(op) ? FailRead(call, kRmFileNotOpen) : kRmFileNotOpen;
  if (IsRead(op)) return DoRead(*file, op, lock, call);
  switch (op) {
    case kOpClose:
      CloseOpenFile(call.block);
      return kRmOk;
    case kOpInsert:
      return DoInsert(*file, call);
    case kOpUpdate:
      return DoUpdate(*file, call);
    case kOpDelete:
      return DoDelete(*file);
    case kOpStat:
      return DoStat(*file, call);
    case kOpGetPosition:
      return DoGetPosition(*file, call);
    default:
      return DoUnlock(*file);
  }
}

}  // namespace

int16_t RecordManagerCall(int16_t operation, void* position_block, void* data,
                          uint32_t* data_length, void* key, int16_t key_length,
                          int16_t key_number) {
  Call call;
  call.block = position_block;
  call.data = static_cast<unsigned char*>(data);
  call.data_length = data_length;
  call.data_size = data != nullptr && data_length != nullptr ? *data_length : 0;
  call.key = static_cast<unsigned char*>(key);
  call.key_size = key != nullptr && key_length > 0 ? static_cast<size_t>(key_length) : 0;
  call.key_number = key_number;
  std::lock_guard<std::mutex> guard(CallMutex());
  return Dispatch(operation, call);
}

int16_t InsertRecords(void* position_block, const std::vector<std::string>& records,
                      size_t* failed) {
  std::lock_guard<std::mutex> guard(CallMutex());
  size_t ignored = 0;
  if (failed == nullptr) failed = &ignored;
  *failed = records.size();
  OpenFile* file = FindOpenFile(position_block);
  if (file == nullptr) return kRmFileNotOpen;
  const FileDefinition& definition = file->file->definition();
  std::vector<NewRecord> rows(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    uint32_t length = static_cast<uint32_t>(records[i].size());
    Call call{};
    call.data = reinterpret_cast<unsigned char*>(const_cast<char*>(records[i].data()));
    call.data_length = &length;
    if (const int16_t status = NewRecordOf(call, definition, &rows[i]); status != kRmOk) {
      *failed = i;
      return status;
    }
  }
  return file->file->InsertAll(rows, failed);
}

}  // namespace qav
