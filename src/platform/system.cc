#include "platform/system.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/console.h"
#include "platform/cp850.h"
#include "platform/suite_path.h"

extern char** environ;

namespace qav {
namespace {

struct SystemState {
  std::string clipboard;  // the process's own clipboard
  bool process_only = false;
};

SystemState& State() {
  static SystemState state;
  return state;
}

// Runs argv[0] with the terminal handed over; -1 when it could not start.
int RunAndWait(const std::vector<std::string>& argv,
               ProgramInput input = ProgramInput::kInherited) {
  if (argv.empty() || argv[0].empty()) return -1;
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return -1;
  SuspendConsole();
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    if (input == ProgramInput::kNone) {
      const int null_fd = open("/dev/null", O_RDONLY);
      if (null_fd >= 0 && null_fd != STDIN_FILENO) {
        dup2(null_fd, STDIN_FILENO);
        close(null_fd);
      }
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    const int error = errno;
    (void)!write(report[1], &error, sizeof error);
    _exit(127);
  }
  close(report[1]);
  int status = -1;
  if (pid > 0) {
    int error = 0;
    ssize_t n;
    do {
      n = read(report[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    int wait_status = 0;
    while (waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
    }
    if (n > 0) {
      status = -1;  // exec failed
    } else if (WIFEXITED(wait_status)) {
      status = WEXITSTATUS(wait_status);
    } else {
      status = 128 + (WIFSIGNALED(wait_status) ? WTERMSIG(wait_status) : 0);
    }
  }
  close(report[0]);
  ResumeConsole();
  return status;
}

bool HaveTool(const char* name) {
  const std::string path = GetEnvironment("PATH").empty() ? "/usr/bin:/bin" : std::getenv("PATH");
  size_t start = 0;
  while (start <= path.size()) {
    size_t colon = path.find(':', start);
    if (colon == std::string::npos) colon = path.size();
    std::string folder = path.substr(start, colon - start);
    if (folder.empty()) folder.assign(1, '.');
    if (access((folder + "/" + name).c_str(), X_OK) == 0) return true;
    start = colon + 1;
  }
  return false;
}

// The command that reads or writes the system clipboard here, or empty.
std::string ClipboardCommand(bool write) {
  if (!GetEnvironment("WAYLAND_DISPLAY").empty() && HaveTool(write ? "wl-copy" : "wl-paste")) {
    return write ? "wl-copy" : "wl-paste -n";
  }
  if (!GetEnvironment("DISPLAY").empty()) {
    if (HaveTool("xclip")) return write ? "xclip -selection clipboard -i" : "xclip -selection clipboard -o";
    if (HaveTool("xsel")) return write ? "xsel -b -i" : "xsel -b -o";
  }
  return {};
}

}  // namespace

std::string GetEnvironment(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  return value == nullptr ? std::string() : Utf8ToCp850(value);
}

bool SetCurrentFolder(std::string_view suite_path) {
  return chdir(HostPath(suite_path).c_str()) == 0;
}

std::string CurrentFolder() {
  std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
  return cwd ? Utf8ToCp850(cwd.get()) : std::string();
}

int RunProgram(std::string_view suite_path, const std::vector<std::string>& arguments,
               ProgramInput input) {
  std::vector<std::string> argv{HostPath(suite_path)};
  // A bare name is looked for as a file first, the way the suite names its
  // programs by folder + name; execvp searches PATH only for names without "/".
  if (argv[0].find('/') == std::string::npos && access(argv[0].c_str(), X_OK) == 0) {
    argv[0] = "./" + argv[0];
  }
  for (const std::string& a : arguments) argv.push_back(Cp850ToUtf8(a));
  return RunAndWait(argv, input);
}

int RunCommandLine(std::string_view command_line) {
  const std::string comspec = GetEnvironment("COMSPEC");
  if (!comspec.empty()) {
    return RunAndWait({HostPath(comspec), "/C", Cp850ToUtf8(command_line)});
  }
  return RunAndWait({"/bin/sh", "-c", Cp850ToUtf8(command_line)});
}

std::string ReadClipboard() {
  SystemState& s = State();
  const std::string command = s.process_only ? std::string() : ClipboardCommand(false);
  if (command.empty()) return s.clipboard;
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), &pclose);
  if (!pipe) return s.clipboard;
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0 && text.size() < (1 << 20)) {
    text.append(buffer, n);
  }
  return Utf8ToCp850(text);
}

void WriteClipboard(std::string_view cp850_text) {
  SystemState& s = State();
  s.clipboard = std::string(cp850_text);
  const std::string command = s.process_only ? std::string() : ClipboardCommand(true);
  if (command.empty()) return;
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen((command + " 2>/dev/null").c_str(), "w"), &pclose);
  if (!pipe) return;
  const std::string utf8 = Cp850ToUtf8(cp850_text);
  std::fwrite(utf8.data(), 1, utf8.size(), pipe.get());
}

void UseProcessClipboardOnly(bool only) { State().process_only = only; }

}  // namespace qav
