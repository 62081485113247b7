// The process-wide text console: a grid of code page 850 cells with colour
// attributes, a cursor, and the keyboard and mouse. It runs on one of two
// backends: the terminal (StartTerminalConsole) or an in-memory grid fed with
// scripted input (StartHeadlessConsole), which is also what a program has
// before it starts the terminal, so that code which draws runs anywhere.
//
// Rows and columns count from 1. Colours are 0-15 in the console's order
// (0 black, 1 blue, 2 green, 3 cyan, 4 red, 5 magenta, 6 brown, 7 grey, and
// 8-15 their bright forms); an attribute is foreground + 16 × background.
#ifndef QAV_PLATFORM_CONSOLE_H_
#define QAV_PLATFORM_CONSOLE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console_backend.h"
#include "platform/console_event.h"
#include "platform/screen_grid.h"

namespace qav {

class HeadlessBackend;

// Starts the terminal backend on the controlling terminal. Returns false,
// with the reason in *error, when there is no usable terminal; the console
// then stays headless.
bool StartTerminalConsole(std::string* error);
// Replaces the console by a headless one of the given size and returns it for
// scripting input. Cursor at (1, 1), colour 7 on 0, every cell blank.
HeadlessBackend& StartHeadlessConsole(int width = 80, int height = 25);
// Gives the terminal back as it was (modes, cursor, screen) and goes headless.
void StopConsole();
bool ConsoleIsTerminal();

int ConsoleWidth();
int ConsoleHeight();

void PutCursor(int row, int column);
int CursorRow();
int CursorColumn();
void SetCursorShape(CursorShape shape);
CursorShape GetCursorShape();

void SetTextColour(int foreground, int background);
uint8_t TextAttribute();
// Writes at the cursor in the current colour; the cursor advances.
void WriteText(std::string_view text);
Cell ReadCell(int row, int column);
// Scrolls the rectangle up (lines > 0) or down (lines < 0); uncovered rows
// become blanks in the current colour.
void ScrollRectangle(int top, int left, int bottom, int right, int lines);
void ClearScreen();
void Beep();

// Draws what changed. Input waits do it by themselves.
void RefreshConsole();

// Input. WaitEvent waits without limit; PollEvent takes what is waiting
// (an event of kind kNone when nothing is).
ConsoleEvent WaitEvent();
ConsoleEvent PollEvent();
void DiscardInput();
bool InsertToggle();
void SetInsertToggle(bool on);
void SetMouseReporting(bool on);
bool MousePresent();

// Around a program started in the foreground: the terminal goes to it and is
// redrawn from the grid afterwards. Nested calls count.
void SuspendConsole();
void ResumeConsole();

// Scripted input and inspection for tests and batch runs.
class HeadlessBackend : public ConsoleBackend {
 public:
  void Present(ScreenGrid&, int, int, CursorShape) override {}
  ConsoleEvent NextEvent(int timeout_ms) override;
  void DiscardInput() override;
  void Beep() override { ++beeps_; }
  void SetMouseReporting(bool on) override { mouse_reporting_ = on; }
  bool MousePresent() const override { return mouse_present_; }
  void Suspend() override { ++suspends_; }
  void Resume() override {}

  // Events are delivered in the order given. Once the script is used up,
  // every wait gets Esc, so a program under test always comes to an end;
  // ExhaustedReads() tells how often that happened.
  void Push(const ConsoleEvent& event) { script_.push_back(event); }
  void PushText(std::string_view cp850_text);
  void PushKey(int key_code, uint16_t modifiers = 0);
  size_t Pending() const { return script_.size() - next_; }
  int ExhaustedReads() const { return exhausted_; }
  int Beeps() const { return beeps_; }
  int Suspends() const { return suspends_; }
  bool MouseReporting() const { return mouse_reporting_; }
  void SetMousePresent(bool present) { mouse_present_ = present; }

 private:
  std::vector<ConsoleEvent> script_;
  size_t next_ = 0;
  int exhausted_ = 0;
  int beeps_ = 0;
  int suspends_ = 0;
  bool mouse_reporting_ = false;
  bool mouse_present_ = true;
};

// The text of a row of the grid (code page 850), for tests and diagnostics.
std::string ScreenRowText(int row);

}  // namespace qav

#endif  // QAV_PLATFORM_CONSOLE_H_
