// Reads a print file (qavprint.tmp, as the report writes it) into a
// PrintDocument. Lines end in CR LF and are, after the destination line
// ("DEVICE" + destination), page lines ("PAGE 66 "), justification lines
// ("JUSD"), control lines ("*@e") and items: a column, a comma, the text, a
// comma and a line feed count (" 107 ,  1.234,56, 1 "). The text may hold
// commas, so the column is the first field and the feeds the last.
//
// What goes onto paper:
// - "@e" selects 12 characters per inch and "q" 17; other control codes are
//   ignored. The pitch holds until changed, across pages.
// - A justification applies to the items that follow on the same printed
//   line; every new line (after a line feed or a page line) starts as E.
// - Line feeds that run past the page's end go on on the next page, as on
//   continuous paper; the page is only added once something is printed on
//   it, so a report whose last line fills its page ends there.
//
// A damaged file is read as far as it makes sense: every defect becomes a
// warning with its line number and a stated repair, and no input can make
// the reader loop, crash or ask for unbounded paper (see the limits in
// print_document.h).
#ifndef QAV_QAVPRINT_PRINT_FILE_READER_H_
#define QAV_QAVPRINT_PRINT_FILE_READER_H_

#include <string_view>

#include "qavprint/print_document.h"
#include "qavprint/print_status.h"

namespace qav {

// Reads the file at the suite path. Fails only when the file cannot be
// opened (kNotFound when it does not exist); an empty or damaged file is
// read with warnings.
PrintStatus ReadPrintFile(std::string_view path, PrintDocument* document);

}  // namespace qav

#endif  // QAV_QAVPRINT_PRINT_FILE_READER_H_
