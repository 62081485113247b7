#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/suite_path.h"

namespace qav {

bool FileExists(std::string_view path) {
  struct stat st;
  return stat(HostPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int64_t FileSize(std::string_view path) {
  struct stat st;
  if (stat(HostPath(path).c_str(), &st) != 0) return -1;
  return st.st_size;
}

bool DeleteFile(std::string_view path) { return unlink(HostPath(path).c_str()) == 0; }

bool TextFileReader::Open(std::string_view path) {
  const std::string host = HostPath(path);
  struct stat st;
  // Folders and devices are no settings or text files.
  if (stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    file_.reset();
    return false;
  }
  file_.reset(std::fopen(host.c_str(), "rb"));
  return file_ != nullptr;
}

bool TextFileReader::ReadLine(std::string* line) {
  line->clear();
  if (!file_) return false;
  bool any = false;
  int c;
  while ((c = getc(file_.get())) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line->size() < kMaxLine) line->push_back(static_cast<char>(c));
  }
  if (!any) return false;
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

bool TextFileWriter::Open(std::string_view path, bool append) {
  Close();
  failed_ = false;
  file_ = std::fopen(HostPath(path).c_str(), append ? "ab" : "wb");
  return file_ != nullptr;
}

bool TextFileWriter::Write(std::string_view text) {
  if (!file_) return false;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) failed_ = true;
  return !failed_;
}

bool TextFileWriter::WriteLine(std::string_view line) { return Write(line) && Write("\r\n"); }

bool TextFileWriter::Close() {
  if (!file_) return !failed_;
  if (std::fflush(file_) != 0) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

bool BinaryFile::Open(std::string_view path, Mode mode) {
  Close();
  int flags = O_RDONLY;
  if (mode == kReadWrite) flags = O_RDWR;
  if (mode == kCreate) flags = O_RDWR | O_CREAT | O_TRUNC;
  fd_ = ::open(HostPath(path).c_str(), flags | O_CLOEXEC, 0666);
  return fd_ >= 0;
}

bool BinaryFile::ReadAt(int64_t offset, size_t size, std::string* out) {
  out->assign(size, '\0');
  if (fd_ < 0 || offset < 0) {
    out->clear();
    return false;
  }
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd_, out->data() + done, size - done, offset + done);
    if (n < 0) {
      out->resize(done);
      return false;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  out->resize(done);
  return true;
}

bool BinaryFile::WriteAt(int64_t offset, std::string_view bytes) {
  if (fd_ < 0 || offset < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, offset + done);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

int64_t BinaryFile::Size() const {
  struct stat st;
  if (fd_ < 0 || fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

bool BinaryFile::Truncate(int64_t size) { return fd_ >= 0 && ftruncate(fd_, size) == 0; }

void BinaryFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool ReadWholeFile(std::string_view path, std::string* out, size_t limit) {
  BinaryFile file;
  if (!file.Open(path, BinaryFile::kRead)) return false;
  const int64_t size = file.Size();
  if (size < 0) return false;
  return file.ReadAt(0, std::min<size_t>(static_cast<size_t>(size), limit), out);
}

}  // namespace qav
