#include "datatool/csv_writer.h"

namespace qav {
namespace {

constexpr size_t kDrainAt = 256 * 1024;

bool NeedsQuotes(const std::string& field) {
  return field.find_first_of(",\"\r\n") != std::string::npos;
}

}  // namespace

void AppendCsvRow(const std::vector<std::string>& fields, std::string* out) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out->push_back(',');
    const std::string& field = fields[i];
    if (!NeedsQuotes(field)) {
      out->append(field);
      continue;
    }
    out->push_back('"');
    for (char c : field) {
      if (c == '"') out->push_back('"');
      out->push_back(c);
    }
    out->push_back('"');
  }
  out->push_back('\n');
}

void CsvWriter::WriteRow(const std::vector<std::string>& fields) {
  AppendCsvRow(fields, &buffer_);
  if (buffer_.size() >= kDrainAt) Drain();
}

void CsvWriter::Drain() {
  if (!buffer_.empty() && !failed_ &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

bool CsvWriter::Finish() {
  Drain();
  if (!failed_ && (std::fflush(stream_) != 0 || std::ferror(stream_) != 0)) failed_ = true;
  return !failed_;
}

}  // namespace qav
