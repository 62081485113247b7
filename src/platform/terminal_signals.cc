#include "platform/terminal_signals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <array>
#include <cstddef>

namespace qav {
namespace {

constexpr std::array<int, 9> kFatalSignals = {SIGTERM, SIGHUP,  SIGINT,  SIGQUIT, SIGSEGV,
                                              SIGBUS,  SIGFPE,  SIGILL,  SIGABRT};
constexpr char kResizedNote = 'W';
constexpr char kContinuedNote = 'C';
constexpr char kMouseOn[] = "\x1b[?1000h\x1b[?1006h";
constexpr char kMouseOff[] = "\x1b[?1000l\x1b[?1006l";

// An escape string a handler may read at any moment: while it is being
// replaced its length reads 0, so a handler never writes half of two.
struct Sequence {
  char bytes[512];
  volatile sig_atomic_t length = 0;

  void Set(std::string_view text) {
    length = 0;
    const size_t n = text.size() < sizeof bytes ? text.size() : sizeof bytes;
    memcpy(bytes, text.data(), n);
    length = static_cast<sig_atomic_t>(n);
  }
};

struct SignalState {
  bool installed = false;
  int tty_fd = -1;
  int pipe_read = -1;
  int pipe_write = -1;
  bool job_control = false;
  termios shell_modes{};
  termios program_modes{};
  bool have_program_modes = false;
  Sequence leave;
  Sequence enter;
  volatile sig_atomic_t mouse = 0;
  volatile sig_atomic_t screen_active = 0;
  volatile sig_atomic_t handed_over = 0;
  struct sigaction previous_winch {}, previous_cont {}, previous_tstp {};
  std::array<struct sigaction, kFatalSignals.size()> previous_fatal{};
  std::array<bool, kFatalSignals.size()> fatal_caught{};
};

SignalState g_state;

void WriteAll(int fd, const char* bytes, size_t length) {
  while (length > 0) {
    const ssize_t n = write(fd, bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    length -= static_cast<size_t>(n);
  }
}

void Note(char note) {
  if (g_state.pipe_write >= 0) {
    const ssize_t ignored = write(g_state.pipe_write, &note, 1);  // a full pipe has notes enough
    (void)ignored;
  }
}

// Both run inside handlers: async-signal-safe calls only.
void LeaveScreen() {
  if (g_state.mouse) WriteAll(g_state.tty_fd, kMouseOff, sizeof kMouseOff - 1);
  WriteAll(g_state.tty_fd, g_state.leave.bytes, static_cast<size_t>(g_state.leave.length));
  tcsetattr(g_state.tty_fd, TCSADRAIN, &g_state.shell_modes);
}

void EnterScreen() {
  if (g_state.have_program_modes) tcsetattr(g_state.tty_fd, TCSADRAIN, &g_state.program_modes);
  WriteAll(g_state.tty_fd, g_state.enter.bytes, static_cast<size_t>(g_state.enter.length));
  if (g_state.mouse) WriteAll(g_state.tty_fd, kMouseOn, sizeof kMouseOn - 1);
}

void SetHandler(int sig, void (*handler)(int), struct sigaction* previous) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(sig, &action, previous);
}

void OnResize(int) {
  const int saved = errno;
  Note(kResizedNote);
  errno = saved;
}

void OnContinue(int) {
  const int saved = errno;
  // The shell may have put its own modes back while the program was stopped.
  if (g_state.screen_active && g_state.have_program_modes) {
    tcsetattr(g_state.tty_fd, TCSADRAIN, &g_state.program_modes);
  }
  Note(kContinuedNote);
  errno = saved;
}

void OnStop(int) {
  const int saved = errno;
  const bool active = g_state.screen_active;
  if (active) LeaveScreen();
  // Stop for real: the default action, with the signal let through.
  struct sigaction ours {};
  SetHandler(SIGTSTP, SIG_DFL, &ours);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  raise(SIGTSTP);
  // Continued.
  sigprocmask(SIG_BLOCK, &set, nullptr);
  sigaction(SIGTSTP, &ours, nullptr);
  if (active) EnterScreen();
  Note(kContinuedNote);
  errno = saved;
}

void OnFatal(int sig) {
  if ((sig == SIGINT || sig == SIGQUIT) && g_state.handed_over) return;
  if (g_state.screen_active) {
    g_state.screen_active = 0;
    LeaveScreen();
  }
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(sig, &action, nullptr);
  raise(sig);  // delivered with the default action once the handler returns
}

}  // namespace

bool InstallTerminalSignals(int tty_fd, const termios& shell_modes, std::string* error) {
  if (g_state.installed) RemoveTerminalSignals();
  int fds[2];
  if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
    *error = std::string("cannot create a pipe for signals: ") + strerror(errno);
    return false;
  }
  g_state.tty_fd = tty_fd;
  g_state.pipe_read = fds[0];
  g_state.pipe_write = fds[1];
  g_state.shell_modes = shell_modes;
  g_state.have_program_modes = false;
  g_state.mouse = 0;
  g_state.screen_active = 0;
  g_state.handed_over = 0;

  SetHandler(SIGWINCH, OnResize, &g_state.previous_winch);
  SetHandler(SIGCONT, OnContinue, &g_state.previous_cont);
  sigaction(SIGTSTP, nullptr, &g_state.previous_tstp);
  g_state.job_control = g_state.previous_tstp.sa_handler != SIG_IGN;
  if (g_state.job_control) SetHandler(SIGTSTP, OnStop, nullptr);
  for (size_t i = 0; i < kFatalSignals.size(); ++i) {
    sigaction(kFatalSignals[i], nullptr, &g_state.previous_fatal[i]);
    g_state.fatal_caught[i] = g_state.previous_fatal[i].sa_handler != SIG_IGN;
    if (g_state.fatal_caught[i]) SetHandler(kFatalSignals[i], OnFatal, nullptr);
  }
  g_state.installed = true;
  return true;
}

void RemoveTerminalSignals() {
  if (!g_state.installed) return;
  sigaction(SIGWINCH, &g_state.previous_winch, nullptr);
  sigaction(SIGCONT, &g_state.previous_cont, nullptr);
  if (g_state.job_control) sigaction(SIGTSTP, &g_state.previous_tstp, nullptr);
  for (size_t i = 0; i < kFatalSignals.size(); ++i) {
    if (g_state.fatal_caught[i]) sigaction(kFatalSignals[i], &g_state.previous_fatal[i], nullptr);
  }
  g_state.screen_active = 0;
  const int read_end = g_state.pipe_read, write_end = g_state.pipe_write;
  g_state.pipe_read = g_state.pipe_write = -1;
  close(read_end);
  close(write_end);
  g_state.installed = false;
}

void SetProgramModes(const termios& modes) {
  g_state.program_modes = modes;
  g_state.have_program_modes = true;
}

void SetScreenSequences(std::string_view leave, std::string_view enter) {
  g_state.leave.Set(leave);
  g_state.enter.Set(enter);
}

void SetMouseSequences(bool reporting) { g_state.mouse = reporting ? 1 : 0; }
void SetScreenActive(bool active) { g_state.screen_active = active ? 1 : 0; }
void SetTerminalHandedOver(bool handed_over) { g_state.handed_over = handed_over ? 1 : 0; }
bool JobControl() { return g_state.installed && g_state.job_control; }

void StopProgram() {
  if (JobControl()) raise(SIGTSTP);
}

int SignalNoteFd() { return g_state.pipe_read; }

SignalNotes TakeSignalNotes() {
  SignalNotes notes;
  if (g_state.pipe_read < 0) return notes;
  char buffer[64];
  ssize_t n;
  while ((n = read(g_state.pipe_read, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] == kResizedNote) notes.resized = true;
      if (buffer[i] == kContinuedNote) notes.continued = true;
    }
  }
  return notes;
}

}  // namespace qav
