#include "util/dates.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

#include "frame/session.h"
#include "frame/settings.h"
#include "platform/clock.h"
#include "util/packed_digits.h"

namespace qav {
namespace {

constexpr int kMaxPart = std::numeric_limits<int16_t>::max();
// Years decoded from packed bytes are kept below this, so that day counts of
// dates of any length stay in 64-bit arithmetic.
constexpr int64_t kYearCap = 1000000000;

// Cached settings: a slot holding only NUL bytes has not been read yet.
struct DateSettings {
  std::array<char, 1> separator{};  // DatCaracter
  std::array<char, 3> order{};      // DatOrdre
};

DateSettings& Settings() {
  static DateSettings settings;
  return settings;
}

template <size_t N>
bool AllNul(const std::array<char, N>& slot) {
  return std::all_of(slot.begin(), slot.end(), [](char c) { return c == '\0'; });
}

template <size_t N>
void LoadSlot(std::array<char, N>* slot, std::string_view key, std::string_view fallback) {
  if (!AllNul(*slot)) return;
  std::string value = ReadSetting(Session().RootDir + "Varn.ini", "Usuari", key);
  value.resize(N, ' ');
  if (value.find_first_not_of(' ') == std::string::npos) value = fallback;
  std::copy_n(value.begin(), N, slot->begin());
}

void LoadDateSettings() {
  DateSettings& s = Settings();
  LoadSlot(&s.separator, "DatCaracter", "/");
  LoadSlot(&s.order, "DatOrdre", "DMA");
}

int CurrentYear() { return Now().year; }

int64_t FloorMod(int64_t a, int64_t m) {
  int64_t r = a % m;
  return r < 0 ? r + m : r;
}

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// The number of a part: leading blanks skipped, then the digits up to the
// first other character; nothing readable is 0. False when it does not fit
// in 16 bits.
bool ReadPart(std::string_view text, int* value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > kMaxPart) return false;
  }
  *value = static_cast<int>(v);
  return true;
}

struct TypedDate {
  int day = 0, month = 0, year = 0;
  std::string_view year_text;  // trimmed
};

// The reading shared by ParseDateText and ValidateDateText.
bool ReadTypedDate(std::string_view text, TypedDate* date) {
  size_t part_start = 0;
  int counter = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == ' ' || (c >= '0' && c <= '9')) continue;
    if (c != '.' && c != '/' && c != '-') return false;
    std::string_view part = text.substr(part_start, i - part_start);
    if (counter == 1) {
      if (!ReadPart(part, &date->day)) return false;
    } else if (counter == 2) {
      if (!ReadPart(part, &date->month)) return false;
    } else {
      return false;
    }
    ++counter;
    part_start = i + 1;
  }
  std::string_view last = text.substr(part_start);
  if (counter == 1) {
    // DDMMYY... without separators.
    if (!ReadPart(text.substr(0, 2), &date->day)) return false;
    if (!ReadPart(text.size() > 2 ? text.substr(2, 2) : std::string_view(), &date->month)) {
      return false;
    }
    last = text.size() > 4 ? text.substr(4) : std::string_view();
  } else if (counter != 3) {
    return false;
  }
  if (!ReadPart(last, &date->year)) return false;
  date->year_text = Trim(last);
  return true;
}

struct DecodedDate {
  int64_t year = 0;  // capped at kYearCap
  std::string year_digits;
  int month = 0, day = 0;
};

int ByteNumber(unsigned char b) { return b & 127; }

// Day from the last byte, month from the one before, year from the rest.
DecodedDate DecodeDate(std::string_view date) {
  DecodedDate d;
  size_t n = date.size();
  if (n >= 1) d.day = ByteNumber(static_cast<unsigned char>(date[n - 1]));
  if (n >= 2) d.month = ByteNumber(static_cast<unsigned char>(date[n - 2]));
  if (n > 2) d.year_digits = UnpackDigits(date.substr(0, n - 2));
  for (char c : d.year_digits) {
    d.year = std::min<int64_t>(d.year * 10 + (c - '0'), kYearCap);
  }
  return d;
}

// The last `width` characters of the digits left-padded with "0".
std::string PadDigits(std::string_view digits, int width) {
  if (width <= 0) return {};
  size_t w = static_cast<size_t>(width);
  if (digits.size() >= w) return std::string(digits.substr(digits.size() - w));
  return std::string(w - digits.size(), '0') + std::string(digits);
}

LeapRule RuleForYear(int64_t year) {
  return year >= 1582 ? LeapRule::kGregorian : LeapRule::kJulian;
}

bool IsLeap(int64_t year, LeapRule rule) {
  if (FloorMod(year, 4) != 0) return false;
  if (rule == LeapRule::kJulian) return true;
  return FloorMod(year, 100) != 0 || FloorMod(year, 400) == 0;
}

int MonthLength(int64_t month, bool leap) {
  int length = 30 + static_cast<int>(FloorMod(1 + FloorMod(month + 1, 9), 2));
  if (month == 2) length -= leap ? 1 : 2;
  return length;
}

// Leap years among 1..n (n >= 0) under each rule.
int64_t JulianLeapsUpTo(int64_t n) { return n / 4; }
int64_t GregorianLeapsUpTo(int64_t n) { return n / 4 - n / 100 + n / 400; }

// Leap years in [first, last], 1 <= first, by the rule of each year.
int64_t LeapYearsBetween(int64_t first, int64_t last) {
  if (first > last) return 0;
  int64_t count = 0;
  int64_t julian_last = std::min<int64_t>(last, 1581);
  if (first <= julian_last) count += JulianLeapsUpTo(julian_last) - JulianLeapsUpTo(first - 1);
  int64_t gregorian_first = std::max<int64_t>(first, 1582);
  if (gregorian_first <= last) {
    count += GregorianLeapsUpTo(last) - GregorianLeapsUpTo(gregorian_first - 1);
  }
  return count;
}

int64_t MonthsLength(int64_t year, int first_month, int last_month) {
  bool leap = IsLeap(year, RuleForYear(year));
  int64_t days = 0;
  for (int m = first_month; m <= last_month; ++m) days += MonthLength(m, leap);
  return days;
}

int64_t DayCount(const DecodedDate& a, const DecodedDate& b) {
  int64_t days = 0;
  if (a.year < b.year) {
    days += 365 * (b.year - a.year - 1) + LeapYearsBetween(a.year + 1, b.year - 1);
    days += MonthsLength(a.year, a.month, 12);
    days += MonthsLength(b.year, 1, b.month - 1);
  } else {
    days += MonthsLength(a.year, a.month, b.month - 1);
  }
  return days + b.day - a.day;
}

// Month names, ten characters a slot, code page 850.
struct Language {
  std::string_view months;
  std::string_view before_month;
  std::string_view before_vowel_month;
  std::string_view before_other;
};

constexpr Language kSpanish = {
    "enero     febrero   marzo     abril     mayo      junio     "
    "julio     agosto    septiembreoctubre   noviembre diciembre ",
    " de ", " de ", " de "};
constexpr Language kGalician = {
    "janeiro   fevereiro mar\x87o     abril     maio      junho     "
    "julho     agosto    setembro  outubro   novembro  dezembro  ",
    " de ", " de ", " do "};
constexpr Language kAranese = {
    "g\x8Ar       hereu\x8Ar   mar\x87      abriu     mai       junh      "
    "junhsega  agost     seteme    octobre   noveme    deseme    ",
    " de ", " d'", " deth "};
constexpr Language kCatalan = {
    "gener     febrer    mar\x87      abril     maig      juny      "
    "juliol    agost     setembre  octubre   novembre  desembre  ",
    " de ", " d'", " del "};
constexpr size_t kMonthSlot = 10;
static_assert(kSpanish.months.size() == 12 * kMonthSlot);
static_assert(kGalician.months.size() == 12 * kMonthSlot);
static_assert(kAranese.months.size() == 12 * kMonthSlot);
static_assert(kCatalan.months.size() == 12 * kMonthSlot);

const Language& SessionLanguageTable() {
  std::string_view code = Session().SessionLanguage;
  code = code.substr(0, 3);
  if (code == "SPA") return kSpanish;
  if (code == "GLG") return kGalician;
  if (code == "OCI") return kAranese;
  return kCatalan;
}

std::string_view MonthSlot(const Language& language, int month) {
  return language.months.substr((month - 1) * kMonthSlot, kMonthSlot);
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithVowel(std::string_view name) {
  if (name.empty()) return false;
  char c = AsciiUpper(name[0]);
  return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U';
}

// The value of two unpacked digits.
int DigitPairValue(std::string_view digits) { return (digits[0] - '0') * 10 + (digits[1] - '0'); }

}  // namespace

bool IsLeapYear(int year, LeapRule rule) { return IsLeap(year, rule); }

int DaysInMonth(int month, int year, LeapRule rule) {
  return MonthLength(month, IsLeap(year, rule));
}

PackedDate ParseDateText(std::string_view text) {
  TypedDate typed;
  if (!ReadTypedDate(text, &typed)) return PackedDate(kZeroDate);
  int year = typed.year;
  if (typed.day > 0 && typed.month > 0 && typed.year_text.size() <= 3) {
    int current = CurrentYear();
    year += 100 * (current / 100);
    if (year - current > 49) {
      year -= 100;
    } else if (current - year > 50) {
      year += 100;
    }
  }
  return PackDigits(ZeroPad(year, 4) + ZeroPad(typed.month, 2) + ZeroPad(typed.day, 2));
}

bool ValidateDateText(std::string_view text) {
  TypedDate typed;
  if (!ReadTypedDate(text, &typed)) return true;
  int64_t year = typed.year;
  if (year < 100 && typed.year_text.size() <= 3) {
    int current = CurrentYear();
    year += 100 * (current / 100);
    if (year - current > 50) {
      year -= 100;
    } else if (current - year > 50) {
      year += 100;
    }
  }
  int64_t v = year * 10000 + typed.month * 100 + typed.day;
  if (v > 15821004 && v < 15821015) return true;
  if (typed.month < 1 || typed.month > 12) return true;
  return typed.day < 1 || typed.day > MonthLength(typed.month, IsLeap(year, LeapRule::kGregorian));
}

std::string DateToEditText(std::string_view date) {
  DecodedDate d = DecodeDate(date);
  if (d.day == 0 && d.month == 0) return {};
  std::string text = ZeroPad(d.day, 2) + ZeroPad(d.month, 2);
  int current = CurrentYear();
  if (d.year >= current - 50 && d.year <= current + 49) {
    text += ZeroPad(d.year % 100, 2);
  } else {
    text += PadDigits(d.year_digits, 4);
  }
  return text;
}

int32_t DateDiff(std::string_view a, std::string_view b, char unit) {
  // std::string_view compares bytes as unsigned char.
  if (b < a) std::swap(a, b);
  if (a == b) return 0;
  DecodedDate first = DecodeDate(a);
  DecodedDate last = DecodeDate(b);
  int64_t result = 0;
  switch (AsciiUpper(unit)) {
    case 'D':
      result = DayCount(first, last);
      break;
    case 'M':
      result = (last.year - first.year) * 12 + last.month - first.month;
      break;
    case 'A':
      result = last.year - first.year;
      if (last.month < first.month || (last.month == first.month && last.day < first.day)) {
        --result;
      }
      break;
    default:
      return 0;
  }
  return static_cast<int32_t>(
      std::clamp<int64_t>(result, 0, std::numeric_limits<int32_t>::max()));
}

int16_t WeekdayOf(std::string_view date) {
  DecodedDate d = DecodeDate(date);
  std::string new_year(date.substr(0, 2));
  new_year += PackDigits("0101");
  int64_t n = int64_t{DateDiff(date, new_year, 'D')} - 1;
  int64_t y = d.year - 1;
  int64_t weekday;
  if (date < std::string_view(PackDigits("15821005"))) {
    weekday = FloorMod(FloorMod(y + y / 4, 7) + 6 + n, 7) + 1;
  } else {
    weekday = FloorMod(FloorMod(y + y / 4 - y / 100 + y / 400, 7) + 1 + n, 7) + 1;
  }
  return static_cast<int16_t>(weekday);
}

std::string FormatDate(std::string_view date, int16_t style, std::string_view parts) {
  LoadDateSettings();
  const DateSettings& settings = Settings();

  std::string digits = UnpackDigits(date);
  digits.resize(8, '0');
  std::string year = digits.substr(0, 4);
  if (style == -1) return year + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2);

  const Language& language = SessionLanguageTable();
  int month_number = DigitPairValue(std::string_view(digits).substr(4, 2));
  int day_number = DigitPairValue(std::string_view(digits).substr(6, 2));
  std::string month = std::to_string(month_number);
  std::string day = std::to_string(day_number);
  bool month_named = style > 0 && month_number >= 1 && month_number <= 12;

  std::string upper_parts(parts);
  for (char& c : upper_parts) c = AsciiUpper(c);
  auto wanted = [&](char letter) { return upper_parts.find(letter) != std::string::npos; };

  std::string text;
  if (month_number != 0 || day_number != 0) {
    for (char letter : settings.order) {
      if ((letter != 'D' && letter != 'M' && letter != 'A') || !wanted(letter)) continue;
      std::string piece;
      if (letter == 'D') {
        piece = day;
      } else if (letter == 'A') {
        piece = year;
      } else if (!month_named) {
        piece = month;
      } else if (style >= 2) {
        std::string_view name = MonthSlot(language, month_number);
        piece = std::string(name.substr(0, name.find_last_not_of(' ') + 1));
      } else {
        piece = std::string(MonthSlot(language, month_number).substr(0, 3));
      }
      if (!text.empty()) {
        if (style < 2) {
          text += settings.separator[0];
        } else if (letter == 'M') {
          text += StartsWithVowel(piece) ? language.before_vowel_month : language.before_month;
        } else {
          text += language.before_other;
        }
      }
      text += piece;
    }
  }

  if (style == 0 || style == 1) {
    int64_t width = static_cast<int64_t>(parts.size()) - 1;
    if (wanted('M')) width += style + 2;
    if (wanted('A')) width += 4;
    if (wanted('D')) width += 2;
    text.resize(static_cast<size_t>(std::max<int64_t>(width, 0)), ' ');
  }
  return text;
}

std::string ZeroPad(int64_t value, int width) {
  // The magnitude as unsigned, so that the most negative value has one too.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  return PadDigits(std::to_string(magnitude), width);
}

void ResetDateSettings() { Settings() = DateSettings{}; }

}  // namespace qav
