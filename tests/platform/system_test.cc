#include "platform/system.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

// A script that writes its arguments and what it read on standard input to
// out.txt beside itself, and ends with the exit status of its first argument.
std::string WriteProbe(const TempDir& dir) {
  const std::string path = dir.Write(
      "probe", "#!/bin/sh\n"
               "printf '%s|' \"$@\" > \"$(dirname \"$0\")/out.txt\"\n"
               "cat >> \"$(dirname \"$0\")/out.txt\"\n"
               "exit \"$1\"\n");
  chmod(path.c_str(), 0755);
  return path;
}

TEST(RunProgramTest, PassesArgumentsAndReturnsTheExitStatus) {
  TempDir dir;
  const std::string probe = WriteProbe(dir);
  EXPECT_EQ(RunProgram(probe, {"3", "dos paraules"}, ProgramInput::kNone), 3);
  EXPECT_EQ(dir.Read("out.txt"), "3|dos paraules|");
  EXPECT_EQ(RunProgram(dir.path() + "missing"), -1);
}

TEST(RunProgramTest, WithoutInputTheProgramReadsNothing) {
  TempDir dir;
  const std::string probe = WriteProbe(dir);
  // Our own input is a pipe with text waiting; the program must not see it.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "answer\n", 7), 7);
  close(fds[1]);
  const int saved = dup(STDIN_FILENO);
  dup2(fds[0], STDIN_FILENO);
  close(fds[0]);
  const int status = RunProgram(probe, {"0"}, ProgramInput::kNone);
  const std::string without = dir.Read("out.txt");
  const int inherited = RunProgram(probe, {"0"});
  const std::string with = dir.Read("out.txt");
  dup2(saved, STDIN_FILENO);
  close(saved);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(without, "0|");
  EXPECT_EQ(inherited, 0);
  EXPECT_EQ(with, "0|answer\n");
}

TEST(RunCommandLineTest, UsesComspecWhenSet) {
  TempDir dir;
  {
    ScopedEnv no_comspec("COMSPEC", nullptr);
    EXPECT_EQ(RunCommandLine("exit 4"), 4);
  }
  const std::string probe = WriteProbe(dir);
  ScopedEnv comspec("COMSPEC", probe.c_str());
  // COMSPEC /C line: the probe's first argument is "/C", not a number.
  RunCommandLine("dir");
  EXPECT_EQ(dir.Read("out.txt"), "/C|dir|");
}

}  // namespace
}  // namespace qav
