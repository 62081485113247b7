#include "report/batch_report.h"

#include <cstdio>
#include <cstdlib>

#include "data/record_files.h"
#include "forms/form_set.h"
#include "forms/validation.h"
#include "frame/session.h"
#include "platform/cp850.h"
#include "platform/system.h"
#include "report/print_file.h"
#include "report/receipt_report.h"
#include "report/run_sequence.h"
#include "report/selection.h"

namespace qav {
namespace {

void Tell(const std::string& cp850_text) {
  std::fprintf(stderr, "karvelot: %s\n", Cp850ToUtf8(cp850_text).c_str());
}

// Types one option's text into its field as the selection form would.
bool TypeIntoField(const char* option, int field, const std::optional<std::string>& text) {
  if (!text) return true;
  const FieldDef* def = Field(1, field);
  if (def == nullptr) return true;
  if (text->size() > static_cast<size_t>(def->FieldLength)) {
    Tell(std::string(option) + ": \"" + *text + "\" is longer than the field's " +
         std::to_string(def->FieldLength) + " characters");
    return false;
  }
  if (ValidateFieldText(1, *text, field) != 0) {
    Tell(std::string(option) + ": \"" + *text + "\" is not " +
         (def->FieldType == kDateField ? "a valid date" : "a property code (digits only)"));
    return false;
  }
  return true;
}

}  // namespace

int RunBatchReport(const BatchOptions& options) {
  PrepareSession();
  SetOpenFailureHandler([](const std::string& message, int16_t) {
    Tell(message);
    ResetRecordFiles();
    std::exit(1);
  });
  std::string error;
  if (!StartReportFiles(&error)) {
    Tell(error);
    return 1;
  }
  const bool typed = TypeIntoField("--from", 1, options.date_from) &&
                     TypeIntoField("--to", 2, options.date_to) &&
                     TypeIntoField("--code-from", 3, options.code_from) &&
                     TypeIntoField("--code-to", 4, options.code_to);
  if (!typed) {
    ResetRecordFiles();
    return 2;
  }
  if (!SetSelectionFromForm()) {
    const bool dates = Selection().SelDateFrom > Selection().SelDateTo;
    Tell(dates ? "--from, --to: the first issue date is after the last"
               : "--code-from, --code-to: the first property code is above the last");
    ResetRecordFiles();
    return 2;
  }
  const bool written = WriteReceiptReport();
  ResetRecordFiles();
  if (!written) {
    Tell("cannot write the print file " + PrintFilePath());
    return 1;
  }
  // A script's input is not the operator's: the print service shows its
  // preview on the terminal but waits for no key after a file or printer.
  if (options.print) RunProgram(Session().ExeDir + "QAVPRINT", {}, ProgramInput::kNone);
  return 0;
}

}  // namespace qav
