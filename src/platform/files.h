// Plain files by suite path (see suite_path.h): text files read line by line
// and written with CR LF line ends, binary files read and written at any
// position, and the few questions asked of the file system. Every handle
// closes itself.
#ifndef QAV_PLATFORM_FILES_H_
#define QAV_PLATFORM_FILES_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace qav {

bool FileExists(std::string_view path);
// -1 when the file cannot be examined.
int64_t FileSize(std::string_view path);
bool DeleteFile(std::string_view path);

// Reads lines ending in CR LF, LF or the end of the file; the line ends are
// not part of the lines. Lines longer than the limit are cut there (the rest
// of the line is skipped), so a huge or binary file cannot exhaust memory.
class TextFileReader {
 public:
  static constexpr size_t kMaxLine = 64 * 1024;

  bool Open(std::string_view path);
  bool IsOpen() const { return file_ != nullptr; }
  // False at the end of the file or on a read error.
  bool ReadLine(std::string* line);
  void Close() { file_.reset(); }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

// Writes lines, each ended by CR LF.
class TextFileWriter {
 public:
  // Creates or empties the file (or appends to it).
  bool Open(std::string_view path, bool append = false);
  bool IsOpen() const { return file_ != nullptr; }
  bool WriteLine(std::string_view line);
  bool Write(std::string_view text);
  // Flushes and closes; false when anything written was lost.
  bool Close();
  ~TextFileWriter() { Close(); }

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

class BinaryFile {
 public:
  enum Mode { kRead, kReadWrite, kCreate };  // kCreate empties or creates

  bool Open(std::string_view path, Mode mode);
  bool IsOpen() const { return fd_ >= 0; }
  // Reads up to `size` bytes at offset into *out (resized to what was read).
  bool ReadAt(int64_t offset, size_t size, std::string* out);
  bool WriteAt(int64_t offset, std::string_view bytes);
  int64_t Size() const;
  bool Truncate(int64_t size);
  void Close();
  ~BinaryFile() { Close(); }

 private:
  int fd_ = -1;
};

// Reads a whole file (at most `limit` bytes); false when it cannot be read.
bool ReadWholeFile(std::string_view path, std::string* out, size_t limit = 64 << 20);

}  // namespace qav

#endif  // QAV_PLATFORM_FILES_H_
