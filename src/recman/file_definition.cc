#include "recman/file_definition.h"

#include <algorithm>

#include "recman/status.h"

namespace qav {
namespace {

constexpr size_t kEntrySize = 16;
constexpr size_t kAlternateSize = 1 + 8 + 256;
constexpr uint16_t kKnownFlags =
    kSegmentDuplicates | kSegmentBinary | kSegmentContinues | kSegmentAlternate;

uint16_t Get16(std::string_view data, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(data[offset]) |
                               static_cast<uint8_t>(data[offset + 1]) << 8);
}

void Put16(std::string* out, size_t offset, uint16_t value) {
  (*out)[offset] = static_cast<char>(value & 0xFF);
  (*out)[offset + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string* out, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*out)[offset + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

int KeyDefinition::Length() const {
  int length = 0;
  for (const KeySegment& segment : segments) length += segment.length;
  return length;
}

FileDefinition& FileDefinition::AddKey(std::vector<KeySegment> segments, bool duplicates) {
  keys.push_back(KeyDefinition{std::move(segments), duplicates});
  return *this;
}

FileDefinition& FileDefinition::SetAlternate(const std::array<uint8_t, 256>& table,
                                             std::string_view name) {
  alternate_table = table;
  alternate_name = std::string(name.substr(0, 8));
  alternate_name.resize(8, ' ');
  return *this;
}

bool FileDefinition::UsesAlternate() const {
  for (const KeyDefinition& key : keys) {
    for (const KeySegment& segment : key.segments) {
      if (segment.flags & kSegmentAlternate) return true;
    }
  }
  return false;
}

int16_t ParseFileDefinition(std::string_view data, FileDefinition* definition) {
  if (data.size() < kEntrySize) return kRmInvalidKeyDefinition;
  FileDefinition result;
  result.record_length = Get16(data, 0);
  result.page_size = Get16(data, 2);
  const int key_count = Get16(data, 4);
  if (result.record_length < 1 || result.record_length > FileDefinition::kMaxRecordLength) {
    return kRmInvalidRecordLength;
  }
  if (result.page_size == 0 || result.page_size % 512 != 0) return kRmInvalidPageSize;
  if (key_count < 1 || key_count > FileDefinition::kMaxKeys) return kRmInvalidKeyCount;

  size_t offset = kEntrySize;
  int segment_count = 0;
  bool uses_alternate = false;
  for (int k = 0; k < key_count; ++k) {
    KeyDefinition key;
    bool continues = true;
    while (continues) {
      if (++segment_count > FileDefinition::kMaxSegments) return kRmInvalidKeyDefinition;
      if (data.size() < offset + kEntrySize) return kRmInvalidKeyDefinition;
      const KeySegment segment{Get16(data, offset), Get16(data, offset + 2),
                               Get16(data, offset + 4)};
      offset += kEntrySize;
      if (segment.flags & ~kKnownFlags) return kRmInvalidKeyDefinition;
      if (segment.length == 0 || segment.position == 0 ||
          segment.position + segment.length - 1 > result.record_length) {
        return kRmInvalidKeyDefinition;
      }
      const bool duplicates = segment.flags & kSegmentDuplicates;
      if (key.segments.empty()) {
        key.duplicates = duplicates;
      } else if (key.duplicates != duplicates) {
        return kRmInvalidKeyDefinition;
      }
      continues = segment.flags & kSegmentContinues;
      uses_alternate |= (segment.flags & kSegmentAlternate) != 0;
      key.segments.push_back(KeySegment{segment.position, segment.length,
                                        static_cast<uint16_t>(segment.flags &
                                                              (kSegmentBinary | kSegmentAlternate))});
    }
    if (key.Length() > FileDefinition::kMaxKeyLength) return kRmInvalidKeyDefinition;
    result.keys.push_back(std::move(key));
  }
  if (uses_alternate) {
    if (data.size() < offset + kAlternateSize) return kRmInvalidKeyDefinition;
    result.alternate_signature = static_cast<uint8_t>(data[offset]);
    result.alternate_name = std::string(data.substr(offset + 1, 8));
    for (int i = 0; i < 256; ++i) {
      result.alternate_table[i] = static_cast<uint8_t>(data[offset + 9 + i]);
    }
  }
  *definition = std::move(result);
  return kRmOk;
}

std::string EncodeFileDefinition(const FileDefinition& definition, uint32_t record_count) {
  size_t segments = 0;
  for (const KeyDefinition& key : definition.keys) segments += key.segments.size();
  const bool alternate = definition.UsesAlternate();
  std::string out(kEntrySize * (1 + segments) + (alternate ? kAlternateSize : 0), '\0');
  Put16(&out, 0, definition.record_length);
  Put16(&out, 2, definition.page_size);
  Put16(&out, 4, static_cast<uint16_t>(definition.keys.size()));
  Put32(&out, 6, record_count);
  size_t offset = kEntrySize;
  for (const KeyDefinition& key : definition.keys) {
    for (size_t s = 0; s < key.segments.size(); ++s) {
      const KeySegment& segment = key.segments[s];
      uint16_t flags = segment.flags & (kSegmentBinary | kSegmentAlternate);
      if (key.duplicates) flags |= kSegmentDuplicates;
      if (s + 1 < key.segments.size()) flags |= kSegmentContinues;
      Put16(&out, offset, segment.position);
      Put16(&out, offset + 2, segment.length);
      Put16(&out, offset + 4, flags);
      offset += kEntrySize;
    }
  }
  if (alternate) {
    out[offset] = static_cast<char>(definition.alternate_signature);
    std::string name = definition.alternate_name.substr(0, 8);
    name.resize(8, ' ');
    out.replace(offset + 1, 8, name);
    std::copy(definition.alternate_table.begin(), definition.alternate_table.end(),
              out.begin() + static_cast<std::ptrdiff_t>(offset + 9));
  }
  return out;
}

}  // namespace qav
