#include "screen/message_box.h"

#include <algorithm>
#include <string>

#include "platform/console.h"
#include "screen/colours.h"
#include "screen/frame.h"
#include "screen/windows.h"
#include "screen/wrap_text.h"

namespace qav {
namespace {

constexpr int kLineWidth = 76;

std::string_view WithoutTrailingBlanks(std::string_view line) {
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  return line;
}

}  // namespace

void ShowMessageBox(int row, std::string_view text) {
  SetColour("+rh");
  const std::string lines = WrapText(text, 0, kLineWidth, "i");
  const int n = static_cast<int>(lines.size()) / kLineWidth;
  int top = row - ((n + 1) / 2) - 2;
  if (top < 1) top = 1;
  int bottom = top + n + 1;
  if (bottom > ScreenHeight()) {
    bottom = ScreenHeight();
    top = bottom - n - 1;
  }
  if (top < 1) {
    // Nothing fits: stay balanced for the caller's CloseWindow and give the
    // colour back.
    OpenEmptyWindow();
    SetColour("-");
    return;
  }
  int widest = 0;
  for (int i = 0; i < n; ++i) {
    const std::string_view line =
        std::string_view(lines).substr(static_cast<size_t>(i) * kLineWidth, kLineWidth);
    widest = std::max(widest, static_cast<int>(WithoutTrailingBlanks(line).size()));
  }
  const int left = 39 - (widest + 1) / 2;
  const int right = 42 + widest / 2;
  OpenWindow(top, left, bottom, right);
  DrawFrame(1);
  for (int i = 0; i < n; ++i) {
    const std::string_view line =
        std::string_view(lines).substr(static_cast<size_t>(i) * kLineWidth, kLineWidth);
    LocateInWindow(i + 1, 2);
    WriteText(WithoutTrailingBlanks(line));
  }
  SetColour("-");
}

}  // namespace qav
