#include "datatool/csv_export.h"

#include <gtest/gtest.h>

#include "data/suite_records.h"
#include "datatool_test_util.h"
#include "platform/suite_path.h"

namespace qav {
namespace {

using testing::TestSuite;

TEST(CsvExportTest, AnEmptyFileGivesTheHeader) {
  TestSuite suite;
  struct Case {
    Table table;
    const char* csv;
  } cases[] = {
      {Table::kProperties, "code,name\n"},
      {Table::kOwners, "property,owner,name,apartment\n"},
      {Table::kReceipts, "property,owner,issued,sequence,collected,amount_cents,state\n"},
  };
  for (const Case& c : cases) {
    ToolStatus status;
    EXPECT_EQ(suite.Export(c.table, nullptr, &status), c.csv);
    EXPECT_TRUE(status.ok());
  }
}

TEST(CsvExportTest, DamagedRecordsAreLeftOutAndTold) {
  TestSuite suite;
  {
    DataFile file;
    ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kProperties, true, &file).ok());
    std::string reserved = EncodeProperty({"\x80\x83", "Kept elsewhere"});
    reserved[40] = 'X';  // data of another program, which the CSV cannot carry
    size_t failed = 0;
    ASSERT_EQ(file.InsertAll({EncodeProperty({"\x80\x81", "Edifici Sant Jordi"}),
                              EncodeProperty({"\x80\x02", "Bad code"}), reserved},
                             &failed),
              0);
  }
  std::vector<std::string> problems;
  ToolStatus status;
  EXPECT_EQ(suite.Export(Table::kProperties, &problems, &status),
            "code,name\n1,Edifici Sant Jordi\n");
  const std::string path = HostPath(RecordFilePath(suite.root(), Table::kProperties));
  EXPECT_EQ(
      problems,
      (std::vector<std::string>{
          path + ": record at position 2 (property 2) left out: property code is not packed digits",
          path + ": record at position 3 (property 3) left out: bytes outside the "
                 "exported columns are not blanks"}));
  EXPECT_EQ(status.message(), path + ": 2 damaged record(s) left out of the export");
}

TEST(CsvExportTest, AFailedWriteIsAFailure) {
  TestSuite suite;
  DataFile file;
  ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kProperties, true, &file).ok());
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  const ToolStatus status = ExportCsv(Table::kProperties, &file, full, [](const std::string&) {});
  std::fclose(full);
  EXPECT_EQ(status.message(), "cannot write the CSV: output failed");
}

}  // namespace
}  // namespace qav
