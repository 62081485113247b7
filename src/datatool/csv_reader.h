// Reads CSV files as RFC 4180 describes them: fields separated by commas,
// rows ended by LF or CR LF (the last row may have no line end), fields in
// double quotes holding commas, line ends and quotes written twice. A UTF-8
// byte order mark at the start is skipped, and so are empty lines. Rows are
// read one at a time, so a file of any size streams through.
#ifndef QAV_DATATOOL_CSV_READER_H_
#define QAV_DATATOOL_CSV_READER_H_

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace qav {

class CsvReader {
 public:
  // A row longer than this is refused rather than read into memory.
  static constexpr size_t kMaxRowBytes = 64 * 1024;

  enum Result { kRow, kEnd, kError };

  // Opens a host file; false when it cannot be read (errno tells why).
  bool Open(const std::string& host_path);
  // Reads from a stream the caller keeps open.
  void Attach(std::FILE* stream);

  // The next row's fields, as they are in the file (UTF-8 is not checked
  // here). On kError, error() says what is wrong.
  Result Next(std::vector<std::string>* fields);

  // The line on which the last row read (or the fault found) begins,
  // counting from 1.
  int line() const { return row_line_; }
  const std::string& error() const { return error_; }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };

  // The byte `ahead` places on (0: the next one), or -1 past the end of
  // the file or after a read error.
  int Peek(size_t ahead = 0);
  int Get();
  Result Fail(const std::string& message);

  std::unique_ptr<std::FILE, Closer> owned_;
  std::FILE* stream_ = nullptr;
  std::string buffer_;
  size_t at_ = 0;
  bool started_ = false;
  bool read_error_ = false;
  int line_ = 1;
  int row_line_ = 0;
  std::string error_;
};

}  // namespace qav

#endif  // QAV_DATATOOL_CSV_READER_H_
