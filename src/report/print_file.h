// The print file: the report written as simple text lines for the suite's
// print service, qavprint.tmp in the work folder. Lines: the destination
// ("DEVICE..."), a new page with its length ("PAGE 66 "), a justification
// ("JUSD"), a raw printer code ("*..."), and items, each a text put at a
// column followed by a number of line feeds (" 1 ,REBUT, 0 "). The writer
// counts the lines of the current page and starts a new page when it is
// full. Numbers in lines are written as a sign position ("-" or blank), the
// digits and one blank.
#ifndef QAV_REPORT_PRINT_FILE_H_
#define QAV_REPORT_PRINT_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qav {

// Creates or empties the print file and writes the destination line. Page
// length and line count are left as they are.
void OpenPrintFile(std::string_view destination);
// Writes the page line; the page length becomes `length`, the count 0.
void NewPage(int16_t length);
// Normalises the mode (C, D, A, N with its number and mask, else E), gives
// it back in *mode and writes the justification line.
void SetJustify(std::string* mode);
void PrintControl(std::string_view code);
// Puts the text (control characters, 127 and 255 blanked) at the column and
// advances `feeds` lines; a new page comes first when the page is full.
void PrintItem(int16_t column, std::string_view text, int16_t feeds);
// Closes the file; false when it could not be created or a write failed.
// The report itself never looks at this (the operator is not told); the
// batch mode does.
bool ClosePrintFile();

int16_t PageLength();
int16_t LinesOnPage();

// The numeric item form of a number: " 66 ", " 0 ", "-3 ".
std::string NumericItem(int64_t value);

// The path of the print file: WorkDir + "qavprint.tmp".
std::string PrintFilePath();

// Closes any open print file and sets the counters to 0; for tests.
void ResetPrintFile();

}  // namespace qav

#endif  // QAV_REPORT_PRINT_FILE_H_
