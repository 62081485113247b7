#include "datatool/record_rows.h"

#include <cstdint>
#include <cstdio>

#include "data/suite_records.h"
#include "platform/cp850.h"
#include "util/dates.h"
#include "util/packed_digits.h"

namespace qav {
namespace {

constexpr TableInfo kTables[] = {
    {Table::kProperties, "properties", "FinquesH", "code,name", 2, 36, 2},
    {Table::kOwners, "owners", "PropietH", "property,owner,name,apartment", 4, 48, 4},
    {Table::kReceipts, "receipts", "CobramH",
     "property,owner,issued,sequence,collected,amount_cents,state", 7, 22, 9},
};

constexpr int kNameWidth = 30;
constexpr int kApartmentWidth = 10;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A whole number of plain digits no greater than `max`.
bool ParseNumber(const std::string& text, int64_t max, int64_t* value) {
  if (text.empty() || text.size() > 10) return false;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > max) return false;
  *value = v;
  return true;
}

bool ParseAmount(const std::string& text, int32_t* amount) {
  const bool negative = !text.empty() && text[0] == '-';
  int64_t v = 0;
  if (!ParseNumber(negative ? text.substr(1) : text, int64_t{1} << 31, &v)) return false;
  if (negative) v = -v;
  if (v > INT32_MAX) return false;
  *amount = static_cast<int32_t>(v);
  return true;
}

std::string Digits(int64_t value, int width) { return ZeroPad(value, width); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsRealDate(int year, int month, int day) {
  return year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(month, year, LeapRule::kGregorian);
}

// YYYY-MM-DD to a packed date; empty text and the reason on failure.
std::string ParseDate(const std::string& column, const std::string& text, PackedDate* date) {
  const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' && IsDigit(text[0]) &&
                      IsDigit(text[1]) && IsDigit(text[2]) && IsDigit(text[3]) &&
                      IsDigit(text[5]) && IsDigit(text[6]) && IsDigit(text[8]) && IsDigit(text[9]);
  if (!shaped) return column + " must be a date YYYY-MM-DD";
  const int year = std::stoi(text.substr(0, 4));
  const int month = std::stoi(text.substr(5, 2));
  const int day = std::stoi(text.substr(8, 2));
  if (!IsRealDate(year, month, day)) return column + " is not a real date (" + text + ")";
  *date = PackDigits(text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2));
  return "";
}

bool IsControl(char32_t u) { return u < 0x20 || (u >= 0x7F && u < 0xA0); }

// A UTF-8 text to code page 850, trailing blanks dropped, at most `width`
// characters.
std::string ParseText(const std::string& column, const std::string& text, size_t width,
                      std::string* out) {
  out->clear();
  for (size_t at = 0; at < text.size();) {
    char32_t u = 0;
    const size_t used = DecodeUtf8(text, at, &u);
    if (used == 0) return column + " is not valid UTF-8";
    at += used;
    if (IsControl(u)) return column + " has a control character";
    const int code = UnicodeToCp850(u);
    if (code < 0) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(u));
      return column + " has a character outside code page 850 (" + hex + ")";
    }
    out->push_back(static_cast<char>(code));
  }
  while (!out->empty() && out->back() == ' ') out->pop_back();
  if (out->size() > width) {
    return column + " is longer than " + std::to_string(width) + " characters";
  }
  return "";
}

std::string NumberColumn(const std::string& column, const std::string& text, int64_t max,
                         int64_t* value) {
  if (ParseNumber(text, max, value)) return "";
  return column + " must be a whole number from 0 to " + std::to_string(max);
}

// Packed digits as stored: each byte 128 + a pair from 00 to 99.
bool IsPacked(std::string_view bytes) {
  for (unsigned char b : bytes) {
    if (b < 0x80 || b > 0x80 + 99) return false;
  }
  return true;
}

int64_t PackedValue(std::string_view bytes) { return std::stoll(UnpackDigits(bytes)); }

// A stored date as YYYY-MM-DD, empty for the zero date; false when it is
// neither.
bool DateText(std::string_view date, std::string* text) {
  if (date == kZeroDate) {
    text->clear();
    return true;
  }
  if (date.size() != 4 || !IsPacked(date)) return false;
  const std::string digits = UnpackDigits(date);
  const int year = std::stoi(digits.substr(0, 4));
  const int month = std::stoi(digits.substr(4, 2));
  const int day = std::stoi(digits.substr(6, 2));
  if (!IsRealDate(year, month, day)) return false;
  *text = digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2);
  return true;
}

// A stored text as UTF-8 without its padding; false when it holds a
// control character.
bool StoredText(std::string_view stored, std::string* text) {
  std::string trimmed(stored);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  for (unsigned char b : trimmed) {
    if (b < 0x20 || b == 0x7F) return false;
  }
  *text = Cp850ToUtf8(trimmed);
  return true;
}

std::string OwnerKeyText(std::string_view key) {
  const std::string digits = UnpackDigits(key.substr(0, 4));
  return "property " + std::to_string(std::stoi(digits.substr(0, 4))) + ", owner " +
         std::to_string(std::stoi(digits.substr(4, 4)));
}

std::string Fit(std::string record, size_t length) {
  record.resize(length, ' ');
  return record;
}

}  // namespace

const TableInfo& InfoOf(Table table) { return kTables[static_cast<int>(table)]; }

bool TableByName(std::string_view name, Table* table) {
  const std::string wanted = Lower(name);
  for (const TableInfo& info : kTables) {
    if (wanted == info.name || wanted == Lower(info.file_base)) {
      *table = info.table;
      return true;
    }
  }
  return false;
}

std::string RowToRecord(Table table, const std::vector<std::string>& f, size_t record_length,
                        std::string* record) {
  const TableInfo& info = InfoOf(table);
  if (f.size() != info.columns) {
    return "expected " + std::to_string(info.columns) + " columns (" + info.header + "), found " +
           std::to_string(f.size());
  }
  std::string reason;
  switch (table) {
    case Table::kProperties: {
      int64_t code = 0;
      PropertyRecord r;
      if (!(reason = NumberColumn("code", f[0], 9999, &code)).empty() ||
          !(reason = ParseText("name", f[1], kNameWidth, &r.name)).empty()) {
        return reason;
      }
      r.code = PackDigits(Digits(code, 4));
      *record = Fit(EncodeProperty(r), record_length);
      return "";
    }
    case Table::kOwners: {
      int64_t property = 0, owner = 0;
      OwnerRecord r;
      if (!(reason = NumberColumn("property", f[0], 9999, &property)).empty() ||
          !(reason = NumberColumn("owner", f[1], 9999, &owner)).empty() ||
          !(reason = ParseText("name", f[2], kNameWidth, &r.name)).empty() ||
          !(reason = ParseText("apartment", f[3], kApartmentWidth, &r.apartment)).empty()) {
        return reason;
      }
      r.owner_key = PackDigits(Digits(property, 4) + Digits(owner, 4));
      *record = Fit(EncodeOwner(r), record_length);
      return "";
    }
    case Table::kReceipts: {
      int64_t property = 0, owner = 0, sequence = 0;
      ReceiptRecord r;
      r.collected = std::string(kZeroDate);
      if (!(reason = NumberColumn("property", f[0], 9999, &property)).empty() ||
          !(reason = NumberColumn("owner", f[1], 9999, &owner)).empty() ||
          !(reason = ParseDate("issued", f[2], &r.issued)).empty() ||
          !(reason = NumberColumn("sequence", f[3], 99, &sequence)).empty() ||
          (!f[4].empty() && !(reason = ParseDate("collected", f[4], &r.collected)).empty())) {
        return reason;
      }
      if (!ParseAmount(f[5], &r.amount_cents)) {
        return "amount_cents must be a whole number from -2147483648 to 2147483647";
      }
      std::string state;
      if (!(reason = ParseText("state", f[6], 1, &state)).empty()) {
        return reason.find("longer") != std::string::npos ? "state must be empty or one character"
                                                          : reason;
      }
      r.state = state.empty() ? ' ' : state[0];
      r.owner_key = PackDigits(Digits(property, 4) + Digits(owner, 4));
      r.sequence = PackDigits(Digits(sequence, 2));
      *record = Fit(EncodeReceipt(r), record_length);
      return "";
    }
  }
  return "unknown table";
}

std::string RecordToRow(Table table, std::string_view record, std::vector<std::string>* f) {
  f->clear();
  switch (table) {
    case Table::kProperties: {
      const PropertyRecord r = DecodeProperty(record);
      if (!IsPacked(r.code)) return "property code is not packed digits";
      f->push_back(std::to_string(PackedValue(r.code)));
      f->emplace_back();
      if (!StoredText(r.name, &f->back())) return "name has a control character";
      return "";
    }
    case Table::kOwners: {
      const OwnerRecord r = DecodeOwner(record);
      if (!IsPacked(r.owner_key)) return "owner key is not packed digits";
      f->push_back(std::to_string(PackedValue(r.owner_key.substr(0, 2))));
      f->push_back(std::to_string(PackedValue(r.owner_key.substr(2, 2))));
      f->emplace_back();
      if (!StoredText(r.name, &f->back())) return "name has a control character";
      f->emplace_back();
      if (!StoredText(r.apartment, &f->back())) return "apartment has a control character";
      return "";
    }
    case Table::kReceipts: {
      const ReceiptRecord r = DecodeReceipt(record);
      if (!IsPacked(r.owner_key)) return "owner key is not packed digits";
      f->push_back(std::to_string(PackedValue(r.owner_key.substr(0, 2))));
      f->push_back(std::to_string(PackedValue(r.owner_key.substr(2, 2))));
      f->emplace_back();
      if (r.issued == kZeroDate) return "issue date is the zero date";
      if (!DateText(r.issued, &f->back())) return "issue date is not a real date";
      if (!IsPacked(r.sequence)) return "sequence number is not packed digits";
      f->push_back(std::to_string(PackedValue(r.sequence)));
      f->emplace_back();
      if (!DateText(r.collected, &f->back())) return "collection date is not a real date";
      f->push_back(std::to_string(r.amount_cents));
      f->emplace_back();
      if (!StoredText(std::string(1, r.state), &f->back())) return "state has a control character";
      return "";
    }
  }
  return "unknown table";
}

std::string RecordProblem(Table table, std::string_view record, std::vector<std::string>* fields) {
  std::vector<std::string> own;
  if (fields == nullptr) fields = &own;
  std::string reason = RecordToRow(table, record, fields);
  if (!reason.empty()) return reason;
  std::string again;
  reason = RowToRecord(table, *fields, record.size(), &again);
  if (!reason.empty()) return reason;
  if (again != record) return "bytes outside the exported columns are not blanks";
  return "";
}

std::string LayoutProblem(Table table, const FileDefinition& definition) {
  const TableInfo& info = InfoOf(table);
  if (definition.record_length < info.used_length) {
    return "records of " + std::to_string(definition.record_length) +
           " bytes are shorter than the " + std::to_string(info.used_length) + " the " + info.name +
           " need";
  }
  bool fits = !definition.keys.empty() && !definition.keys[0].duplicates;
  size_t next = 1;
  if (fits) {
    for (const KeySegment& s : definition.keys[0].segments) {
      if (s.position != next || (s.flags & (kSegmentBinary | kSegmentAlternate)) != 0) fits = false;
      next += s.length;
    }
  }
  if (!fits || next != info.key_length + 1) {
    return "key 0 is not the first " + std::to_string(info.key_length) +
           " bytes of the record, unique and compared byte by byte";
  }
  return "";
}

std::string DescribeKey(Table table, std::string_view record) {
  const std::string padded = Fit(std::string(record), InfoOf(table).used_length);
  switch (table) {
    case Table::kProperties:
      return "property " + std::to_string(PackedValue(padded.substr(0, 2)) % 10000);
    case Table::kOwners:
      return OwnerKeyText(padded);
    case Table::kReceipts: {
      std::string issued;
      if (!DateText(padded.substr(4, 4), &issued)) issued = "?";
      return OwnerKeyText(padded) + ", issued " + issued + ", sequence " +
             std::to_string(PackedValue(padded.substr(8, 1)) % 100);
    }
  }
  return "";
}

std::string ParentKey(Table table, std::string_view record) {
  switch (table) {
    case Table::kProperties:
      return "";
    case Table::kOwners:
      return std::string(record.substr(0, 2));
    case Table::kReceipts:
      return std::string(record.substr(0, 4));
  }
  return "";
}

}  // namespace qav
