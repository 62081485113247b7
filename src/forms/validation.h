// Checking and storing what the operator typed into a field, by the field's
// type: a date must be a valid date (a blank date takes the working date),
// a number only digits and blanks; any other text is stored as it is.
#ifndef QAV_FORMS_VALIDATION_H_
#define QAV_FORMS_VALIDATION_H_

#include <cstdint>
#include <string_view>

namespace qav {

// 0 when the text was accepted and stored (blank-padded) into the field;
// non-zero when it was refused and nothing was stored.
int16_t ValidateFieldText(int form, std::string_view text, int field);

}  // namespace qav

#endif  // QAV_FORMS_VALIDATION_H_
