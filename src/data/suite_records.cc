#include "data/suite_records.h"

#include <algorithm>

#include "util/text.h"

namespace qav {
namespace {

void Put(std::string* record, size_t at, std::string_view value, size_t width) {
  std::string field(value.substr(0, width));
  field.resize(width, ' ');
  record->replace(at, width, field);
}

std::string Get(std::string_view bytes, size_t at, size_t width) {
  if (at >= bytes.size()) return std::string(width, ' ');
  std::string field(bytes.substr(at, width));
  field.resize(width, ' ');
  return field;
}

// Upper case with accents folded away, so that names sort as the operator
// reads them.
std::array<uint8_t, 256> FoldedUpperTable() {
  const bool was = UpperFolding();
  SetUpperFolding(true);
  std::array<uint8_t, 256> table;
  for (int b = 0; b < 256; ++b) {
    table[static_cast<size_t>(b)] =
        static_cast<uint8_t>(ToUpperText(std::string(1, static_cast<char>(b)))[0]);
  }
  SetUpperFolding(was);
  return table;
}

}  // namespace

std::string EncodeProperty(const PropertyRecord& r) {
  std::string record(kPropertyRecordLength, ' ');
  Put(&record, 0, r.code, 2);
  Put(&record, 6, r.name, 30);
  return record;
}

std::string EncodeOwner(const OwnerRecord& r) {
  std::string record(kOwnerRecordLength, ' ');
  Put(&record, 0, r.owner_key, 4);
  Put(&record, 8, r.name, 30);
  Put(&record, 38, r.apartment, 10);
  return record;
}

std::string EncodeReceipt(const ReceiptRecord& r) {
  std::string record(kReceiptRecordLength, ' ');
  Put(&record, 0, r.owner_key, 4);
  Put(&record, 4, r.issued, 4);
  Put(&record, 8, r.sequence, 1);
  Put(&record, 9, r.collected, 4);
  const uint32_t amount = static_cast<uint32_t>(r.amount_cents);
  for (int i = 0; i < 4; ++i) record[13 + static_cast<size_t>(i)] = static_cast<char>(amount >> (8 * i));
  record[21] = r.state;
  return record;
}

PropertyRecord DecodeProperty(std::string_view bytes) {
  return PropertyRecord{Get(bytes, 0, 2), Get(bytes, 6, 30)};
}

OwnerRecord DecodeOwner(std::string_view bytes) {
  return OwnerRecord{Get(bytes, 0, 4), Get(bytes, 8, 30), Get(bytes, 38, 10)};
}

ReceiptRecord DecodeReceipt(std::string_view bytes) {
  ReceiptRecord r;
  r.owner_key = Get(bytes, 0, 4);
  r.issued = Get(bytes, 4, 4);
  r.sequence = Get(bytes, 8, 1);
  r.collected = Get(bytes, 9, 4);
  const std::string amount = Get(bytes, 13, 4);
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(amount[static_cast<size_t>(i)])) << (8 * i);
  r.amount_cents = static_cast<int32_t>(v);
  r.state = Get(bytes, 21, 1)[0];
  return r;
}

FileDefinition PropertyFileDefinition() {
  FileDefinition d;
  d.record_length = kPropertyRecordLength;
  d.AddKey({{1, 2, 0}});
  d.AddKey({{7, 30, kSegmentAlternate}}, /*duplicates=*/true);
  d.SetAlternate(FoldedUpperTable(), "MAJUSC");
  return d;
}

FileDefinition OwnerFileDefinition() {
  FileDefinition d;
  d.record_length = kOwnerRecordLength;
  d.AddKey({{1, 4, 0}});
  return d;
}

FileDefinition ReceiptFileDefinition() {
  FileDefinition d;
  d.record_length = kReceiptRecordLength;
  d.AddKey({{1, 9, 0}});
  return d;
}

std::string DataDefinitionFile(const FileDefinition& definition) {
  const std::string creation = EncodeFileDefinition(definition);
  std::string file{static_cast<char>(creation.size() & 0xFF),
                   static_cast<char>((creation.size() >> 8) & 0xFF)};
  return file + creation;
}

bool SuiteFileDefinition(std::string_view base, FileDefinition* definition) {
  std::string name(base);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; });
  if (name == "FINQUESH") {
    *definition = PropertyFileDefinition();
  } else if (name == "PROPIETH") {
    *definition = OwnerFileDefinition();
  } else if (name == "COBRAMH") {
    *definition = ReceiptFileDefinition();
  } else {
    return false;
  }
  return true;
}

}  // namespace qav
