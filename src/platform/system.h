// Environment, current folder, starting programs and the clipboard. Texts
// cross this boundary as code page 850 on the program's side and UTF-8 on
// the host's.
#ifndef QAV_PLATFORM_SYSTEM_H_
#define QAV_PLATFORM_SYSTEM_H_

#include <string>
#include <string_view>
#include <vector>

namespace qav {

// Unset reads as empty text.
std::string GetEnvironment(std::string_view name);
bool SetCurrentFolder(std::string_view suite_path);
std::string CurrentFolder();

// What a started program reads on its standard input: ours, or nothing (so
// that it takes no answers from a script; its console still has /dev/tty).
enum class ProgramInput { kInherited, kNone };

// Starts a program (a suite path; arguments as given) in the foreground and
// waits for it, with the terminal handed to it. Returns its exit status, or
// -1 when it could not be started.
int RunProgram(std::string_view suite_path, const std::vector<std::string>& arguments = {},
               ProgramInput input = ProgramInput::kInherited);
// Runs a command line through the interpreter named by COMSPEC when set
// (as COMSPEC /C line), else through the system shell (/bin/sh -c line).
int RunCommandLine(std::string_view command_line);

// The system clipboard where a tool for it exists (wl-copy/wl-paste, xclip,
// xsel), else one kept by the process.
std::string ReadClipboard();
void WriteClipboard(std::string_view cp850_text);
// Tests use the process's own clipboard only.
void UseProcessClipboardOnly(bool only);

}  // namespace qav

#endif  // QAV_PLATFORM_SYSTEM_H_
