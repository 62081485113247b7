// Cutting a text into lines of a given width, with a first-line or hanging
// indent, and aligning each line: left (padded with blanks or "-"), right,
// centred or justified. Control characters take no room on a line. Message
// boxes, help and reports lay their texts out through this.
#ifndef QAV_SCREEN_WRAP_TEXT_H_
#define QAV_SCREEN_WRAP_TEXT_H_

#include <string>
#include <string_view>

namespace qav {

// The lines one after the other in one text. `indent` > 0 indents the first
// line by that many blanks; `indent` < 0 indents every later line by
// -indent. Lines break at blanks; a word longer than the room is cut. The
// mode letter (any case): E, L, I left-aligned and padded with blanks;
// N padded with "-"; D, R right-aligned; C centred; A, B justified (all
// lines but the last); anything else as cut. Every line has room for at
// least one character, so any width ends.
std::string WrapText(std::string_view text, int indent, int width, std::string_view mode);

}  // namespace qav

#endif  // QAV_SCREEN_WRAP_TEXT_H_
