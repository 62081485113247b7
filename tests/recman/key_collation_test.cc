#include "recman/key_collation.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(KeyCollationTest, ValueAndFormBySegment) {
  std::array<uint8_t, 256> table;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i >= 'a' && i <= 'z' ? i - 32 : i);
  FileDefinition definition;
  definition.record_length = 12;
  definition.AddKey({{5, 3, kSegmentAlternate}, {1, 2, kSegmentBinary}, {10, 2}})
      .AddKey({{3, 2, kSegmentBinary | kSegmentAlternate}})
      .SetAlternate(table, "UP");
  const std::string record("\x01\x02zyabcdefghi", 12);
  struct Case {
    int key;
    std::string value, form;
  } const cases[] = {
      // Segments in key order, wherever they lie in the record.
      {0, "abc\x01\x02" "fg", "ABC\x02\x01" "fg"},
      // Binary wins over the alternate sequence.
      {1, "zy", "yz"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyValue(definition, c.key, record), c.value) << c.key;
    EXPECT_EQ(CollationForm(definition, c.key, c.value), c.form) << c.key;
  }
}

}  // namespace
}  // namespace qav
