// What a print file says, once read: its destination and its pages, each a
// list of printed lines holding the items placed on them with the pitch and
// the justification they were printed with, plus the defects found while
// reading. The renderers (text, preview, PDF) all work from this model.
#ifndef QAV_QAVPRINT_PRINT_DOCUMENT_H_
#define QAV_QAVPRINT_PRINT_DOCUMENT_H_

#include <cstddef>
#include <string>
#include <vector>

namespace qav {

// Characters per inch. A printed line is 8 inches wide: 80 columns at the
// printer's starting pitch, 96 at 12 cpi ("@e"), 136 at 17 cpi ("q").
constexpr int kPitch10 = 10;
constexpr int kPitch12 = 12;
constexpr int kPitch17 = 17;
constexpr int kLineInches = 8;
constexpr int kLinesPerInch = 6;

constexpr int kDefaultPageLength = 66;  // 11 inches

// Limits that keep a damaged file from asking for absurd amounts of paper.
constexpr int kMaxColumn = 255;
constexpr int kMaxPageLength = 255;
constexpr size_t kMaxPages = 100000;
constexpr size_t kMaxWarnings = 100;  // kept; the rest are only counted

// How an item's text is aligned within its own width (its length, blanks
// included); the item's column never moves.
enum class Justification {
  kAsIs,    // E: as it stands
  kRight,   // D: trailing blanks moved in front
  kCentre,  // C
  kBoth,    // A: the words spread over the whole width
  kNumber,  // N: a number, aligned on its right like D
};

struct PlacedItem {
  int column = 1;  // counted from 1, in the pitch below
  int pitch = kPitch10;
  Justification justification = Justification::kAsIs;
  std::string text;  // code page 850, control characters blanked
};

struct PrintedLine {
  std::vector<PlacedItem> items;  // in the order printed
};

struct PrintedPage {
  int length = kDefaultPageLength;  // lines of the page
  // Lines from the top; never more than `length`. Lines after the last one
  // printed on are not kept.
  std::vector<PrintedLine> lines;
};

struct PrintWarning {
  int line = 0;  // line of the print file, counted from 1; 0 for the file as a whole
  std::string text;  // English
};

struct PrintDocument {
  int lines_read = 0;  // lines of the print file
  bool has_destination = false;
  std::string destination;  // code page 850, as written after "DEVICE"
  std::vector<PrintedPage> pages;
  std::vector<PrintWarning> warnings;  // the first kMaxWarnings
  size_t warnings_left_out = 0;

  size_t WarningCount() const { return warnings.size() + warnings_left_out; }
};

// "line 12: text", or the text alone for the file as a whole.
std::string WarningLine(const PrintWarning& warning);

}  // namespace qav

#endif  // QAV_QAVPRINT_PRINT_DOCUMENT_H_
