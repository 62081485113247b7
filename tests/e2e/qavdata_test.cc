#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::RunProgram;
using testing::TempDir;

TEST(QavdataTest, HelpAndCommandLineErrors) {
  auto help = RunProgram("qavdata --help");
  EXPECT_EQ(help.exit_code, 0);
  for (const char* word : {"Usage: qavdata", "import TABLE FILE.csv", "export TABLE", "generate",
                           "stat FILE", "check FILE", "ddf DIR", "--root DIR", "QAVROOT"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
  struct Case {
    const char* arguments;
    const char* message;
  } cases[] = {
      {"", "qavdata: no command given"},
      {"frob", "qavdata: unknown command 'frob'"},
      {"--bogus", "qavdata: unknown option '--bogus'"},
      {"export owners --bogus", "qavdata: unknown option '--bogus'"},
      {"import owners", "qavdata: import needs a table and a CSV file"},
      {"export tenants", "qavdata: unknown table 'tenants'"},
      {"stat", "qavdata: stat needs a file"},
      {"generate --seed x /tmp/x", "qavdata: option --seed needs a whole number"},
      {"generate --colour 1 /tmp/x", "qavdata: unknown option '--colour'"},
      {"generate --properties 10000 /tmp/x", "qavdata: --properties must be from 0 to 9999"},
      {"generate --start 2023-13 /tmp/x", "qavdata: --start must be a month YYYY-MM"},
      {"generate --seed 1", "qavdata: generate needs a folder"},
      {"export owners --root", "qavdata: --root needs a folder"},
  };
  for (const Case& c : cases) {
    auto run = RunProgram(std::string("qavdata ") + c.arguments);
    EXPECT_EQ(run.exit_code, 2) << c.arguments;
    EXPECT_EQ(run.err.rfind(std::string(c.message) + "\n", 0), 0u)
        << c.arguments << ": " << run.err;
    EXPECT_EQ(run.out, "");
  }
  auto no_root = RunProgram("qavdata export owners", "QAVROOT=");
  EXPECT_EQ(no_root.exit_code, 1);
  EXPECT_EQ(no_root.err, "qavdata: no suite root: give --root DIR or set QAVROOT\n");
}

TEST(QavdataTest, GenerateImportExportAndCheck) {
  TempDir dir;
  const std::string root = dir.path() + "suite/";
  dir.Write("suite/Varn.ini", "");
  ASSERT_EQ(RunProgram("qavdata generate --seed 5 --properties 4 --owners 6 --receipts 12 " +
                       dir.path() + "csv")
                .exit_code,
            0);
  const std::string env = "QAVROOT=" + root;
  for (const char* table : {"properties", "owners", "receipts"}) {
    const std::string csv = dir.path() + "csv/" + table + ".csv";
    auto import = RunProgram(std::string("qavdata import ") + table + " " + csv, env);
    EXPECT_EQ(import.exit_code, 0) << import.err;
    EXPECT_EQ(import.err, "");
    // Export gives back the generated file, byte for byte; --root finds the same files.
    auto exported = RunProgram(std::string("qavdata --root ") + root + " export " + table);
    EXPECT_EQ(exported.exit_code, 0) << exported.err;
    EXPECT_EQ(exported.out, dir.Read(std::string("csv/") + table + ".csv")) << table;
  }
  auto check = RunProgram("qavdata check receipts", env);
  EXPECT_EQ(check.exit_code, 0);
  EXPECT_EQ(check.out, root + "DADES/CobramH.dat: OK, 288 records, 1 key\n");
  auto by_path = RunProgram("qavdata check " + root + "DADES/FinquesH");
  EXPECT_EQ(by_path.out, root + "DADES/FinquesH.dat: OK, 4 records, 2 keys\n");
  auto stat = RunProgram("qavdata stat PropietH", env);
  EXPECT_EQ(stat.exit_code, 0);
  EXPECT_EQ(stat.out, "file      " + root +
                          "DADES/PropietH.dat\nrecords   24\nrecord    64 bytes\n"
                          "page      1024 bytes\nkey 0     4 bytes, unique\n"
                          "          segment at 1, 4 bytes\n");
  auto missing = RunProgram("qavdata stat " + dir.path() + "nothing.dat");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "qavdata: no record file " + dir.path() + "nothing.dat\n");
}

TEST(QavdataTest, ABadRowImportsNothing) {
  TempDir dir;
  const std::string root = dir.path() + "suite";
  dir.Write("suite/Varn.ini", "");
  const std::string csv = dir.Write(
      "owners.csv",
      "property,owner,name,apartment\r\n1,1,Anna Vila,1r 1a\r\n1,2,Pere Soler,1r 2a,x\r\n");
  auto run = RunProgram("qavdata --root " + root + " import owners " + csv);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, csv + ":3: expected 4 columns (property,owner,name,apartment), found 5\n" +
                         "qavdata: nothing imported into " + root + "/DADES/PropietH.dat\n");
  auto exported = RunProgram("qavdata --root " + root + " export owners");
  EXPECT_EQ(exported.out, "property,owner,name,apartment\n");
}

TEST(QavdataTest, ReceiptsOfUnknownOwnersAreStoredWithAWarning) {
  TempDir dir;
  const std::string root = dir.path() + "suite";
  dir.Write("suite/Varn.ini", "");
  const std::string owners =
      dir.Write("o.csv", "property,owner,name,apartment\n1,1,Anna Vila,1r 1a\n");
  const std::string receipts =
      dir.Write("r.csv",
                "property,owner,issued,sequence,collected,amount_cents,state\n"
                "1,1,2024-01-01,1,,100,P\n1,2,2024-01-01,1,,100,P\n1,3,2024-01-01,1,,100,P\n");
  ASSERT_EQ(RunProgram("qavdata --root " + root + " import owners " + owners).exit_code, 0);
  auto run = RunProgram("qavdata --root " + root + " import receipts " + receipts);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, receipts + ": 3 receipts added to " + root + "/DADES/CobramH.dat\n");
  EXPECT_EQ(run.err,
            "qavdata: warning: 2 receipts belong to no co-owner in PropietH (the first on " +
                receipts + ":3); the report does not list them\n");
}

TEST(QavdataTest, WritesTheDataDefinitions) {
  TempDir dir;
  auto run = RunProgram("qavdata ddf " + dir.path() + "ddf");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  for (const char* file : {"ddf/FinquesH.xdf", "ddf/PropietH.xdf", "ddf/CobramH.xdf"}) {
    EXPECT_GT(dir.Read(file).size(), 18u) << file;
  }
  // A suite with these definitions creates its files from them.
  const std::string root = dir.path();
  auto exported = RunProgram("qavdata --root " + root + " export properties");
  EXPECT_EQ(exported.out, "code,name\n");
  auto stat = RunProgram("qavdata --root " + root + " stat FinquesH");
  EXPECT_NE(stat.out.find("alternate collation MAJUSC"), std::string::npos) << stat.out;
}

}  // namespace
}  // namespace qav
