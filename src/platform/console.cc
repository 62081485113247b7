#include "platform/console.h"

#include <memory>

#include "platform/terminal_backend.h"

namespace qav {
namespace {

struct ConsoleState {
  std::unique_ptr<ConsoleBackend> backend;
  HeadlessBackend* headless = nullptr;  // the backend, when it is the headless one
  bool terminal = false;
  ScreenGrid grid{80, 25};
  int row = 1;
  int column = 1;
  uint8_t attribute = 7;
  CursorShape shape = CursorShape::kFull;
  bool insert = true;
  int suspended = 0;
};

ConsoleState& State() {
  static ConsoleState* state = [] {
    auto* s = new ConsoleState;  // lives until the process ends, past static destructors
    auto headless = std::make_unique<HeadlessBackend>();
    s->headless = headless.get();
    s->backend = std::move(headless);
    return s;
  }();
  return *state;
}

void Reset(ConsoleState& s, std::unique_ptr<ConsoleBackend> backend, int width, int height) {
  s.backend = std::move(backend);
  s.grid = ScreenGrid(width, height);
  s.row = 1;
  s.column = 1;
  s.attribute = 7;
  s.shape = CursorShape::kFull;
  s.suspended = 0;
}

}  // namespace

bool StartTerminalConsole(std::string* error) {
  int width = 80, height = 25;
  std::unique_ptr<ConsoleBackend> backend = OpenTerminalBackend(&width, &height, error);
  if (!backend) return false;
  ConsoleState& s = State();
  Reset(s, std::move(backend), width, height);
  s.headless = nullptr;
  s.terminal = true;
  return true;
}

HeadlessBackend& StartHeadlessConsole(int width, int height) {
  ConsoleState& s = State();
  auto headless = std::make_unique<HeadlessBackend>();
  HeadlessBackend& result = *headless;
  Reset(s, std::move(headless), width, height);
  s.headless = &result;
  s.terminal = false;
  s.insert = true;
  return result;
}

void StopConsole() {
  ConsoleState& s = State();
  if (!s.terminal) return;
  StartHeadlessConsole(s.grid.width(), s.grid.height());
}

bool ConsoleIsTerminal() { return State().terminal; }
int ConsoleWidth() { return State().grid.width(); }
int ConsoleHeight() { return State().grid.height(); }

void PutCursor(int row, int column) {
  ConsoleState& s = State();
  s.row = row;
  s.column = column;
}

int CursorRow() { return State().row; }
int CursorColumn() { return State().column; }
void SetCursorShape(CursorShape shape) { State().shape = shape; }
CursorShape GetCursorShape() { return State().shape; }

void SetTextColour(int foreground, int background) {
  State().attribute = static_cast<uint8_t>((foreground & 15) + 16 * (background & 15));
}

uint8_t TextAttribute() { return State().attribute; }

void WriteText(std::string_view text) {
  ConsoleState& s = State();
  s.grid.Write(&s.row, &s.column, text, s.attribute);
}

Cell ReadCell(int row, int column) { return State().grid.At(row, column); }

void ScrollRectangle(int top, int left, int bottom, int right, int lines) {
  ConsoleState& s = State();
  s.grid.Scroll(top, left, bottom, right, lines, s.attribute);
}

void ClearScreen() {
  ConsoleState& s = State();
  s.grid.Fill(s.attribute);
}

void Beep() { State().backend->Beep(); }

void RefreshConsole() {
  ConsoleState& s = State();
  if (s.suspended > 0) return;
  s.backend->Present(s.grid, s.row, s.column, s.shape);
}

ConsoleEvent WaitEvent() {
  RefreshConsole();
  ConsoleEvent e;
  while (e.kind == EventKind::kNone) e = State().backend->NextEvent(-1);
  return e;
}

ConsoleEvent PollEvent() {
  RefreshConsole();
  return State().backend->NextEvent(0);
}

void DiscardInput() { State().backend->DiscardInput(); }
bool InsertToggle() { return State().insert; }
void SetInsertToggle(bool on) { State().insert = on; }
void SetMouseReporting(bool on) { State().backend->SetMouseReporting(on); }
bool MousePresent() { return State().backend->MousePresent(); }

void SuspendConsole() {
  ConsoleState& s = State();
  if (s.suspended++ == 0) {
    s.backend->Present(s.grid, s.row, s.column, s.shape);
    s.backend->Suspend();
  }
}

void ResumeConsole() {
  ConsoleState& s = State();
  if (s.suspended == 0) return;
  if (--s.suspended == 0) {
    s.backend->Resume();
    s.grid.MarkAllDirty();
    s.backend->Present(s.grid, s.row, s.column, s.shape);
  }
}

std::string ScreenRowText(int row) {
  const ScreenGrid& g = State().grid;
  std::string text;
  for (int c = 1; c <= g.width(); ++c) text.push_back(static_cast<char>(g.At(row, c).character));
  return text;
}

ConsoleEvent HeadlessBackend::NextEvent(int timeout_ms) {
  if (next_ < script_.size()) return script_[next_++];
  if (timeout_ms == 0) return ConsoleEvent{};
  ++exhausted_;
  return ConsoleEvent::Char(27);
}

void HeadlessBackend::DiscardInput() { next_ = script_.size(); }

void HeadlessBackend::PushText(std::string_view cp850_text) {
  for (unsigned char c : cp850_text) Push(ConsoleEvent::Char(c));
}

void HeadlessBackend::PushKey(int key_code, uint16_t modifiers) {
  if (key_code & 0xFF) {
    Push(ConsoleEvent::Char(static_cast<uint8_t>(key_code & 0xFF), modifiers));
  } else {
    Push(ConsoleEvent::Extended(static_cast<uint8_t>((key_code >> 8) & 0xFF), modifiers));
  }
}

}  // namespace qav
