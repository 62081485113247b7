// The CSV form of the suite's three record files and the conversion of a CSV
// row to a record and back. Columns, in this order:
//
//   properties (FinquesH): code,name
//   owners (PropietH):     property,owner,name,apartment
//   receipts (CobramH):    property,owner,issued,sequence,collected,
//                          amount_cents,state
//
// Codes and owner numbers are 0 to 9999 and sequences 0 to 99, written as
// plain decimal digits; dates are YYYY-MM-DD (collected is empty when the
// receipt was not collected, the zero date in the record); amounts are
// signed 32-bit counts of euro cents; state is empty or one character.
// Texts are UTF-8 in the CSV and code page 850 in the record, blank-padded:
// trailing blanks carry no meaning, so they are dropped on the way in and
// on the way out, and a state of one blank is the same as an empty one.
// Control characters are refused in texts, since the report prints them.
#ifndef QAV_DATATOOL_RECORD_ROWS_H_
#define QAV_DATATOOL_RECORD_ROWS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "recman/file_definition.h"

namespace qav {

enum class Table { kProperties, kOwners, kReceipts };

struct TableInfo {
  Table table;
  const char* name;       // "properties"
  const char* file_base;  // "FinquesH"
  const char* header;     // "code,name"
  size_t columns;
  size_t used_length;  // the record bytes the columns fill, from 0
  size_t key_length;   // key 0: the leading bytes of the record
};

const TableInfo& InfoOf(Table table);

// properties, owners, receipts or the file's base name, in any case.
bool TableByName(std::string_view name, Table* table);

// Fills *record (`record_length` bytes, at least the table's used length;
// bytes after the columns are blanks) from a row of UTF-8 fields. Returns an
// empty text, or the reason the row is refused ("name is longer than 30
// characters").
std::string RowToRecord(Table table, const std::vector<std::string>& fields, size_t record_length,
                        std::string* record);

// The row of a record. Returns an empty text, or what is wrong with the
// record ("issue date is not a real date"); the row is then incomplete.
std::string RecordToRow(Table table, std::string_view record, std::vector<std::string>* fields);

// Empty when the record is exactly what its row imports as, so that export
// and import give it back byte for byte; else what is wrong, including
// non-blank bytes outside the columns, which an export would lose. *fields,
// when given, receives the record's row.
std::string RecordProblem(Table table, std::string_view record,
                          std::vector<std::string>* fields = nullptr);

// Empty when a file of this definition holds the table's records: long
// enough for the columns, with key 0 the record's leading key bytes,
// compared byte by byte and unique. Else what does not fit.
std::string LayoutProblem(Table table, const FileDefinition& definition);

// The key 0 of a record as the operator reads it: "property 12, owner 3".
std::string DescribeKey(Table table, std::string_view record);

// The key of the record that a record belongs to (the property of a
// co-owner, the co-owner of a receipt); empty for properties.
std::string ParentKey(Table table, std::string_view record);

}  // namespace qav

#endif  // QAV_DATATOOL_RECORD_ROWS_H_
