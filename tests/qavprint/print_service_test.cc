#include "qavprint/print_service.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "print_fixtures.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  return all;
}

class DeliverPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReadPrintFile(testing::TestDataPath("receipts_short.tmp"), &document_).ok());
  }
  // A stand-in for lp that keeps a copy of what it was given.
  void InstallLp(const std::string& body) {
    const std::string lp = dir_.Write("bin/lp", "#!/bin/sh\n" + body);
    chmod(lp.c_str(), 0755);
  }

  testing::TempDir dir_;
  testing::ScopedEnv path_{"PATH", (dir_.path() + "bin:/usr/bin:/bin").c_str()};
  PrintDocument document_;
};

TEST_F(DeliverPrintTest, FilesWithAndWithoutAPathOfTheirOwn) {
  const Delivery text = DeliverPrint(document_, {Destination::kText, ""}, dir_.path());
  ASSERT_TRUE(text.status.ok()) << text.status.message();
  EXPECT_EQ(text.report, "text written to " + dir_.path() + "qavprint.txt (2 pages)");
  EXPECT_EQ(Joined(text.notice), "Llistat desat en text (2 p\x85gines) a:\n" + dir_.path() + "qavprint.txt\n");
  EXPECT_EQ(dir_.Read("qavprint.txt"), testing::ReadTestData("receipts_short.txt"));

  const Delivery pdf = DeliverPrint(document_, {Destination::kPdf, dir_.path() + "r.pdf"}, "/unused/");
  ASSERT_TRUE(pdf.status.ok()) << pdf.status.message();
  EXPECT_EQ(pdf.report, "PDF written to " + dir_.path() + "r.pdf (2 pages)");
  EXPECT_EQ(dir_.Read("r.pdf").substr(0, 5), "%PDF-");

  const Delivery failed = DeliverPrint(document_, {Destination::kPdf, ""}, dir_.path() + "none/");
  EXPECT_EQ(failed.status.code(), PrintStatus::kIoError);
  EXPECT_EQ(failed.report, "cannot create the PDF file " + dir_.path() + "none/qavprint.pdf");
  EXPECT_EQ(failed.notice.at(0), "No s'ha pogut desar el llistat:");
}

TEST_F(DeliverPrintTest, APrinterGetsThePdf) {
  InstallLp("cp \"$3\" '" + dir_.path() + "spooled.pdf' && echo \"$3\" > '" + dir_.path() +
            "spooled.name'\necho 'request id is Oficina-3 (1 file(s))'\n");
  const Delivery d = DeliverPrint(document_, {Destination::kPrinter, ""}, dir_.path());
  ASSERT_TRUE(d.status.ok()) << d.status.message();
  EXPECT_EQ(d.report,
            "2 pages sent to the default printer queue (request id is Oficina-3 (1 file(s)))");
  EXPECT_EQ(Joined(d.notice), "Llistat enviat a la impressora predeterminada (2 p\x85gines).\n");
  EXPECT_EQ(dir_.Read("spooled.pdf").substr(0, 5), "%PDF-");
  // The spooler has its own copy; the temporary file is gone.
  std::string spooled = dir_.Read("spooled.name");
  spooled.pop_back();
  EXPECT_FALSE(std::filesystem::exists(spooled)) << spooled;
  EXPECT_FALSE(std::filesystem::exists(dir_.path() + "qavprint.txt"));
}

TEST_F(DeliverPrintTest, WithoutAPrinterTheTextIsKept) {
  struct Case {
    const char* name;
    std::string lp;  // empty: no lp at all
    PrintStatus::Code code;
    std::string said;
  };
  const Case cases[] = {
      {"queue refused", "echo 'lp: Error - The printer or class does not exist.' >&2; exit 1\n",
       PrintStatus::kPrinterFailed,
       "the print spooler refused the print: lp: Error - The printer or class does not exist."},
      {"no spooler", "", PrintStatus::kNoSpooler,
       "this system has no print spooler (the command lp is missing)"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(dir_.path() + "bin");
    std::filesystem::remove(dir_.path() + "qavprint.txt");
    if (!c.lp.empty()) InstallLp(c.lp);
    testing::ScopedEnv path("PATH", (dir_.path() + "bin").c_str());
    const Delivery d = DeliverPrint(document_, {Destination::kPrinter, "Oficina"}, dir_.path());
    EXPECT_EQ(d.status.code(), c.code) << c.name;
    EXPECT_EQ(d.report, "not printed on the printer queue Oficina: " + c.said +
                            "; the text rendering is kept in " + dir_.path() + "qavprint.txt")
        << c.name;
    EXPECT_EQ(Joined(d.notice), "No s'ha pogut imprimir el llistat a la impressora Oficina:\n  " +
                                    c.said + "\nEl text del llistat s'ha desat a " + dir_.path() +
                                    "qavprint.txt.\n")
        << c.name;
    EXPECT_EQ(dir_.Read("qavprint.txt"), testing::ReadTestData("receipts_short.txt")) << c.name;
  }
}

TEST(PrintServiceTest, FolderOfAPrintFile) {
  EXPECT_EQ(FolderOf("/w/qavprint.tmp"), "/w/");
  EXPECT_EQ(FolderOf("C:\\QAV\\TMP\\qavprint.tmp"), "C:\\QAV\\TMP\\");
  EXPECT_EQ(FolderOf("qavprint.tmp"), "");
}

}  // namespace
}  // namespace qav
