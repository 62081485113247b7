#include "util/text.h"

#include <array>
#include <cstddef>
#include <limits>

namespace qav {
namespace {

constexpr int kFirstMapped = 64;
constexpr int kLastMapped = 237;

// Plain capitals for the codes 64-237: character k is the image of code 63 + k.
constexpr std::string_view kFoldImages =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZ      ABCDEFGHIJKLMNOPQRSTUVWXYZ     "
    "CUEAAAACEEEIIIAAEAAOOOUUYOUO O  AIOUNNAO             AAA         "
    "     AA        DDEEEEIII     I OSOOOO TTUUUYY";
static_assert(kFoldImages.size() == kLastMapped - kFirstMapped + 1);

// Accented small letters of code page 850 and their accented capitals:
// ü é â ä à å ç ê ë è ï î ì æ ô ö ò û ù á í ó ú ñ ã ð õ ý.
constexpr std::array<std::array<unsigned char, 2>, 28> kAccentedCapitals = {{
    {0x81, 0x9A}, {0x82, 0x90}, {0x83, 0xB6}, {0x84, 0x8E}, {0x85, 0xB7},
    {0x86, 0x8F}, {0x87, 0x80}, {0x88, 0xD2}, {0x89, 0xD3}, {0x8A, 0xD4},
    {0x8B, 0xD8}, {0x8C, 0xD7}, {0x8D, 0xDE}, {0x91, 0x92}, {0x93, 0xE2},
    {0x94, 0x99}, {0x95, 0xE3}, {0x96, 0xEA}, {0x97, 0xEB}, {0xA0, 0xB5},
    {0xA1, 0xD6}, {0xA2, 0xE0}, {0xA3, 0xE9}, {0xA4, 0xA5}, {0xC6, 0xC7},
    {0xD0, 0xD1}, {0xE4, 0xE5}, {0xEC, 0xED},
}};

using CodeTable = std::array<unsigned char, 256>;

constexpr CodeTable MakeKeepTable() {
  CodeTable table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 'a' + 'A');
  for (const auto& pair : kAccentedCapitals) table[pair[0]] = pair[1];
  return table;
}

constexpr CodeTable MakeFoldTable() {
  CodeTable table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = kFirstMapped; c <= kLastMapped; ++c) {
    table[c] = static_cast<unsigned char>(kFoldImages[c - kFirstMapped]);
  }
  return table;
}

constexpr CodeTable kUpperKeep = MakeKeepTable();
constexpr CodeTable kUpperFold = MakeFoldTable();

struct TextState {
  bool folding = false;
};

TextState& State() {
  static TextState state;
  return state;
}

}  // namespace

std::string ToUpperText(std::string_view text) {
  const CodeTable& table = State().folding ? kUpperFold : kUpperKeep;
  std::string result(text);
  for (char& ch : result) ch = static_cast<char>(table[static_cast<unsigned char>(ch)]);
  return result;
}

void SetUpperFolding(bool on) { State().folding = on; }

bool UpperFolding() { return State().folding; }

bool IsAllChar(std::string_view text, int16_t code) {
  if (text.empty()) return true;
  if (code < 0 || code > 255) return false;
  for (char ch : text) {
    if (static_cast<unsigned char>(ch) != code) return false;
  }
  return true;
}

int16_t CenterOffset(std::string_view text, int16_t width) {
  constexpr long long kMin = std::numeric_limits<int16_t>::min();
  constexpr long long kMax = std::numeric_limits<int16_t>::max();
  long long offset = (static_cast<long long>(width) - static_cast<long long>(text.size())) / 2;
  if (offset < kMin) offset = kMin;
  if (offset > kMax) offset = kMax;
  return static_cast<int16_t>(offset);
}

void ResetTextHelpers() { State() = TextState{}; }

}  // namespace qav
