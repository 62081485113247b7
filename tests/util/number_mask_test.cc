#include "util/number_mask.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "frame/session.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

class NumberMaskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetNumberMaskSettings();
    MutableSessionForSettings().RootDir = root_.path();
    MutableSessionForSettings().CurrentCurrency = "E";
  }
  void TearDown() override {
    ResetNumberMaskSettings();
    ResetSession();
  }
  void WriteUserSettings(const std::string& body) {
    root_.Write("Varn.ini", "[Usuari]\r\n" + body);
  }

  testing::TempDir root_;
};

struct PictureCase {
  const char* mask;
  double value;
  const char* text;
};

TEST_F(NumberMaskTest, FormatPictureExamples) {
  const PictureCase cases[] = {
      {"ZZ,ZZZ,ZZ9", 1234567, " 1.234.567"},
      {"ZZ,ZZZ,ZZ9", -1234, "    -1.234"},
      {"ZZ,ZZZ,ZZ9", 0, "         0"},
      {"ZZZ,ZZ9.99", 1234.5, "  1.234'50"},
      {"ZZZ,ZZ9.99", -5, "     -5'00"},
      {"ZZZ,ZZ9.99", 1234567.891, "1234567'89"},
      {"ZZZ,ZZ9.99-", -12.5, "     12'50-"},
      {"+ZZ9", -5, "-  5"},
      {"ZZ9.ZZ", 1.5, "  1'5 "},
      {"ZZ9.ZZ", 2, "  2   "},
      {"***9.99", 12.3, "**12'30"},
      {"999", 5, "005"},
      {"999", -5, "0-5"},
      {"ZZ9", 1234, "!!!"},
      {"Z,ZZ9", 999.5, "1.000"},
      {"9", 2.5, "2"},
      {"9", 3.5, "4"},
  };
  for (const PictureCase& c : cases) {
    EXPECT_EQ(FormatPicture(c.mask, c.value), c.text) << c.mask << " " << c.value;
  }
}

TEST_F(NumberMaskTest, FormatPictureEdges) {
  const PictureCase cases[] = {
      // Halves to even at the last shown digit.
      {"9.9", 0.25, "0'2"},
      {"9.9", 0.75, "0'8"},
      {"ZZ9", 0.5, "  0"},
      {"ZZ9", 1.5, "  2"},
      {"ZZ9", 2.5000001, "  3"},
      // No room.
      {"ZZ9", -123, "!!!"},
      {"99", 123, "!!"},
      {"9", -5, "!"},
      {"ZZ9.99", 12345.678, "12345'"},  // the plain number cut to the width
      // Signs.
      {"ZZ9+", 5, "  5+"},
      {"ZZ9-", 5, "  5 "},
      {"-ZZ9", -42, "- 42"},
      {"ZZ9.99+", -1.25, "  1'25-"},
      {"ZZ9.99+", 1.25, "  1'25+"},
      // Fill and suppressed decimals.
      {"ZZZ", 10, " 10"},
      {"ZZZ", 0, "   "},
      {"**,**9", 5, "*****5"},
      {"**,**9", 12345, "12.345"},
      {"Z,ZZ9.ZZ", 1000.1, "1.000'1 "},
      {"zz9.zz", 7.05, "  7'05"},
      {"9,999", 123, "0.123"},
      {"$ZZ9", 42, "$ 42"},  // other characters are copied
      // Negative values under masks without sign positions.
      {"9.99", -0.05, "-'05"},
      {"Z9", -0.4, "-0"},
      // A minus with no place to go: the plain number, never a positive look.
      {"(ZZ9)", -123, " -123"},
      {".999", -0.05, "-'05"},
      {"(ZZ9)", 123, "(123)"},
      // Values that cannot be shown at all.
      {"ZZ9", std::numeric_limits<double>::infinity(), "!!!"},
      {"ZZ9", std::nan(""), "!!!"},
      {"ZZ9.99", 1e308, "!!!!!!"},
      {"", 5, ""},
  };
  for (const PictureCase& c : cases) {
    EXPECT_EQ(FormatPicture(c.mask, c.value), c.text) << c.mask << " " << c.value;
  }
}

TEST_F(NumberMaskTest, SeparatorsComeFromTheUserSettings) {
  struct Case {
    const char* settings;
    const char* text;
  } cases[] = {
      {"", "  1.234'50"},
      {"DecCaracter=,\r\nMilCaracter= \r\n", "  1.234,50"},  // blank: default
      {"DecCaracter=.\r\nMilCaracter=,\r\n", "  1,234.50"},
      {"DecCaracter=\"\"\r\n", "  1.234'50"},                // empty after quotes
  };
  for (const Case& c : cases) {
    ResetNumberMaskSettings();
    WriteUserSettings(c.settings);
    EXPECT_EQ(FormatPicture("ZZZ,ZZ9.99", 1234.5), c.text) << c.settings;
  }
}

TEST_F(NumberMaskTest, SeparatorsAreReadOnce) {
  WriteUserSettings("DecCaracter=,\r\nMilCaracter=.\r\n");
  EXPECT_EQ(FormatPicture("Z,ZZ9.9", 1234.5), "1.234,5");
  WriteUserSettings("DecCaracter=.\r\nMilCaracter=,\r\n");
  EXPECT_EQ(FormatPicture("Z,ZZ9.9", 1234.5), "1.234,5");
  ResetNumberMaskSettings();
  EXPECT_EQ(FormatPicture("Z,ZZ9.9", 1234.5), "1,234.5");
}

TEST_F(NumberMaskTest, FormatAmount) {
  struct Case {
    const char* currency;
    const char* template_text;
    double cents;
    const char* text;
  } cases[] = {
      {"E", "ZZ,ZZZ,ZZ9", 123456, "  1.234'56"},
      {"P", "ZZ,ZZZ,ZZ9", 123456, "   205.414"},
      // 41596.5004 with the single-precision rate: rounds up.
      {"P", "ZZ,ZZZ,ZZ9", 25000, "    41.597"},
      {"E", "ZZ,ZZZ,ZZ9", 0, "      0'00"},
      {"E", "ZZ,ZZZ,ZZ9", -123456, " -1.234'56"},
      {"E", "ZZZZZZZZZZ", 0, "          "},  // no "9": zero is blank
      {"E", "ZZZZZZZZZZ", 5, "      0'05"},
      {"E", "ZZZZZZZ,ZZ", 123456789, "1234567'89"},  // overflow: the plain number
      {"E", "ZZZZZZZZZ-", -1234, "    12'34-"},
      {"E", "-ZZZZZZZZZ", -1234, "-    12'34"},
      {"E", "+ZZZZZZZZZ", 1234, "+    12'34"},
      {"E", "*********9", 1234, "*****12'34"},
      {"E", "ZZZZZZZ9.9", 1234, "    12'340"},  // the template's decimal adds to the euros'
      {"P", "ZZZZZZZ9.9", 1000, "    1663'9"},
      {"P", "ZZZZZZZZZZ", 0, "          "},
      {"E", "", 1234, ""},
  };
  for (const Case& c : cases) {
    MutableSessionForSettings().CurrentCurrency = c.currency;
    EXPECT_EQ(FormatAmount(c.template_text, c.cents), c.text)
        << c.currency << " " << c.template_text << " " << c.cents;
  }
}

TEST_F(NumberMaskTest, CheckNumberText) {
  struct Case {
    const char* mask;
    const char* text;
    bool invalid;
  } cases[] = {
      {"", "12 3", false},     {"", "", false},         {"", "   ", false},
      {"", "-5", true},        {"", "1.5", true},       {"", "12a", true},
      {"-ZZ9.99", "-5.5", false}, {"-ZZ9.99", " - 5", false}, {"-ZZ9.99", "+5", false},
      {"-ZZ9.99", ".5", false},   {"-ZZ9.99", "5.", false},
      {"-ZZ9.99", "5-", true},    {"-ZZ9.99", "--5", true},   {"-ZZ9.99", "1.2.3", true},
      {"-ZZ9.99", "x-5", true},   {"-ZZ9.99", ".-5", true},   {"-ZZ9.99", "5,5", true},
      {"ZZ9.99", "-5", true},     {"ZZ9.99", "5.5", false},
      {"ZZ9+", "+5", false},      {"ZZ9+", "5.5", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckNumberText(c.text, c.mask), c.invalid) << "'" << c.mask << "' '" << c.text << "'";
  }
}

}  // namespace
}  // namespace qav
