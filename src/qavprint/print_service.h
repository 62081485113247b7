// The print service program: reads a print file and renders it where its
// destination line (or the command line) says: the preview on the terminal,
// a PDF or text file, or a printer queue through the system's spooler.
//
// Started by the suite with no arguments, it finds the work folder the way
// every program of the suite does (the session settings, with the suite's
// root as the current folder) and prints qavprint.tmp there; what it made,
// and any defect of the file, is then also shown on the terminal until a key
// is pressed, since the calling program redraws its screen at once. Given a
// file, it prints that file and only reports on the command line. Files
// written without a path of their own go next to the print file.
#ifndef QAV_QAVPRINT_PRINT_SERVICE_H_
#define QAV_QAVPRINT_PRINT_SERVICE_H_

#include <string>
#include <string_view>
#include <vector>

#include "qavprint/destination.h"
#include "qavprint/print_document.h"
#include "qavprint/print_status.h"

namespace qav {

struct PrintRequest {
  bool from_suite = true;      // no arguments: the work folder's qavprint.tmp
  std::string print_file;      // suite path, when not from_suite
  bool has_destination = false;
  std::string destination;     // replaces the file's own destination
};

// Runs the service and gives the program's exit code: 0 when the print was
// rendered where it was meant to go, 1 when it was not (no such file, an
// empty one, a file that could not be written, no printer, no terminal for
// the preview). Messages go to standard output and standard error.
int RunPrintService(const PrintRequest& request);

// The result of rendering to a file or a printer.
struct Delivery {
  PrintStatus status;
  std::string report;               // English, for the command line
  std::vector<std::string> notice;  // Catalan, for the terminal
};

// Renders to a PDF or text file, or to a printer; `folder` (a suite folder
// with its separator, or empty) receives the files written without a path
// of their own, and the text rendering when the printer cannot be reached.
// Not for the preview.
Delivery DeliverPrint(const PrintDocument& document, const Destination& destination,
                      std::string_view folder);

// The folder of a suite path, with its separator; empty for a bare name.
std::string FolderOf(std::string_view path);

}  // namespace qav

#endif  // QAV_QAVPRINT_PRINT_SERVICE_H_
