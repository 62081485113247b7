#include "datatool/csv_reader.h"

namespace qav {
namespace {

constexpr size_t kChunk = 1 << 20;

std::string TooLong() {
  return "row longer than " + std::to_string(CsvReader::kMaxRowBytes) + " bytes";
}

}  // namespace

bool CsvReader::Open(const std::string& host_path) {
  owned_.reset(std::fopen(host_path.c_str(), "rb"));
  stream_ = owned_.get();
  return stream_ != nullptr;
}

void CsvReader::Attach(std::FILE* stream) {
  owned_.reset();
  stream_ = stream;
}

int CsvReader::Peek(size_t ahead) {
  while (at_ + ahead >= buffer_.size()) {
    if (stream_ == nullptr || read_error_ || std::feof(stream_)) return -1;
    buffer_.erase(0, at_);
    at_ = 0;
    const size_t kept = buffer_.size();
    buffer_.resize(kept + kChunk);
    const size_t n = std::fread(buffer_.data() + kept, 1, kChunk, stream_);
    buffer_.resize(kept + n);
    if (n == 0) {
      read_error_ = std::ferror(stream_) != 0;
      return -1;
    }
  }
  return static_cast<unsigned char>(buffer_[at_ + ahead]);
}

int CsvReader::Get() {
  const int c = Peek();
  if (c >= 0) {
    ++at_;
    if (c == '\n') ++line_;
  }
  return c;
}

CsvReader::Result CsvReader::Fail(const std::string& message) {
  error_ = message;
  return kError;
}

CsvReader::Result CsvReader::Next(std::vector<std::string>* fields) {
  fields->clear();
  if (!started_) {
    started_ = true;
    if (Peek(0) == 0xEF && Peek(1) == 0xBB && Peek(2) == 0xBF) at_ += 3;
  }
  // Empty lines carry no row.
  while (Peek() == '\n' || (Peek() == '\r' && Peek(1) == '\n')) {
    if (Get() == '\r') Get();
  }
  row_line_ = line_;
  if (Peek() < 0) return read_error_ ? Fail("read error") : kEnd;

  size_t row_bytes = 0;
  std::string field;
  bool field_start = true;
  while (true) {
    int c = Get();
    if (++row_bytes > kMaxRowBytes) return Fail(TooLong());
    if (c == '"' && field_start) {
      // A quoted field runs to the quote that is not written twice.
      while (true) {
        c = Get();
        if (++row_bytes > kMaxRowBytes) return Fail(TooLong());
        if (c < 0) return Fail(read_error_ ? "read error" : "quoted field not closed");
        if (c == '"') {
          if (Peek() != '"') break;
          Get();
        }
        field.push_back(static_cast<char>(c));
      }
      c = Get();
      if (c == '\r' && Peek() == '\n') c = Get();
      if (c >= 0 && c != ',' && c != '\n') return Fail("text after a closing quote");
    } else if (c == '"') {
      return Fail("quote inside an unquoted field");
    } else if (c == '\r' && Peek() == '\n') {
      c = Get();
    }
    if (c == ',') {
      fields->push_back(std::move(field));
      field.clear();
      field_start = true;
      continue;
    }
    if (c == '\n' || c < 0) {
      if (read_error_) return Fail("read error");
      fields->push_back(std::move(field));
      return kRow;
    }
    field.push_back(static_cast<char>(c));
    field_start = false;
  }
}

}  // namespace qav
