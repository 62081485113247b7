#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::RunProgram;

std::string SampleReport() {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path().parent_path() / "qavprint" /
                       "testdata" / "receipts_short.tmp",
                   std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The sample report with another destination line.
std::string SampleReportTo(const std::string& destination) {
  std::string report = SampleReport();
  return "DEVICE" + destination + report.substr(report.find("\r\n"));
}

TEST(QavprintTest, CommandLine) {
  struct Case {
    const char* arguments;
    int exit_code;
    const char* out;  // expected in standard output
    const char* err;  // expected in standard error
  };
  const Case cases[] = {
      {"--help", 0, "Usage: QAVPRINT [FILE [--to DESTINATION]]", ""},
      {"--version", 0, "QAVPRINT ", ""},
      {"--bogus", 2, "", "QAVPRINT: unknown option '--bogus'"},
      {"a.tmp --to", 2, "", "QAVPRINT: --to needs a destination"},
      {"--to PDF", 2, "", "QAVPRINT: --to goes with a print file"},
      {"a.tmp b.tmp", 2, "", "QAVPRINT: only one print file can be given"},
      {"/nonexistent/qavprint.tmp", 1, "",
       "QAVPRINT: the print file /nonexistent/qavprint.tmp does not exist"},
  };
  for (const Case& c : cases) {
    const auto run = RunProgram(std::string("QAVPRINT ") + c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << c.arguments << "\n" << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.arguments << "\n" << run.err;
  }
}

TEST(QavprintTest, AFileGivenOnTheCommandLine) {
  testing::TempDir dir;
  const std::string file = dir.Write("listings/rebuts.tmp", SampleReport());
  auto text = RunProgram("QAVPRINT " + file + " --to TXT:" + dir.path() + "r.txt");
  EXPECT_EQ(text.exit_code, 0) << text.err;
  EXPECT_EQ(text.out, "QAVPRINT: text written to " + dir.path() + "r.txt (2 pages)\n");
  EXPECT_NE(dir.Read("r.txt").find("RELACI\u00D3 DE REBUTS"), std::string::npos);

  // Without a path of its own the PDF goes next to the print file.
  auto pdf = RunProgram("QAVPRINT " + file + " --to pdf");
  EXPECT_EQ(pdf.exit_code, 0) << pdf.err;
  EXPECT_EQ(pdf.out, "QAVPRINT: PDF written to " + dir.path() + "listings/qavprint.pdf (2 pages)\n");
  EXPECT_EQ(dir.Read("listings/qavprint.pdf").substr(0, 5), "%PDF-");
}

// Started as the suite starts it: no arguments, the environment naming the
// folders, no terminal (a new session), input not a terminal.
class SuiteRunTest : public ::testing::Test {
 protected:
  testing::ProgramResult RunInSuite(const std::string& extra_env = "") {
    return RunProgram("QAVPRINT", "QAVROOT=" + dir_.path() + "root/ QAVTMP=work/ QAVEXE=" +
                                      dir_.path() + "bin/ exec setsid -w env " + extra_env);
  }
  std::string Work() const { return dir_.path() + "root/work/"; }
  testing::TempDir dir_;
};

TEST_F(SuiteRunTest, FindsTheWorkFolderAsTheReportDoes) {
  // QAVTMP relative to the root: the print service looks where the report wrote.
  dir_.Write("root/work/qavprint.tmp", SampleReportTo("PDF"));
  const auto run = RunInSuite();
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "QAVPRINT: PDF written to work/qavprint.pdf (2 pages)\n");
  EXPECT_EQ(dir_.Read("root/work/qavprint.pdf").substr(0, 5), "%PDF-");
}

TEST_F(SuiteRunTest, DestinationsWithoutTheirDevice) {
  // The preview without a terminal, and printers the system cannot reach:
  // not rendered, but the text is kept in the work folder.
  const std::string lp_refuses = dir_.Write("lp/lp", "#!/bin/sh\necho 'lp: no such queue' >&2\nexit 1\n");
  chmod(lp_refuses.c_str(), 0755);
  struct Case {
    const char* destination;
    std::string env;
    const char* err;
  };
  const Case cases[] = {
      {"", "", "QAVPRINT: no terminal for the preview ("},
      {"PANTALLA", "", "the text rendering is in work/qavprint.txt"},
      {"LPT1", "PATH=" + dir_.path() + "lp:/usr/bin:/bin",
       "QAVPRINT: not printed on the default printer queue: the print spooler refused the print: "
       "lp: no such queue; the text rendering is kept in work/qavprint.txt"},
      {"Oficina", "PATH=" + dir_.path() + "nothing",
       "QAVPRINT: not printed on the printer queue Oficina: this system has no print spooler"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(Work() + "qavprint.txt");
    dir_.Write("root/work/qavprint.tmp", SampleReportTo(c.destination));
    const auto run = RunInSuite(c.env);
    EXPECT_EQ(run.exit_code, 1) << c.destination;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.destination << "\n" << run.err;
    EXPECT_NE(dir_.Read("root/work/qavprint.txt").find("001001H01"), std::string::npos)
        << c.destination;
  }
}

TEST_F(SuiteRunTest, DamagedPrintFiles) {
  struct Case {
    const char* name;
    std::string bytes;
    int exit_code;
    const char* err;
  };
  const Case cases[] = {
      {"empty", "", 1, "warning: work/qavprint.tmp: the print file is empty"},
      {"no destination line", "PAGE 66 \r\n 1 ,A, 1 \r\n", 1, "line 1: no destination line"},
      {"damaged but printable", "DEVICETXT:work/out.txt\r\nPAGE 66 \r\n 1 ,A, 9 , 1 \r\nJUNK\r\n", 0,
       "warning: work/qavprint.tmp: line 4: not a print file line; left out: \"JUNK\""},
  };
  for (const Case& c : cases) {
    dir_.Write("root/work/qavprint.tmp", c.bytes);
    const auto run = RunInSuite();
    EXPECT_EQ(run.exit_code, c.exit_code) << c.name << "\n" << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.name << "\n" << run.err;
  }
  EXPECT_EQ(dir_.Read("root/work/out.txt"), "A, 9\n");
}

TEST_F(SuiteRunTest, NoPrintFile) {
  const auto run = RunInSuite();
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "QAVPRINT: the print file work/qavprint.tmp does not exist\n");
}

}  // namespace
}  // namespace qav
