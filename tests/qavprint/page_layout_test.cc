#include "qavprint/page_layout.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(PageLayoutTest, GridCellOfEachPitch) {
  struct Case {
    const char* name;
    int column, pitch;
    size_t length;
    int cell;
  };
  const Case cases[] = {
      {"17 cpi keeps its column", 107, kPitch17, 10, 106},
      {"17 cpi at the rule's end", 135, kPitch17, 1, 134},
      {"12 cpi at column 1 stays at the edge", 1, kPitch12, 33, 0},
      {"10 cpi at column 1 stays at the edge", 1, kPitch10, 40, 0},
      // Heading 1's page number, flush right in 96 columns: flush right in 136.
      {"12 cpi flush right", 86, kPitch12, 11, 125},
      // A text of 20 centred in 96 (column 39) is centred in 136 (column 59).
      {"12 cpi centred", 39, kPitch12, 20, 58},
      {"10 cpi centred", 31, kPitch10, 20, 58},
      {"12 cpi past the line keeps its start", 90, kPitch12, 20, 126},
      {"12 cpi filling the line", 1, kPitch12, 96, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GridCell(c.column, c.pitch, c.length), c.cell) << c.name;
  }
}

PlacedItem Item(int column, int pitch, std::string text,
                Justification justification = Justification::kAsIs) {
  return PlacedItem{column, pitch, justification, std::move(text)};
}

TEST(PageLayoutTest, LaysOutLinesWithJustificationAndOverprint) {
  PrintedPage page;
  page.length = 66;
  page.lines.resize(4);
  page.lines[0].items = {Item(1, kPitch17, "REBUT"), Item(8, kPitch17, "12,50   ", Justification::kRight)};
  // Line 1 left blank.
  page.lines[2].items = {Item(1, kPitch17, "ABCDEFGH"), Item(3, kPitch17, "x  y")};
  page.lines[3].items = {Item(1, kPitch17, "   ")};
  const std::vector<std::string> lines = LayOutPage(page);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "REBUT     12,50");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "ABxDEyGH");  // the later item's blanks leave what is under them
  EXPECT_EQ(lines[3], "");
}

}  // namespace
}  // namespace qav
