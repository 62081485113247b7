// How a cell's colour attribute (foreground + 16 × background, in the
// console's colour order) is drawn on a terminal: curses colour numbers in
// ANSI order plus bold and reverse, for each colour mode, and the curses
// colour pairs, made only for the combinations actually drawn.
#ifndef QAV_PLATFORM_TERMINAL_COLOURS_H_
#define QAV_PLATFORM_TERMINAL_COLOURS_H_

#include <array>
#include <cstdint>
#include <functional>

#include "platform/terminal_caps.h"

namespace qav {

// The curses (ANSI) number of a console colour 0-15: the console counts
// blue before red (0 black, 1 blue, 2 green, 3 cyan, 4 red, ...), ANSI red
// before blue.
int AnsiColour(int console_colour);

struct CellStyle {
  int foreground = -1;  // curses colour numbers; -1 in monochrome
  int background = -1;
  bool bold = false;
  bool reverse = false;
  bool operator==(const CellStyle&) const = default;
};

// In eight colours a bright foreground is its base colour drawn bold and a
// bright background its base colour. In monochrome, light backgrounds (grey
// and the bright ones) are drawn reversed and bright foregrounds bold, so
// that plain text, highlights and input fields still look different.
CellStyle StyleForAttribute(uint8_t attribute, ColourMode mode);

// Colour pairs, each made the first time its colours are drawn. Pair 0, the
// terminal's own default colours, is never used for a console colour.
class ColourPairs {
 public:
  // `make` defines a pair (curses' init_pair); `available` is how many
  // pairs the terminal has, pair 0 included.
  using MakePair = std::function<bool(int pair, int foreground, int background)>;
  ColourPairs(MakePair make, int available);

  // The pair for the curses colours, or 0 when no pair is left.
  int PairFor(int foreground, int background);

 private:
  MakePair make_;
  int available_;
  int next_ = 1;
  std::array<int16_t, 256> pairs_{};  // by foreground × 16 + background; 0: none yet
};

}  // namespace qav

#endif  // QAV_PLATFORM_TERMINAL_COLOURS_H_
