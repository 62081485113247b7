#include "platform/terminal_backend.h"

#define NCURSES_NOMACROS 1
#include <curses.h>
#include <errno.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

#include "platform/cp850.h"
#include "platform/key_decoder.h"
#include "platform/terminal_caps.h"
#include "platform/terminal_colours.h"
#include "platform/terminal_signals.h"
#include "platform/terminal_text.h"

namespace qav {
namespace {

constexpr char kMouseOn[] = "\x1b[?1000h\x1b[?1006h";
constexpr char kMouseOff[] = "\x1b[?1000l\x1b[?1006l";
// How long the rest of an escape sequence may take to arrive before what
// came is read as it stands: a lone ESC is the Esc key after this...
constexpr int kEscWaitMs = 50;
// ...and a longer piece of a sequence, which no one types, waits longer.
constexpr int kSequenceWaitMs = 250;
constexpr int kMinimumWidth = 80;
constexpr int kMinimumHeight = 25;

long long NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

// A terminfo string, empty when the terminal has none.
std::string Capability(const char* name) {
  const char* s = tigetstr(name);
  if (s == nullptr || s == reinterpret_cast<const char*>(-1)) return {};
  return s;
}

bool MakeCursesPair(int pair, int foreground, int background) {
  return init_pair(static_cast<short>(pair), static_cast<short>(foreground),
                   static_cast<short>(background)) != ERR;
}

bool LocaleIsUtf8() {
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr && (strcmp(codeset, "UTF-8") == 0 || strcmp(codeset, "utf8") == 0);
}

// Only the character classification follows the user's locale: it is what
// curses needs to draw Unicode, and it leaves number and message formats of
// the rest of the program alone.
bool UseUtf8Locale() {
  setlocale(LC_CTYPE, "");
  if (LocaleIsUtf8()) return true;
  if (setlocale(LC_CTYPE, "C.UTF-8") != nullptr && LocaleIsUtf8()) return true;
  setlocale(LC_CTYPE, "");
  return false;
}

class TerminalBackend;
TerminalBackend* g_active = nullptr;  // for the exit handler

class TerminalBackend final : public ConsoleBackend {
 public:
  TerminalBackend(FILE* tty, SCREEN* screen, bool utf8);
  ~TerminalBackend() override;

  int grid_width() const { return grid_width_; }
  int grid_height() const { return grid_height_; }

  void Present(ScreenGrid& grid, int cursor_row, int cursor_column, CursorShape shape) override;
  ConsoleEvent NextEvent(int timeout_ms) override;
  void DiscardInput() override;
  void Beep() override;
  void SetMouseReporting(bool on) override;
  bool MousePresent() const override { return mouse_present_; }
  void Suspend() override;
  void Resume() override;

  // Gives the terminal back for good; safe to call more than once.
  void Restore();

 private:
  bool TooSmall() const { return LINES < grid_height_ || COLS < grid_width_; }
  void Draw();
  void DrawRow(const ScreenGrid& grid, int row);
  void DrawTooSmallMessage();
  void ShowCursor();
  void RedrawAll(bool cursor_unknown);
  void UpdateSize();
  void ComposeScreenSequences();
  void HandleSignalNotes();
  bool Accept(const ConsoleEvent& e);
  // Reads what the terminal sent; false when it is gone.
  bool ReadInput();

  FILE* tty_;
  int fd_;
  SCREEN* screen_;
  bool utf8_;
  ColourMode mode_ = ColourMode::kMonochrome;
  ColourPairs pairs_;
  int grid_width_ = kMinimumWidth;
  int grid_height_ = kMinimumHeight;

  // What Present was last given, for redrawing on a resize or a continue.
  ScreenGrid* grid_ = nullptr;
  int cursor_row_ = 1;
  int cursor_column_ = 1;
  CursorShape shape_ = CursorShape::kFull;
  int curses_cursor_ = -1;  // the curs_set value in effect
  bool message_shown_ = false;

  std::string input_;                // bytes not yet decoded
  long long last_input_ms_ = 0;      // when bytes last arrived
  std::deque<ConsoleEvent> events_;  // decoded, not yet delivered
  bool tty_lost_ = false;

  bool mouse_on_ = false;
  bool mouse_present_ = false;
  bool suspended_ = false;
  bool restored_ = false;
};

TerminalBackend::TerminalBackend(FILE* tty, SCREEN* screen, bool utf8)
    : tty_(tty),
      fd_(fileno(tty)),
      screen_(screen),
      utf8_(utf8),
      pairs_(MakeCursesPair, 0) {
  raw();
  noecho();
  nonl();
  typeahead(-1);
  keypad(stdscr, FALSE);
  meta(stdscr, TRUE);
  leaveok(stdscr, FALSE);
  scrollok(stdscr, FALSE);
  termios modes;
  if (tcgetattr(fd_, &modes) == 0) SetProgramModes(modes);

  const char* no_color = getenv("NO_COLOR");
  if (has_colors() && (no_color == nullptr || no_color[0] == '\0')) start_color();
  mode_ = ChooseColourMode(has_colors(), COLORS, no_color);
  if (mode_ != ColourMode::kMonochrome) pairs_ = ColourPairs(MakeCursesPair, COLOR_PAIRS);

  UpdateSize();
  grid_width_ = std::max(COLS, kMinimumWidth);
  grid_height_ = std::max(LINES, kMinimumHeight);

  const char* term = getenv("TERM");
  mouse_present_ = MousePresentFor(term ? term : "", !Capability("kmous").empty(),
                                   access("/dev/gpmctl", F_OK) == 0);
  SetScreenActive(true);
}


TerminalBackend::~TerminalBackend() {
  Restore();
  RemoveTerminalSignals();
  delscreen(screen_);
  fclose(tty_);
  if (g_active == this) g_active = nullptr;
}

void TerminalBackend::Restore() {
  if (restored_) return;
  restored_ = true;
  SetScreenActive(false);
  SetTerminalHandedOver(false);
  if (suspended_) return;  // already given back
  WriteAll(fd_, kMouseOff);
  endwin();
}

void TerminalBackend::ComposeScreenSequences() {
  std::string leave = Capability("sgr0");
  if (mode_ != ColourMode::kMonochrome) leave += Capability("op");
  const std::string cup = Capability("cup");
  if (!cup.empty()) {
    if (const char* s = tiparm(cup.c_str(), LINES - 1, 0)) leave += s;
  }
  leave += Capability("cnorm");
  leave += Capability("rmcup");
  SetScreenSequences(leave, Capability("smcup"));
}

void TerminalBackend::UpdateSize() {
  winsize ws{};
  if (ioctl(fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0 &&
      (ws.ws_row != LINES || ws.ws_col != COLS)) {
    resize_term(ws.ws_row, ws.ws_col);
  }
  ComposeScreenSequences();
}

void TerminalBackend::Present(ScreenGrid& grid, int cursor_row, int cursor_column,
                              CursorShape shape) {
  grid_ = &grid;
  cursor_row_ = cursor_row;
  cursor_column_ = cursor_column;
  shape_ = shape;
  if (suspended_ || restored_) return;
  Draw();
}

void TerminalBackend::Draw() {
  if (grid_ == nullptr) return;
  if (TooSmall()) {
    DrawTooSmallMessage();
    return;
  }
  if (message_shown_) {
    message_shown_ = false;
    werase(stdscr);
    grid_->MarkAllDirty();
  }
  const int rows = std::min(grid_->height(), LINES);
  for (int row = 1; row <= rows; ++row) {
    if (grid_->RowDirty(row)) DrawRow(*grid_, row);
  }
  grid_->ClearDirty();
  ShowCursor();
  wrefresh(stdscr);
}

void TerminalBackend::DrawRow(const ScreenGrid& grid, int row) {
  const int columns = std::min(grid.width(), COLS);
  for (int column = 1; column <= columns; ++column) {
    const Cell cell = grid.At(row, column);
    const CellStyle style = StyleForAttribute(cell.attribute, mode_);
    attr_t attributes = A_NORMAL;
    if (style.bold) attributes |= A_BOLD;
    if (style.reverse) attributes |= A_REVERSE;
    const int pair = mode_ == ColourMode::kMonochrome
                         ? 0
                         : pairs_.PairFor(style.foreground, style.background);
    const char32_t glyph = Cp850Glyph(cell.character);
    const wchar_t text[2] = {static_cast<wchar_t>(utf8_ ? glyph : AsciiGlyph(glyph)), L'\0'};
    cchar_t drawn;
    setcchar(&drawn, text, attributes, static_cast<short>(pair), nullptr);
    // The last cell of the screen reports an error (the cursor cannot move
    // past it) but is drawn all the same.
    mvwadd_wch(stdscr, row - 1, column - 1, &drawn);
  }
}

void TerminalBackend::ShowCursor() {
  int wanted = shape_ == CursorShape::kHidden ? 0 : shape_ == CursorShape::kHalf ? 1 : 2;
  const bool inside = cursor_row_ >= 1 && cursor_row_ <= std::min(grid_height_, LINES) &&
                      cursor_column_ >= 1 && cursor_column_ <= std::min(grid_width_, COLS);
  if (!inside) wanted = 0;
  if (wanted != curses_cursor_) {
    if (curs_set(wanted) == ERR && wanted == 2) curs_set(1);  // no block cursor here
    curses_cursor_ = wanted;
  }
  if (wanted != 0) wmove(stdscr, cursor_row_ - 1, cursor_column_ - 1);
}

void TerminalBackend::DrawTooSmallMessage() {
  const std::vector<std::string> lines =
      TooSmallMessage(COLS, LINES, grid_width_, grid_height_, utf8_);
  werase(stdscr);
  const int top = std::max(0, (LINES - static_cast<int>(lines.size())) / 2);
  for (size_t i = 0; i < lines.size() && top + static_cast<int>(i) < LINES; ++i) {
    const int width = static_cast<int>(Utf8Width(lines[i]));
    mvwaddstr(stdscr, top + static_cast<int>(i), std::max(0, (COLS - width) / 2), lines[i].c_str());
  }
  if (curses_cursor_ != 0) {
    curs_set(0);
    curses_cursor_ = 0;
  }
  wrefresh(stdscr);
  message_shown_ = true;
}

void TerminalBackend::RedrawAll(bool cursor_unknown) {
  if (suspended_ || restored_) return;
  if (cursor_unknown && curses_cursor_ >= 0) {
    // The terminal was given back behind curses' back; make curses send the
    // cursor's state again rather than trust what it last sent.
    curs_set(curses_cursor_ == 1 ? 0 : 1);
    curses_cursor_ = -1;
  }
  clearok(curscr, TRUE);
  werase(stdscr);
  message_shown_ = false;
  if (grid_ != nullptr) {
    grid_->MarkAllDirty();
    Draw();
  } else {
    wrefresh(stdscr);
  }
}

void TerminalBackend::HandleSignalNotes() {
  const SignalNotes notes = TakeSignalNotes();
  if (!notes.resized && !notes.continued) return;
  if (suspended_ || restored_) return;  // Resume looks at the size anyway
  UpdateSize();
  RedrawAll(notes.continued);
}

bool TerminalBackend::Accept(const ConsoleEvent& e) {
  if (e.kind == EventKind::kKey && e.character == 26 && e.modifiers == kLeftCtrl &&
      JobControl()) {
    StopProgram();
    HandleSignalNotes();
    return false;
  }
  if (TooSmall()) return false;  // nothing to act on is shown
  if (e.kind == EventKind::kClick || e.kind == EventKind::kWheel) {
    return e.row >= 1 && e.row <= grid_height_ && e.column >= 1 && e.column <= grid_width_;
  }
  return true;
}

bool TerminalBackend::ReadInput() {
  char buffer[512];
  const ssize_t n = read(fd_, buffer, sizeof buffer);
  if (n > 0) {
    input_.append(buffer, static_cast<size_t>(n));
    last_input_ms_ = NowMs();
    return true;
  }
  return n < 0 && (errno == EINTR || errno == EAGAIN);
}

ConsoleEvent TerminalBackend::NextEvent(int timeout_ms) {
  const long long deadline = timeout_ms < 0 ? -1 : NowMs() + timeout_ms;
  bool polled = false;
  for (;;) {
    HandleSignalNotes();
    while (!events_.empty()) {
      const ConsoleEvent e = events_.front();
      events_.pop_front();
      if (Accept(e)) return e;
    }
    // Without a terminal there is nothing to wait for: Esc, so that every
    // dialogue comes to an end.
    if (tty_lost_) return ConsoleEvent::Char(27);

    const int sequence_wait = input_.size() <= 2 ? kEscWaitMs : kSequenceWaitMs;
    if (!input_.empty()) {
      const bool at_end = NowMs() - last_input_ms_ >= sequence_wait;
      std::vector<ConsoleEvent> decoded;
      input_.erase(0, DecodeInput(input_, at_end, &decoded));
      events_.insert(events_.end(), decoded.begin(), decoded.end());
      if (!events_.empty()) continue;
    }

    const long long now = NowMs();
    if (polled && deadline >= 0 && now >= deadline) return ConsoleEvent{};
    long long wait = deadline < 0 ? -1 : std::max(0LL, deadline - now);
    if (!input_.empty()) {
      const long long rest = std::max(0LL, last_input_ms_ + sequence_wait - now);
      wait = wait < 0 ? rest : std::min(wait, rest);
    }
    pollfd fds[2] = {{fd_, POLLIN, 0}, {SignalNoteFd(), POLLIN, 0}};
    const int ready = poll(fds, fds[1].fd >= 0 ? 2 : 1, static_cast<int>(wait));
    polled = true;
    if (ready < 0 && errno != EINTR) return ConsoleEvent{};
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) && !ReadInput()) {
      tty_lost_ = true;
    }
  }
}

void TerminalBackend::DiscardInput() {
  for (int i = 0; i < 64 && !tty_lost_; ++i) {
    pollfd fd = {fd_, POLLIN, 0};
    if (poll(&fd, 1, 0) <= 0) break;
    if (!ReadInput()) tty_lost_ = true;
  }
  input_.clear();
  events_.clear();
}

void TerminalBackend::Beep() {
  if (!suspended_ && !restored_) beep();
}

void TerminalBackend::SetMouseReporting(bool on) {
  mouse_on_ = on;
  SetMouseSequences(on);
  if (!suspended_ && !restored_) WriteAll(fd_, on ? kMouseOn : kMouseOff);
}

void TerminalBackend::Suspend() {
  if (suspended_ || restored_) return;
  SetTerminalHandedOver(true);
  SetScreenActive(false);
  if (mouse_on_) WriteAll(fd_, kMouseOff);
  endwin();
  suspended_ = true;
}

void TerminalBackend::Resume() {
  if (!suspended_ || restored_) return;
  suspended_ = false;
  reset_prog_mode();
  SetScreenActive(true);
  SetTerminalHandedOver(false);
  if (mouse_on_) WriteAll(fd_, kMouseOn);
  UpdateSize();
  RedrawAll(false);
}

void RestoreAtExit() {
  if (g_active != nullptr) g_active->Restore();
}

}  // namespace

std::unique_ptr<ConsoleBackend> OpenTerminalBackend(int* width, int* height, std::string* error) {
  if (g_active != nullptr) {
    *error = "the terminal is in use already";
    return nullptr;
  }
  const char* term = getenv("TERM");
  if (term == nullptr || term[0] == '\0') {
    *error = "the terminal type is not set (TERM)";
    return nullptr;
  }
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    *error = std::string("no controlling terminal (/dev/tty): ") + strerror(errno);
    return nullptr;
  }
  termios shell_modes;
  FILE* tty = tcgetattr(fd, &shell_modes) == 0 ? fdopen(fd, "r+") : nullptr;
  if (tty == nullptr) {
    *error = std::string("cannot use /dev/tty: ") + strerror(errno);
    close(fd);
    return nullptr;
  }
  const bool utf8 = UseUtf8Locale();
  // Our handlers go first: curses then leaves SIGWINCH, SIGTSTP and the
  // fatal signals alone.
  if (!InstallTerminalSignals(fd, shell_modes, error)) {
    fclose(tty);
    return nullptr;
  }
  SCREEN* screen = newterm(nullptr, tty, tty);
  if (screen == nullptr) {
    RemoveTerminalSignals();
    fclose(tty);
    *error = std::string("the terminal type \"") + term + "\" is not known";
    return nullptr;
  }
  auto backend = std::make_unique<TerminalBackend>(tty, screen, utf8);
  *width = backend->grid_width();
  *height = backend->grid_height();
  static const bool registered = atexit(RestoreAtExit) == 0;
  (void)registered;
  g_active = backend.get();
  return backend;
}

}  // namespace qav
