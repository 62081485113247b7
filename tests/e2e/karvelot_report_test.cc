// The receipt report from the command line, as an installation runs it: a
// suite laid out in a temporary folder, its record files filled by qavdata
// from CSV files, `karvelot --report` over them, and the print file compared
// byte for byte with the expected one in testdata/.
//
// QAV_WRITE_EXPECTED=1 writes the print files made into testdata/ instead of
// comparing them, for a change of layout; read every changed line before
// keeping one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::ProgramResult;
using testing::RunProgram;
using testing::TempDir;

const std::filesystem::path kTestData = std::filesystem::path(__FILE__).parent_path() / "testdata";
const std::filesystem::path kSource = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A suite as `make demo` lays it out: root (forms, texts, data definitions,
// Varn.ini), work folder (VarnTerm.ini) and programs folder.
class ReportSuite {
 public:
  ReportSuite() {
    namespace fs = std::filesystem;
    fs::create_directories(root() + "ddf");
    fs::copy(kSource / "suite/FORMS", root() + "FORMS");
    fs::copy(kSource / "suite/LOCALE", root() + "LOCALE");
    for (const char* base : {"FinquesH", "PropietH", "CobramH"}) {
      fs::copy_file(testing::BinFolder() + "../suite/ddf/" + base + ".xdf",
                    root() + "ddf/" + base + ".xdf");
    }
    fs::create_directories(dir_.path() + "bin");
    SetVarn("Empresa=Finques Montseny, SL\r\n");
    SetTerminal("Idioma=CAT\r\n");
  }

  std::string root() const { return dir_.path() + "root/"; }
  std::string work() const { return dir_.path() + "work/"; }
  std::string Env() const {
    return "QAVROOT=" + root() + " QAVTMP=" + work() + " QAVEXE=" + dir_.path() + "bin/";
  }

  // The [Usuari] section of Varn.ini; the [Sistema] section of VarnTerm.ini
  // after the working date 31/12/2024.
  void SetVarn(const std::string& keys) { dir_.Write("root/Varn.ini", "[Usuari]\r\n" + keys); }
  void SetTerminal(const std::string& keys) {
    dir_.Write("work/VarnTerm.ini", "[Sistema]\r\nData=20241231\r\n" + keys);
  }

  // Imports the three CSV files of `folder` (properties, owners, receipts).
  void Import(const std::string& folder) {
    for (const char* table : {"properties", "owners", "receipts"}) {
      const ProgramResult run =
          RunProgram(std::string("qavdata import ") + table + " " + folder + "/" + table + ".csv", Env());
      ASSERT_EQ(run.exit_code, 0) << run.err;
    }
  }

  ProgramResult Report(const std::string& options) {
    std::filesystem::remove(work() + "qavprint.tmp");
    return RunProgram("karvelot --report " + options, Env());
  }
  std::string PrintFile() const { return ReadFile(work() + "qavprint.tmp"); }

  // Runs the report and compares the print file with testdata/`expected`.
  void ExpectReport(const std::string& options, const std::string& expected) {
    SCOPED_TRACE(expected);
    const ProgramResult run = Report(options + " --no-print");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const std::filesystem::path path = kTestData / expected;
    if (std::getenv("QAV_WRITE_EXPECTED") != nullptr) {
      std::ofstream(path, std::ios::binary) << PrintFile();
      return;
    }
    EXPECT_EQ(PrintFile(), ReadFile(path));
  }

  TempDir dir_;
};

const std::string kSmall = (kTestData / "small").string();

TEST(KarvelotReportTest, StatesBoundsAndCodesOfASmallAdministration) {
  ReportSuite suite;
  suite.Import(kSmall);
  // Properties 5 and 6 of 5, 6, 7 and 1234; receipts on both date bounds and
  // just outside them; states C, I, P, D, blank and X; uncollected receipts;
  // an owner numbered 1234. Property 6 has no receipt in the range.
  suite.ExpectReport("--from 1/1/24 --to 30/06/2024 --code-from 5 --code-to 6", "small_cat.tmp");
  // One property only, with a four-digit code and the largest amount.
  suite.ExpectReport("--from 01/01/2024 --to 31/12/2024 --code-from 1234 --code-to 1234",
                     "one_property.tmp");
  // Nothing in range: the destination line alone.
  suite.SetTerminal("Sortida=PDF\r\n");
  suite.ExpectReport("--from 1/2/2025 --to 28/2/2025", "nothing_in_range.tmp");
}

TEST(KarvelotReportTest, TheFourLanguagesAndTheirConventions) {
  ReportSuite suite;
  suite.Import(kSmall);
  struct Case {
    const char* language;
    const char* varn;
    const char* expected;
  } cases[] = {
      {"SPA", "DecCaracter=,\r\nMilCaracter=.\r\nDatCaracter=-\r\nDatOrdre=AMD\r\n", "small_spa.tmp"},
      {"GLG", "DecCaracter=.\r\nMilCaracter=,\r\nDatCaracter=.\r\nDatOrdre=MDA\r\n", "small_glg.tmp"},
      {"OCI", "", "small_oci.tmp"},
  };
  for (const Case& c : cases) {
    suite.SetVarn(c.varn);
    suite.SetTerminal(std::string("Idioma=") + c.language + "\r\n");
    suite.ExpectReport("--from 01/01/2024 --to 30/06/2024 --code-from 1 --code-to 9999", c.expected);
  }
}

// Property 1 with 55 receipts (page 2 for the 55th), property 2 with 52
// (the total rule ends page 1, TOTAL opens page 2), property 3 with 53.
TEST(KarvelotReportTest, PageBreaks) {
  ReportSuite suite;
  std::string properties = "code,name\n", owners = "property,owner,name,apartment\n",
              receipts = "property,owner,issued,sequence,collected,amount_cents,state\n";
  const int counts[] = {55, 52, 53};
  for (int p = 1; p <= 3; ++p) {
    properties += std::to_string(p) + ",Finca " + std::to_string(p) + "\n";
    owners += std::to_string(p) + ",1,Copropietari " + std::to_string(p) + ",1r\n";
    for (int i = 0; i < counts[p - 1]; ++i) {
      char line[96];
      std::snprintf(line, sizeof line, "%d,1,2024-%02d-%02d,%d,,%d,%c\n", p, 1 + i / 28,
                    1 + i % 28, i % 100, 100 + i, i % 2 ? 'P' : 'C');
      receipts += line;
    }
  }
  suite.dir_.Write("csv/properties.csv", properties);
  suite.dir_.Write("csv/owners.csv", owners);
  suite.dir_.Write("csv/receipts.csv", receipts);
  suite.Import(suite.dir_.path() + "csv");
  suite.ExpectReport("--from 01/01/2024 --to 31/12/2024", "page_breaks.tmp");
}

TEST(KarvelotReportTest, RefusedInputsAndMissingFiles) {
  ReportSuite suite;
  // Without data files: exit code 1 with the record-access layer's text.
  const ProgramResult no_data = suite.Report("--no-print");
  EXPECT_EQ(no_data.exit_code, 1);
  EXPECT_NE(no_data.err.find("FinquesH"), std::string::npos) << no_data.err;
  suite.Import(kSmall);
  struct Case {
    const char* options;
    const char* message;
  } cases[] = {
      {"--from 31/04/2024", "--from"},
      {"--code-from 1a", "--code-from"},
      {"--code-to 12345", "--code-to"},
      {"--to '01/01/2024 '", "--to"},
      {"--from 31/12/2024 --to 01/01/2024", "--from, --to"},
      {"--code-from 10 --code-to 5", "--code-from, --code-to"},
  };
  for (const Case& c : cases) {
    const ProgramResult run = suite.Report(std::string(c.options) + " --no-print");
    EXPECT_EQ(run.exit_code, 2) << c.options;
    EXPECT_EQ(run.err.rfind(std::string("karvelot: ") + c.message, 0), 0u) << c.options << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(suite.work() + "qavprint.tmp")) << c.options;
  }
}

// Without --no-print the report is handed to the print service of the
// programs folder, which writes it where VarnTerm.ini says.
TEST(KarvelotReportTest, PrintsThroughThePrintService) {
  ReportSuite suite;
  suite.Import(kSmall);
  std::filesystem::copy_file(testing::BinFolder() + "QAVPRINT", suite.dir_.path() + "bin/QAVPRINT");
  suite.SetTerminal("Sortida=TXT:" + suite.work() + "rebuts.txt\r\n");
  const ProgramResult run = suite.Report("--from 01/01/2024 --to 31/12/2024 --code-from 5 --code-to 5");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("rebuts.txt"), std::string::npos) << run.out;
  const std::string text = ReadFile(suite.work() + "rebuts.txt");
  EXPECT_NE(text.find("CORRESPONENTS A LA FINCA 005 - Casa Gran, Pl. Major 3"), std::string::npos)
      << text;
  EXPECT_NE(text.find("N\u00FAria Puig i Ferrer"), std::string::npos);
}

}  // namespace
}  // namespace qav
