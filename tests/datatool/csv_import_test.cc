#include "datatool/csv_import.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <unordered_set>

#include "data/suite_records.h"
#include "datatool/file_check.h"
#include "datatool/sample_data.h"
#include "datatool_test_util.h"
#include "platform/suite_path.h"
#include "recman/status.h"

namespace qav {
namespace {

using testing::TestSuite;

const char kProperties[] =
    "code,name\n"
    "1,Edifici Sant Jordi\n"
    "2,\"C. Major, 12\"\n"
    "12,\"Av. Diagonal, 340\"\r\n"
    "9999,Els Til\xC2\xB7lers\n";
const char kOwners[] =
    "property,owner,name,apartment\n"
    "1,1,N\xC3\xBAria Puig i Ferrer,1r 2a\n"
    "1,2,\"Josep \"\"Pep\"\" Vila\",Baixos 1a\n"
    "2,1,Marta Soler,\xC3\x80tic\n";
const char kReceipts[] =
    "property,owner,issued,sequence,collected,amount_cents,state\n"
    "1,1,2023-01-01,1,2023-01-05,8750,C\n"
    "1,1,2023-02-01,2,,8750,P\n"
    "1,2,2023-01-01,1,,-1200,\n"
    "2,1,2024-02-29,99,2024-03-10,2147483647,I\n";

TEST(CsvImportTest, ImportThenExportGivesTheSameCsv) {
  TestSuite suite;
  struct Case {
    Table table;
    std::string csv;
    size_t rows;
  } cases[] = {{Table::kProperties, kProperties, 4},
               {Table::kOwners, kOwners, 3},
               {Table::kReceipts, kReceipts, 4}};
  for (const Case& c : cases) {
    ImportSummary summary;
    ASSERT_TRUE(suite.Import(c.table, suite.Csv("in.csv", c.csv), &summary).ok());
    EXPECT_EQ(summary.added, c.rows);
    std::string expected = c.csv;  // export writes LF only
    for (size_t at; (at = expected.find("\r\n")) != std::string::npos;) expected.erase(at, 1);
    EXPECT_EQ(suite.Export(c.table), expected);
  }
}

TEST(CsvImportTest, ExportThenImportIntoAnEmptySuiteGivesTheSameFiles) {
  TestSuite first, second;
  SampleOptions options;
  options.properties = 3;
  options.owners = 5;
  options.receipts = 6;
  ASSERT_TRUE(WriteSampleFiles(options, first.dir().path() + "sample").ok());
  for (Table table : {Table::kProperties, Table::kOwners, Table::kReceipts}) {
    const std::string csv = first.dir().path() + "sample/" + InfoOf(table).name + ".csv";
    ASSERT_TRUE(first.Import(table, csv).ok());
    const std::string exported = first.Export(table);
    ASSERT_TRUE(second.Import(table, second.Csv("again.csv", exported)).ok());
  }
  for (Table table : {Table::kProperties, Table::kOwners, Table::kReceipts}) {
    // Every record, byte for byte and in key order, in both files.
    DataFile a, b;
    ASSERT_TRUE(OpenSuiteFile(first.root(), table, false, &a).ok());
    ASSERT_TRUE(OpenSuiteFile(second.root(), table, false, &b).ok());
    std::string ra, rb;
    int16_t sa = a.ReadFirst(0, &ra), sb = b.ReadFirst(0, &rb);
    size_t n = 0;
    for (; sa == kRmOk && sb == kRmOk; sa = a.ReadNext(0, &ra), sb = b.ReadNext(0, &rb), ++n) {
      ASSERT_EQ(ra, rb);
    }
    EXPECT_EQ(sa, kRmEndOfFile);
    EXPECT_EQ(sb, kRmEndOfFile);
    EXPECT_EQ(n, table == Table::kProperties ? 3u : table == Table::kOwners ? 15u : 90u);
  }
}

TEST(CsvImportTest, ABadRowStopsItAndNothingIsStored) {
  struct Case {
    Table table;
    std::string csv;
    std::string message;  // after "FILE:"
  } cases[] = {
      {Table::kProperties, "", "1: the first row must be the header code,name"},
      {Table::kProperties, "name,code\n1,a\n", "1: the first row must be the header code,name"},
      {Table::kProperties, "code,name\n1,a\n2\n", "3: expected 2 columns (code,name), found 1"},
      {Table::kProperties, "code,name\n1,a\n\n\n10000,b\n",
       "5: code must be a whole number from 0 to 9999"},
      {Table::kProperties, "code,name\n1,\"a, b\"\n2,\"x\"y\n", "3: text after a closing quote"},
      {Table::kProperties, "code,name\n1,a\n2,\"open\n", "3: quoted field not closed"},
      {Table::kProperties, "code,name\n1,\xE2\x82\xAC\n",
       "2: name has a character outside code page 850 (U+20AC)"},
      {Table::kProperties, "code,name\n1,\"two\nlines\"\n", "2: name has a control character"},
      {Table::kProperties, "code,name\n1,a\n01,b\n",
       "3: duplicate key (property 1): also on line 2"},
      {Table::kOwners, "property,owner,name,apartment\n1,1,a,b\n1,1,c,d\n",
       "3: duplicate key (property 1, owner 1): also on line 2"},
      {Table::kReceipts,
       "property,owner,issued,sequence,collected,amount_cents,state\n"
       "1,1,2023-01-01,1,,5,P\n1,1,2023-01-01,2,,5,P\n1,1,2023-01-01,1,,6,C\n",
       "4: duplicate key (property 1, owner 1, issued 2023-01-01, sequence 1): also on line 2"},
      {Table::kReceipts,
       "property,owner,issued,sequence,collected,amount_cents,state\n1,1,2023-02-30,1,,5,P\n",
       "2: issued is not a real date (2023-02-30)"},
  };
  for (const Case& c : cases) {
    TestSuite suite;
    const std::string path = suite.Csv("bad.csv", c.csv);
    const ToolStatus status = suite.Import(c.table, path);
    EXPECT_EQ(status.message(), path + ":" + c.message);
    EXPECT_EQ(suite.Count(c.table), 0u) << c.message;
  }
}

TEST(CsvImportTest, AKeyAlreadyInTheFileStopsItAndNothingIsStored) {
  TestSuite suite;
  ASSERT_TRUE(suite.Import(Table::kReceipts, suite.Csv("first.csv", kReceipts)).ok());
  const std::string before = suite.Export(Table::kReceipts);
  const std::string path = suite.Csv("second.csv",
                                     "property,owner,issued,sequence,collected,amount_cents,state\n"
                                     "3,1,2023-01-01,1,,100,P\n"
                                     "3,2,2023-01-01,1,,100,P\n"
                                     "1,2,2023-01-01,1,2023-01-02,100,C\n"
                                     "3,3,2023-01-01,1,,100,P\n");
  const ToolStatus status = suite.Import(Table::kReceipts, path);
  EXPECT_EQ(
      status.message(),
      path + ":4: duplicate key (property 1, owner 2, issued 2023-01-01, sequence 1): already in " +
          HostPath(RecordFilePath(suite.root(), Table::kReceipts)));
  EXPECT_EQ(suite.Count(Table::kReceipts), 4u);
  EXPECT_EQ(suite.Export(Table::kReceipts), before);
}

TEST(CsvImportTest, RowsWithoutAParentAreCountedAndStored) {
  TestSuite suite;
  DataFile file;
  ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kReceipts, true, &file).ok());
  const std::unordered_set<std::string> owners = {"\x80\x81\x80\x81"};  // property 1, owner 1
  ImportOptions options;
  options.parents = &owners;
  ImportSummary summary;
  ASSERT_TRUE(
      ImportCsv(Table::kReceipts, suite.Csv("r.csv", kReceipts), &file, options, &summary).ok());
  EXPECT_EQ(summary.added, 4u);
  EXPECT_EQ(summary.orphans, 2u);
  EXPECT_EQ(summary.first_orphan_line, 4);
}

TEST(CsvImportTest, AFileWhoseLayoutDoesNotFitIsLeftAlone) {
  TestSuite suite;
  // A data definition whose key 0 is not the receipt key.
  FileDefinition other;
  other.record_length = 32;
  other.AddKey({{1, 4, 0}}, true);
  suite.dir().Write("root/ddf/CobramH.xdf", DataDefinitionFile(other));
  const ToolStatus status = suite.Import(Table::kReceipts, suite.Csv("r.csv", kReceipts));
  EXPECT_NE(status.message().find("key 0 is not the first 9 bytes"), std::string::npos)
      << status.message();
  EXPECT_EQ(suite.Count(Table::kReceipts), 0u);
}

int64_t SizeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_size : 0;
}

// A writer killed while it stores a big import leaves a readable file that
// holds all of the import or none of it. The child tells when its rows are
// checked and the insert begins; the test kills it then, or once the
// transaction has written a given amount to the database's write-ahead log
// (that is, while the insert is under way), or not at all.
TEST(CsvImportTest, AKilledWriterLeavesAllOrNothing) {
  TestSuite suite;
  SampleOptions options;
  options.properties = 80;
  options.owners = 20;
  options.receipts = 25;
  const size_t rows = 80 * 20 * 25;
  ASSERT_TRUE(WriteSampleFiles(options, suite.dir().path() + "big").ok());
  const std::string csv = suite.dir().path() + "big/receipts.csv";
  const std::string wal = HostPath(RecordFilePath(suite.root(), Table::kReceipts)) + "-wal";
  // Create the file before any child runs, so that each starts alike.
  ASSERT_EQ(suite.Count(Table::kReceipts), 0u);

  struct Case {
    const char* when;
    int64_t log_bytes;  // -1: kill at the signal; 0: let it finish
  } cases[] = {{"at the start of the insert", -1},
               {"with 256 KiB in the log", 256 << 10},
               {"with 1 MiB in the log", 1 << 20},
               {"never", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.when);
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    const int64_t log_start = SizeOf(wal);
    const pid_t child = fork();
    if (child == 0) {
      close(pipe_fds[0]);
      SetBeforeInsertHookForTest([&] {
        const char started = 's';
        (void)!write(pipe_fds[1], &started, 1);
      });
      DataFile file;
      if (!OpenSuiteFile(suite.root(), Table::kReceipts, true, &file).ok()) _exit(3);
      ImportSummary summary;
      const bool ok = ImportCsv(Table::kReceipts, csv, &file, ImportOptions(), &summary).ok();
      file.Close();
      _exit(ok ? 0 : 4);
    }
    close(pipe_fds[1]);
    char started = 0;
    ASSERT_EQ(read(pipe_fds[0], &started, 1), 1);
    close(pipe_fds[0]);
    int status = 0;
    if (c.log_bytes != 0) {
      bool ended = false;
      while (c.log_bytes > 0 && !ended && SizeOf(wal) < log_start + c.log_bytes) {
        ended = waitpid(child, &status, WNOHANG) == child;
      }
      if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
      }
    } else {
      waitpid(child, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    DataFile file;
    ASSERT_TRUE(OpenSuiteFile(suite.root(), Table::kReceipts, false, &file).ok());
    const Table table = Table::kReceipts;
    const CheckReport report = CheckFile(&file, &table);
    EXPECT_TRUE(report.ok()) << (report.problems.empty() ? "" : report.problems[0]);
    EXPECT_TRUE(report.records == 0 || report.records == rows) << report.records;
    if (c.log_bytes == 0) {
      EXPECT_EQ(report.records, rows);
    }
    if (report.records == rows) {
      // Start the next case from an empty file again.
      file.Close();
      std::remove(HostPath(RecordFilePath(suite.root(), Table::kReceipts)).c_str());
      std::remove(wal.c_str());
      std::remove((HostPath(RecordFilePath(suite.root(), Table::kReceipts)) + "-shm").c_str());
      ASSERT_EQ(suite.Count(Table::kReceipts), 0u);
    }
  }
}

}  // namespace
}  // namespace qav
