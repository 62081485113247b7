// The parts of the terminal backend that do not need a terminal: choosing
// the colour mode, drawing attributes in each mode, colour pairs, the mouse
// guess from TERM and the notice for a window that is too small.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/terminal_caps.h"
#include "platform/terminal_colours.h"
#include "platform/terminal_text.h"

namespace qav {
namespace {

TEST(TerminalCapsTest, ColourMode) {
  struct Case {
    bool has_colours;
    int colours;
    const char* no_color;
    ColourMode expected;
  };
  const std::vector<Case> table = {
      {false, 0, nullptr, ColourMode::kMonochrome},
      {true, 2, nullptr, ColourMode::kMonochrome},
      {true, 8, nullptr, ColourMode::kEight},
      {true, 16, nullptr, ColourMode::kSixteen},
      {true, 256, nullptr, ColourMode::kSixteen},
      {true, 256, "", ColourMode::kSixteen},  // set but empty: no effect
      {true, 256, "1", ColourMode::kMonochrome},
      {true, 8, "yes", ColourMode::kMonochrome},
  };
  for (const Case& c : table) {
    SCOPED_TRACE(std::to_string(c.colours) + " colours, NO_COLOR=" + (c.no_color ? c.no_color : "unset"));
    EXPECT_EQ(ChooseColourMode(c.has_colours, c.colours, c.no_color), c.expected);
  }
}

TEST(TerminalCapsTest, MouseFromTermName) {
  for (const char* term : {"xterm", "xterm-256color", "xterm-kitty", "tmux-256color", "screen",
                           "screen.xterm-256color", "rxvt-unicode-256color", "vte", "alacritty",
                           "kitty", "foot", "foot-extra", "wezterm"}) {
    EXPECT_TRUE(TermSuggestsMouse(term)) << term;
  }
  for (const char* term : {"linux", "vt100", "vt220", "dumb", "ansi", ""}) {
    EXPECT_FALSE(TermSuggestsMouse(term)) << term;
  }
}

TEST(TerminalCapsTest, MousePresent) {
  struct Case {
    const char* term;
    bool has_kmous;
    bool gpm;
    bool expected;
  };
  const std::vector<Case> table = {
      {"xterm-256color", true, false, true},
      {"tmux-256color", false, false, true},
      {"vt220", true, false, true},  // its entry names a mouse key
      {"vt100", false, true, false},
      {"linux", true, false, false},  // the console without gpm
      {"linux", true, true, true},
      {"linux-16color", true, false, false},
  };
  for (const Case& c : table) {
    EXPECT_EQ(MousePresentFor(c.term, c.has_kmous, c.gpm), c.expected) << c.term << " " << c.gpm;
  }
}

TEST(TerminalColoursTest, ConsoleOrderToAnsiOrder) {
  const std::vector<int> expected = {0, 4, 2, 6, 1, 5, 3, 7, 8, 12, 10, 14, 9, 13, 11, 15};
  for (int colour = 0; colour < 16; ++colour) {
    EXPECT_EQ(AnsiColour(colour), expected[colour]) << colour;
  }
}

TEST(TerminalColoursTest, StyleForAttribute) {
  struct Case {
    uint8_t attribute;
    ColourMode mode;
    CellStyle expected;
  };
  const ColourMode k16 = ColourMode::kSixteen, k8 = ColourMode::kEight,
                   kMono = ColourMode::kMonochrome;
  const std::vector<Case> table = {
      {0x07, k16, {7, 0, false, false}},
      {0x1F, k16, {15, 4, false, false}},  // white on blue
      {0x4E, k16, {11, 1, false, false}},  // yellow on red
      {0x78, k16, {8, 7, false, false}},
      {0xF0, k16, {0, 15, false, false}},
      {0x1F, k8, {7, 4, true, false}},   // bright foreground: base colour, bold
      {0x9E, k8, {3, 4, true, false}},   // bright background: base colour
      {0x70, k8, {0, 7, false, false}},
      {0x66, k8, {3, 3, false, false}},
      {0x17, kMono, {-1, -1, false, false}},  // plain text
      {0x1E, kMono, {-1, -1, true, false}},   // highlight
      {0x70, kMono, {-1, -1, false, true}},   // input field on grey
      {0x9F, kMono, {-1, -1, true, true}},
      {0x8F, kMono, {-1, -1, true, true}},
      {0x31, kMono, {-1, -1, false, false}},  // dark background stays plain
  };
  for (const Case& c : table) {
    SCOPED_TRACE(testing::Message() << "attribute 0x" << std::hex << int{c.attribute} << " mode "
                                    << static_cast<int>(c.mode));
    const CellStyle style = StyleForAttribute(c.attribute, c.mode);
    EXPECT_EQ(std::tie(style.foreground, style.background, style.bold, style.reverse),
              std::tie(c.expected.foreground, c.expected.background, c.expected.bold,
                       c.expected.reverse));
  }
}

struct PairLog {
  std::vector<std::tuple<int, int, int>> made;
  bool fail = false;
  ColourPairs::MakePair Maker() {
    return [this](int pair, int fg, int bg) {
      if (fail) return false;
      made.emplace_back(pair, fg, bg);
      return true;
    };
  }
};

TEST(TerminalColoursTest, PairsAreMadeOnFirstUseOnly) {
  PairLog log;
  ColourPairs pairs(log.Maker(), 256);
  EXPECT_EQ(pairs.PairFor(7, 4), 1);
  EXPECT_EQ(pairs.PairFor(0, 7), 2);
  EXPECT_EQ(pairs.PairFor(7, 4), 1);
  EXPECT_EQ(pairs.PairFor(7, 0), 3);  // the default colours still get a pair of their own
  const std::vector<std::tuple<int, int, int>> expected = {{1, 7, 4}, {2, 0, 7}, {3, 7, 0}};
  EXPECT_EQ(log.made, expected);
  EXPECT_EQ(pairs.PairFor(-1, 0), 0);
  EXPECT_EQ(pairs.PairFor(3, 16), 0);
}

TEST(TerminalColoursTest, PairsRunningOutFallBackToDefault) {
  PairLog log;
  ColourPairs pairs(log.Maker(), 3);  // pairs 1 and 2 usable
  EXPECT_EQ(pairs.PairFor(1, 2), 1);
  EXPECT_EQ(pairs.PairFor(2, 3), 2);
  EXPECT_EQ(pairs.PairFor(3, 4), 0);
  EXPECT_EQ(pairs.PairFor(1, 2), 1);  // those made stay usable
  EXPECT_EQ(log.made.size(), 2u);

  PairLog failing;
  failing.fail = true;
  ColourPairs refused(failing.Maker(), 64);
  EXPECT_EQ(refused.PairFor(1, 2), 0);
  failing.fail = false;
  EXPECT_EQ(refused.PairFor(1, 2), 1);  // a refused pair is asked for again
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : " ") + line;
  return text;
}

TEST(TerminalTextTest, TooSmallMessageFitsTheWindow) {
  struct Case {
    int columns;
    size_t lines;
  };
  for (const Case& c : std::vector<Case>{{200, 1}, {60, 2}, {30, 4}}) {
    SCOPED_TRACE(c.columns);
    const std::vector<std::string> lines = TooSmallMessage(c.columns, 20, 80, 25, true);
    EXPECT_EQ(lines.size(), c.lines);
    EXPECT_EQ(Joined(lines), "The terminal is " + std::to_string(c.columns) +
                                 " \u00d7 20; this program needs at least 80 columns and 25 "
                                 "rows. Enlarge the window.");
    for (const std::string& line : lines) EXPECT_LE(Utf8Width(line), static_cast<size_t>(c.columns));
  }
  EXPECT_EQ(TooSmallMessage(70, 20, 80, 25, false)[0].substr(0, 23), "The terminal is 70 x 20");
}

TEST(TerminalTextTest, TooSmallMessageOnATinyWindowCutsWords) {
  const std::vector<std::string> lines = TooSmallMessage(4, 2, 80, 25, true);
  std::string letters;
  for (const std::string& line : lines) {
    EXPECT_LE(Utf8Width(line), 4u) << line;
    for (char c : line) {
      if (c != ' ') letters += c;
    }
  }
  EXPECT_EQ(letters.substr(0, 11), "Theterminal");
  EXPECT_EQ(letters.substr(letters.size() - 7), "window.");
  EXPECT_FALSE(TooSmallMessage(0, 0, 80, 25, true).empty());
}

TEST(TerminalTextTest, AsciiStandIns) {
  const std::vector<std::pair<char32_t, char>> table = {
      {U'A', 'A'},      {U' ', ' '},      {U'\u2550', '-'}, {U'\u2500', '-'},
      {U'\u2551', '|'}, {U'\u2502', '|'}, {U'\u2554', '+'}, {U'\u253C', '+'},
      {U'\u2591', '#'}, {U'\u2588', '#'}, {U'\u25C4', '<'}, {U'\u25BA', '>'},
      {U'\u00E9', '?'},
  };
  for (const auto& [glyph, ascii] : table) {
    EXPECT_EQ(AsciiGlyph(glyph), ascii) << static_cast<int>(glyph);
  }
  EXPECT_EQ(Utf8Width("a\u00d7\u2550b"), 4u);
}

}  // namespace
}  // namespace qav
