#include "screen/wrap_text.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(WrapTextTest, Modes) {
  struct Case {
    const char* text;
    int indent;
    int width;
    const char* mode;
    const char* lines;
  } cases[] = {
      {"abc def ghi", 0, 5, "I", "abc  def  ghi  "},
      {"abc def ghi", 0, 5, "e", "abc  def  ghi  "},
      {"abc def ghi", 0, 5, "R", "  abc  def  ghi"},
      {"abc def ghi", 0, 5, "d", "  abc  def  ghi"},
      {"abc def ghi", 0, 5, "C", " abc  def  ghi "},
      {"abc def ghi", 0, 5, "N", "abc--def--ghi--"},
      {"abc def ghi", 0, 5, "x", "abcdefghi"},
      {"abcdefghij", 0, 4, "I", "abcdefghij  "},       // a long word is cut
      {"abc def", 2, 6, "I", "  abc def   "},          // first-line indent
      {"abc def ghi", -2, 5, "I", "abc    def  ghi"},    // hanging indent: room 3 after the first
      {"abc   def", 0, 5, "I", "abc  def  "},          // blanks at the break are skipped
      {"", 0, 5, "I", ""},
      {"ab", 0, 10, "R", "        ab"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WrapText(c.text, c.indent, c.width, c.mode), c.lines)
        << "'" << c.text << "' " << c.indent << " " << c.width << " " << c.mode;
  }
}

TEST(WrapTextTest, Justified) {
  // Every line but the last is widened at its blanks, one at a time from the
  // third column on, to the full width.
  struct Case {
    const char* text;
    int width;
    const char* lines;
  } cases[] = {
      {"aa bb cc dd", 9, "aa  bb ccdd"},
      {"aa bb cc dd ee ff", 10, "aa  bb  ccdd ee ff"},
      {"ab cd efgh", 8, "ab    cdefgh"},        // the search starts again from the left
      {"aa bb cc dd ee", 8, "aa bb ccdd ee"},     // already full; the last line unpadded
      {"abcdefgh ij", 4, "abcdefghij"},           // lines without a blank stay as cut
  };
  for (const Case& c : cases) EXPECT_EQ(WrapText(c.text, 0, c.width, "A"), c.lines) << c.text;
}

TEST(WrapTextTest, ControlCharactersTakeNoRoom) {
  // Two colour switches inside a five-character line.
  const std::string text = "ab\x01" "cd\x02" "e fgh";
  const std::string lines = WrapText(text, 0, 5, "I");
  EXPECT_EQ(lines, "ab\x01" "cd\x02" "e" "fgh  ");
}

TEST(WrapTextTest, AnyWidthEnds) {
  for (int width : {-5, 0, 1}) {
    const std::string lines = WrapText("abc de", 0, width, "I");
    EXPECT_FALSE(lines.empty()) << width;
    EXPECT_LE(lines.size(), 12u) << width;
  }
  // An indent wider than the line still leaves room for one character.
  EXPECT_EQ(WrapText("abc", 8, 4, "I"), std::string(8, ' ') + "a" + "bc  ");
}

}  // namespace
}  // namespace qav
