#include "platform/cp850.h"

#include <array>

namespace qav {
namespace {

// Code page 850, codes 128 to 255. Codes 0 to 127 are ASCII.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // B0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // D0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,  // D8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // E0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,  // E8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,  // F8
};

// How the console shows the control codes 0 to 31 (the OEM font's glyphs).
constexpr std::array<char16_t, 32> kControlGlyphs = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};

}  // namespace

char32_t Cp850ToUnicode(unsigned char code) {
  return code < 128 ? char32_t{code} : char32_t{kHighHalf[code - 128]};
}

int UnicodeToCp850(char32_t u) {
  if (u < 128) return static_cast<int>(u);
  for (int i = 0; i < 128; ++i) {
    if (kHighHalf[i] == u) return 128 + i;
  }
  return -1;
}

char32_t Cp850Glyph(unsigned char code) {
  if (code < 32) return kControlGlyphs[code];
  if (code == 127) return U'\u2302';  // house
  if (code == 255) return U' ';       // no-break space drawn as a blank
  return Cp850ToUnicode(code);
}

void AppendUtf8(char32_t u, std::string* out) {
  if (u < 0x80) {
    out->push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (u >> 6)));
    out->push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else if (u < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (u >> 12)));
    out->push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (u >> 18)));
    out->push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

size_t DecodeUtf8(std::string_view text, size_t pos, char32_t* out) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b0 = byte(pos);
  size_t need;
  char32_t u;
  if (b0 < 0x80) {
    *out = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 < 0xE0) {
    need = 1;
    u = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 < 0xF0) {
    need = 2;
    u = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 < 0xF5) {
    need = 3;
    u = b0 & 0x07;
  } else {
    return 0;
  }
  if (pos + need >= text.size()) return 0;
  for (size_t i = 1; i <= need; ++i) {
    const unsigned char b = byte(pos + i);
    if ((b & 0xC0) != 0x80) return 0;
    u = (u << 6) | (b & 0x3F);
  }
  // Refuse overlong forms and surrogates so that every text has one reading.
  if ((need == 2 && u < 0x800) || (need == 3 && (u < 0x10000 || u > 0x10FFFF)) ||
      (u >= 0xD800 && u <= 0xDFFF)) {
    return 0;
  }
  *out = u;
  return need + 1;
}

std::string Cp850ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) AppendUtf8(Cp850ToUnicode(c), &out);
  return out;
}

std::string Utf8ToCp850(std::string_view text, char replacement) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t u = 0;
    const size_t used = DecodeUtf8(text, pos, &u);
    if (used == 0) {
      out.push_back(replacement);
      ++pos;
      continue;
    }
    const int code = UnicodeToCp850(u);
    out.push_back(code < 0 ? replacement : static_cast<char>(code));
    pos += used;
  }
  return out;
}

bool IsCp850Representable(std::string_view utf8) {
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t u = 0;
    const size_t used = DecodeUtf8(utf8, pos, &u);
    if (used == 0 || UnicodeToCp850(u) < 0) return false;
    pos += used;
  }
  return true;
}

}  // namespace qav
