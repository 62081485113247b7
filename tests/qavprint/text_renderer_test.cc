#include "qavprint/text_renderer.h"

#include <gtest/gtest.h>

#include "print_fixtures.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

// The sample reports against their renderings, kept in testdata/: both
// pitches on every page, page breaks inside a property's receipts and before
// its total, names with commas and accented letters.
TEST(TextRendererTest, GoldenRenderingsOfReports) {
  for (const char* name : {"receipts_short", "receipts_pages"}) {
    PrintDocument d;
    ASSERT_TRUE(ReadPrintFile(testing::TestDataPath(std::string(name) + ".tmp"), &d).ok());
    EXPECT_EQ(d.WarningCount(), 0u) << name;
    EXPECT_EQ(RenderText(d), testing::ReadTestData(std::string(name) + ".txt")) << name;
  }
}

TEST(TextRendererTest, ReportLayoutOnTheGrid) {
  PrintDocument d;
  ASSERT_TRUE(ReadPrintFile(testing::TestDataPath("receipts_pages.tmp"), &d).ok());
  const std::string text = RenderText(d);
  std::vector<std::vector<std::string>> pages(1);
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] == '\f') {
      pages.emplace_back();
      ++at;
      continue;
    }
    const size_t end = text.find('\n', at);
    pages.back().push_back(text.substr(at, end - at));
    at = end + 1;
  }
  ASSERT_EQ(pages.size(), 4u);
  // 7 heading lines and 54 receipts fill the first page; the 55th receipt
  // and the total follow the heading of page 2.
  EXPECT_EQ(pages[0].size(), 61u);
  EXPECT_EQ(pages[1].size(), 11u);
  EXPECT_NE(pages[1][0].find("P\u00C0GINA    2"), std::string::npos);
  EXPECT_EQ(pages[1][7].substr(0, 9), "002005H07");
  // Rules and right-hand columns end at column 135; heads stand over their columns.
  const std::string& heads = pages[0][5];
  const std::string& rule = pages[0][6];
  EXPECT_EQ(rule, std::string(135, '-'));
  EXPECT_EQ(heads.substr(106, 10), "    COBRAT");
  EXPECT_EQ(heads.substr(125, 10), "   PENDENT");
  EXPECT_EQ(heads.size(), 135u);
  EXPECT_EQ(pages[0][7].substr(106, 10), "     50'00");
  // Heading 1 at 12 cpi: the page number ends where the rule ends.
  EXPECT_EQ(pages[0][0].size(), 137u);  // 135 columns, two of them two-byte letters
  EXPECT_EQ(pages[0][0].substr(pages[0][0].size() - 9), "GINA    1");
  // The second property's total falls on a page of its own after the heading.
  EXPECT_EQ(pages[3].size(), 9u);
  EXPECT_EQ(pages[3][7].substr(73, 5), "TOTAL");
}

TEST(TextRendererTest, FormFeedsAndEmptyPages) {
  PrintDocument d;
  EXPECT_EQ(RenderText(d), "");
  d.pages.resize(3);
  d.pages[0].lines.resize(2);
  d.pages[0].lines[1].items.push_back({1, kPitch17, Justification::kAsIs, "B\x85"});
  d.pages[2].lines.resize(1);
  d.pages[2].lines[0].items.push_back({2, kPitch17, Justification::kAsIs, "C"});
  EXPECT_EQ(RenderText(d), "\nB\u00E0\n\f\f C\n");
}

TEST(TextRendererTest, WritesTheFileOrSaysWhy) {
  testing::TempDir dir;
  PrintDocument d;
  d.pages.resize(1);
  d.pages[0].lines.resize(1);
  d.pages[0].lines[0].items.push_back({1, kPitch17, Justification::kAsIs, "\x90S"});
  ASSERT_TRUE(WriteTextFile(d, dir.path() + "out.txt").ok());
  EXPECT_EQ(dir.Read("out.txt"), "\u00C9S\n");
  const PrintStatus failed = WriteTextFile(d, dir.path() + "no/such/folder/out.txt");
  EXPECT_EQ(failed.code(), PrintStatus::kIoError);
  EXPECT_NE(failed.message().find("cannot create the text file"), std::string::npos);
}

}  // namespace
}  // namespace qav
