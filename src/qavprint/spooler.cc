#include "qavprint/spooler.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/cp850.h"

extern char** environ;

namespace qav {
namespace {

constexpr size_t kMaxAnswer = 4096;

// Its answer on one line, in code page 850.
std::string OneLine(std::string_view utf8) {
  std::string line;
  for (char c : Utf8ToCp850(utf8)) {
    const unsigned char u = static_cast<unsigned char>(c);
    line += (u < 32 || u == 127) ? ' ' : c;
  }
  size_t begin = line.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  size_t end = line.find_last_not_of(' ');
  std::string trimmed = line.substr(begin, end - begin + 1);
  // Runs of blanks (from line ends) as one.
  std::string out;
  for (char c : trimmed) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

}  // namespace

PrintStatus SendToSpooler(const std::string& host_file, std::string_view queue,
                          std::string_view title) {
  std::vector<std::string> args{"lp"};
  if (!queue.empty()) {
    args.push_back("-d");
    args.push_back(Cp850ToUtf8(queue));
  }
  args.push_back("-t");
  args.push_back(Cp850ToUtf8(title));
  args.push_back(host_file);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    return PrintStatus::Error(PrintStatus::kPrinterFailed,
                              std::string("cannot start the print spooler: ") + strerror(errno));
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 2);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "lp", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  if (spawned != 0) {
    close(pipe_fds[0]);
    if (spawned == ENOENT) {
      return PrintStatus::Error(PrintStatus::kNoSpooler,
                                "this system has no print spooler (the command lp is missing)");
    }
    return PrintStatus::Error(PrintStatus::kPrinterFailed,
                              std::string("cannot start the print spooler lp: ") + strerror(spawned));
  }

  std::string answer;
  char buffer[1024];
  for (;;) {
    const ssize_t n = read(pipe_fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    // Read on to the end even past the limit, so lp never blocks on a full pipe.
    if (answer.size() < kMaxAnswer) answer.append(buffer, static_cast<size_t>(n));
  }
  close(pipe_fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  const std::string said = OneLine(answer);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return PrintStatus::Ok(said);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
    return PrintStatus::Error(PrintStatus::kNoSpooler,
                              "this system has no print spooler (the command lp is missing)");
  }
  return PrintStatus::Error(PrintStatus::kPrinterFailed,
                            "the print spooler refused the print" +
                                (said.empty() ? std::string() : ": " + said));
}

}  // namespace qav
