// A printed page as lines of text, for the text rendering and the preview on
// the terminal. The text is one grid of 17-cpi cells, 136 to the 8-inch
// line, so the report's body (printed at 17 cpi) keeps its columns exactly:
// every column lines up under its head and the rules end at column 135.
//
// Items printed at a wider pitch (the 12-cpi headings, or 10 cpi before any
// pitch is chosen) take fewer inches per character on the grid than on
// paper, so they cannot keep both their start and their end. Such an item
// keeps the blank paper on its left and on its right in the same
// proportion: an item at column 1 stays at the left edge, a heading centred
// on the line stays centred over the body, and the page number set flush
// against the right margin stays flush. A line too long for the paper keeps
// its start instead.
#ifndef QAV_QAVPRINT_PAGE_LAYOUT_H_
#define QAV_QAVPRINT_PAGE_LAYOUT_H_

#include <cstddef>
#include <string>
#include <vector>

#include "qavprint/print_document.h"

namespace qav {

constexpr int kGridColumns = kLineInches * kPitch17;  // 136

// The grid cell (from 0) where an item of `length` characters printed at
// `column` (from 1) in `pitch` begins.
int GridCell(int column, int pitch, size_t length);

// The page's lines, justified and placed, in code page 850 without trailing
// blanks; as many as the page has lines up to the last one printed on. Where
// items overlap, a later item's blanks leave what is under them, as ink on
// paper would; its other characters replace what was there.
std::vector<std::string> LayOutPage(const PrintedPage& page);

}  // namespace qav

#endif  // QAV_QAVPRINT_PAGE_LAYOUT_H_
