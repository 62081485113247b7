// Writes CSV rows to a stream: fields separated by commas, rows ended by LF,
// a field put in double quotes (its quotes written twice) only when it holds
// a comma, a quote, a CR or a LF. Output is gathered in a buffer and written
// in large pieces, so millions of rows stream out quickly; a failed write is
// remembered and reported by Finish, never lost.
#ifndef QAV_DATATOOL_CSV_WRITER_H_
#define QAV_DATATOOL_CSV_WRITER_H_

#include <cstdio>
#include <string>
#include <vector>

namespace qav {

// Appends one row and its LF.
void AppendCsvRow(const std::vector<std::string>& fields, std::string* out);

class CsvWriter {
 public:
  // The stream stays the caller's; Finish flushes it but does not close it.
  explicit CsvWriter(std::FILE* stream) : stream_(stream) {}
  CsvWriter(const CsvWriter&) = delete;
  CsvWriter& operator=(const CsvWriter&) = delete;
  ~CsvWriter() { Finish(); }

  void WriteRow(const std::vector<std::string>& fields);
  // Writes what is buffered and flushes; false when any write failed.
  bool Finish();

 private:
  void Drain();

  std::FILE* stream_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace qav

#endif  // QAV_DATATOOL_CSV_WRITER_H_
