// The report without the terminal, for scripts and tests: the same start-up,
// the selection form's four fields filled from texts as an operator would
// type them and checked as the form checks them, the report written, and
// the print service started unless told otherwise.
#ifndef QAV_REPORT_BATCH_REPORT_H_
#define QAV_REPORT_BATCH_REPORT_H_

#include <optional>
#include <string>

namespace qav {

struct BatchOptions {
  // Texts in code page 850; an option left out keeps the field's initial value.
  std::optional<std::string> date_from, date_to, code_from, code_to;
  bool print = true;
};

// Exit codes: 0 report written; 2 an input refused (nothing written);
// 1 a file that cannot be used (the form file, a data file, the print file).
// Messages go to standard error.
int RunBatchReport(const BatchOptions& options);

}  // namespace qav

#endif  // QAV_REPORT_BATCH_REPORT_H_
