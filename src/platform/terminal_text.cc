#include "platform/terminal_text.h"

namespace qav {

std::vector<std::string> TooSmallMessage(int columns, int rows, int needed_columns,
                                         int needed_rows, bool utf8) {
  const std::string text = "The terminal is " + std::to_string(columns) +
                           (utf8 ? " \u00d7 " : " x ") + std::to_string(rows) +
                           "; this program needs at least " + std::to_string(needed_columns) +
                           " columns and " + std::to_string(needed_rows) +
                           " rows. Enlarge the window.";
  const size_t limit = columns > 0 ? static_cast<size_t>(columns) : 1;
  std::vector<std::string> lines;
  std::string line;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t space = text.find(' ', pos);
    const size_t end = space == std::string::npos ? text.size() : space;
    std::string word = text.substr(pos, end - pos);
    pos = end == text.size() ? end : end + 1;
    // A word longer than the line is cut: every piece of the notice shows.
    while (Utf8Width(word) > limit) {
      if (!line.empty()) lines.push_back(std::move(line)), line.clear();
      size_t cut = 0, counted = 0;
      while (counted < limit) {
        ++cut;
        while (cut < word.size() && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) ++cut;
        ++counted;
      }
      lines.push_back(word.substr(0, cut));
      word.erase(0, cut);
    }
    if (word.empty()) continue;
    if (!line.empty() && Utf8Width(line) + 1 + Utf8Width(word) > limit) {
      lines.push_back(std::move(line));
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

size_t Utf8Width(std::string_view text) {
  size_t width = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++width;
  }
  return width;
}

char AsciiGlyph(char32_t glyph) {
  if (glyph < 0x80) return static_cast<char>(glyph);
  switch (glyph) {
    case U'\u2500': case U'\u2550': return '-';
    case U'\u2502': case U'\u2551': return '|';
    case U'\u25C4': return '<';
    case U'\u25BA': return '>';
    default: break;
  }
  if (glyph >= 0x2500 && glyph < 0x2580) return '+';
  if (glyph >= 0x2580 && glyph <= 0x25A0) return '#';
  return '?';
}

}  // namespace qav
