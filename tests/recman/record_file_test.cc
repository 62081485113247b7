#include "recman/record_file.h"

#include <gtest/gtest.h>

#include "recman/status.h"
#include "recman_test_files.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::Person;

TEST(RecordFileTest, InsertAllIsAllOrNothing) {
  testing::TempDir dir;
  const std::string path = dir.path() + "people.dat";
  ASSERT_EQ(RecordFile::Create(path, testing::PeopleDefinition()), kRmOk);
  RecordFile file;
  ASSERT_EQ(file.Open(path), kRmOk);
  EXPECT_EQ(file.definition().keys.size(), 3u);

  struct Case {
    const char* what;
    std::vector<std::string> records;
    int16_t status;
    size_t failed;
    uint32_t count_after;
  } const cases[] = {
      {"a duplicate inside the batch",
       {Person{1}.Record(), Person{2}.Record(), Person{1}.Record()}, kRmDuplicateKey, 2, 0},
      {"a record of the wrong length", {Person{1}.Record(), "short"}, kRmInvalidRecordLength, 1, 0},
      {"a good batch", {Person{1}.Record(), Person{2}.Record()}, kRmOk, 2, 2},
      {"a duplicate of a stored record", {Person{3}.Record(), Person{2}.Record()},
       kRmDuplicateKey, 1, 2},
      {"nothing", {}, kRmOk, 0, 2},
  };
  for (const Case& c : cases) {
    size_t failed = 99;
    EXPECT_EQ(file.InsertAll(c.records, &failed), c.status) << c.what;
    EXPECT_EQ(failed, c.failed) << c.what;
    FileDefinition definition;
    uint32_t count = 0;
    ASSERT_EQ(file.Stat(&definition, &count), kRmOk);
    EXPECT_EQ(count, c.count_after) << c.what;
  }
  std::string record, key;
  ASSERT_EQ(file.Read(kOpGetLast, 0, {}, &record, &key), kRmOk);
  EXPECT_EQ(key, std::string("\2\0", 2));
  ASSERT_EQ(file.Close(), kRmOk);
  EXPECT_EQ(file.InsertAll({Person{9}.Record()}), kRmFileNotOpen);
}

}  // namespace
}  // namespace qav
