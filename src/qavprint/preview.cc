#include "qavprint/preview.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/console.h"
#include "qavprint/page_layout.h"
#include "screen/colours.h"

namespace qav {
namespace {

constexpr int kSideStep = 8;    // columns per Left or Right
constexpr int kWheelStep = 3;   // lines per turn of the wheel
constexpr int kEsc = 27;

// Code page 850: à 0x85, í 0xA1; arrows are the console's glyphs of
// codes 24-27.
constexpr char kPageWord[] = "P\x85gina ";
constexpr char kKeysRow[] =
    " \x18\x19 l\xA1nies   ReP\x85g AvP\x85g p\x85gines   Inici Fi   "
    "\x1B\x1A columnes   Esc surt";

class Preview {
 public:
  explicit Preview(const PrintDocument& document) : document_(document) {
    if (document_.pages.empty()) blank_.emplace_back();
    LayOut();
  }

  void Run();

 private:
  const std::vector<PrintedPage>& Pages() const {
    return document_.pages.empty() ? blank_ : document_.pages;
  }
  int PageCount() const { return static_cast<int>(Pages().size()); }
  int BodyRows() const { return std::max(1, ConsoleHeight() - 2); }
  int MaxTop() const { return std::max(0, Pages()[page_].length - BodyRows()); }
  // The view whose last row is the page's last printed line (the top when
  // it all fits): the end of a report is its last line, not the blank
  // paper under it.
  int LastTextTop() const {
    return std::clamp(static_cast<int>(lines_.size()) - BodyRows(), 0, MaxTop());
  }
  int MaxLeft() const { return std::max(0, width_ - ConsoleWidth()); }

  void LayOut();
  void GoToPage(int page, bool at_end);
  void LineDown(int lines);
  void LineUp(int lines);
  // False when the key ends the preview.
  bool Apply(const ConsoleEvent& event);
  void Draw() const;

  const PrintDocument& document_;
  std::vector<PrintedPage> blank_;
  std::vector<std::string> lines_;  // the current page, laid out
  int width_ = kGridColumns;        // of the current page
  int page_ = 0;
  int top_ = 0;   // first line in view, from 0
  int left_ = 0;  // first column in view, from 0
};

void Preview::LayOut() {
  lines_ = LayOutPage(Pages()[page_]);
  width_ = kGridColumns;
  for (const std::string& line : lines_) width_ = std::max(width_, static_cast<int>(line.size()));
  left_ = std::min(left_, MaxLeft());
}

void Preview::GoToPage(int page, bool at_end) {
  page_ = std::clamp(page, 0, PageCount() - 1);
  LayOut();
  top_ = at_end ? MaxTop() : 0;
}

void Preview::LineDown(int lines) {
  for (int i = 0; i < lines; ++i) {
    if (top_ < MaxTop()) {
      ++top_;
    } else if (page_ + 1 < PageCount()) {
      GoToPage(page_ + 1, false);
    }
  }
}

void Preview::LineUp(int lines) {
  for (int i = 0; i < lines; ++i) {
    if (top_ > 0) {
      --top_;
    } else if (page_ > 0) {
      GoToPage(page_ - 1, true);
    }
  }
}

bool Preview::Apply(const ConsoleEvent& event) {
  if (event.kind == EventKind::kWheel) {
    if (event.wheel < 0) {
      LineUp(kWheelStep);
    } else {
      LineDown(kWheelStep);
    }
    return true;
  }
  if (event.kind != EventKind::kKey) return true;
  if (event.KeyCode() == kEsc) return false;
  if (event.character != 0) return true;
  switch (event.scan) {
    case scan::kDown:
      LineDown(1);
      break;
    case scan::kUp:
      LineUp(1);
      break;
    case scan::kPgDn:
      if (page_ + 1 < PageCount()) {
        GoToPage(page_ + 1, false);
      } else {
        top_ = std::max(top_, LastTextTop());
      }
      break;
    case scan::kPgUp:
      if (top_ > 0 || page_ == 0) {
        top_ = 0;
      } else {
        GoToPage(page_ - 1, false);
      }
      break;
    case scan::kHome:
      GoToPage(0, false);
      left_ = 0;
      break;
    case scan::kEnd:
      GoToPage(PageCount() - 1, false);
      top_ = LastTextTop();
      break;
    case scan::kLeft:
      left_ = std::max(0, left_ - kSideStep);
      break;
    case scan::kRight:
      left_ = std::min(MaxLeft(), left_ + kSideStep);
      break;
    default:
      break;
  }
  return true;
}

std::string Fitted(std::string text, int width) {
  text.resize(static_cast<size_t>(std::max(0, width)), ' ');
  return text;
}

void Preview::Draw() const {
  const int width = ConsoleWidth();
  const int rows = BodyRows();
  const int length = Pages()[page_].length;
  const int last_row = std::min(length, top_ + rows);
  const int last_column = std::min(width_, left_ + width);

  std::string status = " " + std::string(kPageWord) + std::to_string(page_ + 1) + " de " +
                       std::to_string(PageCount()) + "   l\xA1nies " + std::to_string(top_ + 1) +
                       "-" + std::to_string(last_row) + " de " + std::to_string(length) +
                       "   columnes " + std::to_string(left_ + 1) + "-" +
                       std::to_string(last_column) + " de " + std::to_string(width_);
  if (document_.pages.empty()) status += "   (llistat buit)";

  SetColour("+r");
  PutCursor(1, 1);
  WriteText(Fitted(status, width));
  PutCursor(rows + 2, 1);
  WriteText(Fitted(kKeysRow, width));
  SetColour("n");
  for (int r = 0; r < rows; ++r) {
    const int line = top_ + r;
    std::string text;
    if (line < static_cast<int>(lines_.size()) && left_ < static_cast<int>(lines_[line].size())) {
      text = lines_[line].substr(left_);
    }
    PutCursor(r + 2, 1);
    WriteText(Fitted(std::move(text), width));
  }
  SetColour("-");
  PutCursor(1, 1);
}

void Preview::Run() {
  SetCursorShape(CursorShape::kHidden);
  SetMouseReporting(true);
  for (;;) {
    Draw();
    if (!Apply(WaitEvent())) break;
  }
  SetMouseReporting(false);
}

}  // namespace

void RunPreview(const PrintDocument& document) { Preview(document).Run(); }

}  // namespace qav
