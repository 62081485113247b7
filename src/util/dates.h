// Dates: the packed form in which records, keys and settings hold them, the
// reading and checking of dates typed by the operator (with the two-digit
// century window around today), the edit text a stored date is put back into
// a field as, the display text by the user's date settings and language, day,
// month and year distances and weekdays.
//
// A PackedDate is the 4-byte packed digits (see packed_digits.h) of YYYYMMDD,
// so dates sort by plain unsigned byte comparison; four bytes 0x80 (the zero
// date) mean no date. Operations that take a PackedDate accept any bytes: the
// day is read from the last byte, the month from the one before and the year
// from those before, each from its low 7 bits.
#ifndef QAV_UTIL_DATES_H_
#define QAV_UTIL_DATES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qav {

using PackedDate = std::string;

inline constexpr std::string_view kZeroDate = "\x80\x80\x80\x80";

// Years from 1582 on follow the Gregorian leap rule wherever dates are
// counted; validation and the calendar use it for every year.
enum class LeapRule { kGregorian, kJulian };

bool IsLeapYear(int year, LeapRule rule);
// 31, 30, or for February 28/29 by the rule. Months outside 1-12 follow the
// same alternation (callers check the range first).
int DaysInMonth(int month, int year, LeapRule rule);

// Reads a typed date: day, month and year separated by ".", "/" or "-", or
// the digits DDMMYY... without separators. A year typed with up to three
// digits is put in this century and moved back or forward by one when it
// lies more than 49 years ahead or 50 behind, so two digits land in
// [this year - 50, this year + 49]. The day and month are not range-checked. Text that is not a date gives the zero
// date; so does a part whose number does not fit in 16 bits.
PackedDate ParseDateText(std::string_view text);

// True when the text is NOT a valid date: unreadable, a day or month out of
// range, or one of the days 1582-10-05 to 1582-10-14 that the Gregorian
// reform dropped. A year below 100 typed with up to three digits is moved
// into [this year - 50, this year + 50]; a three-digit year of 100 or more
// is checked as typed.
bool ValidateDateText(std::string_view text);

// The edit text of a stored date, DDMMYY when ParseDateText reads the two
// digits back as the same year, else DDMMYYYY; empty for a date whose day
// and month are both 0.
std::string DateToEditText(std::string_view date);

// The distance between two dates, whichever comes first: unit 'D' days,
// 'M' calendar months crossed, 'A' completed years; any other unit gives 0.
// The unit's case does not matter. Never negative (impossible dates whose
// count would come out below 0 give 0).
int32_t DateDiff(std::string_view a, std::string_view b, char unit);

// 1 (Monday) to 7 (Sunday); Julian weekdays before 1582-10-05, Gregorian
// from then on.
int16_t WeekdayOf(std::string_view date);

// Display text of a date. `parts` names the parts to show by the letters
// D, M and A in any case; they appear in the order of the DatOrdre setting.
//   style -1: YYYY-MM-DD, whatever the parts;
//   style 0:  numbers joined by the DatCaracter setting ("3/4/2024");
//   style 1:  as 0 with the month's first three letters ("3/abr/2024");
//   style 2+: words in the session language ("3 d'abril del 2024").
// Styles 0 and 1 are padded with blanks to a fixed width (10 and 11 for
// "dma") so that dates line up in columns. A month outside 1-12 shows as
// its number in every style.
std::string FormatDate(std::string_view date, int16_t style, std::string_view parts);

// The decimal digits of |value|, left-padded with "0" and cut to their last
// `width` characters.
std::string ZeroPad(int64_t value, int width);

// Forgets the cached date settings so that the next FormatDate reads them
// again; for tests.
void ResetDateSettings();

}  // namespace qav

#endif  // QAV_UTIL_DATES_H_
