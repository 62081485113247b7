#include "screen/frame.h"

#include <string>

#include "platform/console.h"
#include "screen/windows.h"

namespace qav {
namespace {

struct FrameChars {
  char top_left, top_right, bottom_left, bottom_right, horizontal, vertical;
};

FrameChars CharsOf(int style) {
  switch (style) {
    case 0:
      return {' ', ' ', ' ', ' ', ' ', ' '};
    case 1:
      return {'\xDA', '\xBF', '\xC0', '\xD9', '\xC4', '\xB3'};
    case 2:
      return {'\xC9', '\xBB', '\xC8', '\xBC', '\xCD', '\xBA'};
    default:
      return {'\0', '\0', '\0', '\0', '\0', '\0'};
  }
}

}  // namespace

void DrawFrame(int style) {
  if (WindowDepth() == 0) return;
  const WindowRect w = CurrentWindow();
  const FrameChars f = CharsOf(style);
  const int inner = w.right - w.left - 1;
  const std::string across = inner > 0 ? std::string(static_cast<size_t>(inner), f.horizontal) : "";
  const std::string blanks = inner > 0 ? std::string(static_cast<size_t>(inner), ' ') : "";
  PutCursor(w.top, w.left);
  WriteText(std::string(1, f.top_left) + across + std::string(1, f.top_right));
  for (int row = w.top + 1; row <= w.bottom - 1; ++row) {
    PutCursor(row, w.left);
    WriteText(std::string(1, f.vertical) + blanks + std::string(1, f.vertical));
  }
  PutCursor(w.bottom, w.left);
  WriteText(std::string(1, f.bottom_left) + across + std::string(1, f.bottom_right));
}

}  // namespace qav
