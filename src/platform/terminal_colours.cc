#include "platform/terminal_colours.h"

#include <utility>

namespace qav {

int AnsiColour(int console_colour) {
  static constexpr std::array<int, 8> kAnsi = {0, 4, 2, 6, 1, 5, 3, 7};
  return kAnsi[console_colour & 7] + (console_colour & 8);
}

CellStyle StyleForAttribute(uint8_t attribute, ColourMode mode) {
  const int fg = attribute & 15;
  const int bg = attribute >> 4;
  CellStyle style;
  switch (mode) {
    case ColourMode::kSixteen:
      style.foreground = AnsiColour(fg);
      style.background = AnsiColour(bg);
      break;
    case ColourMode::kEight:
      style.foreground = AnsiColour(fg & 7);
      style.background = AnsiColour(bg & 7);
      style.bold = fg >= 8;
      break;
    case ColourMode::kMonochrome:
      style.reverse = bg == 7 || bg >= 8;
      style.bold = fg >= 8;
      break;
  }
  return style;
}

ColourPairs::ColourPairs(MakePair make, int available)
    : make_(std::move(make)), available_(available) {}

int ColourPairs::PairFor(int foreground, int background) {
  if (foreground < 0 || foreground > 15 || background < 0 || background > 15) return 0;
  int16_t& pair = pairs_[foreground * 16 + background];
  if (pair != 0) return pair;
  if (next_ >= available_ || !make_(next_, foreground, background)) return 0;
  pair = static_cast<int16_t>(next_++);
  return pair;
}

}  // namespace qav
