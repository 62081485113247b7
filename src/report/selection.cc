#include "report/selection.h"

#include "forms/form_set.h"
#include "util/dates.h"
#include "util/packed_digits.h"

namespace qav {
namespace {

SelectionBounds& Bounds() {
  static SelectionBounds bounds;
  return bounds;
}

}  // namespace

const SelectionBounds& Selection() { return Bounds(); }

bool SetSelectionFromForm() {
  SelectionBounds& b = Bounds();
  b.SelDateFrom = ParseDateText(FieldValue(1, 1));
  b.SelDateTo = ParseDateText(FieldValue(1, 2));
  b.SelCodeFrom = PackCode("0" + FieldValue(1, 3));
  b.SelCodeTo = PackCode("0" + FieldValue(1, 4));
  return b.SelCodeFrom <= b.SelCodeTo && b.SelDateFrom <= b.SelDateTo;
}

void SetSelection(const SelectionBounds& bounds) { Bounds() = bounds; }

}  // namespace qav
