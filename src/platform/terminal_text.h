// What the terminal backend draws besides the grid: the notice shown while
// the window is too small for the grid, and plain ASCII stand-ins for the
// glyphs when the terminal's locale cannot show Unicode.
#ifndef QAV_PLATFORM_TERMINAL_TEXT_H_
#define QAV_PLATFORM_TERMINAL_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qav {

// The notice for a terminal of columns × rows that must show a grid of
// needed_columns × needed_rows, as UTF-8 lines (ASCII when `utf8` is false)
// broken between words to fit `columns`.
std::vector<std::string> TooSmallMessage(int columns, int rows, int needed_columns,
                                         int needed_rows, bool utf8);

// The characters of a UTF-8 text, each taken as one column wide.
size_t Utf8Width(std::string_view text);

// An ASCII character that looks like the glyph: lines for box drawing, #
// for shades and blocks, < and > for the pointers, ? for anything else.
char AsciiGlyph(char32_t glyph);

}  // namespace qav

#endif  // QAV_PLATFORM_TERMINAL_TEXT_H_
