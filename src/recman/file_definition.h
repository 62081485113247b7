// The definition of a record file (record length, keys and their segments,
// the alternate collating sequence) and its binary layout, which is both the
// creation data of Create and the answer of Stat.
//
// Layout, offsets from 0, numbers little-endian:
//
//   File header, 16 bytes at 0:
//     +0  2  record length, 1 to 4096 (every record has exactly this length)
//     +2  2  page size, a non-zero multiple of 512 (kept and reported only)
//     +4  2  number of keys, 1 to 24
//     +6  4  number of records (Stat; ignored by Create)
//     +10 6  zero
//   Key segment entries, 16 bytes each from offset 16, key 0 first,
//   each key's segments in order:
//     +0  2  position of the segment in the record, counting from 1
//     +2  2  length of the segment, at least 1
//     +4  2  flags: 1 the key allows duplicates (on every segment of the key
//            or on none), 4 binary (compares as a little-endian unsigned
//            number; wins over 32), 16 another segment of the same key
//            follows, 32 compares through the alternate collating sequence
//     +6  10 zero
//   After the last segment, only when some segment has flag 32, the
//   alternate collating sequence: 1 signature byte (0xAC as this code writes
//   it; kept as given), an 8-byte name and the
//   256-byte table giving the collating byte of each byte value.
//
// A key is at most 255 bytes long; a file has at most 64 segments. Other
// flag bits are refused rather than ignored, so that a definition meant for
// another order never silently gives this one. Bytes after the layout (the
// rest of a caller's buffer) are not read.
#ifndef QAV_RECMAN_FILE_DEFINITION_H_
#define QAV_RECMAN_FILE_DEFINITION_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qav {

enum SegmentFlag : uint16_t {
  kSegmentDuplicates = 1,
  kSegmentBinary = 4,
  kSegmentContinues = 16,
  kSegmentAlternate = 32,
};

struct KeySegment {
  uint16_t position = 1;  // from 1
  uint16_t length = 1;
  uint16_t flags = 0;     // kSegmentBinary and/or kSegmentAlternate
};

struct KeyDefinition {
  std::vector<KeySegment> segments;
  bool duplicates = false;

  int Length() const;
};

struct FileDefinition {
  static constexpr int kMaxRecordLength = 4096;
  static constexpr int kMaxKeys = 24;
  static constexpr int kMaxSegments = 64;
  static constexpr int kMaxKeyLength = 255;
  static constexpr uint8_t kAlternateSignature = 0xAC;

  uint16_t record_length = 0;
  uint16_t page_size = 1024;
  std::vector<KeyDefinition> keys;
  // The alternate collating sequence, when a segment uses it.
  uint8_t alternate_signature = kAlternateSignature;
  std::string alternate_name = std::string(8, ' ');
  std::array<uint8_t, 256> alternate_table{};

  // Builder helpers: AddKey({{1, 4, kSegmentBinary}, {5, 10}}, true).
  FileDefinition& AddKey(std::vector<KeySegment> segments, bool duplicates = false);
  // Sets the table and its name (at most 8 bytes, blank-filled).
  FileDefinition& SetAlternate(const std::array<uint8_t, 256>& table, std::string_view name);
  bool UsesAlternate() const;
};

// Reads creation data. Returns kRmOk and fills *definition, or the status
// that names the first fault found.
int16_t ParseFileDefinition(std::string_view data, FileDefinition* definition);

// The layout above, with the number of records at +6.
std::string EncodeFileDefinition(const FileDefinition& definition, uint32_t record_count = 0);

}  // namespace qav

#endif  // QAV_RECMAN_FILE_DEFINITION_H_
