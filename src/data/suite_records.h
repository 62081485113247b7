// The suite's three record files that the receipt report reads, and their
// data definitions (the ddf\<base>.xdf files from which a missing file is
// created). Offsets count from 0; codes, keys and dates are packed digits.
//
//   FinquesH (properties), 64 bytes:
//     0  2  property code, 4 digits                    key 0, unique
//     2  4  (reserved)
//     6 30  property name, blank-padded                key 1, duplicates,
//                                                      in folded upper case
//    36 28  (reserved)
//   PropietH (co-owners), 64 bytes:
//     0  4  owner key: property code + owner number    key 0, unique
//     4  4  (reserved)
//     8 30  co-owner's name, blank-padded
//    38 10  apartment, blank-padded
//    48 16  (reserved)
//   CobramH (receipts), 32 bytes:
//     0  4  owner key                                  key 0 (with the next
//     4  4  issue date                                 two fields), unique
//     8  1  sequence number, 2 digits
//     9  4  collection date (the zero date: not collected)
//    13  4  amount in euro cents, signed little-endian
//    17  4  (reserved)
//    21  1  state letter: C, I collected; P, D pending
//    22 10  (reserved)
// Reserved bytes are blanks.
#ifndef QAV_DATA_SUITE_RECORDS_H_
#define QAV_DATA_SUITE_RECORDS_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "recman/file_definition.h"

namespace qav {

constexpr int kPropertyRecordLength = 64;
constexpr int kOwnerRecordLength = 64;
constexpr int kReceiptRecordLength = 32;

struct PropertyRecord {
  std::string code;  // packed, 2 bytes
  std::string name;  // 30 characters
};

struct OwnerRecord {
  std::string owner_key;  // packed, 4 bytes
  std::string name;       // 30 characters
  std::string apartment;  // 10 characters
};

struct ReceiptRecord {
  std::string owner_key;        // packed, 4 bytes
  std::string issued;           // packed date
  std::string sequence;         // packed, 1 byte
  std::string collected;        // packed date
  int32_t amount_cents = 0;
  char state = ' ';
};

std::string EncodeProperty(const PropertyRecord& r);
std::string EncodeOwner(const OwnerRecord& r);
std::string EncodeReceipt(const ReceiptRecord& r);
PropertyRecord DecodeProperty(std::string_view bytes);
OwnerRecord DecodeOwner(std::string_view bytes);
ReceiptRecord DecodeReceipt(std::string_view bytes);

FileDefinition PropertyFileDefinition();
FileDefinition OwnerFileDefinition();
FileDefinition ReceiptFileDefinition();

// The data definition file's bytes: the length of the creation data in two
// little-endian bytes, then the creation data.
std::string DataDefinitionFile(const FileDefinition& definition);

// The suite's file of that base name (FinquesH, PropietH, CobramH), in any
// case; false for another name.
bool SuiteFileDefinition(std::string_view base, FileDefinition* definition);

}  // namespace qav

#endif  // QAV_DATA_SUITE_RECORDS_H_
