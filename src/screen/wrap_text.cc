#include "screen/wrap_text.h"

#include <cstdlib>

namespace qav {
namespace {

bool IsControl(unsigned char c) { return c < ' '; }
bool IsAboveBlank(unsigned char c) { return c > ' '; }

char ModeLetter(std::string_view mode) {
  if (mode.empty()) return '\0';
  char c = mode.front();
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Widens the blanks of `line` one at a time until it is `full` long.
void Justify(std::string* line, int full, int indent_abs) {
  const size_t first_allowed = static_cast<size_t>(indent_abs);  // 0-based 1 + |indent|
  size_t start = first_allowed + 2;                                // 0-based 3 + |indent|
  while (static_cast<int>(line->size()) < full) {
    size_t at = line->find(' ', start);
    if (at == std::string::npos) at = line->find(' ', first_allowed);
    if (at == std::string::npos) return;
    line->insert(at, 1, ' ');
    size_t next = at;
    while (next < line->size() && (*line)[next] == ' ') ++next;
    start = next;
  }
}

}  // namespace

std::string WrapText(std::string_view text, int indent, int width, std::string_view mode) {
  const char letter = ModeLetter(mode);
  const int n = static_cast<int>(text.size());
  // 1-based access; positions past the end read as 0 (neither blank nor text).
  auto at = [&](int pos) -> unsigned char {
    return pos >= 1 && pos <= n ? static_cast<unsigned char>(text[pos - 1]) : 0;
  };
  const int indent_abs = std::abs(indent);
  std::string result;
  int p = 1;
  bool first = true;
  while (p <= n) {
    const int b = first ? (indent > 0 ? indent : 0) : (indent < 0 ? -indent : 0);
    first = false;
    int room = width - b;
    if (room < 1) room = 1;
    // Take the characters of the line; control characters take no room.
    int taken = 0;
    while (taken < room && p + taken <= n) {
      if (IsControl(at(p + taken))) ++room;
      ++taken;
    }
    if (taken > 0 && IsAboveBlank(at(p + taken - 1))) {
      while (p + taken <= n && IsControl(at(p + taken))) {
        ++room;
        ++taken;
      }
    }
    // Break at a blank rather than inside a word.
    int d = room;
    if (IsAboveBlank(at(p + d))) {
      while (d > 0 && IsAboveBlank(at(p + d))) {
        --d;
        if (IsControl(at(p + d))) --room;  // left for the next line: it takes no room here
      }
    }
    if ((IsControl(at(p + d)) || p + d > n) && d > 0) {
      while (d > 0 && at(p + d - 1) == ' ') --d;
    }
    if (d < 1) d = room;
    if (p + d - 1 > n) d = n - p + 1;

    std::string line(static_cast<size_t>(b), ' ');
    line.append(text.substr(static_cast<size_t>(p - 1), static_cast<size_t>(d)));
    const int full = room + b;
    const int length = static_cast<int>(line.size());
    const int missing = full > length ? full - length : 0;
    switch (letter) {
      case 'E':
      case 'L':
      case 'I':
        line.append(static_cast<size_t>(missing), ' ');
        break;
      case 'N':
        line.append(static_cast<size_t>(missing), '-');
        break;
      case 'D':
      case 'R':
        line.insert(0, static_cast<size_t>(missing), ' ');
        break;
      case 'C':
        line.insert(0, static_cast<size_t>(missing / 2), ' ');
        line.append(static_cast<size_t>((missing + 1) / 2), ' ');
        break;
      case 'A':
      case 'B': {
        const bool followed = n - (p + d - 1) >= 2;
        const bool has_blank =
            line.size() > static_cast<size_t>(indent_abs) &&
            line.find(' ', static_cast<size_t>(indent_abs)) != std::string::npos;
        if (followed && has_blank) Justify(&line, full, indent_abs);
        break;
      }
      default:
        break;
    }
    result += line;
    p += d;
    while (p <= n && at(p) == ' ') ++p;
  }
  return result;
}

}  // namespace qav
