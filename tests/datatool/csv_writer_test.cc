#include "datatool/csv_writer.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "datatool/csv_reader.h"

namespace qav {
namespace {

TEST(CsvWriterTest, QuotesOnlyWhatNeedsIt) {
  struct Case {
    std::vector<std::string> fields;
    std::string line;
  } cases[] = {
      {{"1", "C. Major, 12"}, "1,\"C. Major, 12\"\n"},
      {{"say \"hi\"", ""}, "\"say \"\"hi\"\"\",\n"},
      {{"a\nb", "c\rd"}, "\"a\nb\",\"c\rd\"\n"},
      {{" lead", "N\xC3\xBAria", "l\xC2\xB7l"}, " lead,N\xC3\xBAria,l\xC2\xB7l\n"},
      {{""}, "\n"},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendCsvRow(c.fields, &out);
    EXPECT_EQ(out, c.line);
    // The reader gives the fields back (but for one empty field: an empty
    // line is no row).
    if (c.fields.size() > 1) {
      std::FILE* stream = fmemopen(out.data(), out.size(), "rb");
      CsvReader reader;
      reader.Attach(stream);
      std::vector<std::string> fields;
      ASSERT_EQ(reader.Next(&fields), CsvReader::kRow);
      EXPECT_EQ(fields, c.fields);
      std::fclose(stream);
    }
  }
}

TEST(CsvWriterTest, AFailedWriteIsReported) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  {
    CsvWriter writer(full);
    for (int i = 0; i < 10; ++i) writer.WriteRow({"a", "b"});
    EXPECT_FALSE(writer.Finish());
  }
  std::fclose(full);
}

}  // namespace
}  // namespace qav
