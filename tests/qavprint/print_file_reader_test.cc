#include "qavprint/print_file_reader.h"

#include <gtest/gtest.h>

#include "print_fixtures.h"
#include "qavprint/text_renderer.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::PrintFileBytes;
using testing::ReadPrintBytes;

std::string AllWarnings(const PrintDocument& document) {
  std::string all;
  for (const PrintWarning& w : document.warnings) all += WarningLine(w) + "\n";
  return all;
}

const PlacedItem& ItemAt(const PrintDocument& d, size_t page, size_t line, size_t item) {
  return d.pages.at(page).lines.at(line).items.at(item);
}

TEST(PrintFileReaderTest, ReadsTheReportsSample) {
  PrintDocument d;
  ASSERT_TRUE(ReadPrintFile(testing::TestDataPath("receipts_short.tmp"), &d).ok());
  EXPECT_EQ(AllWarnings(d), "");
  EXPECT_TRUE(d.has_destination);
  EXPECT_EQ(d.destination, "PANTALLA");
  ASSERT_EQ(d.pages.size(), 2u);
  EXPECT_EQ(d.pages[0].length, 66);

  // Heading 1 at 12 cpi: the name as it stands, the page number flush right.
  const PlacedItem& name = ItemAt(d, 0, 0, 0);
  EXPECT_EQ(name.column, 1);
  EXPECT_EQ(name.pitch, kPitch12);
  EXPECT_EQ(name.justification, Justification::kAsIs);
  const PlacedItem& page_no = ItemAt(d, 0, 0, 1);
  EXPECT_EQ(page_no.column, 85);
  EXPECT_EQ(page_no.justification, Justification::kRight);
  EXPECT_EQ(page_no.text, "P\xB7GINA    1");
  // Two line feeds after it: heading 2 is on line 3.
  EXPECT_TRUE(d.pages[0].lines[1].items.empty());
  EXPECT_EQ(ItemAt(d, 0, 2, 0).column, 14);
  EXPECT_EQ(ItemAt(d, 0, 2, 0).justification, Justification::kAsIs);  // a new line: E again

  // The first receipt at 17 cpi; its name holds a comma.
  const PrintedLine& receipt = d.pages[0].lines.at(7);
  ASSERT_EQ(receipt.items.size(), 6u);
  EXPECT_EQ(receipt.items[0].text, "001001H01");
  EXPECT_EQ(receipt.items[0].pitch, kPitch17);
  EXPECT_EQ(receipt.items[2].text, "GARCIA, JOSEP                 ");
  EXPECT_EQ(receipt.items[4].justification, Justification::kAsIs);
  EXPECT_EQ(receipt.items[5].column, 107);
  EXPECT_EQ(receipt.items[5].justification, Justification::kRight);
  EXPECT_EQ(receipt.items[5].text, "    120'50");
}

TEST(PrintFileReaderTest, PrinterStateAcrossLinesAndPages) {
  const PrintDocument d = ReadPrintBytes(PrintFileBytes({
      "DEVICE", "PAGE 3 ", " 1 ,A, 0 ",  // 10 cpi until a pitch is chosen
      "*@e", "JUSC", " 5 ,B, 0 ", " 9 ,C, 2 ",
      " 1 ,D, 0 ",                      // a new line: E again, 12 cpi still
      "*PRINTER RESET", "JUSR", " 3 ,E, 2 ",  // past the page's end: on the next page
      "*q", " 1 ,F, 1 ", "PAGE 2 ", " 1 ,G, 0 "}));
  EXPECT_EQ(AllWarnings(d), "");
  ASSERT_EQ(d.pages.size(), 3u);
  EXPECT_EQ(ItemAt(d, 0, 0, 0).pitch, kPitch10);
  EXPECT_EQ(ItemAt(d, 0, 0, 1).pitch, kPitch12);
  EXPECT_EQ(ItemAt(d, 0, 0, 1).justification, Justification::kCentre);
  EXPECT_EQ(ItemAt(d, 0, 0, 2).justification, Justification::kCentre);
  EXPECT_EQ(ItemAt(d, 0, 2, 0).justification, Justification::kAsIs);
  EXPECT_EQ(ItemAt(d, 0, 2, 1).text, "E");
  EXPECT_EQ(ItemAt(d, 0, 2, 1).justification, Justification::kRight);
  EXPECT_EQ(ItemAt(d, 0, 2, 1).pitch, kPitch12);  // unknown control codes change nothing
  // Line 3 + 2 feeds on a 3-line page: line 2 of the next page, same length.
  EXPECT_EQ(d.pages[1].length, 3);
  EXPECT_EQ(ItemAt(d, 1, 1, 0).text, "F");
  EXPECT_EQ(ItemAt(d, 1, 1, 0).pitch, kPitch17);
  EXPECT_EQ(d.pages[2].length, 2);
  EXPECT_EQ(ItemAt(d, 2, 0, 0).pitch, kPitch17);  // the pitch holds across pages
}

TEST(PrintFileReaderTest, PageBreaksAddNoBlankPages) {
  struct Case {
    const char* name;
    std::string bytes;
    size_t pages;
  };
  const Case cases[] = {
      {"full page then a page line",
       PrintFileBytes({"DEVICE", "PAGE 2 ", " 1 ,A, 1 ", " 1 ,B, 1 ", "PAGE 2 ", " 1 ,C, 1 "}), 2},
      {"last line fills the page", PrintFileBytes({"DEVICE", "PAGE 1 ", " 1 ,A, 1 "}), 1},
      {"page line then nothing", PrintFileBytes({"DEVICE", "PAGE 66 "}), 1},
      {"two page lines: a blank page as asked",
       PrintFileBytes({"DEVICE", "PAGE 66 ", "PAGE 66 ", " 1 ,A, 1 "}), 2},
      {"destination only: an empty report", PrintFileBytes({"DEVICEPDF"}), 0},
  };
  for (const Case& c : cases) {
    const PrintDocument d = ReadPrintBytes(c.bytes);
    EXPECT_EQ(d.pages.size(), c.pages) << c.name;
    EXPECT_EQ(AllWarnings(d), "") << c.name;
  }
}

// Damaged files: what is rendered and what the warnings say.
TEST(PrintFileReaderTest, DamagedFilesAreRenderedAsFarAsTheyMakeSense) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;      // the text rendering
    std::string warnings;  // expected in the warnings, in order, separated by "|"
  };
  const std::string long_text(70000, 'x');
  const Case cases[] = {
      {"empty file", "", "", "the print file is empty"},
      {"no destination line", PrintFileBytes({"PAGE 66 ", "*q", " 3 ,A, 1 "}), "  A\n",
       "line 1: no destination line (DEVICE)"},
      {"destination line later", PrintFileBytes({"DEVICE", "DEVICEPDF"}), "",
       "line 2: a destination line after the first line is ignored"},
      {"items before any page line", PrintFileBytes({"DEVICE", "*q", " 2 ,A, 1 "}), " A\n",
       "line 3: printing before the first page line (PAGE); the page length is taken as 66"},
      {"column not a number", PrintFileBytes({"DEVICE", "PAGE 66 ", "x7 ,A, 1 "}), "A\n",
       "line 3: column \"x7 \" is not a number; printed at column 1"},
      {"huge column", PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", " 99999 ,A, 1 "}),
       std::string(254, ' ') + "A\n",
       "line 4: column 99999 is out of range (1 to 255); printed at column 255"},
      {"column 0 and negative",
       PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", " 0 ,A, 1 ", "-5 ,B, 1 "}), "A\nB\n",
       "line 4: column 0 is out of range|line 5: column -5 is out of range"},
      {"huge line feeds end the page",
       PrintFileBytes({"DEVICE", "PAGE 66 ", " 1 ,A, 99999999999999 ", " 1 ,B, 1 "}),
       "A\n\fB\n",
       "line 3: 9999999999999 line feeds are more than a page of 66 lines; taken as the end of "
       "the page"},
      {"negative line feeds", PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", " 1 ,A,-3 ", " 3 ,B, 1 "}),
       "A B\n", "line 4: negative line feeds (-3) taken as 0"},
      {"line feeds missing: the rest is text",
       PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", " 1 ,SMITH, JOHN", " 14 ,X, 1 "}),
       "SMITH, JOHN  X\n", "line 4: the line feed count is missing or not a number; taken as 0"},
      {"not print file lines",
       PrintFileBytes({"DEVICE", "PAGE 66 ", "hello world", " 12 ", "abc,def", " 1 ,A, 1 "}), "A\n",
       "line 3: not a print file line; left out: \"hello world\"|line 4: not a print file line|"
       "line 5: not a print file line"},
      {"control characters", PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", " 1 ,A\tB\x01\x7F" "C, 1 "}),
       "A B  C\n", "line 4: control characters (binary content?) shown as blanks"},
      {"a zero byte",
       PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", std::string(" 1 ,A") + '\0' + "B, 1 "}), "A B\n",
       "line 4: control characters"},
      {"page length not usable",
       PrintFileBytes({"DEVICE", "PAGE 0 ", "*q", " 1 ,A, 1 ", "PAGE x", " 1 ,B, 1 ", "PAGE 9999 "}),
       "A\n\fB\n\f",
       "line 2: page length \"0\" is not usable (1 to 255); taken as 66|line 5: page length \"x\"|"
       "line 7: page length \"9999\""},
      {"unknown justification", PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", "JUSX", " 1 ,A  , 1 "}),
       "A\n", "line 4: unknown justification \"X\"; taken as E"},
      {"a line too long", PrintFileBytes({"DEVICE", "PAGE 66 ", "*q", " 1 ," + long_text + ", 1 "}),
       std::string(255, 'x') + "\n",
       "line 4: longer than 65536 characters|line 4: the line feed count is missing|"
       "line 4: text beyond column 255 left out"},
      {"not a print file at all", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "",
       "line 1: no destination line|line 1: not a print file line|line 2: control characters|"
       "line 3: control characters|no line of the file is a print file line"},
  };
  for (const Case& c : cases) {
    const PrintDocument d = ReadPrintBytes(c.bytes);
    EXPECT_EQ(RenderText(d), c.text) << c.name;
    const std::string all = AllWarnings(d);
    size_t from = 0;
    std::string rest = c.warnings;
    while (!rest.empty()) {
      const size_t bar = rest.find('|');
      const std::string expected = rest.substr(0, bar);
      rest = bar == std::string::npos ? "" : rest.substr(bar + 1);
      const size_t at = all.find(expected, from);
      EXPECT_NE(at, std::string::npos) << c.name << ": missing \"" << expected << "\" in\n" << all;
      if (at != std::string::npos) from = at + expected.size();
    }
  }
}

TEST(PrintFileReaderTest, PagesAndWarningsAreBounded) {
  std::string bytes = "DEVICE\r\n";
  for (size_t i = 0; i < kMaxPages + 10; ++i) bytes += "PAGE x\r\n";
  const PrintDocument d = ReadPrintBytes(bytes);
  EXPECT_EQ(d.pages.size(), kMaxPages);
  EXPECT_EQ(d.warnings.size(), kMaxWarnings);
  // Every page line read warned, and one more says the rest was left out.
  EXPECT_EQ(d.WarningCount(), kMaxPages + 2);
}

TEST(PrintFileReaderTest, FilesThatCannotBeRead) {
  testing::TempDir dir;
  PrintDocument d;
  d.destination = "stale";
  PrintStatus missing = ReadPrintFile(dir.path() + "none.tmp", &d);
  EXPECT_EQ(missing.code(), PrintStatus::kNotFound);
  EXPECT_NE(missing.message().find("none.tmp does not exist"), std::string::npos);
  EXPECT_EQ(d.destination, "");
  EXPECT_EQ(ReadPrintFile(dir.path(), &d).code(), PrintStatus::kIoError);  // a folder
}

}  // namespace
}  // namespace qav
