#include "platform/cp850.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(Cp850Test, EveryCodeGoesToUtf8AndBack) {
  for (int code = 0; code < 256; ++code) {
    const std::string one(1, static_cast<char>(code));
    const std::string utf8 = Cp850ToUtf8(one);
    EXPECT_EQ(Utf8ToCp850(utf8), one) << "code " << code;
    EXPECT_EQ(UnicodeToCp850(Cp850ToUnicode(static_cast<unsigned char>(code))), code);
  }
}

TEST(Cp850Test, KnownCharacters) {
  struct Case {
    unsigned char code;
    char32_t unicode;
  } cases[] = {
      {0x41, U'A'},      {0x80, U'\u00C7'}, {0x82, U'\u00E9'}, {0x87, U'\u00E7'},
      {0x90, U'\u00C9'}, {0x9C, U'\u00A3'}, {0xA4, U'\u00F1'}, {0xA5, U'\u00D1'},
      {0xB5, U'\u00C1'}, {0xB7, U'\u00C0'}, {0xC4, U'\u2500'}, {0xC9, U'\u2554'},
      {0xCD, U'\u2550'}, {0xD5, U'\u0131'}, {0xE0, U'\u00D3'}, {0xF8, U'\u00B0'},
      {0xFA, U'\u00B7'}, {0xFF, U'\u00A0'},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp850ToUnicode(c.code), c.unicode) << int(c.code);
}

TEST(Cp850Test, TextConversion) {
  EXPECT_EQ(Cp850ToUtf8("RELACI\xE0"), "RELACIÓ");
  EXPECT_EQ(Utf8ToCp850("PÀGINA"), "P\xB7GINA");
  EXPECT_EQ(Utf8ToCp850("l·l"), "l\xFAl");
  // Outside the code page, and malformed or cut-short UTF-8.
  EXPECT_EQ(Utf8ToCp850("a€b"), "a?b");
  EXPECT_EQ(Utf8ToCp850("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToCp850("\xC0\xAF"), "??");   // overlong "/"
  EXPECT_EQ(Utf8ToCp850("\xED\xA0\x80"), "???");  // surrogate
  EXPECT_TRUE(IsCp850Representable("Gestió d'Àrees"));
  EXPECT_FALSE(IsCp850Representable("€"));
  EXPECT_FALSE(IsCp850Representable("\xFF"));
}

TEST(Cp850Test, ConsoleGlyphsOfControlCodes) {
  EXPECT_EQ(Cp850Glyph(0x10), U'\u25BA');  // ►
  EXPECT_EQ(Cp850Glyph(0x11), U'\u25C4');  // ◄
  EXPECT_EQ(Cp850Glyph(0x00), U' ');
  EXPECT_EQ(Cp850Glyph(0xB3), U'\u2502');
  EXPECT_EQ(Cp850Glyph('a'), U'a');
}

}  // namespace
}  // namespace qav
