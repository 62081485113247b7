// Runs one of the project's programs (from the build's bin folder, which
// CTest names in QAV_TEST_BIN) with a shell command line and collects its
// exit code, standard output and standard error.
#ifndef QAV_TESTS_SUPPORT_RUN_PROGRAM_H_
#define QAV_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace qav::testing {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline std::string BinFolder() {
  const char* bin = std::getenv("QAV_TEST_BIN");
  return bin ? std::string(bin) + "/" : std::string("./");
}

// `command` is a shell command line whose first word is a program of the
// build (for example "karvelot --help"); `prefix` goes before it (variable assignments, a wrapper).
inline ProgramResult RunProgram(const std::string& command, const std::string& prefix = "") {
  const std::string err_file =
      (std::filesystem::temp_directory_path() / ("qav-err-" + std::to_string(getpid()))).string();
  const std::string line =
      prefix + " " + BinFolder() + command + " 2>" + err_file + " </dev/null";
  ProgramResult result;
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(err_file, std::ios::binary);
  result.err.assign(std::istreambuf_iterator<char>(in), {});
  std::filesystem::remove(err_file);
  return result;
}

}  // namespace qav::testing

#endif  // QAV_TESTS_SUPPORT_RUN_PROGRAM_H_
