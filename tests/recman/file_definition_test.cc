#include "recman/file_definition.h"

#include <gtest/gtest.h>

#include "recman/status.h"

namespace qav {
namespace {

std::array<uint8_t, 256> UpperCaseTable() {
  std::array<uint8_t, 256> table;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i >= 'a' && i <= 'z' ? i - 32 : i);
  return table;
}

FileDefinition Sample() {
  FileDefinition definition;
  definition.record_length = 40;
  definition.page_size = 2048;
  definition.AddKey({{1, 2, kSegmentBinary}, {3, 6, 0}})
      .AddKey({{9, 10, kSegmentAlternate}}, /*duplicates=*/true)
      .SetAlternate(UpperCaseTable(), "UPPER");
  return definition;
}

uint16_t At16(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                               static_cast<uint8_t>(bytes[offset + 1]) << 8);
}

TEST(FileDefinitionTest, LayoutOfEveryField) {
  const std::string bytes = EncodeFileDefinition(Sample(), 0x01020304);
  ASSERT_EQ(bytes.size(), 16u + 3 * 16 + 265);
  EXPECT_EQ(At16(bytes, 0), 40);
  EXPECT_EQ(At16(bytes, 2), 2048);
  EXPECT_EQ(At16(bytes, 4), 2);
  EXPECT_EQ(bytes.substr(6, 4), "\x04\x03\x02\x01");
  struct Expected {
    uint16_t position, length, flags;
  } const segments[] = {{1, 2, kSegmentBinary | kSegmentContinues},
                        {3, 6, 0},
                        {9, 10, kSegmentAlternate | kSegmentDuplicates}};
  for (size_t i = 0; i < 3; ++i) {
    const size_t at = 16 + 16 * i;
    EXPECT_EQ(At16(bytes, at), segments[i].position) << i;
    EXPECT_EQ(At16(bytes, at + 2), segments[i].length) << i;
    EXPECT_EQ(At16(bytes, at + 4), segments[i].flags) << i;
  }
  const size_t alternate = 16 + 3 * 16;
  EXPECT_EQ(static_cast<uint8_t>(bytes[alternate]), FileDefinition::kAlternateSignature);
  EXPECT_EQ(bytes.substr(alternate + 1, 8), "UPPER   ");
  EXPECT_EQ(bytes[alternate + 9 + 'q'], 'Q');
}

TEST(FileDefinitionTest, ParsesWhatItEncodesAndIgnoresTheRestOfTheBuffer) {
  const FileDefinition original = Sample();
  std::string bytes = EncodeFileDefinition(original, 77);
  bytes.resize(1536, ' ');  // as a caller's blank-filled buffer comes
  FileDefinition parsed;
  ASSERT_EQ(ParseFileDefinition(bytes, &parsed), kRmOk);
  EXPECT_EQ(parsed.keys.size(), 2u);
  EXPECT_EQ(parsed.keys[0].Length(), 8);
  EXPECT_FALSE(parsed.keys[0].duplicates);
  EXPECT_TRUE(parsed.keys[1].duplicates);
  EXPECT_EQ(EncodeFileDefinition(parsed), EncodeFileDefinition(original));
}

TEST(FileDefinitionTest, RefusesBadCreationData) {
  const std::string good = EncodeFileDefinition(Sample());
  auto with16 = [&](size_t offset, uint16_t value) {
    std::string bytes = good;
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
    return bytes;
  };
  FileDefinition long_key;
  long_key.record_length = 600;
  long_key.AddKey({{1, 200}, {201, 56}});
  FileDefinition plain;
  plain.record_length = 10;
  plain.AddKey({{1, 4}});
  struct Case {
    const char* what;
    std::string bytes;
    int16_t status;
  } const cases[] = {
      {"empty", "", kRmInvalidKeyDefinition},
      {"blanks, as from a missing definition file", std::string(1536, ' '),
       kRmInvalidRecordLength},
      {"record length 0", with16(0, 0), kRmInvalidRecordLength},
      {"record length too big", with16(0, 4097), kRmInvalidRecordLength},
      {"page size 0", with16(2, 0), kRmInvalidPageSize},
      {"page size not a multiple of 512", with16(2, 1000), kRmInvalidPageSize},
      {"no keys", with16(4, 0), kRmInvalidKeyCount},
      {"too many keys", with16(4, 25), kRmInvalidKeyCount},
      {"more keys than segments given", with16(4, 3).substr(0, 16 + 48),
       kRmInvalidKeyDefinition},
      {"segment position 0", with16(16, 0), kRmInvalidKeyDefinition},
      {"segment past the record", with16(16 + 32, 32), kRmInvalidKeyDefinition},
      {"segment length 0", with16(18, 0), kRmInvalidKeyDefinition},
      {"unknown flag", with16(20, kSegmentBinary | kSegmentContinues | 64),
       kRmInvalidKeyDefinition},
      {"duplicates on one segment of a key only",
       with16(20, kSegmentBinary | kSegmentContinues | kSegmentDuplicates),
       kRmInvalidKeyDefinition},
      {"alternate table cut short", good.substr(0, good.size() - 1), kRmInvalidKeyDefinition},
      {"key longer than 255 bytes", EncodeFileDefinition(long_key), kRmInvalidKeyDefinition},
      {"segment cut short", EncodeFileDefinition(plain).substr(0, 30), kRmInvalidKeyDefinition},
  };
  for (const Case& c : cases) {
    FileDefinition parsed;
    EXPECT_EQ(ParseFileDefinition(c.bytes, &parsed), c.status) << c.what;
  }
  FileDefinition parsed;
  EXPECT_EQ(ParseFileDefinition(EncodeFileDefinition(plain), &parsed), kRmOk);
}

}  // namespace
}  // namespace qav
