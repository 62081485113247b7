#include "util/packed_digits.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(PackedDigitsTest, Pack) {
  struct Case {
    std::string text;
    std::string bytes;
  } cases[] = {
      {"0101", "\x81\x81"},
      {"20240403", "\x94\x98\x84\x83"},
      {" 5", "\x85"},
      {"05", "\x85"},
      {"123", "\x8C\x9E"},
      {"", ""},
      {"  ", "\x80"},
      {"1 2", "\x8A\x94"},     // an inner blank is 0
      {"a9", "\x89"},          // other characters count 0
      {"99", "\xE3"},
      {"12  ", "\x80\x8C"},    // right-aligned in its width
  };
  for (const Case& c : cases) EXPECT_EQ(PackDigits(c.text), c.bytes) << "'" << c.text << "'";
}

TEST(PackedDigitsTest, Unpack) {
  EXPECT_EQ(UnpackDigits("\x94\x98\x84\x83"), "20240403");
  EXPECT_EQ(UnpackDigits(" "), "32");
  EXPECT_EQ(UnpackDigits(std::string(4, '\x80')), "00000000");
  EXPECT_EQ(UnpackDigits("\xFF\x7F"), "2727");
  EXPECT_EQ(UnpackDigits(""), "");
  for (int n = 0; n < 10000; ++n) {
    char text[12];
    std::snprintf(text, sizeof text, "%04d", n);
    EXPECT_EQ(UnpackDigits(PackDigits(text)), text);
  }
}

TEST(PackedDigitsTest, PackedFormSortsNumerically) {
  for (int n = 0; n < 9999; ++n) {
    char a[12], b[12];
    std::snprintf(a, sizeof a, "%04d", n);
    std::snprintf(b, sizeof b, "%04d", n + 1);
    ASSERT_LT(PackDigits(a), PackDigits(b)) << n;
  }
}

TEST(PackedDigitsTest, PackCode) {
  struct Case {
    std::string text;
    std::string digits;
  } cases[] = {
      {"5", "0005"},
      {"0999", "0999"},
      {"123", "0123"},
      {"123456", "123456"},
      {"12.34", "00120034"},
      {"123456.7890", "1234567890"},
      {"12.", "0012"},           // a trailing empty group is not taken
      {"12. ", "0012"},
      {"1..2", "000100000002"},  // an inner empty group is 0
      {"12345", "2345"},         // cut to the group's width
      {"  7", "0007"},
      {"x", "0000"},
      {"-3", "0003"},
      {"", ""},
      {"1234567.8", "45670008"},     // 9 characters: the first group is 4 wide
      {"1234567.890", "2345670890"}, // 11 characters, one ".": 6 wide, cut
  };
  for (const Case& c : cases) {
    std::string expected = c.digits;
    if (expected.size() % 2) expected += "0";
    EXPECT_EQ(UnpackDigits(PackCode(c.text)), expected) << "'" << c.text << "'";
  }
}

}  // namespace
}  // namespace qav
