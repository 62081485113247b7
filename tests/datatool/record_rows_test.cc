#include "datatool/record_rows.h"

#include <gtest/gtest.h>

#include "data/suite_records.h"

namespace qav {
namespace {

using Fields = std::vector<std::string>;

TEST(RecordRowsTest, TablesByName) {
  Table t;
  for (const auto& [name, table] :
       std::vector<std::pair<std::string, Table>>{{"properties", Table::kProperties},
                                                  {"FinquesH", Table::kProperties},
                                                  {"finquesh", Table::kProperties},
                                                  {"owners", Table::kOwners},
                                                  {"PROPIETH", Table::kOwners},
                                                  {"receipts", Table::kReceipts},
                                                  {"CobramH", Table::kReceipts}}) {
    ASSERT_TRUE(TableByName(name, &t)) << name;
    EXPECT_EQ(t, table) << name;
  }
  EXPECT_FALSE(TableByName("receipt", &t));
  EXPECT_FALSE(TableByName("", &t));
}

TEST(RecordRowsTest, RowsBecomeTheSuiteRecords) {
  std::string record;
  ASSERT_EQ(RowToRecord(Table::kProperties, {"12", "Edifici Sant Jordi   "}, 64, &record), "");
  EXPECT_EQ(record, EncodeProperty({"\x80\x8C", "Edifici Sant Jordi"}));

  // Accented letters and the middle dot go into code page 850.
  ASSERT_EQ(RowToRecord(Table::kOwners, {"12", "3", "N\xC3\xBAria Puig i Ferrer", "\xC3\x80tic"},
                        64, &record),
            "");
  EXPECT_EQ(record, EncodeOwner({"\x80\x8C\x80\x83", "N\xA3ria Puig i Ferrer", "\xB7tic"}));
  ASSERT_EQ(RowToRecord(Table::kOwners, {"0", "9999", "Til\xC2\xB7lers", ""}, 64, &record), "");
  EXPECT_EQ(record.substr(0, 4), "\x80\x80\xE3\xE3");
  EXPECT_EQ(record.substr(8, 8), "Til\xFAlers");

  ASSERT_EQ(
      RowToRecord(Table::kReceipts,
                  {"12", "3", "2024-02-29", "7", "2024-03-05", "-2147483648", "C"}, 32, &record),
      "");
  ReceiptRecord r = DecodeReceipt(record);
  EXPECT_EQ(r.owner_key, "\x80\x8C\x80\x83");
  EXPECT_EQ(r.issued, "\x94\x98\x82\x9D");
  EXPECT_EQ(r.sequence, "\x87");
  EXPECT_EQ(r.collected, "\x94\x98\x83\x85");
  EXPECT_EQ(r.amount_cents, INT32_MIN);
  EXPECT_EQ(r.state, 'C');

  // Not collected: the zero date; no state: a blank, whether empty or one blank.
  for (const char* state : {"", " "}) {
    ASSERT_EQ(RowToRecord(Table::kReceipts, {"1", "1", "2023-01-01", "0", "", "2147483647", state},
                          32, &record),
              "");
    r = DecodeReceipt(record);
    EXPECT_EQ(r.collected, std::string(4, '\x80'));
    EXPECT_EQ(r.state, ' ');
    EXPECT_EQ(r.amount_cents, INT32_MAX);
  }

  // A file of longer records gets blanks after the columns.
  ASSERT_EQ(RowToRecord(Table::kProperties, {"1", "A"}, 100, &record), "");
  EXPECT_EQ(record.size(), 100u);
  EXPECT_EQ(record.substr(36), std::string(64, ' '));
}

TEST(RecordRowsTest, BadRowsAndWhy) {
  struct Case {
    Table table;
    Fields fields;
    std::string reason;
  } cases[] = {
      {Table::kProperties, {"1"}, "expected 2 columns (code,name), found 1"},
      {Table::kProperties, {"1", "a", "b"}, "expected 2 columns (code,name), found 3"},
      {Table::kOwners,
       {"1", "2", "x"},
       "expected 4 columns (property,owner,name,apartment), found 3"},
      {Table::kProperties, {"10000", "a"}, "code must be a whole number from 0 to 9999"},
      {Table::kProperties, {"-1", "a"}, "code must be a whole number from 0 to 9999"},
      {Table::kProperties, {"", "a"}, "code must be a whole number from 0 to 9999"},
      {Table::kProperties, {" 1", "a"}, "code must be a whole number from 0 to 9999"},
      {Table::kProperties, {"1.5", "a"}, "code must be a whole number from 0 to 9999"},
      {Table::kProperties,
       {"99999999999999999999", "a"},
       "code must be a whole number from 0 to 9999"},
      {Table::kProperties, {"1", std::string(31, 'x')}, "name is longer than 30 characters"},
      {Table::kProperties, {"1", "Caf\xE9"}, "name is not valid UTF-8"},
      {Table::kProperties,
       {"1", "10 \xE2\x82\xAC"},
       "name has a character outside code page 850 (U+20AC)"},
      {Table::kProperties, {"1", "a\nb"}, "name has a control character"},
      {Table::kProperties, {"1", "a\tb"}, "name has a control character"},
      {Table::kOwners, {"1", "10000", "x", ""}, "owner must be a whole number from 0 to 9999"},
      {Table::kOwners, {"1", "1", "x", "12345678901"}, "apartment is longer than 10 characters"},
      {Table::kReceipts,
       {"1", "1", "2023-02-29", "1", "", "0", ""},
       "issued is not a real date (2023-02-29)"},
      {Table::kReceipts,
       {"1", "1", "2023-13-01", "1", "", "0", ""},
       "issued is not a real date (2023-13-01)"},
      {Table::kReceipts,
       {"1", "1", "0000-01-01", "1", "", "0", ""},
       "issued is not a real date (0000-01-01)"},
      {Table::kReceipts, {"1", "1", "", "1", "", "0", ""}, "issued must be a date YYYY-MM-DD"},
      {Table::kReceipts,
       {"1", "1", "1/2/2023", "1", "", "0", ""},
       "issued must be a date YYYY-MM-DD"},
      {Table::kReceipts,
       {"1", "1", "2023-1-01", "1", "", "0", ""},
       "issued must be a date YYYY-MM-DD"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "100", "", "0", ""},
       "sequence must be a whole number from 0 to 99"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "1", "2023-04-31", "0", ""},
       "collected is not a real date (2023-04-31)"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "1", "", "2147483648", ""},
       "amount_cents must be a whole number from -2147483648 to 2147483647"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "1", "", "-2147483649", ""},
       "amount_cents must be a whole number from -2147483648 to 2147483647"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "1", "", "12.50", ""},
       "amount_cents must be a whole number from -2147483648 to 2147483647"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "1", "", "", ""},
       "amount_cents must be a whole number from -2147483648 to 2147483647"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "1", "", "5", "CP"},
       "state must be empty or one character"},
      {Table::kReceipts,
       {"1", "1", "2023-01-01", "1", "", "5", "\x01"},
       "state has a control character"},
  };
  for (const Case& c : cases) {
    std::string record;
    EXPECT_EQ(RowToRecord(c.table, c.fields, 64, &record), c.reason) << c.reason;
  }
}

TEST(RecordRowsTest, RecordsBackToRows) {
  Fields fields;
  EXPECT_EQ(
      RecordToRow(Table::kProperties, EncodeProperty({"\x80\x8C", "Edifici Sant Jordi"}), &fields),
      "");
  EXPECT_EQ(fields, (Fields{"12", "Edifici Sant Jordi"}));
  EXPECT_EQ(RecordToRow(Table::kOwners, EncodeOwner({"\x80\x8C\x80\x83", "N\xA3ria", "\xB7tic"}),
                        &fields),
            "");
  EXPECT_EQ(fields, (Fields{"12", "3", "N\xC3\xBAria", "\xC3\x80tic"}));
  ReceiptRecord r{"\x80\x8C\x80\x83", "\x94\x98\x82\x9D", "\x87", std::string(4, '\x80'), -5, ' '};
  EXPECT_EQ(RecordToRow(Table::kReceipts, EncodeReceipt(r), &fields), "");
  EXPECT_EQ(fields, (Fields{"12", "3", "2024-02-29", "7", "", "-5", ""}));
}

TEST(RecordRowsTest, DamagedRecords) {
  const std::string good =
      EncodeReceipt({"\x80\x8C\x80\x83", "\x94\x98\x82\x9D", "\x87", "\x94\x98\x83\x85", 100, 'C'});
  EXPECT_EQ(RecordProblem(Table::kReceipts, good), "");
  struct Case {
    Table table;
    std::string record;
    std::string problem;
  } cases[] = {
      {Table::kProperties, EncodeProperty({"\x05\x80", "x"}), "property code is not packed digits"},
      {Table::kProperties, EncodeProperty({"\x80\xE4", "x"}), "property code is not packed digits"},
      {Table::kProperties,
       EncodeProperty({"\x80\x81",
                       "a\x1B"
                       "b"}),
       "name has a control character"},
      {Table::kOwners, EncodeOwner({"\x80\x81\x80\x81", "x", std::string("a\0", 2)}),
       "apartment has a control character"},
      {Table::kReceipts, std::string(good).replace(4, 4, "\x94\x98\x82\x9E"),
       "issue date is not a real date"},
      {Table::kReceipts, std::string(good).replace(4, 4, std::string(4, '\x80')),
       "issue date is the zero date"},
      {Table::kReceipts, std::string(good).replace(9, 4, "    "),
       "collection date is not a real date"},
      {Table::kReceipts, std::string(good).replace(8, 1, "7"),
       "sequence number is not packed digits"},
      {Table::kReceipts, std::string(good).replace(25, 1, "X"),
       "bytes outside the exported columns are not blanks"},
      {Table::kProperties, std::string(EncodeProperty({"\x80\x81", "x"})).replace(2, 1, "\x01"),
       "bytes outside the exported columns are not blanks"},
  };
  for (const Case& c : cases) EXPECT_EQ(RecordProblem(c.table, c.record), c.problem) << c.problem;
}

TEST(RecordRowsTest, LayoutOfAFile) {
  EXPECT_EQ(LayoutProblem(Table::kProperties, PropertyFileDefinition()), "");
  EXPECT_EQ(LayoutProblem(Table::kOwners, OwnerFileDefinition()), "");
  EXPECT_EQ(LayoutProblem(Table::kReceipts, ReceiptFileDefinition()), "");
  FileDefinition split;  // key 0 in three segments is the same key
  split.record_length = 40;
  split.AddKey({{1, 4, 0}, {5, 4, 0}, {9, 1, 0}});
  EXPECT_EQ(LayoutProblem(Table::kReceipts, split), "");

  FileDefinition short_records = ReceiptFileDefinition();
  short_records.record_length = 21;
  EXPECT_EQ(LayoutProblem(Table::kReceipts, short_records),
            "records of 21 bytes are shorter than the 22 the receipts need");
  const std::string bad_key =
      "key 0 is not the first 9 bytes of the record, unique and compared byte by byte";
  FileDefinition eight;
  eight.record_length = 32;
  eight.AddKey({{1, 8, 0}});
  EXPECT_EQ(LayoutProblem(Table::kReceipts, eight), bad_key);
  FileDefinition duplicates;
  duplicates.record_length = 32;
  duplicates.AddKey({{1, 9, 0}}, true);
  EXPECT_EQ(LayoutProblem(Table::kReceipts, duplicates), bad_key);
  FileDefinition binary;
  binary.record_length = 32;
  binary.AddKey({{1, 9, kSegmentBinary}});
  EXPECT_EQ(LayoutProblem(Table::kReceipts, binary), bad_key);
}

TEST(RecordRowsTest, KeysForMessages) {
  std::string record;
  RowToRecord(Table::kReceipts, {"12", "3", "2024-02-29", "7", "", "0", ""}, 32, &record);
  EXPECT_EQ(DescribeKey(Table::kReceipts, record),
            "property 12, owner 3, issued 2024-02-29, sequence 7");
  EXPECT_EQ(ParentKey(Table::kReceipts, record), "\x80\x8C\x80\x83");
  RowToRecord(Table::kOwners, {"12", "3", "", ""}, 64, &record);
  EXPECT_EQ(DescribeKey(Table::kOwners, record), "property 12, owner 3");
  EXPECT_EQ(ParentKey(Table::kOwners, record), "\x80\x8C");
  RowToRecord(Table::kProperties, {"12", ""}, 64, &record);
  EXPECT_EQ(DescribeKey(Table::kProperties, record), "property 12");
}

}  // namespace
}  // namespace qav
