#include "datatool/suite_root.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "data/suite_records.h"
#include "datatool_test_util.h"

namespace qav {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

TEST(SuiteRootTest, TheRootFromTheOptionOrQavroot) {
  struct Case {
    const char* option;
    const char* qavroot;  // null: unset
    std::string root;     // empty: an error
  } cases[] = {
      {"/srv/suite", "/other/", "/srv/suite/"},
      {"/srv/suite/", nullptr, "/srv/suite/"},
      {"/srv/Caf\xC3\xA8", nullptr, "/srv/Caf\x8A/"},  // code page 850 on the suite's side
      {"", "C:\\ROOT\\", "C:\\ROOT\\"},                // QAVROOT as given
      {"", "/srv/suite", "/srv/suite"},
      {"", nullptr, ""},
      {"", "", ""},
      {"/srv/a\\b", nullptr, ""},
      {"/srv/\xE2\x82\xAC", nullptr, ""},
  };
  for (const Case& c : cases) {
    ScopedEnv env("QAVROOT", c.qavroot);
    std::string root;
    const ToolStatus status = ResolveRoot(c.option, &root);
    EXPECT_EQ(status.ok(), !c.root.empty()) << c.option << " " << status.message();
    if (status.ok()) {
      EXPECT_EQ(root, c.root);
    }
  }
  ScopedEnv env("QAVROOT", nullptr);
  std::string root;
  EXPECT_EQ(ResolveRoot("", &root).message(), "no suite root: give --root DIR or set QAVROOT");
  EXPECT_EQ(RecordFilePath("C:\\ROOT\\", Table::kReceipts), "C:\\ROOT\\DADES\\CobramH.dat");
}

TEST(SuiteRootTest, MissingFilesAreCreatedFromTheirDefinitions) {
  TempDir dir;
  const std::string root = dir.path() + "root/";
  std::filesystem::create_directories(root);
  // A definition file with longer records for the properties; the others
  // come from the built-in definitions.
  FileDefinition longer = PropertyFileDefinition();
  longer.record_length = 120;
  dir.Write("root/ddf/FinquesH.xdf", DataDefinitionFile(longer));
  struct Case {
    Table table;
    int record_length;
    size_t keys;
  } cases[] = {{Table::kProperties, 120, 2}, {Table::kOwners, 64, 1}, {Table::kReceipts, 32, 1}};
  for (const Case& c : cases) {
    DataFile file;
    EXPECT_FALSE(OpenSuiteFile(root, c.table, /*create=*/false, &file).ok());
    ASSERT_TRUE(OpenSuiteFile(root, c.table, /*create=*/true, &file).ok());
    EXPECT_EQ(file.definition().record_length, c.record_length);
    EXPECT_EQ(file.definition().keys.size(), c.keys);
    EXPECT_EQ(file.host_path(), root + "DADES/" + InfoOf(c.table).file_base + ".dat");
  }
  // The files take rows; the longer records are blank-filled.
  testing::TestSuite suite;
  DataFile file;
  ASSERT_TRUE(OpenSuiteFile(root, Table::kProperties, false, &file).ok());
  ImportSummary summary;
  ASSERT_TRUE(ImportCsv(Table::kProperties, suite.Csv("p.csv", "code,name\n7,A\n"), &file,
                        ImportOptions(), &summary)
                  .ok());
  std::string record;
  ASSERT_EQ(file.ReadFirst(0, &record), 0);
  EXPECT_EQ(record.size(), 120u);
  EXPECT_EQ(record.substr(36), std::string(84, ' '));
}

TEST(SuiteRootTest, AnExistingDadesFolderInOtherCaseIsUsed) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() + "root/dades");
  DataFile file;
  ASSERT_TRUE(OpenSuiteFile(dir.path() + "root/", Table::kOwners, true, &file).ok());
  EXPECT_EQ(file.host_path(), dir.path() + "root/dades/PropietH.dat");
}

TEST(SuiteRootTest, FailuresToCreateAreTold) {
  TempDir dir;
  DataFile file;
  // The root itself is missing: it is not made.
  ToolStatus status = OpenSuiteFile(dir.path() + "missing/", Table::kOwners, true, &file);
  EXPECT_EQ(status.message(), "the suite root " + dir.path() + "missing/ is not a folder");
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "missing"));
  // DADES is a file.
  dir.Write("root/DADES", "x");
  status = OpenSuiteFile(dir.path() + "root/", Table::kOwners, true, &file);
  EXPECT_EQ(status.message(), dir.path() + "root/DADES is not a folder");
  // A data definition cut short.
  dir.Write("root2/ddf/PropietH.xdf", std::string("\x40\x00\x01", 3));
  status = OpenSuiteFile(dir.path() + "root2/", Table::kOwners, true, &file);
  EXPECT_EQ(status.message(),
            "the data definition " + dir.path() + "root2/ddf/PropietH.xdf is cut short or empty");
  // A data definition the record manager refuses.
  dir.Write("root3/ddf/PropietH.xdf", std::string("\x10\x00", 2) + std::string(16, '\0'));
  status = OpenSuiteFile(dir.path() + "root3/", Table::kOwners, true, &file);
  EXPECT_EQ(
      status.message().rfind("cannot create " + dir.path() + "root3/DADES/PropietH.dat from " +
                                 dir.path() + "root3/ddf/PropietH.xdf: ",
                             0),
      0u)
      << status.message();
}

}  // namespace
}  // namespace qav
