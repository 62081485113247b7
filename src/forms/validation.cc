#include "forms/validation.h"

#include <string>

#include "forms/form_set.h"
#include "frame/session.h"
#include "util/dates.h"
#include "util/number_mask.h"
#include "util/text.h"

namespace qav {

int16_t ValidateFieldText(int form, std::string_view text, int field) {
  const FieldDef* def = Field(form, field);
  if (def == nullptr) return -1;
  std::string value(text);
  int16_t result = 0;
  if (def->FieldType == kDateField) {
    if (IsAllChar(value, ' ')) {
      value = DateToEditText(Session().WorkDate);
      value.resize(static_cast<size_t>(def->FieldLength), ' ');
    }
    result = ValidateDateText(value) ? -1 : 0;
  } else if (def->FieldType == kNumberField) {
    result = CheckNumberText(value, "") ? -1 : 0;
  }
  if (result == 0) SetFieldValue(form, field, value);
  return result;
}

}  // namespace qav
