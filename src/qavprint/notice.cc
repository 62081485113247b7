#include "qavprint/notice.h"

#include <algorithm>

#include "platform/console.h"
#include "screen/colours.h"

namespace qav {
namespace {

// Code page 850 single-line box characters.
constexpr char kTopLeft = '\xDA', kTopRight = '\xBF', kBottomLeft = '\xC0',
               kBottomRight = '\xD9', kHorizontal = '\xC4', kVertical = '\xB3';
constexpr char kPressAKey[] = "Premeu una tecla per continuar";

std::vector<std::string> Wrapped(const std::vector<std::string>& lines, size_t width) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (line.empty()) out.emplace_back();
    for (size_t at = 0; at < line.size();) {
      size_t take = std::min(width, line.size() - at);
      if (at + take < line.size()) {
        const size_t blank = line.rfind(' ', at + take);
        if (blank != std::string::npos && blank > at) take = blank - at;
      }
      out.push_back(line.substr(at, take));
      at += take;
      while (at < line.size() && line[at] == ' ') ++at;
    }
  }
  return out;
}

}  // namespace

void ShowNotice(const std::vector<std::string>& lines) {
  const int width = ConsoleWidth();
  const int height = ConsoleHeight();
  const size_t inner = static_cast<size_t>(std::max(10, width - 6));
  std::vector<std::string> text = Wrapped(lines, inner);
  const size_t room = static_cast<size_t>(std::max(1, height - 6));
  if (text.size() > room) {
    const size_t hidden = text.size() - (room - 1);
    text.resize(room - 1);
    text.push_back("... (" + std::to_string(hidden) + " l\xA1nies m\x82s)");
  }
  text.emplace_back();
  text.emplace_back(kPressAKey);
  size_t longest = 0;
  for (const std::string& line : text) longest = std::max(longest, line.size());
  const int box_width = static_cast<int>(longest) + 4;
  const int box_height = static_cast<int>(text.size()) + 2;
  const int left = std::max(1, (width - box_width) / 2 + 1);
  const int top = std::max(1, (height - box_height) / 2 + 1);

  SetColour("+r");
  PutCursor(top, left);
  WriteText(std::string(1, kTopLeft) + std::string(box_width - 2, kHorizontal) + kTopRight);
  for (size_t i = 0; i < text.size(); ++i) {
    std::string row = text[i];
    row.resize(longest, ' ');
    PutCursor(top + 1 + static_cast<int>(i), left);
    WriteText(std::string(1, kVertical) + " " + row + " " + kVertical);
  }
  PutCursor(top + box_height - 1, left);
  WriteText(std::string(1, kBottomLeft) + std::string(box_width - 2, kHorizontal) + kBottomRight);
  SetColour("-");

  SetCursorShape(CursorShape::kHidden);
  DiscardInput();
  for (;;) {
    const ConsoleEvent event = WaitEvent();
    if (event.kind == EventKind::kKey || event.kind == EventKind::kClick) break;
  }
}

}  // namespace qav
