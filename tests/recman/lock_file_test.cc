// Record locks and exclusive opens between two opens of one file: in two
// processes (a forked child, moved in step through pipes) and in one.
#include "recman/lock_file.h"

#include <gtest/gtest.h>

#include "child_process.h"
#include "recman/record_file.h"
#include "recman/status.h"
#include "recman_test_files.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::Channel;
using testing::ChildProcess;
using testing::Person;

std::string IdKey(uint16_t id) { return std::string{static_cast<char>(id), '\0'}; }

class LockFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.path() + "people.dat";
    ASSERT_EQ(RecordFile::Create(path_, testing::PeopleDefinition()), kRmOk);
    RecordFile file;
    ASSERT_EQ(file.Open(path_), kRmOk);
    ASSERT_EQ(file.InsertAll({Person{1, "one   ", 0, ""}.Record(), Person{2, "two   ", 0, ""}.Record()}),
              kRmOk);
    // Everything is closed again before a child is forked.
  }
  void TearDown() override {
    RecordManagerCall(kOpReset, nullptr, nullptr, nullptr, nullptr, 0, 0);
  }

  testing::TempDir dir_;
  std::string path_;
};

// In the child: reports a status as one byte.
char Report(int16_t status) { return static_cast<char>(status); }

TEST_F(LockFileTest, RecordLockedInAnotherProcess) {
  ChildProcess child([&](const Channel& parent) {
    RecordFile file;
    std::string record;
    if (file.Open(path_) != kRmOk) return 1;
    parent.Send(Report(file.Read(kOpGetEqual + kLockBias, 0, IdKey(1), &record)));
    if (parent.Receive() != 'u') return 2;
    parent.Send(Report(file.Unlock()));
    if (parent.Receive() != 'q') return 3;
    return 0;
  });
  ASSERT_TRUE(child.started());
  ASSERT_EQ(child.Receive(), Report(kRmOk));  // the child holds record 1

  RecordFile file;
  ASSERT_EQ(file.Open(path_), kRmOk);
  std::string record = "untouched";
  EXPECT_EQ(file.Read(kOpGetEqual + kLockBias, 0, IdKey(1), &record), kRmRecordInUse);
  EXPECT_EQ(record, "untouched");
  // Plain reads neither wait nor fail; other records lock freely.
  ASSERT_EQ(file.Read(kOpGetEqual, 0, IdKey(1), &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 1);
  EXPECT_EQ(file.Update(Person{1, "upd   ", 0, ""}.Record()), kRmRecordInUse);
  EXPECT_EQ(file.Delete(), kRmRecordInUse);
  EXPECT_EQ(file.Read(kOpGetNext + kLockBias, 0, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 2);
  EXPECT_EQ(file.Read(kOpGetPrevious + kLockBias, 0, {}, &record), kRmRecordInUse);

  child.Send('u');
  ASSERT_EQ(child.Receive(), Report(kRmOk));  // unlocked
  EXPECT_EQ(file.Read(kOpGetPrevious + kLockBias, 0, {}, &record), kRmOk);
  EXPECT_EQ(file.Update(Person{1, "upd   ", 0, ""}.Record()), kRmOk);
  child.Send('q');
  EXPECT_EQ(child.Wait(), 0);
}

TEST_F(LockFileTest, ExclusiveOpenAgainstAnotherProcess) {
  ChildProcess child([&](const Channel& parent) {
    RecordFile file;
    parent.Send(Report(file.Open(path_, /*exclusive=*/true)));
    if (parent.Receive() != 'c') return 1;
    parent.Send(Report(file.Close()));
    // Now the parent holds a normal open: an exclusive one must wait its turn.
    if (parent.Receive() != 'x') return 2;
    parent.Send(Report(file.Open(path_, /*exclusive=*/true)));
    parent.Send(Report(file.Open(path_)));
    parent.Receive();
    return 0;
  });
  ASSERT_TRUE(child.started());
  ASSERT_EQ(child.Receive(), Report(kRmOk));

  RecordFile file;
  EXPECT_EQ(file.Open(path_), kRmFileInUse);
  EXPECT_EQ(file.Open(path_, /*exclusive=*/true), kRmFileInUse);
  EXPECT_EQ(RecordFile::Create(path_, testing::PeopleDefinition(), /*replace=*/true), kRmFileInUse);
  child.Send('c');
  ASSERT_EQ(child.Receive(), Report(kRmOk));
  ASSERT_EQ(file.Open(path_), kRmOk);
  child.Send('x');
  EXPECT_EQ(child.Receive(), Report(kRmFileInUse));
  EXPECT_EQ(child.Receive(), Report(kRmOk));  // normal opens share
  child.Send('q');
  EXPECT_EQ(child.Wait(), 0);
}

TEST_F(LockFileTest, TwoOpensInOneProcessContendToo) {
  RecordFile first, second;
  ASSERT_EQ(first.Open(path_), kRmOk);
  ASSERT_EQ(second.Open(path_), kRmOk);
  std::string record;
  ASSERT_EQ(first.Read(kOpGetFirst + kLockBias, 0, {}, &record), kRmOk);
  EXPECT_EQ(second.Read(kOpGetFirst + kLockBias, 0, {}, &record), kRmRecordInUse);
  // Reading another record gives the lock back; so do Unlock and Close.
  ASSERT_EQ(first.Read(kOpGetNext, 0, {}, &record), kRmOk);
  ASSERT_EQ(second.Read(kOpGetFirst + kLockBias, 0, {}, &record), kRmOk);
  EXPECT_EQ(first.Read(kOpGetFirst + kLockBias, 0, {}, &record), kRmRecordInUse);
  ASSERT_EQ(second.Unlock(), kRmOk);
  ASSERT_EQ(first.Read(kOpGetFirst + kLockBias, 0, {}, &record), kRmOk);
  ASSERT_EQ(first.Close(), kRmOk);
  EXPECT_EQ(second.Read(kOpGetFirst + kLockBias, 0, {}, &record), kRmOk);

  RecordFile exclusive;
  EXPECT_EQ(exclusive.Open(path_, /*exclusive=*/true), kRmFileInUse);
  ASSERT_EQ(second.Close(), kRmOk);
  ASSERT_EQ(exclusive.Open(path_, /*exclusive=*/true), kRmOk);
  EXPECT_EQ(first.Open(path_), kRmFileInUse);
}

}  // namespace
}  // namespace qav
