// What a console backend does: show the grid and deliver input events. The
// console (console.h) owns the grid and the cursor; a backend only renders
// them and reads input, so all backends behave alike for reading back.
#ifndef QAV_PLATFORM_CONSOLE_BACKEND_H_
#define QAV_PLATFORM_CONSOLE_BACKEND_H_

#include "platform/console_event.h"
#include "platform/screen_grid.h"

namespace qav {

enum class CursorShape { kHidden, kHalf, kFull };  // hidden, size 50, size 100

class ConsoleBackend {
 public:
  virtual ~ConsoleBackend() = default;

  // Brings what is shown up to date with the grid and the cursor.
  virtual void Present(ScreenGrid& grid, int cursor_row, int cursor_column,
                       CursorShape shape) = 0;
  // Waits up to timeout_ms (negative: without limit) for an input event;
  // returns an event of kind kNone when none arrived in time.
  virtual ConsoleEvent NextEvent(int timeout_ms) = 0;
  virtual void DiscardInput() = 0;
  virtual void Beep() = 0;
  virtual void SetMouseReporting(bool on) = 0;
  virtual bool MousePresent() const = 0;
  // Gives the terminal to another program and takes it back afterwards.
  virtual void Suspend() = 0;
  virtual void Resume() = 0;
};

}  // namespace qav

#endif  // QAV_PLATFORM_CONSOLE_BACKEND_H_
