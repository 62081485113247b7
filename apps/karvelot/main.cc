// karvelot: the receipt report program of the suite. Without options it runs
// on the terminal; the options below answer without touching the terminal.
#include <cstdio>
#include <cstring>
#include <string>

#include "frame/session.h"
#include "platform/console.h"
#include "platform/cp850.h"
#include "report/run_sequence.h"

namespace {

constexpr char kUsage[] =
    "Usage: karvelot [--help | --version | --settings]\n"
    "\n"
    "The receipt report of the suite: lists the receipts issued to the co-owners\n"
    "of a range of properties within a range of issue dates.\n"
    "\n"
    "Without options it runs on the terminal (at least 80 x 25).\n"
    "  --settings  print the session values read from the environment and the\n"
    "              settings files, and end\n"
    "  --version   print the version and end\n"
    "  --help      print this text and end\n"
    "\n"
    "Environment: QAVROOT (the suite's root folder, ending in \\ or /), QAVEXE\n"
    "(the programs folder), QAVTMP (the work folder). Settings: Sessio.ini and\n"
    "VarnTerm.ini in the work folder, Varn.ini in the root folder.\n";

void PrintSettings() {
  qav::PrepareSession();
  const qav::SessionValues& s = qav::Session();
  auto show = [](const char* name, const std::string& value) {
    std::printf("%-16s \"%s\"\n", name, qav::Cp850ToUtf8(value).c_str());
  };
  show("RootDir", s.RootDir);
  show("ExeDir", s.ExeDir);
  show("WorkDir", s.WorkDir);
  show("TerminalDir", s.TerminalDir);
  show("MenuTitle", s.MenuTitle);
  show("MenuName", s.MenuName);
  std::string colours;
  for (const auto& slot : s.ColourTable) {
    colours += std::to_string(slot[0]) + "/" + std::to_string(slot[1]) + " ";
  }
  colours.pop_back();
  show("ColourTable", colours);
  std::string work_date;
  for (unsigned char b : s.WorkDate) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", b);
    work_date += hex;
  }
  show("WorkDate", work_date);
  show("PrintDevice", s.PrintDevice);
  show("SessionLanguage", s.SessionLanguage);
  show("RunEnvironment", s.RunEnvironment);
  show("CurrentCurrency", s.CurrentCurrency);
  show("ProgramName", s.ProgramName);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    const char* option = argv[1];
    if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(option, "--version") == 0) {
      std::printf("karvelot %s\n", QAV_VERSION);
      return 0;
    }
    if (std::strcmp(option, "--settings") == 0 && argc == 2) {
      PrintSettings();
      return 0;
    }
    std::fprintf(stderr, "karvelot: unknown option '%s'\n\n%s", option, kUsage);
    return 2;
  }
  std::string error;
  if (!qav::StartTerminalConsole(&error)) {
    std::fprintf(stderr, "karvelot: cannot use the terminal: %s\n", error.c_str());
    return 1;
  }
  const int code = qav::RunKarvelot();
  qav::StopConsole();
  return code;
}
