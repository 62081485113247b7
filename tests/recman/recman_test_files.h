// The record files the record manager's tests share: a file of people with
// a binary key, an alternate-collation key and a two-segment key, built
// from plain values so that tests can sort the same records their own way.
#ifndef QAV_TESTS_RECMAN_RECMAN_TEST_FILES_H_
#define QAV_TESTS_RECMAN_RECMAN_TEST_FILES_H_

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "recman/file_definition.h"
#include "recman/record_manager.h"

namespace qav::testing {

// Record of 16 bytes: id (2, little-endian) | name (6) | amount (4,
// little-endian) | tag (2) | 2 filler bytes.
//   key 0: id, binary, unique
//   key 1: name through an upper-casing table, duplicates
//   key 2: amount (binary) then tag, duplicates
struct Person {
  uint16_t id = 0;
  std::string name = "      ";
  uint32_t amount = 0;
  std::string tag = "  ";

  std::string Record() const {
    std::string r(16, '.');
    r[0] = static_cast<char>(id & 0xFF);
    r[1] = static_cast<char>(id >> 8);
    std::string padded_name = name, padded_tag = tag;
    padded_name.resize(6, ' ');
    padded_tag.resize(2, ' ');
    r.replace(2, 6, padded_name);
    for (int i = 0; i < 4; ++i) r[8 + i] = static_cast<char>(amount >> (8 * i));
    r.replace(12, 2, padded_tag);
    return r;
  }
  static uint16_t IdOf(std::string_view record) {
    return static_cast<uint16_t>(static_cast<uint8_t>(record[0]) |
                                 static_cast<uint8_t>(record[1]) << 8);
  }
};

inline std::array<uint8_t, 256> UpperCaseTable() {
  std::array<uint8_t, 256> table;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i >= 'a' && i <= 'z' ? i - 32 : i);
  return table;
}

inline FileDefinition PeopleDefinition() {
  FileDefinition definition;
  definition.record_length = 16;
  definition.AddKey({{1, 2, kSegmentBinary}})
      .AddKey({{3, 6, kSegmentAlternate}}, /*duplicates=*/true)
      .AddKey({{9, 4, kSegmentBinary}, {13, 2, 0}}, /*duplicates=*/true)
      .SetAlternate(UpperCaseTable(), "UPPER");
  return definition;
}

// Raw calls with buffers of the sizes callers use: 1536 data bytes and 255
// key bytes, filled so that a test can tell what a call wrote.
struct RawCall {
  std::array<unsigned char, kPositionBlockSize> block{};
  std::string data;
  std::string key;
  uint32_t length = 0;

  int16_t Do(int16_t operation, int16_t key_number, std::string_view data_in = {},
             uint32_t data_length = 1536, std::string_view key_in = {}, int16_t key_length = 255) {
    data.assign(1536, '\xEE');
    data.replace(0, data_in.size(), data_in);
    key.assign(255, '\xEE');
    key.replace(0, key_in.size(), key_in);
    length = data_length;
    return RecordManagerCall(operation, block.data(), data.data(), &length, key.data(), key_length,
                             key_number);
  }
  int16_t Open(const std::string& path, int16_t mode = kOpenNormal) {
    return Do(kOpOpen, mode, std::string("OWNR\0", 5), 5, path + '\0',
              static_cast<int16_t>(path.size() + 1));
  }
  std::string Record() const { return data.substr(0, length); }
};

}  // namespace qav::testing

#endif  // QAV_TESTS_RECMAN_RECMAN_TEST_FILES_H_
