// Randomised checks of the date, number and text utilities: any input is
// taken without a crash, an out-of-bounds read or a hang (the sanitizer build
// runs this too), results keep their promised shape, and a few properties
// that tie the operations together hold over many values. Fixed seed,
// bounded iterations.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "frame/session.h"
#include "platform/clock.h"
#include "util/dates.h"
#include "util/number_mask.h"
#include "util/packed_digits.h"
#include "util/text.h"

namespace qav {
namespace {

class UtilRandomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetDateSettings();
    ResetNumberMaskSettings();
    ResetTextHelpers();
    // No settings file there: the defaults apply.
    MutableSessionForSettings().RootDir = "/nonexistent-qav-root/";
    SetClockForTest([] {
      LocalDateTime t;
      t.year = 2026;
      t.month = 6;
      t.day = 15;
      return t;
    });
  }
  void TearDown() override {
    ResetClock();
    ResetDateSettings();
    ResetNumberMaskSettings();
    ResetSession();
  }

  // Raw engine output only, so that the sequence is the same everywhere.
  uint32_t Next() { return rng_(); }
  size_t Below(size_t n) { return n == 0 ? 0 : Next() % n; }

  std::string Text(size_t max_length, std::string_view alphabet) {
    std::string text(Below(max_length + 1), ' ');
    for (char& c : text) c = alphabet[Below(alphabet.size())];
    return text;
  }
  std::string Bytes(size_t max_length) {
    std::string bytes(Below(max_length + 1), '\0');
    for (char& c : bytes) c = static_cast<char>(Next() & 0xFF);
    return bytes;
  }
  double Value() {
    switch (Below(8)) {
      case 0:
        return 0.0;
      case 1:
        return std::numeric_limits<double>::infinity() * (Below(2) ? 1 : -1);
      case 2:
        return std::nan("");
      case 3:
        return (Below(2) ? 1 : -1) * std::ldexp(1.0, static_cast<int>(Below(2100)) - 1075);
      default: {
        double magnitude = std::pow(10.0, static_cast<double>(Below(18)) - 5.0);
        return (Below(2) ? 1 : -1) * magnitude * (Next() / 4294967296.0);
      }
    }
  }

  std::mt19937 rng_{20240403};
};

constexpr int kRounds = 20000;

TEST_F(UtilRandomTest, TypedDatesAreReadSafelyAndConsistently) {
  for (int round = 0; round < kRounds; ++round) {
    std::string text = Below(4) ? Text(16, " 0123456789./-x") : Bytes(16);
    PackedDate date = ParseDateText(text);
    ASSERT_EQ(date.size(), 4u) << text;
    if (!ValidateDateText(text)) {
      // What the check accepts, the reading takes with the same day and month.
      std::string digits = UnpackDigits(date);
      int month = std::stoi(digits.substr(4, 2));
      int day = std::stoi(digits.substr(6, 2));
      ASSERT_GE(month, 1) << text;
      ASSERT_LE(month, 12) << text;
      ASSERT_GE(day, 1) << text;
      ASSERT_LE(day, 31) << text;
    }
  }
}

TEST_F(UtilRandomTest, AnyBytesAreTakenAsADate) {
  const char* parts[] = {"dma", "", "m", "DMA", "xyz", "ddmmaa"};
  for (int round = 0; round < kRounds; ++round) {
    std::string a = Below(2) ? Bytes(4).append(4, '\x80').substr(0, 4) : Bytes(9);
    std::string b = Bytes(6);
    int16_t style = static_cast<int16_t>(static_cast<int>(Below(7)) - 2);
    std::string text = FormatDate(a, style, parts[Below(6)]);
    if (style == 0 || style == 1) {
      ASSERT_EQ(FormatDate(a, style, "dma").size(), 10u + style);
    }
    int16_t weekday = WeekdayOf(a);
    ASSERT_GE(weekday, 1);
    ASSERT_LE(weekday, 7);
    for (char unit : {'D', 'M', 'A'}) {
      int32_t there = DateDiff(a, b, unit);
      ASSERT_GE(there, 0);
      ASSERT_EQ(there, DateDiff(b, a, unit));
    }
    DateToEditText(a);
  }
}

TEST_F(UtilRandomTest, AnyMaskGivesTextOfItsWidth) {
  for (int round = 0; round < kRounds; ++round) {
    std::string mask = Below(4) ? Text(24, "9Zz*.,+-X$ ") : Bytes(24);
    double value = Value();
    ASSERT_EQ(FormatPicture(mask, value).size(), mask.size()) << mask << " " << value;
    std::string amount_template = Text(12, "Z9*,.+-");
    ASSERT_EQ(FormatAmount(amount_template, Value()).size(), amount_template.size());
  }
}

TEST_F(UtilRandomTest, GroupedAmountsReadBackAsTheirValue) {
  for (int round = 0; round < kRounds; ++round) {
    int64_t cents = static_cast<int64_t>(Next() % 2000000000) - 1000000000;
    std::string shown = FormatPicture("-ZZZ,ZZZ,ZZ9.99", static_cast<double>(cents) / 100);
    std::string bare;
    for (char c : shown) {
      if (c != ' ' && c != '.') bare += c;
    }
    int64_t magnitude = cents < 0 ? -cents : cents;
    std::string expected = (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + "'" +
                           ZeroPad(magnitude % 100, 2);
    ASSERT_EQ(bare, expected) << cents << " '" << shown << "'";
  }
}

TEST_F(UtilRandomTest, HalvesRoundToEven) {
  for (int round = 0; round < kRounds; ++round) {
    int64_t whole = static_cast<int64_t>(Next() % 100000000);
    int64_t even = whole % 2 == 0 ? whole : whole + 1;
    std::string shown = FormatPicture("ZZZZZZZZ9", static_cast<double>(whole) + 0.5);
    ASSERT_EQ(std::stoll(shown), even) << whole;
    shown = FormatPicture("ZZZZZZZZZ9", -(static_cast<double>(whole) + 0.5));
    ASSERT_EQ(std::stoll(shown), -even) << whole;
  }
}

TEST_F(UtilRandomTest, NumberTextChecks) {
  const char* masks[] = {"", "-ZZ9.99", "ZZ9.99", "ZZ9+", "9"};
  for (int round = 0; round < kRounds; ++round) {
    std::string mask = masks[Below(5)];
    std::string digits = Text(12, " 0123456789");
    ASSERT_FALSE(CheckNumberText(digits, mask)) << digits;
    std::string text = Below(2) ? Text(12, " 0123456789+-.") : Bytes(12);
    bool invalid = CheckNumberText(text, mask);
    if (!invalid) {
      // Accepted text never gains acceptance for a stranger character.
      ASSERT_TRUE(CheckNumberText(text + "a", mask)) << text;
    }
  }
}

TEST_F(UtilRandomTest, TextHelpersKeepLength) {
  for (int round = 0; round < kRounds; ++round) {
    std::string text = Bytes(40);
    SetUpperFolding(Below(2));
    std::string upper = ToUpperText(text);
    ASSERT_EQ(upper.size(), text.size());
    ASSERT_EQ(ToUpperText(upper), upper);  // upper-casing twice changes nothing more
    int16_t code = static_cast<int16_t>(Next());
    IsAllChar(text, code);
    int16_t width = static_cast<int16_t>(Next());
    ASSERT_EQ(CenterOffset(text, width), (width - static_cast<int>(text.size())) / 2);
  }
}

}  // namespace
}  // namespace qav
