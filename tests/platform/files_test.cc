#include "platform/files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qav {
namespace {

TEST(FilesTest, TextLinesInAnyLineEnd) {
  testing::TempDir dir;
  const std::string path = dir.Write("t.ini", "one\r\ntwo\nthree\r\n\r\nlast");
  TextFileReader reader;
  ASSERT_TRUE(reader.Open(path));
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(&line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "", "last"}));
}

TEST(FilesTest, HugeLinesAreCutAndFoldersAreNotTextFiles) {
  testing::TempDir dir;
  const std::string path =
      dir.Write("big", std::string(TextFileReader::kMaxLine * 2, 'x') + "\nnext\n");
  TextFileReader reader;
  ASSERT_TRUE(reader.Open(path));
  std::string line;
  ASSERT_TRUE(reader.ReadLine(&line));
  EXPECT_EQ(line.size(), TextFileReader::kMaxLine);
  ASSERT_TRUE(reader.ReadLine(&line));
  EXPECT_EQ(line, "next");
  EXPECT_FALSE(reader.ReadLine(&line));
  EXPECT_FALSE(reader.Open(dir.path()));
  EXPECT_FALSE(reader.Open(dir.path() + "missing"));
}

TEST(FilesTest, WriterEndsLinesWithCrLf) {
  testing::TempDir dir;
  TextFileWriter writer;
  ASSERT_TRUE(writer.Open(dir.path() + "out.txt"));
  EXPECT_TRUE(writer.WriteLine("DEVICE"));
  EXPECT_TRUE(writer.WriteLine(""));
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(dir.Read("out.txt"), "DEVICE\r\n\r\n");
  ASSERT_TRUE(writer.Open(dir.path() + "out.txt", /*append=*/true));
  EXPECT_TRUE(writer.WriteLine("more"));
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(dir.Read("out.txt"), "DEVICE\r\n\r\nmore\r\n");
  EXPECT_FALSE(writer.Open(dir.path() + "no\\such\\folder.txt"));
}

TEST(FilesTest, WriterReportsLostData) {
  TextFileWriter writer;
  ASSERT_TRUE(writer.Open("/dev/full"));
  writer.WriteLine(std::string(1 << 16, 'x'));
  EXPECT_FALSE(writer.Close());
}

TEST(FilesTest, BinaryAtAnyPosition) {
  testing::TempDir dir;
  const std::string path = dir.path() + "b.tmp";
  BinaryFile file;
  ASSERT_TRUE(file.Open(path, BinaryFile::kCreate));
  EXPECT_TRUE(file.WriteAt(0, "\x05\0\0\0"));
  EXPECT_TRUE(file.WriteAt(10, "xyz"));
  EXPECT_EQ(file.Size(), 13);
  std::string got;
  EXPECT_TRUE(file.ReadAt(8, 10, &got));
  EXPECT_EQ(got, std::string("\0\0xyz", 5));
  EXPECT_TRUE(file.Truncate(4));
  EXPECT_EQ(file.Size(), 4);
  file.Close();
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(FileSize(path), 4);
  EXPECT_TRUE(DeleteFile(path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(FileSize(path), -1);
  EXPECT_FALSE(file.Open(path, BinaryFile::kRead));
}

}  // namespace
}  // namespace qav
