#include "recman/record_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "recman/record_file.h"
#include "recman/status.h"
#include "recman_test_files.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::Person;
using testing::RawCall;

class RecordManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.path() + "people.dat";
    ASSERT_EQ(RecordFile::Create(path_, testing::PeopleDefinition()), kRmOk);
  }
  void TearDown() override {
    EXPECT_EQ(RecordManagerCall(kOpReset, nullptr, nullptr, nullptr, nullptr, 0, 0), kRmOk);
  }

  // Inserts and returns the positions by id.
  std::map<uint16_t, uint32_t> InsertAll(RecordFile& file, const std::vector<Person>& people) {
    std::map<uint16_t, uint32_t> positions;
    for (const Person& p : people) {
      EXPECT_EQ(file.Insert(p.Record()), kRmOk) << p.id;
      EXPECT_EQ(file.Position(&positions[p.id]), kRmOk);
    }
    return positions;
  }

  // The ids read by First/Next (or Last/Previous) in the order of `key`.
  std::vector<uint16_t> Walk(RecordFile& file, int key, bool forward) {
    std::vector<uint16_t> ids;
    std::string record;
    int16_t status = file.Read(forward ? kOpGetFirst : kOpGetLast, key, {}, &record);
    while (status == kRmOk) {
      ids.push_back(Person::IdOf(record));
      status = file.Read(forward ? kOpGetNext : kOpGetPrevious, key, {}, &record);
    }
    EXPECT_EQ(status, kRmEndOfFile);
    return ids;
  }

  testing::TempDir dir_;
  std::string path_;
};

TEST_F(RecordManagerTest, EveryOperationThroughTheCall) {
  RawCall c;
  ASSERT_EQ(c.Open(path_), kRmOk);
  const Person a{1, "alpha ", 10, "aa"}, b{2, "bravo ", 20, "bb"}, d{3, "delta ", 30, "dd"};
  for (const Person& p : {a, b, d}) {
    ASSERT_EQ(c.Do(kOpInsert, 0, p.Record(), 16), kRmOk);
    EXPECT_EQ(c.key.substr(0, 2), p.Record().substr(0, 2));  // the new record's key value
  }
  ASSERT_EQ(c.Do(kOpStat, 0), kRmOk);
  EXPECT_EQ(c.length, EncodeFileDefinition(testing::PeopleDefinition(), 3).size());
  EXPECT_EQ(c.Record(), EncodeFileDefinition(testing::PeopleDefinition(), 3));

  // Each read: the status, the id it reads; key 0 values are 2-byte ids.
  struct Read {
    int16_t operation;
    uint16_t key_value;
    uint16_t id;
  } const reads[] = {
      {kOpGetEqual, 2, 2},          {kOpGetNext, 0, 3},     {kOpGetPrevious, 0, 2},
      {kOpGetGreater, 2, 3},        {kOpGetGreaterOrEqual, 2, 2}, {kOpGetLess, 2, 1},
      {kOpGetLessOrEqual, 2, 2},    {kOpGetFirst, 0, 1},    {kOpGetLast, 0, 3},
      {kOpGetEqual + kLockBias, 1, 1}, {kOpGetNext + kLockBias, 0, 2},
      {kOpGetPrevious + kLockBias, 0, 1}, {kOpGetGreater + kLockBias, 1, 2},
      {kOpGetGreaterOrEqual + kLockBias, 3, 3}, {kOpGetLess + kLockBias, 3, 2},
      {kOpGetLessOrEqual + kLockBias, 1, 1}, {kOpGetFirst + kLockBias, 0, 1},
      {kOpGetLast + kLockBias, 0, 3},
  };
  for (const Read& r : reads) {
    const std::string key_value{static_cast<char>(r.key_value), '\0'};
    ASSERT_EQ(c.Do(r.operation, 0, {}, 1536, key_value, 2), kRmOk) << r.operation;
    EXPECT_EQ(c.length, 16u) << r.operation;
    EXPECT_EQ(Person::IdOf(c.Record()), r.id) << r.operation;
    EXPECT_EQ(Person::IdOf(c.key), r.id) << r.operation;  // the key value found
  }
  EXPECT_EQ(c.Do(kOpUnlock, 0), kRmOk);

  ASSERT_EQ(c.Do(kOpGetPosition, 0), kRmOk);
  EXPECT_EQ(c.length, 4u);
  const std::string position = c.data.substr(0, 4);
  ASSERT_EQ(c.Do(kOpGetFirst, 0), kRmOk);
  for (int direct : {kOpGetDirect + 0, kOpGetDirect + kLockBias}) {
    ASSERT_EQ(c.Do(static_cast<int16_t>(direct), 0, position), kRmOk);
    EXPECT_EQ(Person::IdOf(c.Record()), 3);
  }

  Person changed = d;
  changed.name = "DELTA2";
  ASSERT_EQ(c.Do(kOpUpdate, 0, changed.Record(), 16), kRmOk);
  ASSERT_EQ(c.Do(kOpGetEqual, 0, {}, 1536, std::string("\3\0", 2), 2), kRmOk);
  EXPECT_EQ(c.Record(), changed.Record());
  ASSERT_EQ(c.Do(kOpDelete, 0), kRmOk);
  EXPECT_EQ(c.Do(kOpGetDirect, 0, position), kRmInvalidPosition);
  // The last position is not handed out again.
  ASSERT_EQ(c.Do(kOpInsert, 0, d.Record(), 16), kRmOk);
  EXPECT_EQ(c.Do(kOpGetDirect, 0, position), kRmInvalidPosition);
  ASSERT_EQ(c.Do(kOpGetEqual, 0, {}, 1536, std::string("\3\0", 2), 2), kRmOk);
  ASSERT_EQ(c.Do(kOpDelete, 0), kRmOk);
  ASSERT_EQ(c.Do(kOpStat, 0), kRmOk);
  EXPECT_EQ(c.data[6], 2);  // the record count

  ASSERT_EQ(c.Do(kOpClose, 0), kRmOk);
  EXPECT_EQ(c.Do(kOpGetFirst, 0), kRmFileNotOpen);
  EXPECT_EQ(c.Do(kOpClose, 0), kRmFileNotOpen);
  ASSERT_EQ(c.Open(path_), kRmOk);
  EXPECT_EQ(c.Do(kOpReset, 0), kRmOk);
  EXPECT_EQ(c.Do(kOpGetFirst, 0), kRmFileNotOpen);
}

TEST_F(RecordManagerTest, RefusedCalls) {
  RawCall c;
  EXPECT_EQ(c.Do(kOpGetFirst, 0), kRmFileNotOpen);  // a zero block
  EXPECT_EQ(c.Open(dir_.path() + "missing.dat"), kRmFileNotFound);
  EXPECT_EQ(c.Open(""), kRmInvalidFileName);
  EXPECT_EQ(c.Open(path_, 7), kRmInvalidOperation);
  ASSERT_EQ(c.Open(path_), kRmOk);
  const auto kept = c.block;
  EXPECT_EQ(c.Open(path_), kRmInvalidOperation);  // the block is still open

  const std::string record = Person{5, "echo  ", 5, "ee"}.Record();
  struct Case {
    const char* what;
    int16_t operation, key_number;
    std::string data;
    uint32_t data_length;
    int16_t key_length;
    int16_t status;
  } const cases[] = {
      {"unknown operation", 99, 0, "", 1536, 255, kRmInvalidOperation},
      {"lock bias on a write", kOpInsert + kLockBias, 0, record, 16, 255, kRmInvalidOperation},
      {"other bias", kOpGetFirst + 100, 0, "", 1536, 255, kRmInvalidOperation},
      {"next before any read", kOpGetNext, 0, "", 1536, 255, kRmNoCurrentRecord},
      {"position before any read", kOpGetPosition, 0, "", 1536, 255, kRmNoCurrentRecord},
      {"update before any read", kOpUpdate, 0, record, 16, 255, kRmNoCurrentRecord},
      {"delete before any read", kOpDelete, 0, "", 0, 255, kRmNoCurrentRecord},
      {"key number past the keys", kOpGetFirst, 3, "", 1536, 255, kRmInvalidKeyNumber},
      {"negative key number", kOpGetFirst, -1, "", 1536, 255, kRmInvalidKeyNumber},
      {"key buffer shorter than the key", kOpGetFirst, 2, "", 1536, 5, kRmKeyBufferTooShort},
      {"insert of a short record", kOpInsert, 0, record.substr(0, 15), 15, 255,
       kRmInvalidRecordLength},
      {"insert of a long record", kOpInsert, 0, record + "x", 17, 255, kRmInvalidRecordLength},
      {"insert with a bad key number", kOpInsert, 4, record, 16, 255, kRmInvalidKeyNumber},
      {"get direct without a position", kOpGetDirect, 0, "", 3, 255, kRmInvalidPosition},
      {"get direct of position 0", kOpGetDirect, 0, std::string(4, '\0'), 1536, 255,
       kRmInvalidPosition},
      {"get direct of a negative position", kOpGetDirect, 0, "\xFF\xFF\xFF\xFF", 1536, 255,
       kRmInvalidPosition},
      {"create in an unknown mode", kOpCreate, 3, "", 1536, 255, kRmInvalidOperation},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(c.Do(k.operation, k.key_number, k.data, k.data_length, {}, k.key_length), k.status)
        << k.what;
  }
  ASSERT_EQ(c.Do(kOpStat, 0), kRmOk);
  EXPECT_EQ(c.data[6], 0) << "nothing was inserted";

  ASSERT_EQ(c.Do(kOpInsert, 0, record, 16), kRmOk);
  ASSERT_EQ(c.Do(kOpGetFirst, 0), kRmOk);
  EXPECT_EQ(c.Do(kOpGetNext, 1), kRmDifferentKeyNumber);

  // A block kept after Close names nothing, even once its entry is reused.
  ASSERT_EQ(c.Do(kOpClose, 0), kRmOk);
  RawCall other;
  ASSERT_EQ(other.Open(path_), kRmOk);
  c.block = kept;
  EXPECT_EQ(c.Do(kOpGetFirst, 0), kRmFileNotOpen);
  EXPECT_EQ(RecordManagerCall(kOpGetFirst, nullptr, nullptr, nullptr, nullptr, 0, 0),
            kRmFileNotOpen);
}

TEST_F(RecordManagerTest, KeyOrderMatchesAnIndependentSort) {
  std::mt19937 random(20240611);
  const uint32_t amounts[] = {0, 1, 255, 256, 65535, 65536, 0x00FFFFFF, 0x01000000, 0x80000000,
                              0xFFFFFFFF};
  const char* names[] = {"anna  ", "ANNA  ", "Anna  ", "bob   ", "BOB   ", "zed   ", "a     ",
                         "Zz    "};
  std::vector<Person> people;
  std::set<uint16_t> ids;
  while (people.size() < 200) {
    Person p;
    p.id = static_cast<uint16_t>(random());
    if (!ids.insert(p.id).second) continue;
    p.name = names[random() % std::size(names)];
    p.amount = amounts[random() % std::size(amounts)];
    p.tag = random() % 2 ? "ab" : "ba";
    people.push_back(p);
  }
  RecordFile file;
  ASSERT_EQ(file.Open(path_), kRmOk);
  std::map<uint16_t, uint32_t> positions = InsertAll(file, people);

  auto upper = [](std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
  };
  // Each key's order computed here from the values, ties by position.
  auto sorted = [&](auto order_key) {
    std::vector<Person> copy = people;
    std::sort(copy.begin(), copy.end(), [&](const Person& x, const Person& y) {
      return std::tuple(order_key(x), positions[x.id]) < std::tuple(order_key(y), positions[y.id]);
    });
    std::vector<uint16_t> out;
    for (const Person& p : copy) out.push_back(p.id);
    return out;
  };
  const std::vector<uint16_t> expected[] = {
      sorted([](const Person& p) { return p.id; }),
      sorted([&](const Person& p) { return upper(p.name); }),
      sorted([](const Person& p) { return std::tuple(p.amount, p.tag); }),
  };
  for (int key = 0; key < 3; ++key) {
    EXPECT_EQ(Walk(file, key, true), expected[key]) << "key " << key;
    std::vector<uint16_t> backward = Walk(file, key, false);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, expected[key]) << "key " << key;
  }

  // Searches on the two-segment key against the same order.
  auto key2 = [](uint32_t amount, const char* tag) {
    return Person{0, "", amount, tag}.Record().substr(8, 6);
  };
  std::vector<std::tuple<uint32_t, std::string, uint16_t>> order;
  for (uint16_t id : expected[2]) {
    const Person& p = *std::find_if(people.begin(), people.end(),
                                    [&](const Person& q) { return q.id == id; });
    order.emplace_back(p.amount, p.tag, p.id);
  }
  for (uint32_t amount : {0u, 200u, 256u, 65536u, 0x80000000u, 0xFFFFFFFFu}) {
    for (const char* tag : {"ab", "b "}) {
      const auto probe = std::tuple(amount, std::string(tag));
      auto first_not_less = std::find_if(order.begin(), order.end(), [&](const auto& e) {
        return std::tuple(std::get<0>(e), std::get<1>(e)) >= probe;
      });
      auto first_greater = std::find_if(order.begin(), order.end(), [&](const auto& e) {
        return std::tuple(std::get<0>(e), std::get<1>(e)) > probe;
      });
      struct Search {
        int16_t operation;
        std::optional<uint16_t> id;
      } const searches[] = {
          {kOpGetGreaterOrEqual,
           first_not_less == order.end() ? std::nullopt : std::optional(std::get<2>(*first_not_less))},
          {kOpGetGreater,
           first_greater == order.end() ? std::nullopt : std::optional(std::get<2>(*first_greater))},
          {kOpGetLess, first_not_less == order.begin()
                           ? std::nullopt
                           : std::optional(std::get<2>(*(first_not_less - 1)))},
          {kOpGetLessOrEqual, first_greater == order.begin()
                                  ? std::nullopt
                                  : std::optional(std::get<2>(*(first_greater - 1)))},
      };
      for (const Search& s : searches) {
        std::string record;
        const int16_t status = file.Read(s.operation, 2, key2(amount, tag), &record);
        if (s.id) {
          ASSERT_EQ(status, kRmOk) << s.operation << " " << amount << tag;
          EXPECT_EQ(Person::IdOf(record), *s.id) << s.operation << " " << amount << tag;
        } else {
          EXPECT_EQ(status, kRmEndOfFile) << s.operation << " " << amount << tag;
        }
      }
    }
  }
  // Get Equal through the alternate sequence matches any case, first by position.
  std::string record;
  ASSERT_EQ(file.Read(kOpGetEqual, 1, "ANNA  ", &record), kRmOk);
  EXPECT_EQ(upper(record.substr(2, 6)), "ANNA  ");
  EXPECT_EQ(file.Read(kOpGetEqual, 1, "carl  ", &record), kRmKeyNotFound);
}

TEST_F(RecordManagerTest, DuplicatesInInsertOrderAndUniqueKeysRefuseThem) {
  RecordFile file;
  ASSERT_EQ(file.Open(path_), kRmOk);
  const std::vector<Person> people = {{7, "same  ", 1, "xx"},
                                      {3, "same  ", 1, "xx"},
                                      {9, "SAME  ", 1, "xx"},
                                      {1, "other ", 1, "xx"}};
  InsertAll(file, people);
  const std::vector<uint16_t> by_name = {1, 7, 3, 9}, by_amount = {7, 3, 9, 1};
  EXPECT_EQ(Walk(file, 1, true), by_name);
  EXPECT_EQ(Walk(file, 2, true), by_amount);

  // A duplicate of the unique key is refused by Insert and by Update.
  EXPECT_EQ(file.Insert(Person{3, "new   ", 2, "yy"}.Record()), kRmDuplicateKey);
  std::string record;
  ASSERT_EQ(file.Read(kOpGetEqual, 0, std::string("\x09\0", 2), &record), kRmOk);
  EXPECT_EQ(file.Update(Person{7, "same  ", 1, "xx"}.Record()), kRmDuplicateKey);
  ASSERT_EQ(file.Read(kOpGetEqual, 0, std::string("\x09\0", 2), &record), kRmOk);
  EXPECT_EQ(record, people[2].Record());
  FileDefinition definition;
  uint32_t count = 0;
  ASSERT_EQ(file.Stat(&definition, &count), kRmOk);
  EXPECT_EQ(count, 4u);

  // A record deleted and inserted again takes a new position: last of its value.
  ASSERT_EQ(file.Read(kOpGetEqual, 0, std::string("\x07\0", 2), &record), kRmOk);
  ASSERT_EQ(file.Delete(), kRmOk);
  ASSERT_EQ(file.Insert(people[0].Record()), kRmOk);
  const std::vector<uint16_t> reinserted_last = {1, 3, 9, 7};
  EXPECT_EQ(Walk(file, 1, true), reinserted_last);
}

TEST_F(RecordManagerTest, NextAndPreviousGoOnFromDirectPositionAndDelete) {
  RecordFile file;
  ASSERT_EQ(file.Open(path_), kRmOk);
  // Key 1 order: ann(4) bea(2) cid(3) dan(1); key 0 order is by id.
  const std::map<uint16_t, uint32_t> positions = InsertAll(
      file, {{1, "dan   ", 0, ""}, {2, "bea   ", 0, ""}, {3, "cid   ", 0, ""}, {4, "ann   ", 0, ""}});
  std::string record;
  // Get Direct in key 1's order from record 2 (bea): next cid, previous ann.
  ASSERT_EQ(file.Read(kOpGetDirect, 1, {}, &record, nullptr, positions.at(2)), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 2);
  ASSERT_EQ(file.Read(kOpGetNext, 1, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 3);
  ASSERT_EQ(file.Read(kOpGetDirect, 1, {}, &record, nullptr, positions.at(2)), kRmOk);
  ASSERT_EQ(file.Read(kOpGetPrevious, 1, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 4);
  // Get Position of the current record, then Direct back to it in key 0's order.
  uint32_t position = 0;
  ASSERT_EQ(file.Position(&position), kRmOk);
  EXPECT_EQ(position, positions.at(4));
  ASSERT_EQ(file.Read(kOpGetDirect, 0, {}, &record, nullptr, position), kRmOk);
  EXPECT_EQ(file.Read(kOpGetNext, 0, {}, &record), kRmEndOfFile);  // 4 is the last id
  ASSERT_EQ(file.Read(kOpGetPrevious, 0, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 3);
  // After a Delete there is no current record, yet stepping goes on from it.
  ASSERT_EQ(file.Delete(), kRmOk);
  EXPECT_EQ(file.Position(&position), kRmNoCurrentRecord);
  EXPECT_EQ(file.Delete(), kRmNoCurrentRecord);
  ASSERT_EQ(file.Read(kOpGetNext, 0, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 4);
  ASSERT_EQ(file.Read(kOpGetPrevious, 0, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 2);
}

TEST_F(RecordManagerTest, ShortBufferAndFailedReads) {
  RecordFile file;
  ASSERT_EQ(file.Open(path_), kRmOk);
  InsertAll(file, {{1, "one   ", 0, ""}, {2, "two   ", 0, ""}});
  RawCall c;
  c.block = *reinterpret_cast<std::array<unsigned char, kPositionBlockSize>*>(file.block());

  // Too short: as much as fits, status 22, and the file is positioned there.
  ASSERT_EQ(c.Do(kOpGetFirst, 0, {}, 5), kRmDataBufferTooShort);
  EXPECT_EQ(c.length, 5u);
  const Person first{1, "one   ", 0, ""};
  EXPECT_EQ(c.data.substr(0, 5), first.Record().substr(0, 5));
  EXPECT_EQ(c.data[5], '\xEE');
  EXPECT_EQ(c.key.substr(0, 2), std::string("\1\0", 2));
  ASSERT_EQ(c.Do(kOpGetNext, 0), kRmOk);
  EXPECT_EQ(Person::IdOf(c.Record()), 2);

  // Failures leave both buffers alone, return length 0 and keep the position.
  struct Case {
    int16_t operation, key_number;
    std::string key_in;
    int16_t status;
  } const cases[] = {
      {kOpGetNext, 0, "", kRmEndOfFile},
      {kOpGetEqual, 0, std::string("\x05\0", 2), kRmKeyNotFound},
      {kOpGetGreater, 0, std::string("\x02\0", 2), kRmEndOfFile},
      {kOpGetLess, 0, std::string("\x01\0", 2), kRmEndOfFile},
      {kOpGetNext, 1, "", kRmDifferentKeyNumber},
      {kOpGetFirst, 5, "", kRmInvalidKeyNumber},
  };
  for (const Case& k : cases) {
    const std::string key_before = k.key_in + std::string(255 - k.key_in.size(), '\xEE');
    EXPECT_EQ(c.Do(k.operation, k.key_number, {}, 1536, k.key_in), k.status) << k.operation;
    EXPECT_EQ(c.length, 0u) << k.operation;
    EXPECT_EQ(c.data, std::string(1536, '\xEE')) << k.operation;
    EXPECT_EQ(c.key, key_before) << k.operation;
  }
  ASSERT_EQ(c.Do(kOpGetPrevious, 0), kRmOk);
  EXPECT_EQ(Person::IdOf(c.Record()), 1);
}

TEST_F(RecordManagerTest, SteppingSeesWhatOtherOpensWrite) {
  RecordFile reader, writer;
  ASSERT_EQ(reader.Open(path_), kRmOk);
  ASSERT_EQ(writer.Open(path_), kRmOk);
  std::vector<std::string> records;
  for (uint16_t id = 10; id <= 100; id += 10) records.push_back(Person{id, "", 0, ""}.Record());
  ASSERT_EQ(writer.InsertAll(records), kRmOk);

  std::string record;
  ASSERT_EQ(reader.Read(kOpGetFirst, 0, {}, &record), kRmOk);
  ASSERT_EQ(reader.Read(kOpGetNext, 0, {}, &record), kRmOk);  // 20, with more read ahead
  ASSERT_EQ(Person::IdOf(record), 20);

  ASSERT_EQ(writer.Insert(Person{25, "", 0, ""}.Record()), kRmOk);
  ASSERT_EQ(writer.Read(kOpGetEqual, 0, std::string("\x1E\0", 2), &record), kRmOk);  // 30
  ASSERT_EQ(writer.Delete(), kRmOk);
  ASSERT_EQ(writer.Read(kOpGetEqual, 0, std::string("\x28\0", 2), &record), kRmOk);  // 40
  ASSERT_EQ(writer.Update(Person{40, "newer ", 0, ""}.Record()), kRmOk);

  ASSERT_EQ(reader.Read(kOpGetNext, 0, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 25);
  ASSERT_EQ(reader.Read(kOpGetNext, 0, {}, &record), kRmOk);
  EXPECT_EQ(Person::IdOf(record), 40);
  EXPECT_EQ(record.substr(2, 6), "newer ");
}

}  // namespace
}  // namespace qav
