#include "recman/record_file.h"

#include "recman/status.h"

namespace qav {
namespace {

constexpr size_t kBufferSize = FileDefinition::kMaxRecordLength;
constexpr int16_t kKeyBufferSize = FileDefinition::kMaxKeyLength;

int16_t PathCall(int16_t operation, void* block, std::string data, std::string_view path,
                 int16_t key_number) {
  std::string key(path);
  key.push_back('\0');
  uint32_t length = static_cast<uint32_t>(data.size());
  return RecordManagerCall(operation, block, data.data(), &length, key.data(),
                           static_cast<int16_t>(key.size()), key_number);
}

}  // namespace

int16_t RecordFile::Create(std::string_view path, const FileDefinition& definition,
                           bool replace) {
  return PathCall(kOpCreate, nullptr, EncodeFileDefinition(definition), path,
                  replace ? kCreateReplace : kCreateNew);
}

int16_t RecordFile::Open(std::string_view path, bool exclusive) {
  Close();
  const int16_t status =
      PathCall(kOpOpen, block_.data(), std::string(5, '\0'), path,
               exclusive ? kOpenExclusive : kOpenNormal);
  if (status != kRmOk) return status;
  key_ = 0;
  uint32_t count = 0;
  return Stat(&definition_, &count);
}

int16_t RecordFile::Close() {
  if (block_[0] == 0) return kRmFileNotOpen;
  const int16_t status =
      RecordManagerCall(kOpClose, block_.data(), nullptr, nullptr, nullptr, 0, 0);
  block_.fill(0);
  return status;
}

int16_t RecordFile::Call(int16_t operation, std::string* data, uint32_t length,
                         std::string* key_buffer) {
  key_buffer->resize(kKeyBufferSize, '\0');
  return RecordManagerCall(operation, block_.data(), data->data(), &length, key_buffer->data(),
                           kKeyBufferSize, static_cast<int16_t>(key_));
}

int16_t RecordFile::Insert(std::string_view record, int key) {
  key_ = key;
  std::string data(record), key_buffer;
  return Call(kOpInsert, &data, static_cast<uint32_t>(data.size()), &key_buffer);
}

int16_t RecordFile::InsertAll(const std::vector<std::string>& records, size_t* failed) {
  return InsertRecords(block_.data(), records, failed);
}

int16_t RecordFile::Update(std::string_view record) {
  std::string data(record), key_buffer;
  return Call(kOpUpdate, &data, static_cast<uint32_t>(data.size()), &key_buffer);
}

int16_t RecordFile::Delete() {
  return RecordManagerCall(kOpDelete, block_.data(), nullptr, nullptr, nullptr, 0,
                           static_cast<int16_t>(key_));
}

int16_t RecordFile::Read(int16_t operation, int key, std::string_view key_value,
                         std::string* record, std::string* found_key, uint32_t position) {
  key_ = key;
  std::string data(kBufferSize, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>(position >> (8 * i));
  std::string key_buffer(key_value);
  uint32_t length = kBufferSize;
  key_buffer.resize(kKeyBufferSize, '\0');
  const int16_t status =
      RecordManagerCall(operation, block_.data(), data.data(), &length, key_buffer.data(),
                        kKeyBufferSize, static_cast<int16_t>(key));
  if (status != kRmOk && status != kRmDataBufferTooShort) return status;
  data.resize(length);
  if (record != nullptr) *record = std::move(data);
  if (found_key != nullptr) {
    *found_key = key_buffer;
    found_key->resize(static_cast<size_t>(definition_.keys[key].Length()));
  }
  return status;
}

int16_t RecordFile::Unlock() {
  return RecordManagerCall(kOpUnlock, block_.data(), nullptr, nullptr, nullptr, 0, 0);
}

int16_t RecordFile::Stat(FileDefinition* definition, uint32_t* record_count) {
  std::string data(kBufferSize, '\0'), key_buffer;
  const int16_t status = Call(kOpStat, &data, kBufferSize, &key_buffer);
  if (status != kRmOk) return status;
  *record_count = static_cast<uint32_t>(static_cast<uint8_t>(data[6]) |
                                        static_cast<uint8_t>(data[7]) << 8 |
                                        static_cast<uint8_t>(data[8]) << 16 |
                                        static_cast<uint32_t>(static_cast<uint8_t>(data[9])) << 24);
  return ParseFileDefinition(data, definition) == kRmOk ? kRmOk : kRmNotARecordFile;
}

int16_t RecordFile::Position(uint32_t* position) {
  std::string data(4, '\0'), key_buffer;
  const int16_t status = Call(kOpGetPosition, &data, 4, &key_buffer);
  if (status != kRmOk) return status;
  *position = static_cast<uint8_t>(data[0]) | static_cast<uint8_t>(data[1]) << 8 |
              static_cast<uint8_t>(data[2]) << 16 |
              static_cast<uint32_t>(static_cast<uint8_t>(data[3])) << 24;
  return kRmOk;
}

}  // namespace qav
