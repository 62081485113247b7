// The PDF rendering of a print document through cairo: one PDF page per
// printed page: its lines at 6 lines per inch (a 66-line page is 11 inches
// of lines) and the 8-inch line, with a quarter-inch margin on every side
// that a printer can leave unprinted without losing the first or last line
// (wider only when a damaged file prints past the line).
// Every character is set in the system's monospace font at its own cell,
// column c of an item at pitch p standing (c - 1) / p inches from the left
// margin, so both pitches keep their columns exactly whatever the font's
// own advance; code page 850 letters are drawn as their Unicode characters.
#ifndef QAV_QAVPRINT_PDF_RENDERER_H_
#define QAV_QAVPRINT_PDF_RENDERER_H_

#include <string_view>

#include "qavprint/print_document.h"
#include "qavprint/print_status.h"

namespace qav {

constexpr double kPointsPerInch = 72.0;
constexpr double kPaperWidthPoints = 8.5 * kPointsPerInch;
constexpr double kLeftMarginPoints = 0.25 * kPointsPerInch;
constexpr double kTopMarginPoints = 0.25 * kPointsPerInch;
constexpr double kLinePoints = kPointsPerInch / kLinesPerInch;

// Writes the PDF to the file at the suite path, replacing it. A document
// without pages gives one blank page, so the file always shows the last
// print file rather than an earlier one.
PrintStatus WritePdfFile(const PrintDocument& document, std::string_view path);
// The same for a file named by its host path (UTF-8), such as a temporary
// file; `shown_name` names it in messages.
PrintStatus WritePdfHostFile(const PrintDocument& document, const std::string& host_path,
                             std::string_view shown_name);

}  // namespace qav

#endif  // QAV_QAVPRINT_PDF_RENDERER_H_
