#include "report/receipt_report.h"

#include <gtest/gtest.h>

#include "forms/translate.h"
#include "report/batch_report.h"
#include "report/print_file.h"
#include "report/report_fixture.h"
#include "report/selection.h"
#include "screen/colours.h"
#include "util/number_mask.h"

namespace qav {
namespace {

using testing::Receipt;
using testing::ReportSuite;

class ReceiptReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetTranslations();
    ResetDateSettings();
    ResetNumberMaskSettings();
    ResetPrintFile();
    ForgetRecordFiles();
    env_root_ = std::make_unique<testing::ScopedEnv>("QAVROOT", suite_.Root().c_str());
    env_tmp_ = std::make_unique<testing::ScopedEnv>("QAVTMP", (suite_.Root() + "work/").c_str());
    env_exe_ = std::make_unique<testing::ScopedEnv>("QAVEXE", (suite_.Root() + "bin/").c_str());
    suite_.dir.Write("work/VarnTerm.ini", "[Sistema]\r\nData=20241231\r\nIdioma=CAT\r\n");
  }
  void TearDown() override { ResetRecordFiles(); }

  // Runs the batch report without the print service; the print file's lines.
  std::vector<std::string> Run(BatchOptions options, int expected_exit = 0) {
    options.print = false;
    EXPECT_EQ(RunBatchReport(options), expected_exit);
    std::vector<std::string> lines;
    const std::string file = suite_.dir.Read("work/qavprint.tmp");
    size_t start = 0;
    while (start < file.size()) {
      const size_t end = file.find("\r\n", start);
      if (end == std::string::npos) {
        lines.push_back(file.substr(start) + "<no CR LF>");
        break;
      }
      lines.push_back(file.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  ReportSuite suite_;
  std::unique_ptr<testing::ScopedEnv> env_root_, env_tmp_, env_exe_;
};

BatchOptions Range(const char* from, const char* to, const char* code_from, const char* code_to) {
  BatchOptions o;
  o.date_from = from;
  o.date_to = to;
  o.code_from = code_from;
  o.code_to = code_to;
  return o;
}

TEST_F(ReceiptReportTest, OnePropertyLaidOutInFull) {
  suite_.AddProperty(12, "Edifici Sant Jordi");
  suite_.AddOwner(12, 3, "N\xA3ria Puig i Ferrer", "1r 2a");
  suite_.AddReceipt({12, 3, "20240101", 7, "20240105", 12345, 'C'});
  suite_.AddReceipt({12, 3, "20240201", 8, "", 6050, 'P'});
  const std::vector<std::string> lines = Run(Range("01/01/2024", "31/12/2024", "1", "999"));
  const std::vector<std::string> expected = {
      "DEVICE",
      "PAGE 66 ",
      "*@e",
      " 1 ,Finques Montseny, SL, 0 ",
      "JUSD",
      " 85 ,P\xB7GINA    1, 2 ",
      " 14 ,RELACI\xE0 DE REBUTS D'HORITZONTAL EMESOS ENTRE 1/1/2024   I 31/12/2024, 1 ",
      " 23 ,CORRESPONENTS A LA FINCA 012 - Edifici Sant Jordi, 2 ",
      "*q",
      " 1 ,REBUT, 0 ",
      " 18 ,DEPART., 0 ",
      " 36 ,COPROPIETARI, 0 ",
      " 74 ,D.EXPED., 0 ",
      " 90 ,D.COBR., 0 ",
      "JUSD",
      " 107 ,    COBRAT, 0 ",
      " 126 ,   PENDENT, 1 ",
      " 1 ," + std::string(135, '-') + ", 1 ",
      " 1 ,012003H07, 0 ",
      " 18 ,1r 2a     , 0 ",
      " 36 ,N\xA3ria Puig i Ferrer           , 0 ",
      " 74 ,1/1/2024  , 0 ",
      " 90 ,5/1/2024  , 0 ",
      "JUSD",
      " 107 ,    123'45, 1 ",
      " 1 ,012003H08, 0 ",
      " 18 ,1r 2a     , 0 ",
      " 36 ,N\xA3ria Puig i Ferrer           , 0 ",
      " 74 ,1/2/2024  , 0 ",
      " 90 ," + FormatDate(kZeroDate, 0, "dma") + ", 0 ",
      "JUSD",
      " 126 ,     60'50, 1 ",
      " 107 ," + std::string(29, '-') + ", 1 ",
      " 74 ,TOTAL, 0 ",
      "JUSD",
      " 107 ,    123'45, 0 ",
      " 126 ,     60'50, 1 ",
      " 74 ," + std::string(62, '=') + ", 1 ",
  };
  EXPECT_EQ(lines, expected);
}

// The item lines whose text starts with `prefix` (and the page lines too
// when `with_pages`).
std::vector<std::string> Matching(const std::vector<std::string>& lines, const std::string& prefix,
                                  bool with_pages = false) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    const size_t comma = line.find(',');
    if ((with_pages && line.rfind("PAGE", 0) == 0) || (comma != std::string::npos && line.compare(comma + 1, prefix.size(), prefix) == 0)) {
      found.push_back(line);
    }
  }
  return found;
}

TEST_F(ReceiptReportTest, PageBreaksAndTheTotalsPlace) {
  // Receipts per property: 54 fill the first page (61 lines), so the total
  // rule stays and TOTAL opens page 2; the 55th receipt opens page 2 itself
  // and the totals follow it; with 53 and 52 the page stands at 60 and 59
  // lines before the total rule: TOTAL goes to a new page; with 51 (58) the
  // totals stay on the page.
  struct Case {
    int receipts;
    int pages;          // page lines for the property
    bool total_moved;   // TOTAL after a new heading
  } cases[] = {{54, 2, true}, {55, 2, false}, {53, 2, true}, {52, 2, true}, {51, 1, false}};
  int code = 1;
  for (const Case& c : cases) {
    suite_.AddProperty(code, "Finca " + std::to_string(code));
    suite_.AddOwner(code, 1, "Owner", "1r");
    for (int i = 0; i < c.receipts; ++i) {
      const std::string day = ZeroPad(1 + i % 28, 2), month = ZeroPad(1 + i / 28, 2);
      suite_.AddReceipt({code, 1, ("2024" + month + day).c_str(), i % 100, "", 100, 'C'});
    }
    ++code;
  }
  int index = 0;
  for (const Case& c : cases) {
    ++index;
    SCOPED_TRACE(c.receipts);
    ResetPrintFile();
    ForgetRecordFiles();
    const std::string text = std::to_string(index);
    const auto lines = Run(Range("01/01/2024", "31/12/2024", text.c_str(), text.c_str()));
    const auto pages = Matching(lines, "P\xB7GINA", /*with_pages=*/true);
    ASSERT_EQ(pages.size(), static_cast<size_t>(2 * c.pages));
    EXPECT_EQ(pages.back(), " 85 ,P\xB7GINA    " + std::to_string(c.pages) + ", 2 ");
    // What stands just before TOTAL: the rule of the heading, or the total rule.
    size_t total = 0;
    while (total < lines.size() && lines[total] != " 74 ,TOTAL, 0 ") ++total;
    ASSERT_LT(total, lines.size());
    EXPECT_EQ(lines[total - 1] == " 1 ," + std::string(135, '-') + ", 1 ", c.total_moved);
    // The total rule is always written before any new heading.
    size_t rule = 0;
    while (rule < lines.size() && lines[rule] != " 107 ," + std::string(29, '-') + ", 1 ") ++rule;
    EXPECT_LT(rule, total);
  }
}

TEST_F(ReceiptReportTest, StatesBoundsAndCodes) {
  suite_.AddProperty(5, "Casa Gran");
  suite_.AddProperty(6, "No receipts in range");
  suite_.AddProperty(7, "Other");
  suite_.AddOwner(5, 1234, "Owner A", "Baixos");
  suite_.AddOwner(6, 1, "Owner B", "1r");
  suite_.AddOwner(7, 1, "Owner C", "1r");
  // Issued on both bounds and just outside them.
  suite_.AddReceipt({5, 1234, "20231231", 1, "", 1, 'C'});
  suite_.AddReceipt({5, 1234, "20240101", 2, "20240110", 1000, 'C'});
  suite_.AddReceipt({5, 1234, "20240102", 3, "20240110", 2000, 'I'});
  suite_.AddReceipt({5, 1234, "20240103", 4, "", 4000, 'P'});
  suite_.AddReceipt({5, 1234, "20240104", 5, "", 8000, 'D'});
  suite_.AddReceipt({5, 1234, "20240105", 6, "", 16000, ' '});
  suite_.AddReceipt({5, 1234, "20240630", 7, "", 32000, 'X'});
  suite_.AddReceipt({5, 1234, "20240701", 8, "", 64000, 'C'});
  suite_.AddReceipt({6, 1, "20250101", 1, "", 5, 'C'});
  suite_.AddReceipt({7, 1, "20240201", 1, "", 5, 'C'});
  const auto lines = Run(Range("1/1/24", "30/06/2024", "5", "6"));
  // Receipt numbers keep the owner's last three digits; both bounds listed.
  const auto numbers = Matching(lines, "005", /*with_pages=*/true);
  const std::vector<std::string> expected_numbers = {
      "PAGE 66 ", " 1 ,005234H02, 0 ", " 1 ,005234H03, 0 ", " 1 ,005234H04, 0 ",
      " 1 ,005234H05, 0 ", " 1 ,005234H06, 0 ", " 1 ,005234H07, 0 "};
  EXPECT_EQ(numbers, expected_numbers);
  // Column by the letters P and D; total by C and I.
  std::vector<std::string> columns;
  for (const std::string& line : lines) {
    if (line.find("'00, 1 ") != std::string::npos || line.find("'00, 0 ") != std::string::npos) {
      columns.push_back(line);
    }
  }
  const std::vector<std::string> expected_columns = {
      " 107 ,     10'00, 1 ",  " 107 ,     20'00, 1 ", " 126 ,     40'00, 1 ",
      " 126 ,     80'00, 1 ",  " 107 ,    160'00, 1 ", " 107 ,    320'00, 1 ",
      " 107 ,     30'00, 0 ",  // collected: C and I
      " 126 ,    600'00, 1 ",  // pending: P, D, blank and X
  };
  EXPECT_EQ(columns, expected_columns);
  // Property 6 has no receipt in the range: no heading for it; 7 is out.
  EXPECT_TRUE(Matching(lines, "CORRESPONENTS A LA FINCA 006").empty());
  EXPECT_TRUE(Matching(lines, "CORRESPONENTS A LA FINCA 007").empty());
}

TEST_F(ReceiptReportTest, NothingInRangeLeavesTheDestinationOnly) {
  suite_.AddProperty(1, "A");
  suite_.AddOwner(1, 1, "O", "1");
  suite_.AddReceipt({1, 1, "20240101", 1, "", 1, 'C'});
  suite_.dir.Write("work/VarnTerm.ini", "[Sistema]\r\nData=20241231\r\nSortida=PDF\r\n");
  EXPECT_EQ(Run(Range("1/1/2025", "31/1/2025", "1", "999")), std::vector<std::string>{"DEVICEPDF"});
}

TEST_F(ReceiptReportTest, LanguagesAndConventions) {
  suite_.AddProperty(1, "Finca");
  suite_.AddOwner(1, 1, "O", "1");
  suite_.AddReceipt({1, 1, "20240403", 1, "", 123456, 'P'});
  struct Case {
    const char* language;
    const char* varn;
    const char* page;
    const char* date;
    const char* amount;
  } cases[] = {
      {"CAT", "", "P\xB7GINA    1", "3/4/2024  ", "  1.234'56"},
      {"SPA", "", "P\xB5GINA    1", "3/4/2024  ", "  1.234'56"},
      {"GLG", "", "P\xB5XINA    1", "3/4/2024  ", "  1.234'56"},
      {"OCI", "", "P\xB7GINA    1", "3/4/2024  ", "  1.234'56"},
      {"SPA", "DecCaracter=,\r\nMilCaracter=.\r\nDatCaracter=-\r\nDatOrdre=AMD\r\n", "P\xB5GINA    1",
       "2024-4-3  ", "  1.234,56"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    ResetPrintFile();
    ResetTranslations();
    ResetDateSettings();
    ResetNumberMaskSettings();
    ForgetRecordFiles();
    suite_.SetVarn(std::string("[Usuari]\r\n") + c.varn);
    suite_.dir.Write("work/VarnTerm.ini",
                     std::string("[Sistema]\r\nData=20241231\r\nIdioma=") + c.language + "\r\n");
    const auto lines = Run(Range("01/01/2024", "31/12/2024", "1", "9"));
    EXPECT_EQ(lines[3], " 1 ,, 0 ");  // no organisation in Varn.ini
    EXPECT_EQ(lines[5], std::string(" 85 ,") + c.page + ", 2 ");
    EXPECT_EQ(Matching(lines, c.date).size(), 1u);    // the issue date
    EXPECT_EQ(Matching(lines, c.amount).size(), 2u);  // the line and the pending total
  }
}

TEST_F(ReceiptReportTest, RefusedInputsWriteNothing) {
  suite_.AddProperty(1, "A");
  struct Case {
    BatchOptions options;
    int exit;
  } cases[] = {
      {Range("31/04/2024", "30/06/2024", "1", "9"), 2},
      {Range("01/01/2024", "30/06/2024", "1a", "9"), 2},
      {Range("01/01/2024", "30/06/2024", "-1", "9"), 2},
      {Range("01/01/2024", "30/06/2024", "12345", "9"), 2},     // longer than the field
      {Range("01/01/2024 ", "30/06/2024", "1", "9"), 2},        // 11 characters
      {Range("31/12/2024", "01/01/2024", "1", "9"), 2},         // reversed dates
      {Range("01/01/2024", "31/12/2024", "010", "005"), 2},     // reversed codes
  };
  for (const Case& c : cases) {
    std::filesystem::remove(suite_.Root() + "work/qavprint.tmp");
    ResetPrintFile();
    ForgetRecordFiles();
    BatchOptions o = c.options;
    o.print = false;
    EXPECT_EQ(RunBatchReport(o), c.exit);
    EXPECT_FALSE(std::filesystem::exists(suite_.Root() + "work/qavprint.tmp"));
  }
  // Left out: the initial values (working date twice, 1 to 999); a blank
  // date: the working date.
  ResetPrintFile();
  ForgetRecordFiles();
  BatchOptions blank;
  blank.date_from = "";
  blank.print = false;
  EXPECT_EQ(RunBatchReport(blank), 0);
  EXPECT_EQ(Selection().SelDateFrom, PackDigits("20241231"));
  EXPECT_EQ(Selection().SelDateTo, PackDigits("20241231"));
  EXPECT_EQ(Selection().SelCodeFrom, PackDigits("0001"));
  EXPECT_EQ(Selection().SelCodeTo, PackDigits("0999"));
}

}  // namespace
}  // namespace qav
