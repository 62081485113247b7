// The program's forms, their fields and the lookup lists opened from fields,
// as described by the form definition file FORMS\<program>.QPN under the
// root folder. Loaded once at start; the field values live here and every
// module reads and writes them through these operations.
//
// File layout (items as item_reader.h reads them; comment lines starting
// with "'" only before the header, each form group, the lookup count and
// each lookup record):
//   FormCount, MaxFields
//   per form:   FormKeys, FieldCount, NextForm, window top, left, bottom, right
//     per field: row, column, prompt, length, line width, info width, flags,
//                type, lookup, options
//   LookupCount
//   per lookup: file, key, window top, left, bottom, right, filter form,
//               heading, nested lookup
#ifndef QAV_FORMS_FORM_SET_H_
#define QAV_FORMS_FORM_SET_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qav {

// Field flags.
constexpr int16_t kBlankEntry = 1;
constexpr int16_t kSecret = 2;
constexpr int16_t kDisplayOnly = 4;
constexpr int16_t kCursorAtEnd = 8;

// Field types; any other value is text.
constexpr int16_t kDateField = 1;
constexpr int16_t kNumberField = 2;

struct FieldDef {
  int16_t FieldRow = 0;
  int16_t FieldCol = 0;
  std::string FieldPrompt;
  int16_t FieldLength = 0;
  int16_t FieldLineWidth = 0;
  int16_t FieldInfoWidth = 0;
  int16_t FieldFlags = 0;
  int16_t FieldType = 0;
  int16_t FieldLookup = 0;
  std::string FieldOptions;
  std::string FieldValue;  // always FieldLength characters, blank-padded
};

struct FormDef {
  std::string FormKeys;
  int16_t FieldCount = 0;
  int16_t NextForm = 0;
  std::array<int16_t, 4> FormWindow{};  // top, left, bottom, right; top 0: no window
  std::vector<FieldDef> fields;         // fields 1 to FieldCount
};

struct LookupDef {
  int16_t LookupFile = 0;
  int16_t LookupKey = 0;
  std::array<int16_t, 4> LookupWindow{};
  int16_t LookupFilterForm = 0;
  std::string LookupHeading;
  int16_t LookupNested = 0;
};

// Limits beyond which a form file is taken for damaged.
constexpr int16_t kMaxForms = 100;
constexpr int16_t kMaxFieldsPerForm = 200;
constexpr int16_t kMaxLookups = 100;
constexpr int16_t kMaxFieldLength = 4000;

// Reads the form file of the program (RootDir + "FORMS\" + ProgramName +
// ".QPN"), translating prompts, options and headings, and gives form 1 (the
// selection form) its initial values. A file that is missing, damaged, or
// lacks form 1 with four fields, form 2 with one field or lookup list 1 is
// refused: false, with *error naming the file, the line and the fault, and
// the tables left empty.
bool LoadFormSet(std::string* error);

// The same from given content, for tests and tools; `name` names it in errors.
bool LoadFormSetFrom(std::string content, std::string_view name, std::string* error);

int16_t FormCount();
int16_t MaxFields();
int16_t LookupCount();
// Null when the number is out of range.
const FormDef* Form(int form);
const FieldDef* Field(int form, int field);
const LookupDef* Lookup(int lookup);

// Stores a value left-aligned, blank-padded and cut to the field's length.
void SetFieldValue(int form, int field, std::string_view value);
std::string FieldValue(int form, int field);

// Empty tables; for tests.
void ResetFormSet();

}  // namespace qav

#endif  // QAV_FORMS_FORM_SET_H_
