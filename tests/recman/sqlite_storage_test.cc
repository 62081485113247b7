// The SQLite record files as files: what is refused at the path, Create's
// modes, what survives closing and a writer killed in the middle of its
// work.
#include "recman/sqlite_storage.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>

#include "child_process.h"
#include "platform/files.h"
#include "recman/record_file.h"
#include "recman/status.h"
#include "recman_test_files.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::Channel;
using testing::ChildProcess;
using testing::Person;
using testing::RawCall;

class SqliteStorageTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RecordManagerCall(kOpReset, nullptr, nullptr, nullptr, nullptr, 0, 0);
  }

  // A closed file of `count` people.
  std::string MakeFile(const std::string& name, int count) {
    const std::string path = dir_.path() + name;
    EXPECT_EQ(RecordFile::Create(path, testing::PeopleDefinition()), kRmOk);
    RecordFile file;
    EXPECT_EQ(file.Open(path), kRmOk);
    std::vector<std::string> records;
    for (int i = 0; i < count; ++i) {
      char name_field[16];
      std::snprintf(name_field, sizeof name_field, "n%05d", i);
      records.push_back(Person{static_cast<uint16_t>(i), name_field, static_cast<uint32_t>(i * 7),
                               "ab"}.Record());
    }
    EXPECT_EQ(file.InsertAll(records), kRmOk);
    return path;
  }

  void MakeSqlite(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }

  testing::TempDir dir_;
};

TEST_F(SqliteStorageTest, RefusesWhatIsNotARecordFileAndLeavesItAlone) {
  const std::string empty = dir_.Write("empty.dat", "");
  const std::string text = dir_.Write("text.dat", "RECEIPTS 2024\r\n0001;12.50\r\n");
  const std::string foreign = dir_.path() + "foreign.dat";
  MakeSqlite(foreign, "CREATE TABLE receipts (number TEXT); INSERT INTO receipts VALUES ('1');");
  const std::string marked = dir_.path() + "marked.dat";
  MakeSqlite(marked, ("PRAGMA application_id = " + std::to_string(SqliteStorage::kApplicationId) +
                      "; CREATE TABLE definition (other BLOB);")
                         .c_str());
  std::string header_damaged = MakeFile("header.dat", 10);
  {
    BinaryFile file;
    ASSERT_TRUE(file.Open(header_damaged, BinaryFile::kReadWrite));
    ASSERT_TRUE(file.WriteAt(0, "NOT A DATABASE!!"));
  }
  for (const std::string& path : {empty, text, foreign, marked, header_damaged}) {
    std::string before;
    ASSERT_TRUE(ReadWholeFile(path, &before));
    RecordFile file;
    EXPECT_EQ(file.Open(path), kRmNotARecordFile) << path;
    std::string after;
    ASSERT_TRUE(ReadWholeFile(path, &after));
    EXPECT_EQ(after, before) << path;
  }
  RecordFile file;
  EXPECT_EQ(file.Open(dir_.path()), kRmNotARecordFile);  // a folder
}

TEST_F(SqliteStorageTest, DamageInsideTheFileGivesAStatus) {
  const std::string path = MakeFile("damaged.dat", 3000);
  {
    BinaryFile file;
    ASSERT_TRUE(file.Open(path, BinaryFile::kReadWrite));
    ASSERT_GT(file.Size(), 4 * 4096 * 2);
    ASSERT_TRUE(file.WriteAt(file.Size() / 2, std::string(4 * 4096, '\xFF')));
  }
  RecordFile file;
  const int16_t opened = file.Open(path);
  ASSERT_TRUE(opened == kRmOk || opened == kRmNotARecordFile) << opened;
  if (opened != kRmOk) return;
  bool damage_reported = false;
  for (int key = 0; key < 3; ++key) {
    std::string record;
    int16_t status = file.Read(kOpGetFirst, key, {}, &record);
    for (int steps = 0; status == kRmOk && steps < 4000; ++steps) {
      status = file.Read(kOpGetNext, key, {}, &record);
    }
    EXPECT_TRUE(status == kRmEndOfFile || status == kRmNotARecordFile) << status;
    damage_reported |= status == kRmNotARecordFile;
  }
  EXPECT_TRUE(damage_reported);
}

TEST_F(SqliteStorageTest, CreateKeepsOrReplacesWhole) {
  const std::string path = MakeFile("people.dat", 5);
  FileDefinition other;
  other.record_length = 8;
  other.AddKey({{1, 8}});
  EXPECT_EQ(RecordFile::Create(path, other), kRmFileExists);
  RecordFile file;
  FileDefinition definition;
  uint32_t count = 0;
  ASSERT_EQ(file.Open(path), kRmOk);
  ASSERT_EQ(file.Stat(&definition, &count), kRmOk);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(RecordFile::Create(path, other, /*replace=*/true), kRmFileInUse);  // still open
  ASSERT_EQ(file.Close(), kRmOk);

  ASSERT_EQ(RecordFile::Create(path, other, /*replace=*/true), kRmOk);
  ASSERT_EQ(file.Open(path), kRmOk);
  ASSERT_EQ(file.Stat(&definition, &count), kRmOk);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(definition.record_length, 8);
  ASSERT_EQ(file.Close(), kRmOk);

  EXPECT_EQ(RecordFile::Create(dir_.path() + "no/such/folder.dat", other), kRmCannotCreate);
  // Bad creation data make no file at all.
  RawCall c;
  const std::string missing = dir_.path() + "bad.dat";
  EXPECT_EQ(c.Do(kOpCreate, kCreateNew, std::string(1536, ' '), 1536, missing + '\0',
                 static_cast<int16_t>(missing.size() + 1)),
            kRmInvalidRecordLength);
  EXPECT_FALSE(FileExists(missing));
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_EQ(entry.path().string().find(".new"), std::string::npos) << entry.path();
  }
}

TEST_F(SqliteStorageTest, RecordsAndPositionsOutliveClosing) {
  const std::string path = MakeFile("people.dat", 50);
  uint32_t position = 0;
  {
    RecordFile file;
    std::string record;
    ASSERT_EQ(file.Open(path), kRmOk);
    ASSERT_EQ(file.Read(kOpGetEqual, 0, std::string("\x21\0", 2), &record), kRmOk);
    ASSERT_EQ(file.Position(&position), kRmOk);
  }
  RecordFile file;
  std::string record;
  ASSERT_EQ(file.Open(path), kRmOk);
  ASSERT_EQ(file.Read(kOpGetDirect, 1, {}, &record, nullptr, position), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 0x21);
  ASSERT_EQ(file.Read(kOpGetNext, 1, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 0x22);
}

TEST_F(SqliteStorageTest, WriterKilledAmidInsertsLosesNothingItReported) {
  const std::string path = MakeFile("people.dat", 0);
  ChildProcess writer([&](const Channel& parent) {
    RecordFile file;
    if (file.Open(path) != kRmOk) return 1;
    for (uint16_t id = 0;; ++id) {
      char name[16];
      std::snprintf(name, sizeof name, "w%05u", id);
      if (file.Insert(Person{id, name, id, "ok"}.Record()) != kRmOk) return 2;
      parent.Send('i');
    }
  });
  ASSERT_TRUE(writer.started());
  constexpr int kReported = 60;
  for (int i = 0; i < kReported; ++i) ASSERT_EQ(writer.Receive(), 'i');
  writer.Kill();  // most likely in the middle of the next Insert
  EXPECT_EQ(writer.Wait(), -SIGKILL);

  RecordFile file;
  ASSERT_EQ(file.Open(path), kRmOk);
  FileDefinition definition;
  uint32_t count = 0;
  ASSERT_EQ(file.Stat(&definition, &count), kRmOk);
  EXPECT_GE(count, static_cast<uint32_t>(kReported));
  uint32_t walked = 0;
  std::string record;
  int16_t status = file.Read(kOpGetFirst, 0, {}, &record);
  for (; status == kRmOk; status = file.Read(kOpGetNext, 0, {}, &record)) {
    char name[16];
    std::snprintf(name, sizeof name, "w%05u", walked);
    ASSERT_EQ(Person::IdOf(record), walked);
    ASSERT_EQ(record.substr(2, 6), name);
    ++walked;
  }
  EXPECT_EQ(status, kRmEndOfFile);
  EXPECT_EQ(walked, count);
  EXPECT_EQ(file.Insert(Person{60000, "after ", 0, ""}.Record()), kRmOk);
}

}  // namespace
}  // namespace qav
