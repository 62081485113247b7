#include "util/dates.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "frame/session.h"
#include "platform/clock.h"
#include "platform/cp850.h"
#include "support/temp_dir.h"
#include "util/packed_digits.h"

namespace qav {
namespace {

namespace chr = std::chrono;

// The packed date of a calendar day, built byte by byte.
std::string Packed(int year, int month, int day) {
  return {static_cast<char>(0x80 + year / 100), static_cast<char>(0x80 + year % 100),
          static_cast<char>(0x80 + month), static_cast<char>(0x80 + day)};
}

void SetYear(int year) {
  SetClockForTest([year] {
    LocalDateTime t;
    t.year = year;
    t.month = 6;
    t.day = 15;
    t.hour = 12;
    return t;
  });
}

class DatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetDateSettings();
    MutableSessionForSettings().RootDir = root_.path();
    SetYear(2026);
  }
  void TearDown() override {
    ResetClock();
    ResetDateSettings();
    ResetSession();
  }
  void WriteUserSettings(const std::string& body) {
    root_.Write("Varn.ini", "[Usuari]\r\n" + body);
  }
  void SetLanguage(const std::string& code) { MutableSessionForSettings().SessionLanguage = code; }

  testing::TempDir root_;
};

TEST_F(DatesTest, ParseDateText) {
  struct Case {
    const char* text;
    const char* digits;  // of the packed result
  } cases[] = {
      {"3/4/24", "20240403"},
      {"030424", "20240403"},
      {"03042024", "20240403"},
      {"3-4-2024", "20240403"},
      {"3.4.2024", "20240403"},
      {" 3/ 4/24  ", "20240403"},
      {"3/4/75", "20750403"},   // window [1976, 2075] in 2026
      {"3/4/76", "19760403"},
      {"1/1/123", "20230101"},  // 2123 moved back into the window
      {"1/1/0024", "00240101"}, // four digits are taken as typed
      {"3/4/", "20000403"},     // no year: year 0 of this century
      {"0/0/24", "00240000"},   // no expansion without day and month
      {"31/2/2024", "20240231"},  // not range-checked here
      {"3/4", "00000000"},
      {"3/4/24/1", "00000000"},
      {"3x/4/24", "00000000"},
      {"", "00000000"},
      {"   ", "00000000"},
      {"1/1/40000", "00000000"},  // a part beyond 16 bits is not a date
      {"99999/1/2024", "00000000"},
      {"1/1/32767", "27670101"},  // five digits: kept, cut to four
  };
  for (const Case& c : cases) {
    PackedDate date = ParseDateText(c.text);
    EXPECT_EQ(date.size(), 4u) << c.text;
    EXPECT_EQ(UnpackDigits(date), c.digits) << "'" << c.text << "'";
  }
}

TEST_F(DatesTest, ParseWindowFollowsTheClock) {
  struct Case {
    int current_year;
    const char* text;
    const char* digits;
  } cases[] = {
      {2026, "1/1/75", "20750101"}, {2026, "1/1/76", "19760101"},
      {2099, "1/1/48", "21480101"}, {2099, "1/1/49", "20490101"},
      {2000, "1/1/49", "20490101"}, {2000, "1/1/50", "19500101"},
  };
  for (const Case& c : cases) {
    SetYear(c.current_year);
    EXPECT_EQ(UnpackDigits(ParseDateText(c.text)), c.digits) << c.current_year << " " << c.text;
  }
}

TEST_F(DatesTest, ValidateDateText) {
  struct Case {
    const char* text;
    bool invalid;
  } cases[] = {
      {"29/2/2024", false}, {"29/2/2023", true},  {"29/2/1900", true},
      {"29/2/2000", false}, {"31/4/2024", true},  {"30/4/2024", false},
      {"0/1/2024", true},   {"1/13/2024", true},  {"1/0/2024", true},
      {"31/12/2024", false}, {"32/12/2024", true},
      {"10/10/1582", true}, {"5/10/1582", true},  {"14/10/1582", true},
      {"4/10/1582", false}, {"15/10/1582", false},
      {"1/1/123", false},   // a three-digit year is checked as typed
      {"29/2/24", false},   // 2024
      {"29/2/77", true},    // 1977
      {"030424", false},    {"300224", true},
      {"", true},           {"   ", true},        {"3/4", true},
      {"3/4/24/1", true},   {"3x/4/24", true},    {"1/1/99999", true},
  };
  for (const Case& c : cases) EXPECT_EQ(ValidateDateText(c.text), c.invalid) << c.text;
}

TEST_F(DatesTest, ValidateWindowIsSymmetric) {
  // In 2026 a two-digit year lands in [1976, 2076]: 29/2/76 is 2076 (leap),
  // 29/2/75 is 2075 (not leap).
  EXPECT_FALSE(ValidateDateText("29/2/76"));
  EXPECT_TRUE(ValidateDateText("29/2/75"));
}

TEST_F(DatesTest, DateToEditText) {
  struct Case {
    std::string date;
    const char* text;
  } cases[] = {
      {std::string(kZeroDate), ""},
      {Packed(1950, 1, 1), "01011950"},
      {Packed(2024, 4, 3), "030424"},
      {Packed(1976, 1, 1), "010176"},
      {Packed(1975, 12, 31), "31121975"},
      {Packed(2075, 12, 31), "311275"},
      {Packed(2076, 1, 1), "01012076"},
      {Packed(2024, 0, 5), "050024"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DateToEditText(c.date), c.text) << UnpackDigits(c.date);
}

TEST_F(DatesTest, EditTextReadsBackAsTheSameDate) {
  for (int current : {2026, 1999, 2100}) {
    SetYear(current);
    for (chr::sys_days day = chr::sys_days(chr::year{current - 50} / 1 / 1);
         day <= chr::sys_days(chr::year{current + 49} / 12 / 31); day += chr::days{1}) {
      chr::year_month_day ymd(day);
      std::string date = Packed(int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
      std::string text = DateToEditText(date);
      ASSERT_EQ(text.size(), 6u) << UnpackDigits(date);
      ASSERT_EQ(ParseDateText(text), date) << current << " " << text;
      ASSERT_FALSE(ValidateDateText(text)) << text;
    }
  }
  // Outside the window the four-digit year reads back too.
  for (int year : {1583, 1900, 1975, 2076, 2400}) {
    std::string date = Packed(year, 2, 28);
    EXPECT_EQ(ParseDateText(DateToEditText(date)), date) << year;
  }
}

TEST_F(DatesTest, DateDiff) {
  struct Case {
    std::string a, b;
    char unit;
    int32_t result;
  } cases[] = {
      {Packed(2024, 1, 31), Packed(2024, 3, 1), 'D', 30},
      {Packed(2024, 3, 1), Packed(2024, 1, 31), 'D', 30},
      {Packed(2024, 1, 31), Packed(2024, 3, 1), 'd', 30},
      {Packed(2024, 1, 31), Packed(2024, 3, 1), 'M', 2},
      {Packed(2000, 3, 15), Packed(2024, 3, 14), 'A', 23},
      {Packed(2000, 3, 15), Packed(2024, 3, 15), 'a', 24},
      {Packed(2000, 3, 15), Packed(2024, 2, 20), 'A', 23},
      {Packed(2024, 1, 31), Packed(2024, 3, 1), 'X', 0},
      {Packed(2024, 5, 5), Packed(2024, 5, 5), 'D', 0},
      {Packed(2023, 12, 31), Packed(2024, 1, 1), 'M', 1},
      // Before 1582 the Julian rule: 1500 is a leap year.
      {Packed(1500, 2, 1), Packed(1500, 3, 1), 'D', 29},
      {Packed(1499, 1, 1), Packed(1501, 1, 1), 'D', 731},
      // No days are removed for October 1582.
      {Packed(1582, 10, 4), Packed(1582, 10, 15), 'D', 11},
      {Packed(1581, 6, 1), Packed(1584, 6, 1), 'D', 365 + 365 + 366},
      // An impossible date whose count would fall below 0.
      {Packed(2024, 1, 99), Packed(2024, 2, 1), 'D', 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateDiff(c.a, c.b, c.unit), c.result)
        << UnpackDigits(c.a) << " " << UnpackDigits(c.b) << " " << c.unit;
  }
}

TEST_F(DatesTest, DaysAndWeekdaysAgreeWithTheGregorianCalendar) {
  const chr::sys_days origin = chr::sys_days(chr::year{1583} / 1 / 1);
  const std::string origin_date = Packed(1583, 1, 1);
  for (chr::sys_days day = origin; day <= chr::sys_days(chr::year{2400} / 12 / 31);
       day += chr::days{1}) {
    chr::year_month_day ymd(day);
    std::string date = Packed(int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
    const int32_t expected = (day - origin).count();
    ASSERT_EQ(DateDiff(origin_date, date, 'D'), expected) << UnpackDigits(date);
    ASSERT_EQ(DateDiff(date, origin_date, 'D'), expected) << UnpackDigits(date);
    ASSERT_EQ(WeekdayOf(date), int(chr::weekday(day).iso_encoding())) << UnpackDigits(date);
  }
}

TEST_F(DatesTest, WeekdayOf) {
  struct Case {
    std::string date;
    int16_t weekday;
  } cases[] = {
      {Packed(2024, 4, 3), 3},   {Packed(2001, 1, 1), 1},
      {Packed(1582, 10, 4), 4},  {Packed(1582, 10, 15), 5},
      {Packed(1582, 1, 1), 1},   // Julian: a Monday
      {Packed(1000, 1, 1), 1},   // Julian: whole weeks (212576 days) before 1582-01-01
  };
  for (const Case& c : cases) EXPECT_EQ(WeekdayOf(c.date), c.weekday) << UnpackDigits(c.date);
}

TEST_F(DatesTest, DaysInMonth) {
  const int gregorian_2023[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(DaysInMonth(m, 2023, LeapRule::kGregorian), gregorian_2023[m - 1]) << m;
  }
  struct Case {
    int year;
    LeapRule rule;
    int february;
  } cases[] = {
      {2024, LeapRule::kGregorian, 29}, {2023, LeapRule::kGregorian, 28},
      {1900, LeapRule::kGregorian, 28}, {2000, LeapRule::kGregorian, 29},
      {1900, LeapRule::kJulian, 29},    {1500, LeapRule::kJulian, 29},
      {1501, LeapRule::kJulian, 28},
  };
  for (const Case& c : cases) EXPECT_EQ(DaysInMonth(2, c.year, c.rule), c.february) << c.year;
}

TEST_F(DatesTest, FormatDateInEveryStyleAndLanguage) {
  struct Case {
    const char* language;
    std::string date;
    int16_t style;
    const char* parts;
    const char* utf8_text;
  } cases[] = {
      {"CAT", Packed(2024, 4, 3), 0, "dma", "3/4/2024  "},
      {"CAT", Packed(2024, 4, 3), 1, "dma", "3/abr/2024 "},
      {"CAT", Packed(2024, 4, 3), 2, "dma", "3 d'abril del 2024"},
      {"SPA", Packed(2024, 4, 3), 2, "dma", "3 de abril de 2024"},
      {"GLG", Packed(2024, 4, 3), 2, "dma", "3 de abril do 2024"},
      {"OCI", Packed(2024, 4, 3), 2, "dma", "3 d'abriu deth 2024"},
      {"CAT", Packed(2024, 1, 15), 2, "dma", "15 de gener del 2024"},
      {"   ", Packed(2024, 1, 15), 2, "DMA", "15 de gener del 2024"},
      {"cat", Packed(2024, 8, 1), 2, "dma", "1 d'agost del 2024"},
      {"spa", Packed(2024, 3, 1), 2, "dma", "1 de març del 2024"},  // lower case is Catalan
      {"GLG", Packed(2024, 3, 9), 2, "m", "março"},
      {"OCI", Packed(2024, 1, 9), 2, "m", "gèr"},
      {"OCI", Packed(2024, 2, 9), 1, "dma", "9/her/2024 "},
      {"SPA", Packed(2024, 9, 30), 2, "dm", "30 de septiembre"},
      {"SPA", Packed(2024, 12, 25), 1, "dma", "25/dic/2024"},
      {"CAT", Packed(2024, 12, 25), 0, "dma", "25/12/2024"},
      {"CAT", Packed(2024, 4, 3), 0, "ma", "4/2024 "},
      {"CAT", Packed(2024, 4, 3), 0, "d", "3 "},
      {"CAT", Packed(2024, 4, 3), -1, "dma", "2024-04-03"},
      {"CAT", Packed(2024, 4, 3), -1, "", "2024-04-03"},
      {"CAT", Packed(987, 4, 3), 0, "dma", "3/4/0987  "},
      {"CAT", std::string(kZeroDate), 0, "dma", "          "},
      {"CAT", std::string(kZeroDate), 1, "dma", "           "},
      {"CAT", std::string(kZeroDate), 2, "dma", ""},
      {"CAT", std::string(kZeroDate), -1, "dma", "0000-00-00"},
      // A stored month outside 1-12 shows as its number in every style.
      {"CAT", Packed(2024, 13, 3), 1, "dma", "3/13/2024  "},
      {"CAT", Packed(2024, 0, 3), 2, "dma", "3 de 0 del 2024"},
  };
  for (const Case& c : cases) {
    SetLanguage(c.language);
    EXPECT_EQ(Cp850ToUtf8(FormatDate(c.date, c.style, c.parts)), c.utf8_text)
        << c.language << " style " << c.style << " " << UnpackDigits(c.date);
  }
}

TEST_F(DatesTest, FormatDateFollowsTheUserSettings) {
  struct Case {
    const char* settings;
    int16_t style;
    const char* text;
  } cases[] = {
      {"DatOrdre=AMD\r\n", 0, "2024/4/3  "},
      {"DatOrdre=AMD\r\n", 2, "2024 d'abril del 3"},
      {"DatOrdre=MDA\r\nDatCaracter=-\r\n", 0, "4-3-2024  "},
      {"DatCaracter=.\r\n", 1, "3.abr.2024 "},
      {"DatCaracter=\r\nDatOrdre=   \r\n", 0, "3/4/2024  "},  // blank: defaults
      {"DatOrdre=dma\r\n", 0, "          "},  // only capitals take effect
      {"DatOrdre=DA\r\n", 0, "3/2024    "},   // a short order is padded with a blank
      {"DatOrdre=DMAX\r\nDatCaracter=#!\r\n", 0, "3#4#2024  "},  // cut to the slot
  };
  for (const Case& c : cases) {
    ResetDateSettings();
    WriteUserSettings(c.settings);
    SetLanguage("CAT");
    EXPECT_EQ(FormatDate(Packed(2024, 4, 3), c.style, "dma"), c.text) << c.settings;
  }
}

TEST_F(DatesTest, DateSettingsAreReadOnce) {
  WriteUserSettings("DatOrdre=AMD\r\nDatCaracter=-\r\n");
  EXPECT_EQ(FormatDate(Packed(2024, 4, 3), 0, "dma"), "2024-4-3  ");
  WriteUserSettings("DatOrdre=MDA\r\nDatCaracter=.\r\n");
  EXPECT_EQ(FormatDate(Packed(2024, 4, 3), 0, "dma"), "2024-4-3  ");
  ResetDateSettings();
  EXPECT_EQ(FormatDate(Packed(2024, 4, 3), 0, "dma"), "4.3.2024  ");
}

TEST(ZeroPadTest, PadsAndCuts) {
  struct Case {
    int64_t value;
    int width;
    const char* text;
  } cases[] = {
      {5, 2, "05"}, {2024, 4, "2024"}, {12345, 4, "2345"}, {0, 3, "000"},
      {-7, 3, "007"}, {42, 0, ""}, {INT64_MIN, 2, "08"},
  };
  for (const Case& c : cases) EXPECT_EQ(ZeroPad(c.value, c.width), c.text) << c.value;
}

}  // namespace
}  // namespace qav
