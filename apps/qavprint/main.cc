// QAVPRINT: the suite's print service. Without arguments it prints the work
// folder's qavprint.tmp, as the suite's programs expect; given a file, it
// prints that one, optionally to another destination.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/cp850.h"
#include "qavprint/print_service.h"

namespace {

constexpr char kUsage[] =
    "Usage: QAVPRINT [FILE [--to DESTINATION]] | --help | --version\n"
    "\n"
    "The print service of the suite: renders a print file (the report's\n"
    "qavprint.tmp) on the terminal, as a PDF or text file, or on a printer.\n"
    "\n"
    "Without arguments it prints qavprint.tmp in the work folder (QAVTMP, or the\n"
    "terminal folder of Sessio.ini), as the suite's programs start it, and shows\n"
    "the outcome on the terminal. With FILE it prints that file and reports on\n"
    "the command line.\n"
    "\n"
    "The destination is the file's first line (DEVICE...) unless --to names one:\n"
    "  (empty), PANTALLA    preview on the terminal: arrows, PgUp, PgDn, Home, End,\n"
    "                       mouse wheel; Esc leaves\n"
    "  PDF, PDF:path        a PDF file\n"
    "  TXT:path, FILE:path  a UTF-8 text file, pages separated by form feeds\n"
    "  LPT1, LPT2, PRN      the default printer queue (through lp)\n"
    "  any other name       the printer queue of that name (through lp)\n"
    "Files without a path are written next to the print file, as qavprint.pdf\n"
    "or qavprint.txt; when the printer cannot be reached, the text rendering is\n"
    "kept there as qavprint.txt.\n"
    "\n"
    "Exit code: 0 when the print was rendered (defects of the file are reported\n"
    "on standard error as warnings), 1 when it was not, 2 for a wrong command line.\n";

int Wrong(const std::string& what) {
  std::fprintf(stderr, "QAVPRINT: %s\n\n%s", what.c_str(), kUsage);
  return 2;
}

// Paths and destinations are code page 850 inside the program.
bool ToSuiteText(const char* utf8, std::string* out) {
  if (!qav::IsCp850Representable(utf8)) return false;
  *out = qav::Utf8ToCp850(utf8);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  qav::PrintRequest request;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::printf("QAVPRINT %s\n", QAV_VERSION);
      return 0;
    }
    if (std::strcmp(arg, "--to") == 0) {
      if (i + 1 >= argc) return Wrong("--to needs a destination");
      if (request.has_destination) return Wrong("--to is given twice");
      if (!ToSuiteText(argv[++i], &request.destination)) {
        return Wrong("the destination has characters outside code page 850");
      }
      request.has_destination = true;
      continue;
    }
    if (arg[0] == '-' && arg[1] != '\0') return Wrong(std::string("unknown option '") + arg + "'");
    if (!request.from_suite) return Wrong("only one print file can be given");
    if (!ToSuiteText(arg, &request.print_file)) {
      return Wrong("the file name has characters outside code page 850");
    }
    request.from_suite = false;
  }
  if (request.has_destination && request.from_suite) {
    return Wrong("--to goes with a print file");
  }
  return qav::RunPrintService(request);
}
