#include "qavprint/pdf_renderer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <regex>

#include "print_fixtures.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

// Poppler's tools read the PDF back; scripts/install-deps installs them.
std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

bool HavePoppler() { return std::system("command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null") == 0; }

struct Word {
  double x_min, y_min, x_max, y_max;
  std::string text;
};

// The words of one page, as pdftotext -bbox places them.
std::vector<Word> WordsOf(const std::string& pdf, int page) {
  const std::string html = Capture("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                               std::to_string(page) + " '" + pdf + "' -");
  static const std::regex word(
      "<word xMin=\"([0-9.-]+)\" yMin=\"([0-9.-]+)\" xMax=\"([0-9.-]+)\" yMax=\"([0-9.-]+)\">([^<]*)</word>");
  std::vector<Word> words;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
    std::string text = (*it)[5];
    for (size_t at; (at = text.find("&apos;")) != std::string::npos;) text.replace(at, 6, "'");
    words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                     std::stod((*it)[4]), text});
  }
  return words;
}

const Word* Find(const std::vector<Word>& words, const std::string& text) {
  for (const Word& w : words) {
    if (w.text == text) return &w;
  }
  return nullptr;
}

class PdfRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(HavePoppler()) << "pdftotext and pdfinfo (poppler-utils) are needed: scripts/install-deps";
  }
  testing::TempDir dir_;
};

TEST_F(PdfRendererTest, OnePdfPagePerPrintedPageWithItsText) {
  PrintDocument d;
  ASSERT_TRUE(ReadPrintFile(testing::TestDataPath("receipts_pages.tmp"), &d).ok());
  const std::string pdf = dir_.path() + "report.pdf";
  ASSERT_TRUE(WritePdfFile(d, pdf).ok());
  const std::string info = Capture("pdfinfo '" + pdf + "'");
  EXPECT_NE(info.find("Pages:           4\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       612 x 828 pts"), std::string::npos) << info;

  const std::string text = Capture("pdftotext -layout '" + pdf + "' -");
  // pdftotext ends every page with a form feed.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 4);
  for (const char* expected :
       {"ADMINISTRACI\u00D3 DE FINQUES KARVELOT", "RELACI\u00D3 DE REBUTS D'HORITZONTAL EMESOS",
        "CORRESPONENTS A LA FINCA 003 - PASSATGE DE LES AC\u00C0CIES 3", "N\u00DA\u00D1EZ L\u00D3PEZ, \u00C0NGELS",
        "BLANCH SOL\u00C0, MERC\u00C8", "002005H07", "2.329'55", "2.454'90"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
  const size_t page2 = text.find('\f');
  ASSERT_NE(page2, std::string::npos);
  EXPECT_NE(text.find("002005H07", page2), std::string::npos);  // the 55th receipt on page 2
}

TEST_F(PdfRendererTest, ColumnsStandAtTheirPitch) {
  PrintDocument d;
  ASSERT_TRUE(ReadPrintFile(testing::TestDataPath("receipts_short.tmp"), &d).ok());
  const std::string pdf = dir_.path() + "report.pdf";
  ASSERT_TRUE(WritePdfFile(d, pdf).ok());
  const std::vector<Word> words = WordsOf(pdf, 1);
  ASSERT_FALSE(words.empty());
  const double cell12 = 72.0 / 12, cell17 = 72.0 / 17, margin = 18.0;
  struct Case {
    const char* word;
    double x_min;  // where column (first - 1) of its pitch begins
    double cell;
    int letters;
    int line;  // from 0
  };
  const Case cases[] = {
      {"ADMINISTRACI\u00D3", margin, cell12, 13, 0},
      {"P\u00C0GINA", margin + 84 * cell12, cell12, 6, 0},  // column 85 at 12 cpi
      {"RELACI\u00D3", margin + 13 * cell12, cell12, 7, 2},
      {"REBUT", margin, cell17, 5, 5},
      {"COBRAT", margin + 110 * cell17, cell17, 6, 5},   // "    COBRAT" at 107, flush right
      {"PENDENT", margin + 128 * cell17, cell17, 7, 5},  // ends at column 135
      {"1.234'56", margin + 108 * cell17, cell17, 8, 9},
  };
  for (const Case& c : cases) {
    const Word* w = Find(words, c.word);
    ASSERT_NE(w, nullptr) << c.word;
    EXPECT_NEAR(w->x_min, c.x_min, 0.5) << c.word;
    EXPECT_NEAR(w->x_max - w->x_min, c.letters * c.cell, 0.5) << c.word;
    // Inside its line at 6 lines per inch.
    EXPECT_GE(w->y_min, margin + c.line * 12.0 - 0.01) << c.word;
    EXPECT_LE(w->y_max, margin + (c.line + 1) * 12.0 + 0.5) << c.word;
  }
}

TEST_F(PdfRendererTest, PageSizesFollowThePageLength) {
  const PrintDocument empty;
  const std::string blank = dir_.path() + "blank.pdf";
  ASSERT_TRUE(WritePdfFile(empty, blank).ok());
  EXPECT_NE(Capture("pdfinfo '" + blank + "'").find("Pages:           1\n"), std::string::npos);

  const PrintDocument d = testing::ReadPrintBytes(testing::PrintFileBytes(
      {"DEVICEPDF", "PAGE 33 ", "*q", " 1 ,HALF, 1 ", "PAGE 66 ", " 200 ,WIDE, 1 "}));
  const std::string pdf = dir_.path() + "sizes.pdf";
  ASSERT_TRUE(WritePdfFile(d, pdf).ok());
  const std::string info = Capture("pdfinfo -f 1 -l 2 '" + pdf + "'");
  EXPECT_NE(info.find("Page    1 size:  612 x 432 pts"), std::string::npos) << info;
  // A line past the paper's edge widens the page rather than losing its text.
  const double wide = 18 + (199 + 4) * 72.0 / 17 + 18;
  EXPECT_NE(info.find("Page    2 size:  " + std::to_string(static_cast<int>(wide))), std::string::npos)
      << info;
  EXPECT_NE(Capture("pdftotext '" + pdf + "' -").find("WIDE"), std::string::npos);
}

TEST_F(PdfRendererTest, AFileThatCannotBeWritten) {
  const PrintStatus status = WritePdfFile(PrintDocument(), dir_.path() + "no/such/folder/x.pdf");
  EXPECT_EQ(status.code(), PrintStatus::kIoError);
  EXPECT_NE(status.message().find("cannot create the PDF file"), std::string::npos);
}

}  // namespace
}  // namespace qav
