// karvelot: the receipt report program of the suite. Without options it runs
// on the terminal; the options below answer without touching the terminal.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "frame/session.h"
#include "platform/console.h"
#include "platform/cp850.h"
#include "report/batch_report.h"
#include "report/run_sequence.h"

namespace {

constexpr char kUsage[] =
    "Usage: karvelot [--help | --version | --settings]\n"
    "       karvelot --report [--from TEXT] [--to TEXT] [--code-from TEXT]\n"
    "                         [--code-to TEXT] [--no-print]\n"
    "\n"
    "The receipt report of the suite: lists the receipts issued to the co-owners\n"
    "of a range of properties within a range of issue dates.\n"
    "\n"
    "Without options it runs on the terminal (at least 80 x 25).\n"
    "  --report    writes the report without the terminal: each TEXT is what an\n"
    "              operator would type into the selection form's field (issue\n"
    "              dates as 01/01/2024 or 010124, property codes as digits); a\n"
    "              field left out keeps its initial value (the working date,\n"
    "              properties 1 to 999), a blank date is the working date.\n"
    "              The print file qavprint.tmp is written in the work folder and\n"
    "              the print service QAVPRINT of the programs folder is started\n"
    "              on it, unless --no-print is given.\n"
    "              Exit code 0 when written; 2 when a text is refused (nothing is\n"
    "              written); 1 when a file cannot be used.\n"
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

// karvelot --report [--from TEXT] ...; returns the exit code.
int RunReport(int argc, char** argv) {
  qav::BatchOptions options;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    std::optional<std::string>* target = option == "--from"        ? &options.date_from
                                         : option == "--to"        ? &options.date_to
                                         : option == "--code-from" ? &options.code_from
                                         : option == "--code-to"   ? &options.code_to
                                                                   : nullptr;
    if (target != nullptr) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "karvelot: %s needs a text\n", option.c_str());
        return 2;
      }
      *target = qav::Utf8ToCp850(argv[++i]);
    } else if (option == "--no-print") {
      options.print = false;
    } else {
      std::fprintf(stderr, "karvelot: unknown option '%s'\n\n%s", option.c_str(), kUsage);
      return 2;
    }
  }
  return qav::RunBatchReport(options);
}

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--report") == 0) return RunReport(argc, argv);
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
