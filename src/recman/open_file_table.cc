#include "recman/open_file_table.h"

#include <cstring>
#include <vector>

namespace qav {
namespace {

constexpr char kSignature[4] = {'Q', 'R', 'M', 'B'};
constexpr size_t kBlockSize = 128;

struct Entry {
  std::unique_ptr<OpenFile> file;
  uint32_t generation = 1;
};

struct OpenFileTable {
  std::vector<Entry> entries;
};

OpenFileTable& Table() {
  static OpenFileTable table;
  return table;
}

uint32_t Get32(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void Put32(unsigned char* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

Entry* FindEntry(const void* position_block) {
  if (position_block == nullptr) return nullptr;
  const auto* block = static_cast<const unsigned char*>(position_block);
  if (std::memcmp(block, kSignature, sizeof kSignature) != 0) return nullptr;
  const uint32_t index = Get32(block + 4);
  std::vector<Entry>& entries = Table().entries;
  if (index >= entries.size()) return nullptr;
  Entry& entry = entries[index];
  if (!entry.file || entry.generation != Get32(block + 8)) return nullptr;
  return &entry;
}

void Release(Entry& entry) {
  entry.file.reset();
  ++entry.generation;
}

}  // namespace

OpenFile* FindOpenFile(const void* position_block) {
  Entry* entry = FindEntry(position_block);
  return entry ? entry->file.get() : nullptr;
}

void AddOpenFile(std::unique_ptr<OpenFile> file, void* position_block) {
  std::vector<Entry>& entries = Table().entries;
  size_t index = 0;
  while (index < entries.size() && entries[index].file) ++index;
  if (index == entries.size()) entries.emplace_back();
  entries[index].file = std::move(file);
  auto* block = static_cast<unsigned char*>(position_block);
  std::memset(block, 0, kBlockSize);
  std::memcpy(block, kSignature, sizeof kSignature);
  Put32(block + 4, static_cast<uint32_t>(index));
  Put32(block + 8, entries[index].generation);
}

void CloseOpenFile(void* position_block) {
  if (Entry* entry = FindEntry(position_block)) Release(*entry);
  if (position_block != nullptr) std::memset(position_block, 0, kBlockSize);
}

void CloseAllOpenFiles() {
  for (Entry& entry : Table().entries) {
    if (entry.file) Release(entry);
  }
}

}  // namespace qav
