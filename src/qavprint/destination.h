// Where a print goes, read from the destination text of the print file (the
// text after "DEVICE", which is the workstation's print setting) or from
// the command line. Blanks around it are ignored and letters compare without
// regard to case:
//   empty or "PANTALLA"       the preview on the terminal
//   "PDF" or "PDF:path"       a PDF file (qavprint.pdf in the output folder)
//   "TXT:path", "FILE:path"   a plain text file (qavprint.txt without a path)
//   "LPT1", "LPT2", "PRN"     the system's default printer queue
//   anything else             the printer queue of that name
#ifndef QAV_QAVPRINT_DESTINATION_H_
#define QAV_QAVPRINT_DESTINATION_H_

#include <string>
#include <string_view>

namespace qav {

struct Destination {
  enum Kind { kPreview, kPdf, kText, kPrinter };
  Kind kind = kPreview;
  // kPdf, kText: the file as a suite path, empty for the default name.
  // kPrinter: the queue, empty for the default queue. Code page 850.
  std::string target;
  bool operator==(const Destination&) const = default;
};

Destination ParseDestination(std::string_view text);

// The file a PDF or text destination writes: its own path, or the default
// name in `folder` (a suite folder ending in its separator, or empty for
// the current folder).
std::string OutputPath(const Destination& destination, std::string_view folder);

}  // namespace qav

#endif  // QAV_QAVPRINT_DESTINATION_H_
