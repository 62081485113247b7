// Print files for the tests of the print service: the sample reports kept
// in testdata/ (laid out as the receipt report writes them, with their text
// renderings checked by eye) and small files written line by line.
#ifndef QAV_TESTS_QAVPRINT_PRINT_FIXTURES_H_
#define QAV_TESTS_QAVPRINT_PRINT_FIXTURES_H_

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "qavprint/print_file_reader.h"
#include "support/temp_dir.h"

namespace qav::testing {

inline std::string TestDataPath(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "testdata" / name).string();
}

inline std::string ReadTestData(const std::string& name) {
  std::ifstream in(TestDataPath(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines as a print file holds them, each ended by CR LF.
inline std::string PrintFileBytes(std::initializer_list<std::string> lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// Reads the bytes as a print file; the read itself must succeed.
inline PrintDocument ReadPrintBytes(const std::string& bytes) {
  TempDir dir;
  PrintDocument document;
  const PrintStatus status = ReadPrintFile(dir.Write("qavprint.tmp", bytes), &document);
  if (!status.ok()) document.warnings.push_back({0, "READ FAILED: " + status.message()});
  return document;
}

}  // namespace qav::testing

#endif  // QAV_TESTS_QAVPRINT_PRINT_FIXTURES_H_
