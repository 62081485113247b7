// Numbers on screen and paper go through picture masks: "ZZZ,ZZ9.99" gives
// the width of the text and, position by position, what each character
// shows. "9" is a digit shown as "0" when absent, "Z"/"z" a digit shown as a
// blank when absent (after the point: trailing zeros suppressed), "*" a
// digit shown as "*" when absent, "." and "," the user's decimal and
// thousands characters (DecCaracter, MilCaracter of Varn.ini, "'" and "."
// by default), "-" and "+" sign positions; any other character is copied.
// Amounts, kept as euro cents, are shown in euros or pesetas by the current
// currency. Typed number text is checked against a mask.
#ifndef QAV_UTIL_NUMBER_MASK_H_
#define QAV_UTIL_NUMBER_MASK_H_

#include <string>
#include <string_view>

namespace qav {

// The value through the mask; always exactly as wide as the mask. The value
// is rounded to the mask's decimals, halves to even. A negative value under
// a mask without sign positions takes its "-" just left of its leading
// digit. A value that does not fit is shown as the plain number (right-
// aligned, cut to the width) when its integer digits and sign fit the width,
// else as a row of "!"; so is a nonzero negative value whose "-" finds no
// place in the mask, rather than printing as if it were positive. A value
// that is not finite, or too large to scale to the mask's decimals, is a row
// of "!".
std::string FormatPicture(std::string_view mask, double value);

// An amount in cents through a mask built from a report template: the
// template's width, fill ("Z" or "*"), grouping, sign and shown zero are
// kept, and two decimals are added in euros; in pesetas (current currency
// "P") the amount is converted at 166.386 and shown with the template's own
// decimals. The rate is held in single precision (166.38600158...) and the
// product taken in extended precision, so a result near half a peseta
// rounds by that product: 250 euros print as 41.597 pesetas.
std::string FormatAmount(std::string_view template_text, double amount_cents);

// True when the text is NOT an acceptable number for the mask: only digits
// and blanks, a point when the mask has one (once, before any sign is
// excluded), and a sign before any digit or point when the mask has "-" or
// "+". An empty mask thus accepts only digits and blanks.
bool CheckNumberText(std::string_view text, std::string_view mask);

// Forgets the cached decimal and thousands characters so that the next
// FormatPicture reads them again; for tests.
void ResetNumberMaskSettings();

}  // namespace qav

#endif  // QAV_UTIL_NUMBER_MASK_H_
