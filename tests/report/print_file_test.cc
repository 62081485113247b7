#include "report/print_file.h"

#include <gtest/gtest.h>

#include "frame/session.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

class PrintFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPrintFile();
    ResetSession();
    MutableSessionForSettings().WorkDir = dir_.path();
  }
  std::string Written() { return dir_.Read("qavprint.tmp"); }
  testing::TempDir dir_;
};

TEST_F(PrintFileTest, LinesOfAReport) {
  OpenPrintFile("");
  NewPage(66);
  std::string mode = "  r";
  SetJustify(&mode);
  EXPECT_EQ(mode, "D");
  PrintControl("@e");
  PrintItem(1, "REBUT", 0);
  PrintItem(107, "1,234.50", 1);
  PrintItem(-3, "a\tb\rc\xFF" "d\x7F", 2);
  EXPECT_TRUE(ClosePrintFile());
  EXPECT_EQ(Written(),
            "DEVICE\r\n"
            "PAGE 66 \r\n"
            "JUSD\r\n"
            "*@e\r\n"
            " 1 ,REBUT, 0 \r\n"
            " 107 ,1,234.50, 1 \r\n"
            "-3 ,a b c d , 2 \r\n");
  EXPECT_EQ(PageLength(), 66);
  EXPECT_EQ(LinesOnPage(), 3);
}

TEST_F(PrintFileTest, FullPageStartsANewOne) {
  OpenPrintFile("PDF");
  NewPage(2);
  PrintItem(1, "a", 1);
  PrintItem(1, "b", 1);
  EXPECT_EQ(LinesOnPage(), 2);
  PrintItem(1, "c", 0);
  EXPECT_EQ(LinesOnPage(), 0);
  PrintItem(1, "d", 1);
  EXPECT_TRUE(ClosePrintFile());
  EXPECT_EQ(Written(),
            "DEVICEPDF\r\nPAGE 2 \r\n 1 ,a, 1 \r\n 1 ,b, 1 \r\nPAGE 2 \r\n 1 ,c, 0 \r\n 1 ,d, 1 \r\n");
  // The counters carry over to the next file until its first new page.
  OpenPrintFile("X");
  EXPECT_EQ(PageLength(), 2);
  EXPECT_EQ(LinesOnPage(), 1);
  EXPECT_TRUE(ClosePrintFile());
  EXPECT_EQ(Written(), "DEVICEX\r\n");  // emptied for every report
}

TEST_F(PrintFileTest, JustificationModes) {
  struct Case {
    const char* given;
    const char* written;
  } cases[] = {
      {"r", "D"},        {"R", "D"},       {"d", "D"},         {" D ", "D"},
      {"c", "C"},        {"a", "A"},       {"B", "A"},         {"", "E"},
      {"x", "E"},        {"e", "E"},       {"N2\\#.##\\", "N 2 \\#.##\\"},
      {"n-3.7 \\##", "N 3 \\##"},          {"N", "N 0 "},      {"N5\\a\\b\\", "N 5 \\a\\"},
  };
  OpenPrintFile("");
  std::string expected = "DEVICE\r\n";
  for (const Case& c : cases) {
    std::string mode = c.given;
    SetJustify(&mode);
    EXPECT_EQ(mode, c.written) << c.given;
    expected += "JUS" + std::string(c.written) + "\r\n";
  }
  EXPECT_TRUE(ClosePrintFile());
  EXPECT_EQ(Written(), expected);
}

TEST_F(PrintFileTest, NumericItems) {
  EXPECT_EQ(NumericItem(66), " 66 ");
  EXPECT_EQ(NumericItem(0), " 0 ");
  EXPECT_EQ(NumericItem(-3), "-3 ");
  EXPECT_EQ(NumericItem(-32768), "-32768 ");
}

TEST_F(PrintFileTest, UnwritableFileIsReported) {
  MutableSessionForSettings().WorkDir = dir_.path() + "missing/";
  OpenPrintFile("");
  NewPage(66);
  PrintItem(1, "x", 1);  // goes on without a file
  EXPECT_FALSE(ClosePrintFile());
  MutableSessionForSettings().WorkDir = dir_.path();
  OpenPrintFile("");
  EXPECT_TRUE(ClosePrintFile());
}

}  // namespace
}  // namespace qav
