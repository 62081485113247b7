#include "datatool/data_file.h"

#include "platform/files.h"
#include "platform/suite_path.h"
#include "recman/status.h"

namespace qav {
namespace {

constexpr size_t kStatBuffer = 4096;
constexpr size_t kKeyBuffer = 256;

int16_t CallOpen(void* block, const std::string& suite_path) {
  std::string owner = "QAVH";
  owner.push_back('\0');
  std::string key = suite_path;
  key.push_back('\0');
  uint32_t length = static_cast<uint32_t>(owner.size());
  return RecordManagerCall(kOpOpen, block, owner.data(), &length, key.data(),
                           static_cast<int16_t>(key.size()), kOpenNormal);
}

int16_t CallCreate(const std::string& suite_path, const std::string& creation) {
  std::string data = creation;
  std::string key = suite_path;
  key.push_back('\0');
  uint32_t length = static_cast<uint32_t>(data.size());
  std::array<char, kPositionBlockSize> block{};
  return RecordManagerCall(kOpCreate, block.data(), data.data(), &length, key.data(),
                           static_cast<int16_t>(key.size()), kCreateNew);
}

}  // namespace

std::string StatusText(int16_t status) {
  return std::string(RecordStatusText(status)) + " (status " + std::to_string(status) + ")";
}

ToolStatus DataFile::Failure(const std::string& what, int16_t status) const {
  return ToolStatus::Error(what + " " + host_path_ + ": " + StatusText(status));
}

ToolStatus DataFile::Open(const std::string& suite_path) {
  Close();
  host_path_ = HostPath(suite_path);
  const int16_t status = CallOpen(block_.data(), suite_path);
  if (status == kRmFileNotFound) {
    return ToolStatus::Error("no record file " + host_path_);
  }
  if (status != kRmOk) return Failure("cannot open", status);
  open_ = true;
  return AfterOpen();
}

ToolStatus DataFile::OpenOrCreate(const std::string& suite_path, const std::string& definition_path,
                                  const FileDefinition& builtin) {
  Close();
  host_path_ = HostPath(suite_path);
  int16_t status = CallOpen(block_.data(), suite_path);
  if (status == kRmFileNotFound) {
    std::string creation = EncodeFileDefinition(builtin);
    std::string source = "the built-in definition";
    if (FileExists(definition_path)) {
      // The definition file: the length of the creation data in two
      // little-endian bytes, then the creation data.
      std::string bytes;
      source = HostPath(definition_path);
      if (!ReadWholeFile(definition_path, &bytes, 1 << 16) || bytes.size() < 2) {
        return ToolStatus::Error("cannot read the data definition " + source);
      }
      const size_t n = static_cast<unsigned char>(bytes[0]) |
                       static_cast<size_t>(static_cast<unsigned char>(bytes[1])) << 8;
      if (n == 0 || bytes.size() < 2 + n) {
        return ToolStatus::Error("the data definition " + source + " is cut short or empty");
      }
      creation = bytes.substr(2, n);
    }
    status = CallCreate(suite_path, creation);
    // Another program may have created it meanwhile; that is as good.
    if (status != kRmOk && status != kRmFileExists) {
      return ToolStatus::Error("cannot create " + host_path_ + " from " + source + ": " +
                               StatusText(status));
    }
    status = CallOpen(block_.data(), suite_path);
  }
  if (status != kRmOk) return Failure("cannot open", status);
  open_ = true;
  return AfterOpen();
}

ToolStatus DataFile::AfterOpen() {
  uint32_t records = 0;
  const int16_t status = Stat(&definition_, &records);
  if (status != kRmOk) {
    Close();
    return Failure("cannot read the definition of", status);
  }
  return ToolStatus();
}

void DataFile::Close() {
  if (!open_) return;
  uint32_t length = 0;
  RecordManagerCall(kOpClose, block_.data(), nullptr, &length, nullptr, 0, 0);
  block_.fill(0);
  open_ = false;
}

int16_t DataFile::Stat(FileDefinition* definition, uint32_t* records) {
  std::string data(kStatBuffer, '\0');
  std::string key(255, ' ');
  uint32_t length = kStatBuffer;
  int16_t status = RecordManagerCall(kOpStat, block_.data(), data.data(), &length, key.data(),
                                     static_cast<int16_t>(key.size()), 0);
  if (status != kRmOk) return status;
  data.resize(length);
  status = ParseFileDefinition(data, definition);
  if (status != kRmOk) return status;
  *records = data.size() >= 10
                 ? static_cast<uint32_t>(static_cast<unsigned char>(data[6])) |
                       static_cast<uint32_t>(static_cast<unsigned char>(data[7])) << 8 |
                       static_cast<uint32_t>(static_cast<unsigned char>(data[8])) << 16 |
                       static_cast<uint32_t>(static_cast<unsigned char>(data[9])) << 24
                 : 0;
  return kRmOk;
}

int16_t DataFile::Read(int16_t operation, int key, std::string* record) {
  record->assign(definition_.record_length, '\0');
  std::string key_buffer(kKeyBuffer, '\0');
  uint32_t length = definition_.record_length;
  const int16_t status =
      RecordManagerCall(operation, block_.data(), record->data(), &length, key_buffer.data(),
                        static_cast<int16_t>(key_buffer.size()), static_cast<int16_t>(key));
  record->resize(status == kRmOk ? length : 0);
  return status;
}

int16_t DataFile::ReadFirst(int key, std::string* record) { return Read(kOpGetFirst, key, record); }

int16_t DataFile::ReadNext(int key, std::string* record) { return Read(kOpGetNext, key, record); }

uint32_t DataFile::Position() {
  unsigned char data[4] = {};
  uint32_t length = sizeof data;
  if (RecordManagerCall(kOpGetPosition, block_.data(), data, &length, nullptr, 0, 0) != kRmOk) {
    return 0;
  }
  return data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
}

int16_t DataFile::InsertAll(const std::vector<std::string>& records, size_t* failed) {
  return InsertRecords(block_.data(), records, failed);
}

}  // namespace qav
