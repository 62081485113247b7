#include "datatool/csv_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qav {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct Read {
  Rows rows;
  std::vector<int> lines;
  std::string error;  // "LINE: reason" when the reading stopped on a fault
};

Read ReadAll(const std::string& text) {
  Read read;
  std::FILE* stream = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
  if (text.empty()) stream = std::tmpfile();
  CsvReader reader;
  reader.Attach(stream);
  std::vector<std::string> fields;
  CsvReader::Result result;
  while ((result = reader.Next(&fields)) == CsvReader::kRow) {
    read.rows.push_back(fields);
    read.lines.push_back(reader.line());
  }
  if (result == CsvReader::kError)
    read.error = std::to_string(reader.line()) + ": " + reader.error();
  std::fclose(stream);
  return read;
}

TEST(CsvReaderTest, RowsAndTheirLines) {
  struct Case {
    const char* name;
    std::string text;
    Rows rows;
    std::vector<int> lines;
  } cases[] = {
      {"LF", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"CR LF", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"no final line end", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"empty fields", ",\n,x,\n", {{"", ""}, {"", "x", ""}}, {1, 2}},
      {"quoted comma and quote", "\"a,b\",\"say \"\"hi\"\"\"\n", {{"a,b", "say \"hi\""}}, {1}},
      {"quoted empty", "\"\",x\n", {{"", "x"}}, {1}},
      {"quoted line ends kept",
       "\"one\ntwo\",\"3\r\n4\"\nnext\n",
       {{"one\ntwo", "3\r\n4"}, {"next"}},
       {1, 4}},
      {"quoted field then CR LF", "\"a\"\r\n\"b\"", {{"a"}, {"b"}}, {1, 2}},
      {"empty lines skipped", "\na\n\r\n\nb\n\n", {{"a"}, {"b"}}, {2, 5}},
      {"byte order mark",
       "\xEF\xBB\xBF"
       "code,name\n",
       {{"code", "name"}},
       {1}},
      {"bare CR is data", "a\rb,c\n", {{"a\rb", "c"}}, {1}},
      {"UTF-8 passes as bytes", "N\xC3\xBAria\n", {{"N\xC3\xBAria"}}, {1}},
      {"nothing", "", {}, {}},
  };
  for (const Case& c : cases) {
    const Read read = ReadAll(c.text);
    EXPECT_EQ(read.error, "") << c.name;
    EXPECT_EQ(read.rows, c.rows) << c.name;
    EXPECT_EQ(read.lines, c.lines) << c.name;
  }
}

TEST(CsvReaderTest, FaultsAndTheirLines) {
  struct Case {
    std::string text;
    std::string error;
  } cases[] = {
      {"a,b\nx\"y\n", "2: quote inside an unquoted field"},
      {"a\n\"ab\"c\n", "2: text after a closing quote"},
      {"a\n\"open,\nstill open\n", "2: quoted field not closed"},
      {"a\n" + std::string(CsvReader::kMaxRowBytes + 1, 'x') + "\n",
       "2: row longer than 65536 bytes"},
      {"a\n\"" + std::string(CsvReader::kMaxRowBytes + 1, 'x') + "\"\n",
       "2: row longer than 65536 bytes"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadAll(c.text).error, c.error) << c.text.substr(0, 40);
  }
}

TEST(CsvReaderTest, ReadsAcrossItsBufferAndFromAFile) {
  // More than one read buffer of rows, with CR LF split between reads.
  std::string text;
  for (int i = 0; i < 120000; ++i) text += std::to_string(i) + ",\"x\r\ny\"\r\n";
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  CsvReader reader;
  reader.Attach(file);
  std::vector<std::string> fields;
  int rows = 0;
  while (reader.Next(&fields) == CsvReader::kRow) {
    ASSERT_EQ(fields, (std::vector<std::string>{std::to_string(rows), "x\r\ny"}));
    ASSERT_EQ(reader.line(), 2 * rows + 1);
    ++rows;
  }
  EXPECT_EQ(rows, 120000);
  EXPECT_EQ(reader.error(), "");
  std::fclose(file);

  CsvReader missing;
  EXPECT_FALSE(missing.Open("/nonexistent/folder/file.csv"));
}

}  // namespace
}  // namespace qav
