#include "datatool/sample_data.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "datatool/csv_reader.h"
#include "datatool/record_rows.h"
#include "datatool_test_util.h"

namespace qav {
namespace {

using testing::MemoryStream;

struct Sample {
  std::string properties, owners, receipts;
};

Sample Make(const SampleOptions& options) {
  MemoryStream p, o, r;
  EXPECT_TRUE(WriteSample(options, p.get(), o.get(), r.get()).ok());
  return {p.Text(), o.Text(), r.Text()};
}

std::vector<std::vector<std::string>> Rows(const std::string& text) {
  std::string copy = text;
  std::FILE* stream = fmemopen(copy.data(), copy.size(), "rb");
  CsvReader reader;
  reader.Attach(stream);
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> fields;
  while (reader.Next(&fields) == CsvReader::kRow) rows.push_back(fields);
  EXPECT_EQ(reader.error(), "");
  std::fclose(stream);
  return rows;
}

TEST(SampleDataTest, TheSameSeedGivesTheSameBytes) {
  SampleOptions options;
  options.seed = 2024;
  const Sample a = Make(options), b = Make(options);
  EXPECT_EQ(a.properties, b.properties);
  EXPECT_EQ(a.owners, b.owners);
  EXPECT_EQ(a.receipts, b.receipts);
  options.seed = 2025;
  const Sample c = Make(options);
  EXPECT_NE(a.owners, c.owners);
  // More receipts leave the properties and owners as they were.
  options.seed = 2024;
  options.receipts = 30;
  const Sample d = Make(options);
  EXPECT_EQ(d.properties, a.properties);
  EXPECT_EQ(d.owners, a.owners);
  EXPECT_EQ(d.receipts.substr(0, 200), a.receipts.substr(0, 200));
}

TEST(SampleDataTest, TheBytesOfOneSeed) {
  // Fixed bytes: the generator must give them with any compiler and
  // standard library. A deliberate change of the generator changes them.
  SampleOptions options;
  options.seed = 1;
  options.properties = 2;
  options.owners = 3;
  options.receipts = 3;
  const Sample s = Make(options);
  EXPECT_EQ(s.properties,
            "code,name\n"
            "1,\"Av. de Sarri\xC3\xA0, 169\"\n"
            "2,\"C. de la Creu, 172\"\n");
  EXPECT_EQ(s.owners,
            "property,owner,name,apartment\n"
            "1,1,Miquel Roca i Mart\xC3\xAD,1r 1a\n"
            "1,2,\xC3\x92scar Coll i Capdevila,1r 2a\n"
            "1,3,\xC3\x92scar Font Roig,1r 3a\n"
            "2,1,Anna Mestres i Vila,1r 1a\n"
            "2,2,Enric Sala Ferrer,1r 2a\n"
            "2,3,Carme Mestres Turull,1r 3a\n");
  EXPECT_EQ(s.receipts.substr(0, s.receipts.find("\n1,3,") + 1),
            "property,owner,issued,sequence,collected,amount_cents,state\n"
            "1,1,2023-01-01,1,2023-01-04,20285,C\n"
            "1,1,2023-02-01,2,2023-02-05,20285,C\n"
            "1,1,2023-03-01,3,2023-03-05,20285,C\n"
            "1,2,2023-01-01,1,2023-01-09,11865,C\n"
            "1,2,2023-02-01,2,,11865,P\n"
            "1,2,2023-03-01,3,2023-03-10,11865,C\n");
}

TEST(SampleDataTest, PlausibleDataThatImports) {
  SampleOptions options;
  options.seed = 7;
  options.properties = 40;
  options.owners = 12;
  options.receipts = 24;
  options.start_year = 2023;
  options.start_month = 1;
  const Sample s = Make(options);
  const auto properties = Rows(s.properties), owners = Rows(s.owners), receipts = Rows(s.receipts);
  ASSERT_EQ(properties.size(), 1u + 40);
  ASSERT_EQ(owners.size(), 1u + 40 * 12);
  ASSERT_EQ(receipts.size(), 1u + 40 * 12 * 24);
  EXPECT_EQ(properties[0], (std::vector<std::string>{"code", "name"}));

  // Every row is one the import takes.
  std::string record;
  for (const auto& [table, rows] :
       {std::pair{Table::kProperties, &properties}, std::pair{Table::kOwners, &owners},
        std::pair{Table::kReceipts, &receipts}}) {
    for (size_t i = 1; i < rows->size(); ++i) {
      ASSERT_EQ(RowToRecord(table, (*rows)[i], 64, &record), "") << (*rows)[i][0];
    }
  }
  std::set<std::string> apartments_of_one;
  for (size_t i = 1; i <= 12; ++i) apartments_of_one.insert(owners[i][3]);
  EXPECT_EQ(apartments_of_one.size(), 12u);  // no two co-owners share a door

  std::map<std::string, int> states;
  std::map<std::string, std::set<std::string>> quotas;  // by owner
  std::set<std::string> issued;
  for (size_t i = 1; i < receipts.size(); ++i) {
    const auto& r = receipts[i];
    ++states[r[6]];
    quotas[r[0] + "/" + r[1]].insert(r[5]);
    issued.insert(r[2]);
    EXPECT_EQ(r[2].substr(8), "01");  // issued on the 1st
    const int amount = std::stoi(r[5]);
    EXPECT_GE(amount, 4000);
    EXPECT_LE(amount, 25000);
    if (r[6] == "C" || r[6] == "I") {
      EXPECT_EQ(r[4].substr(0, 8), r[2].substr(0, 8));  // collected in the month of issue
      EXPECT_GT(r[4], r[2]);
    } else {
      EXPECT_EQ(r[4], "");
    }
  }
  EXPECT_EQ(*issued.begin(), "2023-01-01");
  EXPECT_EQ(*issued.rbegin(), "2024-12-01");
  EXPECT_EQ(issued.size(), 24u);
  for (const auto& [owner, amounts] : quotas) EXPECT_EQ(amounts.size(), 1u) << owner;
  const int total = 40 * 12 * 24;
  EXPECT_GT(states["C"], total * 80 / 100);
  EXPECT_GT(states["P"], 0);
  EXPECT_GT(states["D"], 0);
  EXPECT_GT(states["I"], 0);
  EXPECT_EQ(states["C"] + states["P"] + states["D"] + states["I"], total);
}

TEST(SampleDataTest, OptionsOutOfRange) {
  struct Case {
    SampleOptions options;
    const char* message;
  } cases[] = {
      {{1, 10000, 1, 1, 2023, 1}, "--properties must be from 0 to 9999"},
      {{1, 1, 10000, 1, 2023, 1}, "--owners must be from 0 to 9999"},
      {{1, 1, 1, 1201, 2023, 1}, "--receipts must be from 0 to 1200"},
      {{1, 1, 1, 13, 9999, 1},
       "--start must be a month YYYY-MM that leaves the receipts in years up to 9999"},
      {{1, 1, 1, 1, 2023, 13},
       "--start must be a month YYYY-MM that leaves the receipts in years up to 9999"},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckSampleOptions(c.options).message(), c.message);
  EXPECT_TRUE(CheckSampleOptions({1, 9999, 9999, 1200, 2023, 1}).ok());
  EXPECT_TRUE(CheckSampleOptions({1, 0, 0, 0, 2023, 1}).ok());
}

}  // namespace
}  // namespace qav
