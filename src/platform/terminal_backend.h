// The console backend on a real terminal, through ncursesw: the grid drawn
// as Unicode in 16 colours (or bold and reverse where colours are missing),
// input read as bytes from the controlling terminal and decoded by
// key_decoder.h. The terminal is given back on exit, on fatal signals and
// around suspension.
#ifndef QAV_PLATFORM_TERMINAL_BACKEND_H_
#define QAV_PLATFORM_TERMINAL_BACKEND_H_

#include <memory>
#include <string>

#include "platform/console_backend.h"

namespace qav {

// Opens the controlling terminal (/dev/tty), so that redirected standard
// input or output does not matter. On success sets the grid size the
// program is to use (the terminal's size, at least 80 × 25) and returns the
// backend; on failure returns null with the reason in *error.
std::unique_ptr<ConsoleBackend> OpenTerminalBackend(int* width, int* height, std::string* error);

}  // namespace qav

#endif  // QAV_PLATFORM_TERMINAL_BACKEND_H_
