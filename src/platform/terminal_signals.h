// The signals that concern the terminal backend. A window size change or a
// continue after a stop is only noted, through a pipe that the input wait
// watches, since a handler cannot draw. Fatal signals and stops give the
// terminal back first, with async-signal-safe calls only: the terminal modes
// saved beforehand and escape strings composed in advance. One set of
// handlers per process, for the one terminal backend.
#ifndef QAV_PLATFORM_TERMINAL_SIGNALS_H_
#define QAV_PLATFORM_TERMINAL_SIGNALS_H_

#include <termios.h>

#include <string>
#include <string_view>

namespace qav {

// Installs the handlers; must run before curses is set up, so that curses
// leaves these signals to us. `shell_modes` are the terminal's modes as the
// program found them. A signal ignored at start stays ignored; in
// particular Ctrl+Z only stops the program when SIGTSTP was not ignored
// (see JobControl()).
bool InstallTerminalSignals(int tty_fd, const termios& shell_modes, std::string* error);
// Puts back the dispositions found at installation and closes the pipe.
void RemoveTerminalSignals();

// The modes to go back to after a stop (the program's raw modes).
void SetProgramModes(const termios& modes);
// What to write to leave the program's screen (attributes off, cursor shown
// on the last row, alternate screen left) and to enter it again.
void SetScreenSequences(std::string_view leave, std::string_view enter);
// Mouse reporting is switched off on leaving and on again on entering.
void SetMouseSequences(bool reporting);
// Whether the program's screen is what the terminal shows: false after the
// terminal was given back (on exit, or to a child program).
void SetScreenActive(bool active);
// While a child program has the terminal, Ctrl+C and Ctrl+\ there are the
// child's: the program ignores SIGINT and SIGQUIT meanwhile.
void SetTerminalHandedOver(bool handed_over);

// True when the program was started with job control (SIGTSTP not ignored).
bool JobControl();
// Stops the program as Ctrl+Z does at a shell: gives the terminal back,
// stops, and when continued takes the terminal again and notes it, so the
// next input wait redraws.
void StopProgram();

// Readable when a note is waiting.
int SignalNoteFd();
struct SignalNotes {
  bool resized = false;
  bool continued = false;
};
// Takes the notes waiting, without blocking.
SignalNotes TakeSignalNotes();

}  // namespace qav

#endif  // QAV_PLATFORM_TERMINAL_SIGNALS_H_
