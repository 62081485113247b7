#include "datatool/file_check.h"

#include <algorithm>

#include "recman/status.h"

namespace qav {
namespace {

// The bytes of a key value that compare, byte by byte, in the key's order:
// binary segments (little-endian numbers) reversed, alternate segments
// translated through the file's table.
std::string Collation(const FileDefinition& definition, const KeyDefinition& key,
                      std::string_view record) {
  std::string out;
  for (const KeySegment& s : key.segments) {
    std::string part(record.substr(std::min<size_t>(s.position - 1, record.size()), s.length));
    part.resize(s.length, '\0');
    if ((s.flags & kSegmentBinary) != 0) {
      std::reverse(part.begin(), part.end());
    } else if ((s.flags & kSegmentAlternate) != 0) {
      for (char& c : part)
        c = static_cast<char>(definition.alternate_table[static_cast<unsigned char>(c)]);
    }
    out += part;
  }
  return out;
}

uint64_t Fingerprint(std::string_view record) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : record) h = (h ^ c) * 1099511628211ull;
  return h;
}

class Problems {
 public:
  explicit Problems(CheckReport* report) : report_(report) {}
  void Add(const std::string& text) {
    if (report_->problems.size() < CheckReport::kMaxProblems) {
      report_->problems.push_back(text);
    } else {
      ++report_->more_problems;
    }
  }

 private:
  CheckReport* report_;
};

}  // namespace

std::string DescribeFile(const std::string& host_path, const FileDefinition& definition,
                         uint32_t records) {
  std::string out = "file      " + host_path + "\n";
  out += "records   " + std::to_string(records) + "\n";
  out += "record    " + std::to_string(definition.record_length) + " bytes\n";
  out += "page      " + std::to_string(definition.page_size) + " bytes\n";
  for (size_t k = 0; k < definition.keys.size(); ++k) {
    const KeyDefinition& key = definition.keys[k];
    std::string label = "key " + std::to_string(k);
    label.resize(10, ' ');
    out += label + std::to_string(key.Length()) + " bytes, " +
           (key.duplicates ? "duplicates" : "unique") + "\n";
    for (const KeySegment& s : key.segments) {
      out += "          segment at " + std::to_string(s.position) + ", " +
             std::to_string(s.length) + " bytes";
      if ((s.flags & kSegmentBinary) != 0) out += ", binary";
      if ((s.flags & kSegmentAlternate) != 0) {
        std::string name = definition.alternate_name;
        while (!name.empty() && name.back() == ' ') name.pop_back();
        out += ", alternate collation " + name;
      }
      out += "\n";
    }
  }
  return out;
}

CheckReport CheckFile(DataFile* file, const Table* table) {
  CheckReport report;
  Problems problems(&report);
  FileDefinition definition;
  if (const int16_t status = file->Stat(&definition, &report.records); status != kRmOk) {
    problems.Add("cannot read the definition: " + StatusText(status));
    return report;
  }
  bool decode = table != nullptr;
  if (decode) {
    if (const std::string layout = LayoutProblem(*table, definition); !layout.empty()) {
      problems.Add(std::string("definition does not fit the ") + InfoOf(*table).name + ": " +
                   layout);
      decode = false;
    }
  }
  auto where = [&](const std::string& record) {
    std::string text = "position " + std::to_string(file->Position());
    if (decode) text += ", " + DescribeKey(*table, record);
    return text;
  };

  uint64_t key0_fingerprint = 0;
  std::string record, previous;
  for (size_t k = 0; k < definition.keys.size(); ++k) {
    const KeyDefinition& key = definition.keys[k];
    const std::string label = "key " + std::to_string(k) + ": ";
    uint64_t fingerprint = 0;
    uint64_t count = 0;
    previous.clear();
    int16_t status = file->ReadFirst(static_cast<int>(k), &record);
    for (; status == kRmOk; status = file->ReadNext(static_cast<int>(k), &record)) {
      ++count;
      fingerprint += Fingerprint(record);
      std::string value = Collation(definition, key, record);
      if (count > 1) {
        if (value < previous) {
          problems.Add(label + "record " + std::to_string(count) + " in key order (" +
                       where(record) + ") is out of order");
        } else if (value == previous && !key.duplicates) {
          problems.Add(label + "record " + std::to_string(count) + " in key order (" +
                       where(record) + ") repeats the key of the record before it");
        }
      }
      previous = std::move(value);
      if (k == 0 && decode) {
        if (const std::string reason = RecordProblem(*table, record); !reason.empty()) {
          problems.Add("record at " + where(record) + ": " + reason);
        }
      }
    }
    if (status != kRmEndOfFile) {
      problems.Add(label + "reading stopped after " + std::to_string(count) +
                   " records: " + StatusText(status));
    }
    if (count != report.records) {
      problems.Add(label + "reads " + std::to_string(count) + " records, the file counts " +
                   std::to_string(report.records));
    }
    if (k == 0) {
      key0_fingerprint = fingerprint;
    } else if (fingerprint != key0_fingerprint) {
      problems.Add(label + "does not read the same records as key 0");
    }
  }
  return report;
}

}  // namespace qav
