#include "datatool/file_check.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "data/suite_records.h"
#include "datatool_test_util.h"
#include "platform/suite_path.h"

namespace qav {
namespace {

using testing::TestSuite;

const char kProperties[] =
    "code,name\n1,Edifici Sant Jordi\n2,\"C. Major, 12\"\n3,Av. Diagonal 340\n";

// Changes the stored file behind the record manager's back, as damage would.
void Damage(const std::string& host_path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(host_path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
      << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

TEST(FileCheckTest, DescribesTheDefinition) {
  FileDefinition definition = PropertyFileDefinition();
  EXPECT_EQ(DescribeFile("/s/DADES/FinquesH.dat", definition, 6),
            "file      /s/DADES/FinquesH.dat\n"
            "records   6\n"
            "record    64 bytes\n"
            "page      1024 bytes\n"
            "key 0     2 bytes, unique\n"
            "          segment at 1, 2 bytes\n"
            "key 1     30 bytes, duplicates\n"
            "          segment at 7, 30 bytes, alternate collation MAJUSC\n");
  FileDefinition binary;
  binary.record_length = 10;
  binary.AddKey({{1, 4, kSegmentBinary}, {5, 2, 0}});
  EXPECT_EQ(DescribeFile("x", binary, 0),
            "file      x\nrecords   0\nrecord    10 bytes\npage      1024 bytes\n"
            "key 0     6 bytes, unique\n"
            "          segment at 1, 4 bytes, binary\n"
            "          segment at 5, 2 bytes\n");
}

TEST(FileCheckTest, SoundAndDamagedFiles) {
  struct Case {
    const char* name;
    std::string sql;         // the damage, run on the stored file
    std::string bad_record;  // or a record stored as it is
    std::vector<std::string> problems;
  } cases[] = {
      {"sound", "", "", {}},
      {"bad record",
       "",
       EncodeProperty({"\x80\x8A", std::string("a\x07", 2)}),
       {"record at position 4, property 10: name has a control character"}},
      {"count",
       "UPDATE definition SET record_count = record_count + 2",
       "",
       {"key 0: reads 3 records, the file counts 5", "key 1: reads 3 records, the file counts 5"}},
      {"key 0 index",
       "UPDATE records SET k0 = X'FF' WHERE position = 1",
       "",
       {"key 0: record 3 in key order (position 1, property 1) is out of order"}},
      {"key 0 repeated",
       "DROP INDEX records_k0; CREATE INDEX records_k0 ON records (k0); UPDATE records SET data = "
       "(SELECT data FROM records WHERE position = 2),"
       " k0 = (SELECT k0 FROM records WHERE position = 2) WHERE position = 1",
       "",
       {"key 0: record 2 in key order (position 2, property 2) repeats the key of the record "
        "before it"}},
      {"key 1 index",
       "UPDATE records SET k1 = X'00' WHERE position = 1",
       "",
       {"key 1: record 2 in key order (position 3, property 3) is out of order"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestSuite suite;
    ASSERT_TRUE(suite.Import(Table::kProperties, suite.Csv("p.csv", kProperties)).ok());
    const std::string path = HostPath(RecordFilePath(suite.root(), Table::kProperties));
    if (!c.bad_record.empty()) {
      DataFile file;
      ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kProperties, false, &file).ok());
      size_t failed;
      ASSERT_EQ(file.InsertAll({c.bad_record}, &failed), 0);
    }
    if (!c.sql.empty()) Damage(path, c.sql);
    DataFile file;
    ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kProperties, false, &file).ok());
    const Table table = Table::kProperties;
    const CheckReport report = CheckFile(&file, &table);
    EXPECT_EQ(report.problems, c.problems);
    EXPECT_EQ(report.ok(), c.problems.empty());
  }
}

TEST(FileCheckTest, ManyProblemsAreCountedBeyondTheFirst) {
  TestSuite suite;
  DataFile file;
  ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kOwners, true, &file).ok());
  std::vector<std::string> records;
  for (int i = 0; i < 30; ++i) {
    records.push_back(
        EncodeOwner({std::string("\x80\x81\x80", 3) + static_cast<char>(0x80 + i), "x\x01", ""}));
  }
  size_t failed;
  ASSERT_EQ(file.InsertAll(records, &failed), 0);
  const Table table = Table::kOwners;
  const CheckReport report = CheckFile(&file, &table);
  EXPECT_EQ(report.problems.size(), CheckReport::kMaxProblems);
  EXPECT_EQ(report.more_problems, 10u);
}

TEST(FileCheckTest, AFileOfAnotherLayout) {
  TestSuite suite;
  FileDefinition other;
  other.record_length = 16;
  other.AddKey({{1, 2, 0}});
  suite.dir().Write("root/ddf/FinquesH.xdf", DataDefinitionFile(other));
  DataFile file;
  ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kProperties, true, &file).ok());
  const Table table = Table::kProperties;
  EXPECT_EQ(CheckFile(&file, &table).problems,
            std::vector<std::string>{"definition does not fit the properties: records of 16 bytes "
                                     "are shorter than the 36 the properties need"});
  // Without a layout only the keys are checked.
  EXPECT_TRUE(CheckFile(&file, nullptr).ok());
}

TEST(FileCheckTest, NotARecordFile) {
  TestSuite suite;
  const std::string path = suite.dir().Write("junk.dat", std::string(4096, 'x'));
  DataFile file;
  const ToolStatus status = file.Open(path);
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("(status 30)"), std::string::npos) << status.message();
}

}  // namespace
}  // namespace qav
