// The selection bounds of the receipt report: the issue dates and property
// codes typed into the selection form (form 1), packed so that they compare
// byte by byte. Set when form 1 is completed; read by the report.
#ifndef QAV_REPORT_SELECTION_H_
#define QAV_REPORT_SELECTION_H_

#include <string>

namespace qav {

struct SelectionBounds {
  std::string SelDateFrom;  // packed date
  std::string SelDateTo;
  std::string SelCodeFrom;  // packed digits, 2 bytes
  std::string SelCodeTo;
};

const SelectionBounds& Selection();

// Computes the bounds from fields 1 to 4 of form 1 and keeps them; true when
// both ranges are in order (from not above to).
bool SetSelectionFromForm();

// Sets the bounds directly; for tests.
void SetSelection(const SelectionBounds& bounds);

}  // namespace qav

#endif  // QAV_REPORT_SELECTION_H_
